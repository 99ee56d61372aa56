// rw-m52-q-cli editor bits|segments: the pop-up field editors without a
// window, for checking what a form shows and what an editor replies.
#include <charconv>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/command.h"
#include "control/startupchoices.h"
#include "core/gtex.h"
#include "platform/paths.h"
#include "sheet/bitfieldform.h"
#include "sheet/segchar.h"

namespace cli {

namespace {

// The drawing box of the segment character editor: 200 pixels with a margin of 10.
constexpr double kSegmentExtent = 180;
constexpr double kSegmentMargin = 10;

template <typename Number>
std::optional<Number> ParseNumber(std::string_view text) {
  Number number{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return number;
}

// "1,3": numbers split at commas; nothing when one is not a number.
std::optional<std::vector<int>> ParseList(std::string_view text) {
  std::vector<int> numbers;
  while (true) {
    const std::size_t comma = text.find(',');
    const std::optional<int> number = ParseNumber<int>(text.substr(0, comma));
    if (!number) return std::nullopt;
    numbers.push_back(*number);
    if (comma == std::string_view::npos) return numbers;
    text.remove_prefix(comma + 1);
  }
}

const Command& Editor();

// `editor bits FIRST LAST STYLE VALUE [--toggle N,...] [--overlay]`: the
// labels TAB-separated, then the value OK would reply, or the generated overlay.
int RunBits(Context& context, Args args) {
  if (args.size() < 4) return UsageError(context, Editor());
  const std::optional<int> first = ParseNumber<int>(args[0]);
  const std::optional<int> last = ParseNumber<int>(args[1]);
  const std::optional<int> style = ParseNumber<int>(args[2]);
  const std::optional<std::uint32_t> value = ParseNumber<std::uint32_t>(args[3]);
  if (!first || !last || !style || !value) return UsageError(context, Editor());
  std::vector<int> toggles;
  bool overlay = false;
  for (std::size_t i = 4; i < args.size(); ++i) {
    if (args[i] == "--overlay") {
      overlay = true;
    } else if (args[i] == "--toggle" && i + 1 < args.size()) {
      const std::optional<std::vector<int>> list = ParseList(args[++i]);
      if (!list) return UsageError(context, Editor());
      toggles.insert(toggles.end(), list->begin(), list->end());
    } else {
      return UsageError(context, Editor());
    }
  }
  if (!BitFieldForm::Fits(*first, *last)) {
    context.err << "rw-m52-q-cli editor: no bit-field editor for options " << *first << " to " << *last << " (1 to "
                << BitFieldForm::kMaxOptions << " options)\n";
    return kFailure;
  }
  BitFieldForm form(*first, *last, *style, *value);
  for (int n : toggles) {
    if (!form.Toggle(n)) {
      context.err << "rw-m52-q-cli editor: the form has no option cell " << n << '\n';
      return kFailure;
    }
  }
  const std::vector<std::string> labels = form.Labels();
  for (std::size_t i = 0; i < labels.size(); ++i) context.out << (i ? "\t" : "") << labels[i];
  context.out << '\n';
  if (overlay) {
    for (const std::string& line : form.OverlayLines()) context.out << line << '\n';
    return kSuccess;
  }
  if (!form.Acceptable()) {
    context.err << "rw-m52-q-cli editor: more than " << BitFieldForm::kMaxSentences
                << " sentence types are on; OK is disabled and nothing is replied\n";
    return kFailure;
  }
  context.out << form.Value() << '\n';
  return kSuccess;
}

// `editor segments [--overlay FILE] [--pattern N] [--click X,Y]...`: the
// segments that are on, then the pattern OK would reply. Clicks are pixels
// of the 200 × 200 drawing box.
int RunSegments(Context& context, Args args) {
  std::string overlayPath = FirstLanguageOverlayPath(platform::DataDir());
  std::uint16_t pattern = 0;
  std::vector<std::vector<int>> clicks;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (i + 1 >= args.size()) return UsageError(context, Editor());
    const std::string& option = args[i];
    const std::string& operand = args[++i];
    if (option == "--overlay") {
      overlayPath = operand;
    } else if (option == "--pattern") {
      const std::optional<std::uint16_t> number = ParseNumber<std::uint16_t>(operand);
      if (!number) return UsageError(context, Editor());
      pattern = *number;
    } else if (option == "--click") {
      std::optional<std::vector<int>> point = ParseList(operand);
      if (!point || point->size() != 2) return UsageError(context, Editor());
      clicks.push_back(std::move(*point));
    } else {
      return UsageError(context, Editor());
    }
  }
  cmcGTex overlay;
  overlay.Open(overlayPath);
  Segchar segments = Segchar::FromOverlay(overlay);
  segments.SetPattern(pattern);
  const SegmentScale scale(segments.Bounds(), kSegmentExtent, kSegmentMargin);
  for (const std::vector<int>& click : clicks) {
    if (const std::optional<SegPoint> point = scale.ToData(click[0], click[1])) segments.ToggleAt(*point);
  }
  context.out << "on=";
  const char* separator = "";
  for (std::size_t i = 0; i < segments.Segments().size(); ++i) {
    if (!segments.Segments()[i].on) continue;
    context.out << separator << i;
    separator = ",";
  }
  context.out << '\n' << segments.Pattern() << '\n';
  return kSuccess;
}

int RunEditor(Context& context, Args args) {
  if (!args.empty() && args[0] == "bits") return RunBits(context, args.subspan(1));
  if (!args.empty() && args[0] == "segments") return RunSegments(context, args.subspan(1));
  return UsageError(context, Editor());
}

const Command& Editor() {
  static const Command command{
      "editor",
      "bits FIRST LAST STYLE VALUE [--toggle N,...] [--overlay] | segments [--overlay FILE] [--pattern N] "
      "[--click X,Y]...",
      "the bit-field and segment character editors without a window: labels and the reply of a bit-field "
      "form, or the segments on and the pattern after clicks on the drawing box",
      RunEditor};
  return command;
}

}  // namespace

const Command& EditorCommand() { return Editor(); }

}  // namespace cli
