#include "links/families.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

#include "core/gtex.h"
#include "core/overlaynames.h"
#include "core/substitute.h"
#include "markup/fcache.h"
#include "markup/ids.h"
#include "model/charset.h"
#include "model/memorymap.h"

LinkOutcome BeginEditing(cmcCellCapsule& request, std::string text, std::size_t caret) {
  request.displayText = std::move(text);
  request.caretPosition = static_cast<std::int32_t>(std::min(caret, request.displayText.size()));
  request.selectionLength = 0;
  return {false, kInCellEditor};
}

bool Store(LinkValue& value, std::int64_t next) {
  if (value.get() == next) return false;
  value.set(next);
  return true;
}

std::int64_t Wrap(std::int64_t next, std::int64_t minimum, std::int64_t maximum) {
  if (next > maximum) return minimum;
  if (next < minimum) return maximum;
  return next;
}

namespace {

bool IsDigit(int key) { return key >= '0' && key <= '9'; }

std::vector<std::string> BlockLines(cmcGTex& overlay, std::string_view block) {
  std::vector<std::string> lines;
  std::string text = overlay.GetBlockText(block);
  std::size_t start = 0;
  while (start <= text.size() && !text.empty()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    cmcGTex::TrimBlanks(line);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

constexpr std::string_view kCtcssList = gi::GI_AppItem_Ctcss;
constexpr std::string_view kDtcsList = gi::GI_AppItem_Dtcs;
constexpr std::string_view kTimerOff = gi::GI_AppInd_TimerOff;

std::string OctalCode(int code) {
  char text[8];
  std::snprintf(text, sizeof text, "%d%d%d", (code >> 6) & 7, (code >> 3) & 7, code & 7);
  return text;
}

}  // namespace

std::optional<std::string> ReplyText(const cmcCellCapsule& request) {
  if (!request.reply || !request.reply->cell) return std::nullopt;
  return DisplayTextOf(*request.reply->cell);
}

std::optional<std::int64_t> ReplyNumber(const cmcCellCapsule& request) {
  const std::optional<std::string> text = ReplyText(request);
  if (!text || text->empty()) return std::nullopt;
  std::int64_t number = 0;
  const char* end = text->data() + text->size();
  const auto [stop, error] = std::from_chars(text->data(), end, number);
  if (error != std::errc() || stop != end) return std::nullopt;
  return number;
}

std::optional<double> ParseDecimalText(std::string_view text) {
  bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  double whole = 0, fraction = 0, scale = 1;
  bool digits = false, point = false;
  for (char c : text) {
    if (c == '.' && !point) {
      point = true;
    } else if (c >= '0' && c <= '9') {
      digits = true;
      if (point) {
        scale /= 10;
        fraction += (c - '0') * scale;
      } else {
        whole = whole * 10 + (c - '0');
      }
    } else {
      return std::nullopt;
    }
  }
  if (!digits) return std::nullopt;
  double value = whole + fraction;
  return negative ? -value : value;
}

std::string KeepOnly(std::string_view text, std::string_view allowed) {
  std::string out;
  for (char c : text) {
    if (allowed.find(c) != std::string_view::npos) out += c;
  }
  return out;
}

std::int64_t RoundHalfAway(double value) {
  return static_cast<std::int64_t>(value < 0 ? -std::floor(-value + 0.5) : std::floor(value + 0.5));
}

// --- frequency ---

std::optional<std::int64_t> SnapToGrid(std::int64_t hz, const ChannelGrid& grid) {
  if (hz < 0) return std::nullopt;
  std::int64_t e = 1;
  while (e < 100000 && hz % (e * 10) == 0) e *= 10;
  for (std::int64_t f = hz - hz % 100000; f < hz + e; f += grid.step) {
    if (f >= hz && (f % grid.multipleA == 0 || f % grid.multipleB == 0)) return f;
  }
  return std::nullopt;
}

std::string FormatMegahertz(std::int64_t hz) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld.%06lld", static_cast<long long>(hz / 1000000),
                static_cast<long long>(hz % 1000000));
  return text;
}

