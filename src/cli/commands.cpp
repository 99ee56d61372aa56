#include "cli/command.h"

namespace cli {

const Command& CloneCommand();

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      CloneCommand(),
  };
  return commands;
}

}  // namespace cli
