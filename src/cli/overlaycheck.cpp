#include <filesystem>
#include <ostream>

#include "cli/command.h"
#include "markup/overlaychecker.h"
#include "platform/paths.h"
#include "sheet/sheetchecker.h"

namespace cli {

namespace {

// A file given by name is checked as the shipped overlay of the same name, or
// as a main overlay (a new translation) when no shipped one has its name.
OverlayKind KindOf(const std::string& path, const std::vector<OverlayFile>& shipped) {
  const std::string name = std::filesystem::path(path).filename().string();
  for (const OverlayFile& file : shipped) {
    if (std::filesystem::path(file.path).filename() == name) return file.kind;
  }
  return OverlayKind::kMain;
}

}  // namespace

// `overlay check [FILE]`: every shipped overlay, or one file. One line per
// problem on stdout; status 1 when there is any.
int RunOverlayCheck(Context& context, Args args) {
  std::vector<OverlayProblem> problems;
  std::vector<OverlayFile> files = OverlayChecker::ShippedOverlays(platform::DataDir(), problems);
  if (!args.empty()) {
    problems.clear();
    files = {{args[0], KindOf(args[0], files)}};
  }
  const OverlayChecker checker;
  for (const OverlayFile& file : files) {
    std::vector<OverlayProblem> found = checker.Check(file);
    // The sheets of a main overlay whose blocks and mark-up are sound are built, too.
    if (found.empty() && file.kind == OverlayKind::kMain) found = SheetChecker().Check(file);
    for (OverlayProblem& problem : found) problems.push_back(std::move(problem));
  }
  for (const OverlayProblem& problem : problems) context.out << problem.ToString() << '\n';
  if (!problems.empty()) return kFailure;
  context.out << files.size() << (files.size() == 1 ? " overlay" : " overlays") << " checked, no problems\n";
  return kSuccess;
}

}  // namespace cli
