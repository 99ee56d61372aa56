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
      {"cell",
       "parse MARKUP | show FILE TYPE LINK PARAM | key FILE TYPE LINK PARAM KEYCODE [--out OUT] | "
       "type FILE TYPE LINK PARAM TEXT [--out OUT] | choose FILE TYPE LINK PARAM COLUMN VALUE [--out OUT] | "
       "menu FILE TYPE LINK PARAM COMMAND [--rows FIRST-LAST] [--from FIRST-LAST] [--out OUT]",
       "parse cell mark-up; or evaluate one cell of a clone file: show it, press a key (decimal code), commit a "
       "typed text or a pop-up choice, or run a pop-up menu command (CL_PMenu_Copy to CL_PMenu_Insert) on the "
       "records FIRST to LAST, pasting the records copied --from; and save the changed file",
       RunCell},
      CloneCommand(),
      ChannelsCommand(),
  };
  return commands;
}

}  // namespace cli