std::optional<std::int64_t> ParseMegahertz(std::string_view text) {
  std::string kept = KeepOnly(text, "0123456789.").substr(0, 9);
  // Only the first '.' is the decimal point; the rest are dropped with the other characters.
  std::size_t point = kept.find('.');
  if (point != std::string::npos) {
    kept = kept.substr(0, point + 1) + KeepOnly(kept.substr(point + 1), "0123456789");
  }
  std::optional<double> megahertz = ParseDecimalText(kept);
  if (!megahertz) return std::nullopt;
  double hz = std::clamp(*megahertz * 1000000.0 + 0.5, 0.0, 799999999.5);
  return static_cast<std::int64_t>(hz);
}

LinkOutcome FrequencyFamily(cmcCellCapsule& request, const FrequencySpec& spec, LinkValue& value,
                            const std::string& shown) {
  request.displayText = shown;
  if (request.editResult == kTextCommitted) {
    std::optional<std::int64_t> typed = ParseMegahertz(request.editedText);
    std::optional<std::int64_t> snapped = typed ? SnapToGrid(*typed, spec.grid) : std::nullopt;
    if (!snapped) return {};
    if (!spec.clampToLimits && (*snapped < spec.minimum || *snapped > spec.maximum)) return {};
    std::int64_t next = std::clamp(*snapped, spec.minimum, spec.maximum);
    bool changed = Store(value, next);
    request.displayText = FormatMegahertz(value.get());
    return {changed, kNoEditor};
  }
  int key = request.key;
  std::string plain = FormatMegahertz(value.get());
  if (key == cellkey::kSpace || key == cellkey::kBackspace || key == cellkey::kEnter) {
    return BeginEditing(request, plain, plain.size());
  }
  if (key == '.') return BeginEditing(request, plain, plain.find('.') + 1);
  if (IsDigit(key)) return BeginEditing(request, std::string(1, static_cast<char>(key)), 1);
  return {};
}

// --- choice ---

LinkOutcome ChoiceFamily(cmcCellCapsule& request, LinkServices& services, const ChoiceSpec& spec, LinkValue& value,
                         const ValueFits& fits) {
  LinkOutcome outcome;
  auto held = [&fits](std::int64_t v) { return !fits || fits(v); };
  std::int64_t current = value.get();
  // TextOf also builds the cache entry that stepping walks.
  request.displayText = services.choices.TextOf(spec.list, spec.column, static_cast<std::int32_t>(current));
  if (request.editResult == kPopupChoice && request.reply) {
    if (services.choices.Carries(spec.list, spec.column, request.ReplyValue()) && held(request.ReplyValue())) {
      outcome.changed = Store(value, request.ReplyValue());
    }
  } else if (request.key == cellkey::kSpace || request.key == cellkey::kBackspace) {
    int delta = request.key == cellkey::kSpace ? 1 : -1;
    // Past the values the field cannot hold, at most once round the list.
    std::optional<std::int32_t> next =
        services.choices.Step(spec.list, spec.column, static_cast<std::int32_t>(current), delta);
    const std::optional<std::int32_t> first = next;
    constexpr int kMostSteps = 4096;  // a list with repeated values may circle without coming back to `first`
    for (int steps = 0; next && !held(*next); ++steps) {
      next = services.choices.Step(spec.list, spec.column, *next, delta);
      if (next == first || steps == kMostSteps) next.reset();
    }
    if (next) outcome.changed = Store(value, *next);
  } else if (request.key == cellkey::kEnter) {
    if (services.host.OpenChoiceList(request, spec.list, spec.column, static_cast<std::int32_t>(current))) {
      outcome.editor = kPopupEditor;
    }
  }
  if (outcome.changed) {
    request.displayText = services.choices.TextOf(spec.list, spec.column, static_cast<std::int32_t>(value.get()));
  }
  return outcome;
}

