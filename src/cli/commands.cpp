#include "cli/command.h"

namespace cli {

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {OverlayCommand(), CellCommand(),  CloneCommand(),    ChannelsCommand(),
                                                SheetCommand(),   RadioCommand(), WarningsCommand(), EditorCommand()};
  return commands;
}

}  // namespace cli
