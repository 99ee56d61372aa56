#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// Exit statuses of the command-line program.
enum ExitStatus : int { kSuccess = 0, kFailure = 1, kUsage = 2, kFatal = 3 };

struct Context {
  std::ostream& out;
  std::ostream& err;
  bool answerYes = false;  // --yes: questions are answered with their first button
};

using Args = std::span<const std::string>;

// One subcommand: `rw-m52-q-cli NAME ARGS...`. Each lives in a file of its own.
struct Command {
  std::string_view name;
  std::string_view usage;    // the arguments after the name
  std::string_view summary;  // one line for --help
  int (*run)(Context& context, Args args);
};

// Every subcommand, in the order --help lists them.
const std::vector<Command>& Commands();

// The subcommands, one per file.
const Command& OverlayCommand();
const Command& CellCommand();
const Command& CloneCommand();
const Command& ChannelsCommand();
const Command& SheetCommand();
const Command& RadioCommand();
const Command& WarningsCommand();
// The pop-up field editors.
const Command& EditorCommand();

// Prints "usage: rw-m52-q-cli NAME USAGE" to err and returns kUsage.
int UsageError(Context& context, const Command& command);

}  // namespace cli
