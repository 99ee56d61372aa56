#include "links/digitfamilies.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "markup/fcache.h"

namespace {

constexpr std::string_view kHexDigits = "0123456789ABCDEF";

bool IsDigitKey(int key) { return key >= '0' && key <= '9'; }
bool IsHexKey(int key) { return IsDigitKey(key) || (key >= 'A' && key <= 'F') || (key >= 'a' && key <= 'f'); }

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// A whole number in `base`, the entire (trimmed) text; nothing otherwise.
std::optional<std::int64_t> WholeNumber(std::string_view text, int base = 10) {
  text = TrimBlanks(text);
  if (text.empty()) return std::nullopt;
  std::int64_t number = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, number, base);
  if (error != std::errc() || stop != end) return std::nullopt;
  return number;
}

std::int64_t PowerOfTen(int exponent) {
  std::int64_t power = 1;
  for (int i = 0; i < exponent; ++i) power *= 10;
  return power;
}

// The warning mark for a stored value the family could never have written.
void MarkIf(cmcCellCapsule& request, bool strange) {
  if (strange) request.marks |= cellmark::kWarning;
}

}  // namespace

// --- fixed-point number ---

std::string FormatFixedPoint(std::int64_t stored, const FixedPointSpec& spec) {
  const std::int64_t unit = PowerOfTen(spec.storedDecimals);
  const std::uint64_t magnitude = stored < 0 ? 0 - static_cast<std::uint64_t>(stored) : stored;
  const std::uint64_t whole = magnitude / static_cast<std::uint64_t>(unit);
  std::uint64_t fraction = magnitude % static_cast<std::uint64_t>(unit);
  for (int d = spec.storedDecimals; d < spec.shownDecimals; ++d) fraction *= 10;
  for (int d = spec.shownDecimals; d < spec.storedDecimals; ++d) fraction /= 10;
  const std::string integer = (stored < 0 ? "-" : "") + std::to_string(whole);
  char text[64];
  if (spec.shownDecimals <= 0) {
    std::snprintf(text, sizeof text, "%3s", integer.c_str());
  } else {
    std::snprintf(text, sizeof text, "%3s.%0*llu", integer.c_str(), spec.shownDecimals,
                  static_cast<unsigned long long>(fraction));
  }
  return text;
}

LinkOutcome FixedPointFamily(cmcCellCapsule& request, const FixedPointSpec& spec, LinkValue& value) {
  LinkOutcome outcome;
  const std::int64_t step = std::max<std::int64_t>(1, spec.step);
  if (request.editResult == kTextCommitted) {
    const std::string kept = KeepOnly(request.editedText, "0123456789.-").substr(0, 9);
    if (const std::optional<double> typed = ParseDecimalText(kept)) {
      constexpr double kLimit = (1 << 30) - 2;
      const double scaled = std::clamp(*typed * static_cast<double>(PowerOfTen(spec.storedDecimals)), -kLimit, kLimit);
      std::int64_t stored = RoundHalfAway(scaled);
      stored -= ((stored % step) + step) % step;  // cut down to the step
      outcome.changed = Store(value, std::clamp(stored, spec.minimum, spec.maximum));
    }
  } else if (request.key == cellkey::kSpace || request.key == cellkey::kBackspace) {
    const std::int64_t next = value.get() + (request.key == cellkey::kSpace ? step : -step);
    outcome.changed = Store(value, Wrap(next, spec.minimum, spec.maximum));
  }
  const std::int64_t stored = value.get();
  const std::string shown = FormatFixedPoint(stored, spec);
  if (request.editResult == kNoEdit && !outcome.changed) {
    const std::string_view trimmed = TrimBlanks(shown);
    if (request.key == cellkey::kEnter) return BeginEditing(request, std::string(trimmed), trimmed.size());
    if (request.key == '.') {
      const std::size_t point = trimmed.find('.');
      return BeginEditing(request, std::string(trimmed), point == std::string_view::npos ? trimmed.size() : point + 1);
    }
    if (IsDigitKey(request.key) || request.key == '-') {
      return BeginEditing(request, std::string(1, static_cast<char>(request.key)), 1);
    }
  }
  request.displayText = shown;
  MarkIf(request, stored < spec.minimum || stored > spec.maximum);
  return outcome;
}

// --- digit string ---

namespace {

constexpr std::string_view kDtmfCharacters = "0123456789ABCD*#";
constexpr std::string_view kFiveToneCharacters = "0123456789ABCDE*";

bool IsFiveTone(const DigitCodeSpec& spec) { return spec.kind != DigitCodeKind::kDtmf; }

bool StartsEditing(int key, const DigitCodeSpec& spec) {
  if (IsHexKey(key) || key == '*' || key == '#') return true;
  return IsFiveTone(spec) && (key == 'G' || key == 'g' || key == '+');
}

}  // namespace