// --- tone ---

std::string FormatTone(cmcGTex& overlay, cmcFCache& choices, const ToneSpec& spec, const ToneSetting& tone) {
  if (!tone.on) return choices.TextOf(spec.toneList, cl::Flex0, 0);
  if (tone.digital) return OctalCode(tone.code) + (tone.inverted ? "I" : "N");
  std::vector<std::string> tones = BlockLines(overlay, kCtcssList);
  return tone.index >= 0 && static_cast<std::size_t>(tone.index) < tones.size() ? tones[tone.index] : "error";
}

std::optional<ToneSetting> ParseTone(cmcGTex& overlay, const ToneSpec& spec, std::string_view text) {
  std::string typed = Upper(text);
  cmcGTex::TrimBlanks(typed);
  bool octal =
      typed.size() >= 3 && std::all_of(typed.begin(), typed.begin() + 3, [](char c) { return c >= '0' && c <= '7'; });
  if (octal && (typed.size() == 3 || (typed.size() == 4 && (typed[3] == 'N' || typed[3] == 'I')))) {
    if (spec.listedCodesOnly) {
      std::vector<std::string> codes = BlockLines(overlay, kDtcsList);
      if (std::find(codes.begin(), codes.end(), typed.substr(0, 3)) == codes.end()) return std::nullopt;
    }
    ToneSetting tone;
    tone.on = true;
    tone.digital = true;
    tone.inverted = typed.size() == 4 && typed[3] == 'I';
    tone.code = ((typed[0] - '0') << 6) | ((typed[1] - '0') << 3) | (typed[2] - '0');
    return tone;
  }
  std::vector<std::string> tones = BlockLines(overlay, kCtcssList);
  for (std::size_t i = 0; i < tones.size(); ++i) {
    if (Upper(tones[i]) == typed) {
      ToneSetting tone;
      tone.on = true;
      tone.index = static_cast<int>(i);
      return tone;
    }
  }
  return std::nullopt;
}

namespace {

std::int32_t ChoiceOfTone(const ToneSetting& tone) {
  if (!tone.on) return 0;
  if (!tone.digital) return 1 + tone.index;
  return (tone.inverted ? kInvertedCodeChoice : kNormalCodeChoice) + tone.code;
}

ToneSetting ToneOfChoice(std::int32_t choice) {
  ToneSetting tone;
  if (choice <= 0) return tone;
  tone.on = true;
  if (choice >= kNormalCodeChoice) {
    tone.digital = true;
    tone.inverted = choice >= kInvertedCodeChoice;
    tone.code = choice & 0x1FF;
  } else {
    tone.index = choice - 1;
  }
  return tone;
}

}  // namespace

LinkOutcome ToneFamily(cmcCellCapsule& request, LinkServices& services, const ToneSpec& spec, ToneValue& value) {
  LinkOutcome outcome;
  ToneSetting current = value.get();
  std::optional<ToneSetting> next;
  if (request.editResult == kTextCommitted) {
    next = ParseTone(services.overlay, spec, request.editedText);
  } else if (request.editResult == kPopupChoice && request.reply) {
    // Only a setting the list offers is taken; any other reply changes nothing.
    if (services.choices.Carries(spec.toneList, cl::Flex0, request.ReplyValue())) {
      next = ToneOfChoice(request.ReplyValue());
    }
  } else if (request.key == cellkey::kEnter || request.key == cellkey::kSpace || request.key == cellkey::kBackspace) {
    if (services.host.OpenChoiceList(request, spec.toneList, cl::Flex0, ChoiceOfTone(current))) {
      outcome.editor = kPopupEditor;
    }
  } else if (IsDigit(request.key)) {
    request.displayText = std::string(1, static_cast<char>(request.key));
    request.caretPosition = 1;
    return {false, kInCellEditor};
  }
  if (next && !(*next == current)) {
    value.set(*next);
    outcome.changed = true;
  }
  ToneSetting shown = value.get();
  std::optional<ToneSetting> receive = value.receive ? value.receive() : std::nullopt;
  request.displayText =
      receive && *receive == shown && shown.on ? "<-" : FormatTone(services.overlay, services.choices, spec, shown);
  return outcome;
}

