#include "clone/cloneline.h"

bool CommLine::Open(const PortId& port, std::string_view settings) {
  return port.path.empty() ? comm_.Open(port.number, settings) : comm_.OpenPath(port.path, settings);
}