std::string FormatDigitCode(const DigitCode& code, const DigitCodeSpec& spec) {
  std::string shown;
  for (std::size_t i = 0; i < code.digits.size(); ++i) {
    const std::uint8_t digit = code.digits[i] & 0x0F;
    if (!IsFiveTone(spec)) {
      shown += kDtmfCharacters[digit];
      continue;
    }
    if (digit == kUnusedDigit || i >= static_cast<std::size_t>(kFiveToneDigits)) break;
    const bool plus = spec.kind == DigitCodeKind::kFiveToneWithPlus && ((code.plusMask >> (7 - i)) & 1) != 0;
    shown += plus ? '+' : digit == spec.groupDigit ? '*' : kFiveToneCharacters[digit];
  }
  return shown;
}

std::optional<DigitCode> ParseDigitCode(std::string_view text, const DigitCodeSpec& spec) {
  DigitCode code;
  const std::size_t most = IsFiveTone(spec) ? kFiveToneDigits : kDtmfDigits;
  for (const char typed : Upper(text)) {
    if (code.digits.size() == most) break;
    const std::size_t i = code.digits.size();
    if (!IsFiveTone(spec)) {
      const std::size_t at = typed == '*' ? 14 : typed == '#' ? 15 : kHexDigits.find(typed);
      if (at != std::string_view::npos) code.digits.push_back(static_cast<std::uint8_t>(at));
    } else if (typed == '*' || typed == 'G') {
      code.digits.push_back(spec.groupDigit);
    } else if (typed == '+' && spec.kind == DigitCodeKind::kFiveToneWithPlus) {
      code.digits.push_back(0);
      code.plusMask = static_cast<std::uint8_t>(code.plusMask | (0x80 >> i));
    } else if (const std::size_t at = kHexDigits.substr(0, 15).find(typed); at != std::string_view::npos) {
      code.digits.push_back(static_cast<std::uint8_t>(at));
    }
  }
  if (code.digits.empty()) return std::nullopt;
  if (IsFiveTone(spec)) code.digits.resize(kFiveToneDigits, kUnusedDigit);
  return code;
}

LinkOutcome DigitCodeFamily(cmcCellCapsule& request, const DigitCodeSpec& spec, DigitCodeValue& value) {
  LinkOutcome outcome;
  if (request.editResult == kTextCommitted) {
    if (std::optional<DigitCode> typed = ParseDigitCode(request.editedText, spec)) {
      DigitCode before = value.get();
      if (spec.kind != DigitCodeKind::kFiveToneWithPlus) typed->plusMask = before.plusMask;
      if (!(*typed == before)) {
        value.set(*typed);
        outcome.changed = true;
      }
    }
  }
  const std::string shown = FormatDigitCode(value.get(), spec);
  if (request.editResult == kNoEdit) {
    if (request.key == cellkey::kSpace || request.key == cellkey::kBackspace || request.key == cellkey::kEnter) {
      return BeginEditing(request, shown, shown.size());
    }
    if (StartsEditing(request.key, spec))
      return BeginEditing(request, std::string(1, static_cast<char>(request.key)), 1);
  }
  request.displayText = shown;
  return outcome;
}

// --- digit set ---

namespace {

std::uint8_t OptionBit(int option) { return static_cast<std::uint8_t>(0x100 >> option); }

std::uint8_t OptionMask(const DigitSetSpec& spec) {
  std::uint8_t mask = 0;
  for (int option = 1; option <= spec.options; ++option) mask = static_cast<std::uint8_t>(mask | OptionBit(option));
  return mask;
}

}  // namespace

std::uint32_t DigitSetEditorBits(std::uint8_t byte, const DigitSetSpec& spec) {
  std::uint32_t bits = 0;
  for (int option = 1; option <= spec.options; ++option) {
    if (byte & OptionBit(option)) bits |= 1u << (26 - option);
  }
  return bits;
}

std::uint8_t DigitSetFromEditor(std::uint8_t byte, std::uint32_t bits, const DigitSetSpec& spec) {
  std::uint8_t next = static_cast<std::uint8_t>(byte & ~OptionMask(spec));
  for (int option = 1; option <= spec.options; ++option) {
    if (bits & (1u << (26 - option))) next = static_cast<std::uint8_t>(next | OptionBit(option));
  }
  return next;
}

