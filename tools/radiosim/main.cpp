#include <iostream>
#include <string>
#include <vector>

#include "radiosim/simloop.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return RunRadioSim(args, std::cout, std::cerr);
}
