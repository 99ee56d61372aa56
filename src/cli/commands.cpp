#include "cli/command.h"

namespace cli {

int RunCell(Context& context, Args args);
int RunOverlay(Context& context, Args args);
const Command& CloneCommand();
const Command& ChannelsCommand();

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"overlay", "line FILE INDEX N | block FILE INDEX | check [FILE]",
       "print line N, or the text, of block INDEX of an overlay file; or check overlays", RunOverlay},
      {"cell", "parse MARKUP", "parse one overlay line of cell mark-up and print its cells", RunCell},
      CloneCommand(),
      ChannelsCommand(),
  };
  return commands;
}

}  // namespace cli