LinkOutcome DigitSetFamily(cmcCellCapsule& request, LinkServices& services, const DigitSetSpec& spec,
                           LinkValue& value) {
  LinkOutcome outcome;
  const std::uint8_t mask = OptionMask(spec);
  const std::uint8_t byte = static_cast<std::uint8_t>(value.get());
  std::uint8_t next = byte;
  if (request.editResult == kPopupChoice) {
    const std::optional<std::int64_t> bits = ReplyNumber(request);
    if (bits && *bits >= 0 && *bits <= std::numeric_limits<std::uint32_t>::max()) {
      next = DigitSetFromEditor(byte, static_cast<std::uint32_t>(*bits), spec);
    }
  } else if (request.editResult == kNoEdit) {
    if (request.key >= '1' && request.key < '1' + spec.options) {
      next = static_cast<std::uint8_t>(byte ^ OptionBit(request.key - '0'));
    } else if (request.key == cellkey::kSpace) {
      next = (byte & mask) == 0 ? static_cast<std::uint8_t>(byte | mask) : static_cast<std::uint8_t>(byte & ~mask);
    } else if (request.key == cellkey::kBackspace) {
      next = static_cast<std::uint8_t>(byte ^ mask);
    } else if (request.key == cellkey::kEnter &&
               services.host.OpenFlagEditor(request, FlagEditorForm::Generated(1, spec.options, 0),
                                            DigitSetEditorBits(byte, spec))) {
      outcome.editor = kPopupEditor;
    }
  }
  outcome.changed = Store(value, next);
  std::string shown;
  for (int option = 1; option <= spec.options; ++option) {
    shown += (next & OptionBit(option)) ? static_cast<char>('0' + option) : '_';
  }
  request.displayText = shown;
  return outcome;
}

// --- single hexadecimal digit ---

LinkOutcome HexDigitFamily(cmcCellCapsule& request, const HexDigitSpec& spec, LinkValue& value) {
  LinkOutcome outcome;
  if (request.editResult == kTextCommitted) {
    const std::string typed = Upper(TrimBlanks(request.editedText));
    const std::size_t digit = typed.empty() ? std::string_view::npos : kHexDigits.find(typed.front());
    if (digit != std::string_view::npos && static_cast<int>(digit) <= spec.maximum) {
      outcome.changed = Store(value, static_cast<std::int64_t>(digit));
    }
  }
  const std::int64_t stored = value.get();
  const bool strange = stored < 0 || stored > spec.maximum;
  const std::string shown = stored >= 0 && stored <= 0xF ? std::string(1, kHexDigits[stored]) : std::to_string(stored);
  if (request.editResult == kNoEdit &&
      (request.key == cellkey::kSpace || request.key == cellkey::kBackspace || request.key == cellkey::kEnter)) {
    return BeginEditing(request, shown, shown.size());
  }
  request.displayText = shown;
  MarkIf(request, strange);
  return outcome;
}

// --- identity number ---

LinkOutcome IdentityFamily(cmcCellCapsule& request, const IdentitySpec& spec, LinkValue& value) {
  LinkOutcome outcome;
  if (request.editResult == kTextCommitted) {
    const std::optional<std::int64_t> typed = WholeNumber(request.editedText);
    if (typed && *typed >= spec.minimum && *typed <= spec.maximum) outcome.changed = Store(value, *typed);
  } else if (request.key == cellkey::kSpace || request.key == cellkey::kBackspace) {
    const std::int64_t next = value.get() + (request.key == cellkey::kSpace ? 1 : -1);
    outcome.changed = Store(value, Wrap(next, spec.minimum, spec.maximum));
  }
  const std::int64_t stored = value.get();
  char text[32];
  std::snprintf(text, sizeof text, "%0*lld", spec.padDigits, static_cast<long long>(stored));
  const std::string shown = text;
  if (request.editResult == kNoEdit && !outcome.changed) {
    if (request.key == cellkey::kEnter) return BeginEditing(request, shown, shown.size());
    if (IsDigitKey(request.key) || (request.key == '-' && spec.minimum < 0)) {
      return BeginEditing(request, std::string(1, static_cast<char>(request.key)), 1);
    }
  }
  request.displayText = shown;
  MarkIf(request, stored < spec.minimum || stored > spec.maximum);
  return outcome;
}

// --- choice with typed value ---