// --- timers and numbers ---

namespace {

std::string MinSecText(std::int64_t seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%2lld:%02lld", static_cast<long long>(seconds / 60),
                static_cast<long long>(seconds % 60));
  return text;
}

std::string OffText(cmcGTex& overlay) { return overlay.GetLine(kTimerOff, 0); }

}  // namespace

LinkOutcome MinSecTimerFamily(cmcCellCapsule& request, LinkServices& services, const MinSecTimerSpec& spec,
                              LinkValue& value) {
  LinkOutcome outcome;
  const std::int64_t step = std::max(1, spec.stepSeconds);
  if (request.editResult == kTextCommitted) {
    std::string kept = KeepOnly(request.editedText, "0123456789:");
    std::size_t colon = kept.find(':');
    if (!kept.empty() && kept.size() <= std::string_view("mmm:ss").size() &&
        kept.find(':', colon == std::string::npos ? kept.size() : colon + 1) == std::string::npos) {
      std::string minutes = colon == std::string::npos ? kept : kept.substr(0, colon);
      std::string seconds = colon == std::string::npos ? "" : kept.substr(colon + 1);
      std::int64_t total =
          (minutes.empty() ? 0 : std::stoll(minutes)) * 60 + (seconds.empty() ? 0 : std::stoll(seconds));
      std::int64_t steps = (total + step / 2) / step;  // half a step rounds up
      outcome.changed = Store(value, std::clamp(steps, spec.minimum, spec.maximum));
    }
  } else if (request.key == cellkey::kSpace || request.key == cellkey::kBackspace) {
    int delta = request.key == cellkey::kSpace ? 1 : -1;
    outcome.changed = Store(value, Wrap(value.get() + delta, spec.minimum, spec.maximum));
  }
  std::int64_t current = value.get();
  std::string shown = MinSecText(current * step);
  if (request.editResult == kNoEdit && !outcome.changed &&
      (request.key == cellkey::kEnter || request.key == ':' || IsDigit(request.key))) {
    if (request.key == cellkey::kEnter) return BeginEditing(request, shown, shown.size());
    return BeginEditing(request, std::string(1, static_cast<char>(request.key)), 1);
  }
  bool onlyDisplayed = request.key == cellkey::kEvaluate && request.editResult == kNoEdit;
  request.displayText = spec.mayBeOff && current == 0 && onlyDisplayed ? OffText(services.overlay) : shown;
  return outcome;
}

