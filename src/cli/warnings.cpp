// rw-m52-q-cli warnings FILE: the warning check of the tree, from a shell.

#include <ostream>
#include <string>

#include "cli/command.h"
#include "cli/workbench.h"
#include "control/documentcheck.h"

namespace cli {

namespace {

// Prints one "error<TAB>name" or "warning<TAB>name" line per marked check cell;
// fails when any reports an error, as a clone write would be refused.
int RunWarnings(Context& context, Args args) {
  if (args.size() != 1) return UsageError(context, WarningsCommand());
  Workbench bench;
  if (!bench.Open(args[0])) return kFailure;
  const WarningMarks marks = CheckDocument(bench.Overlay(), bench.Doc());
  for (const std::string& name : marks.errors) context.out << "error\t" << name << '\n';
  for (const std::string& name : marks.warnings) context.out << "warning\t" << name << '\n';
  return marks.errors.empty() ? kSuccess : kFailure;
}

}  // namespace

const Command& WarningsCommand() {
  static const Command command{"warnings", "FILE",
                               "run the warning check of the tree on a clone file: one line per marked check, "
                               "status 1 when any reports an error",
                               RunWarnings};
  return command;
}

}  // namespace cli
