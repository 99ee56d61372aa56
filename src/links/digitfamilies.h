#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "links/families.h"

// The value families of the signalling and settings cells: numbers with a
// fixed point, digit codes, digit sets and identities. Like the families of
// families.h they know nothing of where the value lives. A committed text that
// gives no value changes nothing; a stored value the family could never have
// written keeps its text and carries the warning mark.

// --- fixed-point number ---

// The field holds value × 10^storedDecimals; it is shown with shownDecimals.
// Limits and step are in stored units.
struct FixedPointSpec {
  int storedDecimals;
  int shownDecimals;
  std::int64_t minimum;
  std::int64_t maximum;
  std::int64_t step;
};
// The integer part right-aligned in at least three places, a point and the fraction.
std::string FormatFixedPoint(std::int64_t stored, const FixedPointSpec& spec);
LinkOutcome FixedPointFamily(cmcCellCapsule& request, const FixedPointSpec& spec, LinkValue& value);

// --- digit string ---

// Digits as nibbles, and for five-tone receive codes the plus mask (bit 7 - i
// set when digit i is a "+").
struct DigitCode {
  std::vector<std::uint8_t> digits;
  std::uint8_t plusMask = 0;
  bool operator==(const DigitCode&) const = default;
};
struct DigitCodeValue {
  std::function<DigitCode()> get;
  std::function<void(const DigitCode&)> set;
};
enum class DigitCodeKind {
  kDtmf,              // up to 24 digits of "0123456789ABCD*#"
  kFiveTone,          // seven digits, unused ones 0xF
  kFiveToneWithPlus,  // as five-tone, "+" allowed (receive codes)
};
constexpr int kDtmfDigits = 24;
constexpr int kFiveToneDigits = 7;
constexpr std::uint8_t kUnusedDigit = 0xF;
struct DigitCodeSpec {
  DigitCodeKind kind;
  std::uint8_t groupDigit = kUnusedDigit;  // five-tone: the digit shown and typed as "*" or "G"
};
std::string FormatDigitCode(const DigitCode& code, const DigitCodeSpec& spec);
// Nothing when the text keeps no digit.
std::optional<DigitCode> ParseDigitCode(std::string_view text, const DigitCodeSpec& spec);
LinkOutcome DigitCodeFamily(cmcCellCapsule& request, const DigitCodeSpec& spec, DigitCodeValue& value);

// --- digit set ---

// Options 1 to `options` of one byte, option k in bit 8 - k. The other bits of
// the byte are never changed.
struct DigitSetSpec {
  int options;
};
LinkOutcome DigitSetFamily(cmcCellCapsule& request, LinkServices& services, const DigitSetSpec& spec, LinkValue& value);
// The bit-field editor's value for the options of `byte` (option n at bit 26 - n) and back.
std::uint32_t DigitSetEditorBits(std::uint8_t byte, const DigitSetSpec& spec);
std::uint8_t DigitSetFromEditor(std::uint8_t byte, std::uint32_t bits, const DigitSetSpec& spec);

// --- single hexadecimal digit ---

struct HexDigitSpec {
  int maximum;  // 0xE or 0xF
};
LinkOutcome HexDigitFamily(cmcCellCapsule& request, const HexDigitSpec& spec, LinkValue& value);

// --- identity number ---

struct IdentitySpec {
  std::int64_t minimum;
  std::int64_t maximum;
  int padDigits = 4;  // leading zeros up to this many digits; 0: none
};
LinkOutcome IdentityFamily(cmcCellCapsule& request, const IdentitySpec& spec, LinkValue& value);

// --- choice with typed value ---

// A choice whose entry texts are numbers: a typed number ("of" reads as 0)
// chooses the entry whose text is numerically nearest, the first on a tie.
LinkOutcome TypedChoiceFamily(cmcCellCapsule& request, LinkServices& services, const ChoiceSpec& spec,
                              LinkValue& value);

// --- sync word ---

// A 16-bit value shown as four hexadecimal digits; one to four digits in either
// case are taken as a number.
LinkOutcome SyncWordFamily(cmcCellCapsule& request, LinkValue& value);

// --- packed digits ---

// A fixed number of decimal digits. A committed text keeps its digits, takes
// the first `count` of them and pads on the left with "0".
struct PackedDigitsSpec {
  int count;
};
LinkOutcome PackedDigitsFamily(cmcCellCapsule& request, const PackedDigitsSpec& spec, DigitCodeValue& value);