LinkOutcome DecimalTimerFamily(cmcCellCapsule& request, LinkServices& services, const DecimalTimerSpec& spec,
                               LinkValue& value) {
  LinkOutcome outcome;
  const std::int64_t scale = std::max<std::int64_t>(1, spec.scale);
  if (request.editResult == kTextCommitted) {
    std::string letters = KeepOnly(request.editedText, "0123456789ofOF");
    bool off =
        letters.size() >= 2 && (letters[0] == 'o' || letters[0] == 'O') && (letters[1] == 'f' || letters[1] == 'F');
    if (off) {
      // Only a link with an off value stores it; otherwise "off" is an ordinary 0, clamped.
      outcome.changed =
          Store(value, spec.offValue ? *spec.offValue : std::clamp<std::int64_t>(0, spec.minimum, spec.maximum));
    } else if (auto typed = ParseDecimalText(KeepOnly(request.editedText, "0123456789.-"))) {
      double scaled = std::floor((*typed + 0.0005) * static_cast<double>(scale));
      double limited = std::clamp(scaled, static_cast<double>(spec.minimum), static_cast<double>(spec.maximum));
      outcome.changed = Store(value, static_cast<std::int64_t>(limited));
    }
  } else if (request.key == cellkey::kEnter || IsDigit(request.key) || request.key == '.') {
    std::int64_t current = value.get();
    char text[48];
    std::snprintf(text, sizeof text, "%3lld.%03lld", static_cast<long long>(current / scale),
                  static_cast<long long>((current % scale) * 1000 / scale));
    if (request.key == cellkey::kEnter) return BeginEditing(request, text, std::string(text).size());
    return BeginEditing(request, std::string(1, static_cast<char>(request.key)), 1);
  }
  std::int64_t current = value.get();
  if (spec.offValue && current == *spec.offValue) {
    request.displayText = OffText(services.overlay);
  } else {
    char text[48];
    std::snprintf(text, sizeof text, "%3lld.%03lld", static_cast<long long>(current / scale),
                  static_cast<long long>((current % scale) * 1000 / scale));
    request.displayText = text;
  }
  return outcome;
}

LinkOutcome NumericFamily(cmcCellCapsule& request, const NumericSpec& spec, LinkValue& value) {
  LinkOutcome outcome;
  const std::int64_t step = std::max<std::int64_t>(1, spec.step);
  if (request.editResult == kTextCommitted) {
    std::string kept = KeepOnly(request.editedText, "0123456789.-").substr(0, 9);
    if (auto typed = ParseDecimalText(kept)) {
      std::int64_t stored = RoundHalfAway(*typed) - spec.offset;
      stored = RoundHalfAway(static_cast<double>(stored) / static_cast<double>(step)) * step;
      outcome.changed = Store(value, std::clamp(stored, spec.minimum, spec.maximum));
    }
  } else if (request.key == cellkey::kSpace || request.key == cellkey::kBackspace) {
    std::int64_t next = value.get() + (request.key == cellkey::kSpace ? step : -step);
    next = spec.clampSteps ? std::clamp(next, spec.minimum, spec.maximum) : Wrap(next, spec.minimum, spec.maximum);
    outcome.changed = Store(value, next);
  }
  std::string shown = std::to_string(value.get() + spec.offset);
  if (request.editResult == kNoEdit && !outcome.changed) {
    if (request.key == cellkey::kEnter) return BeginEditing(request, shown, shown.size());
    if (IsDigit(request.key) || (request.key == '-' && spec.minimum + spec.offset < 0)) {
      return BeginEditing(request, std::string(1, static_cast<char>(request.key)), 1);
    }
  }
  request.displayText = shown;
  return outcome;
}

// --- scan channel reference ---

