#include "cli/command.h"

namespace cli {

int RunOverlay(Context& context, Args args);

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"overlay", "line FILE INDEX N | block FILE INDEX",
       "print line N, or the text, of block INDEX of an overlay file", RunOverlay},
  };
  return commands;
}

}  // namespace cli
