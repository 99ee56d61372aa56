#include <algorithm>
#include <charconv>
#include <optional>
#include <ostream>

#include "cli/command.h"
#include "core/gtex.h"

namespace cli {

namespace {

int Usage(Context& context) { return UsageError(context, OverlayCommand()); }

std::optional<std::size_t> ParseLineNumber(const std::string& text) {
  std::size_t n = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return n;
}

}  // namespace

int RunOverlayCheck(Context& context, Args args);

namespace {

// `overlay line FILE INDEX N`, `overlay block FILE INDEX` and `overlay check
// [FILE]`. A missing file or block is the fatal overlay error, as in the application.
int RunOverlay(Context& context, Args args) {
  if (!args.empty() && args.size() <= 2 && args[0] == "check") return RunOverlayCheck(context, args.subspan(1));
  if (args.size() == 4 && args[0] == "line") {
    std::optional<std::size_t> n = ParseLineNumber(args[3]);
    if (!n) return Usage(context);
    cmcGTex reader;
    reader.Open(args[1]);
    context.out << reader.GetLine(args[2], *n) << '\n';
    return kSuccess;
  }
  if (args.size() == 3 && args[0] == "block") {
    cmcGTex reader;
    reader.Open(args[1]);
    context.out << reader.GetBlockText(args[2]) << '\n';
    return kSuccess;
  }
  return Usage(context);
}

}  // namespace

const Command& OverlayCommand() {
  static const Command command{"overlay", "line FILE INDEX N | block FILE INDEX | check [FILE]",
                               "print line N, or the text, of block INDEX of an overlay file; or check overlays",
                               RunOverlay};
  return command;
}

}  // namespace cli