LinkOutcome ScanReferenceFamily(cmcCellCapsule& request, LinkServices& services, const ScanReferenceSpec& spec,
                                ScanReferenceValue& value) {
  LinkOutcome outcome;
  auto store = [&](std::int64_t mode, std::optional<std::int64_t> channel) {
    bool changed = mode != value.mode.get() || (channel && *channel != value.channel.get());
    value.mode.set(mode);
    if (channel) value.channel.set(*channel);
    if (value.setFlag) value.setFlag(mode != 0);
    return changed;
  };
  if (request.editResult == kPopupChoice && request.reply) {
    std::int32_t chosen = request.ReplyValue();
    int column = request.ReplyColumn();
    if (column == cl::FlexZoneSel) {
      if (services.host.OpenChoiceList(request, kScanChannelList, cl::FlexCHSel, 0)) outcome.editor = kPopupEditor;
    } else if (column == cl::FlexCHSel) {
      const int bank = value.banksShown ? request.reply->contextNumber : 0;
      // A reply names a bank and a position in it; one outside the memory changes nothing.
      if (bank >= 0 && bank < memmap::kBankCount && chosen >= 0) {
        const std::int64_t channel = std::int64_t{value.firstChannel(bank)} + chosen;
        if (channel < memmap::kMaxChannels) outcome.changed = store(spec.channelMode, channel);
      }
    } else if (chosen == spec.channelMode) {
      std::string_view next = value.banksShown ? kScanBankList : kScanChannelList;
      int nextColumn = value.banksShown ? cl::FlexZoneSel : cl::FlexCHSel;
      if (services.host.OpenChoiceList(request, next, nextColumn, 0)) outcome.editor = kPopupEditor;
    } else if (services.choices.Carries(spec.modeList, cl::Flex0, chosen)) {
      outcome.changed = store(chosen, std::nullopt);
    }
  } else if (request.key == cellkey::kEnter || request.key == cellkey::kSpace || request.key == cellkey::kBackspace) {
    if (services.host.OpenChoiceList(request, spec.modeList, cl::Flex0, static_cast<std::int32_t>(value.mode.get()))) {
      outcome.editor = kPopupEditor;
    }
  }
  std::int64_t mode = value.mode.get();
  if (mode != spec.channelMode) {
    request.displayText = services.choices.TextOf(spec.modeList, cl::Flex0, static_cast<std::int32_t>(mode));
    return outcome;
  }
  int channel = static_cast<int>(value.channel.get());
  std::string added = services.overlay.GetLine(gi::GI_AddCH, 0);
  if (value.banksShown) {
    int bank = value.bankOf(channel);
    request.displayText =
        Substitute("%d-%d%s", {std::int64_t{bank + 1}, std::int64_t{channel - value.firstChannel(bank) + 1}, added});
  } else {
    request.displayText = Substitute("%d%s", {std::int64_t{channel + 1}, added});
  }
  return outcome;
}

// --- text ---

namespace {

std::string TextWithoutPadding(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

// The character a typed key adds: through the character set, so "." gives
// the character of code A0, never a raw byte inside the UTF-8 text.
std::optional<std::string> TypedCharacter(const Charset* charset, char key) {
  if (!charset) return std::string(1, key);
  const std::optional<std::uint8_t> code = charset->CodeOfKey(key);
  if (!code) return std::nullopt;
  const std::optional<std::string_view> shown = charset->DisplayOf(*code);
  return shown ? std::optional<std::string>(std::string(*shown)) : std::nullopt;
}

std::size_t CharacterCount(const Charset* charset, std::string_view text) {
  if (!charset) return text.size();
  const std::optional<std::vector<std::uint8_t>> codes = charset->Codes(text);
  return codes ? codes->size() : text.size();
}

}  // namespace

LinkOutcome TextFamily(cmcCellCapsule& request, LinkServices& services, TextValue& value) {
  LinkOutcome outcome;
  const std::optional<std::string> committed = request.editResult == kTextCommitted ? request.editedText
                                               : request.editResult == kPopupChoice ? ReplyText(request)
                                                                                    : std::nullopt;
  if (committed) {
    std::string before = value.get();
    outcome.changed = value.set(*committed) && value.get() != before;
  } else if (request.key == cellkey::kEnter || request.key == cellkey::kBackspace ||
             (request.key >= cellkey::kSpace && request.key < 127)) {
    TextEditorForm form{TextWithoutPadding(value.get()), value.maximum, false};
    if (request.key != cellkey::kEnter && request.key != cellkey::kBackspace) {
      form.caretAtEnd = true;
      // A key that would pass the field's end, or that the display lacks, is dropped.
      const std::optional<std::string> typed = TypedCharacter(value.charset, static_cast<char>(request.key));
      if (typed && CharacterCount(value.charset, form.text) < value.maximum) form.text += *typed;
    }
    if (services.host.OpenTextEditor(request, form)) outcome.editor = kPopupEditor;
  }
  request.displayText = value.get();
  if (request.painting && value.glyphs) request.glyphs = value.glyphs();
  return outcome;
}