namespace {

// A typed or listed number: "of" in either case reads as 0 (the "Off" entry).
std::optional<std::int64_t> ChoiceNumber(std::string_view text) {
  const std::string upper = Upper(TrimBlanks(text));
  return upper.starts_with("OF") ? std::optional<std::int64_t>(0) : WholeNumber(upper);
}

// The value of the list's entry whose text is numerically nearest to `typed`,
// the first in the list's order on a tie.
std::optional<std::int32_t> NearestEntry(cmcFCache& choices, const ChoiceSpec& spec, std::int64_t typed) {
  constexpr int kMostEntries = 4096;  // a guard against a list that steps in a circle
  const std::optional<std::int32_t> first =
      choices.Step(spec.list, spec.column, std::numeric_limits<std::int32_t>::min(), 1);
  std::optional<std::int32_t> best;
  std::int64_t bestDistance = std::numeric_limits<std::int64_t>::max();
  std::optional<std::int32_t> entry = first;
  for (int seen = 0; entry && seen < kMostEntries; ++seen) {
    if (const std::optional<std::int64_t> number = ChoiceNumber(choices.TextOf(spec.list, spec.column, *entry))) {
      const std::int64_t distance = *number > typed ? *number - typed : typed - *number;
      if (distance < bestDistance) {
        bestDistance = distance;
        best = *entry;
      }
    }
    entry = choices.Step(spec.list, spec.column, *entry, 1);
    if (entry == first) break;
  }
  return best;
}

}  // namespace

LinkOutcome TypedChoiceFamily(cmcCellCapsule& request, LinkServices& services, const ChoiceSpec& spec,
                              LinkValue& value) {
  constexpr std::size_t kLongestText = 10;
  if (request.editResult == kTextCommitted) {
    LinkOutcome outcome;
    const std::optional<std::int64_t> number =
        ChoiceNumber(std::string_view(request.editedText).substr(0, kLongestText));
    services.choices.TextOf(spec.list, spec.column, static_cast<std::int32_t>(value.get()));  // builds the entry
    if (number) {
      if (const std::optional<std::int32_t> entry = NearestEntry(services.choices, spec, *number)) {
        outcome.changed = Store(value, *entry);
      }
    }
    request.displayText = services.choices.TextOf(spec.list, spec.column, static_cast<std::int32_t>(value.get()));
    return outcome;
  }
  if (request.editResult == kNoEdit && (IsDigitKey(request.key) || request.key == 'o' || request.key == 'O')) {
    return BeginEditing(request, std::string(1, static_cast<char>(request.key)), 1);
  }
  return ChoiceFamily(request, services, spec, value);
}

// --- sync word ---

LinkOutcome SyncWordFamily(cmcCellCapsule& request, LinkValue& value) {
  LinkOutcome outcome;
  if (request.editResult == kTextCommitted) {
    const std::string_view typed = TrimBlanks(request.editedText);
    const bool fits = !typed.empty() && typed.size() <= 4 &&
                      std::all_of(typed.begin(), typed.end(), [](char c) { return IsHexKey(c); });
    if (fits) outcome.changed = Store(value, *WholeNumber(typed, 16));
  }
  char text[16];
  std::snprintf(text, sizeof text, "%04llX", static_cast<unsigned long long>(value.get() & 0xFFFF));
  const std::string shown = text;
  if (request.editResult == kNoEdit) {
    if (request.key == cellkey::kEnter || request.key == cellkey::kSpace || request.key == cellkey::kBackspace) {
      return BeginEditing(request, shown, shown.size());
    }
    if (IsHexKey(request.key)) return BeginEditing(request, std::string(1, static_cast<char>(request.key)), 1);
  }
  request.displayText = shown;
  return outcome;
}

// --- packed digits ---

LinkOutcome PackedDigitsFamily(cmcCellCapsule& request, const PackedDigitsSpec& spec, DigitCodeValue& value) {
  LinkOutcome outcome;
  if (request.editResult == kTextCommitted) {
    const std::string kept = KeepOnly(request.editedText, "0123456789");
    if (!kept.empty()) {
      std::string digits = kept.substr(0, static_cast<std::size_t>(spec.count));
      digits.insert(0, static_cast<std::size_t>(spec.count) - digits.size(), '0');
      DigitCode next;
      for (const char c : digits) next.digits.push_back(static_cast<std::uint8_t>(c - '0'));
      if (!(next == value.get())) {
        value.set(next);
        outcome.changed = true;
      }
    }
  }
  std::string shown;
  bool strange = false;
  for (const std::uint8_t digit : value.get().digits) {
    shown += kHexDigits[digit & 0x0F];
    strange = strange || (digit & 0x0F) > 9;
  }
  if (request.editResult == kNoEdit) {
    if (request.key == cellkey::kEnter || request.key == cellkey::kSpace || request.key == cellkey::kBackspace) {
      return BeginEditing(request, shown, shown.size());
    }
    if (IsDigitKey(request.key)) return BeginEditing(request, std::string(1, static_cast<char>(request.key)), 1);
  }
  request.displayText = shown;
  MarkIf(request, strange);
  return outcome;
}
