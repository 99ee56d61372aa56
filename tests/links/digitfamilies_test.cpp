#include "links/digitfamilies.h"

#include <gtest/gtest.h>

#include "core/gtex.h"
#include "link_host.h"
#include "markup/fcache.h"
#include "markup/ids.h"
#include "requests.h"

namespace {

// What one request did: the value after it, the text shown (or edited), the
// editor it asked for and the marks.
struct Seen {
  std::int64_t value;
  std::string shown;
  int editor;
  int marks;
};

// A request is a key, or a committed text when `text` is given.
struct Action {
  int key;
  std::optional<std::string> text;
};
Action Press(int key) { return {key, std::nullopt}; }
Action Type(std::string text) { return {0, std::move(text)}; }

template <typename Run>
Seen Apply(std::int64_t start, const Action& action, Run run) {
  std::int64_t held = start;
  LinkValue value{[&held] { return held; }, [&held](std::int64_t v) { held = v; }};
  cmcCellCapsule request = action.text ? Typed(*action.text) : Key(action.key);
  const LinkOutcome outcome = run(request, value);
  EXPECT_EQ(outcome.changed, held != start);
  return {held, request.displayText, outcome.editor, request.marks};
}

struct NumberCase {
  std::int64_t start;
  Action action;
  std::int64_t value;
  std::string shown;
  int editor = kNoEditor;
  int marks = 0;
};

void Check(const NumberCase& c, const Seen& seen) {
  const std::string what = c.action.text ? "text \"" + *c.action.text + "\"" : "key " + std::to_string(c.action.key);
  EXPECT_EQ(seen.value, c.value) << c.start << ' ' << what;
  EXPECT_EQ(seen.shown, c.shown) << c.start << ' ' << what;
  EXPECT_EQ(seen.editor, c.editor) << c.start << ' ' << what;
  EXPECT_EQ(seen.marks, c.marks) << c.start << ' ' << what;
}

TEST(FixedPointFamily, ShowsStepsWrapsAndCommitsRoundedCutDownAndClamped) {
  const FixedPointSpec tone{1, 1, 2500, 33000, 1};  // 250.0 to 3300.0 Hz
  const FixedPointSpec noTone{2, 3, 2, 30, 2};      // 0.02 to 0.30 s, step 0.02
  const FixedPointSpec repeat{0, 3, 0, 60, 1};      // 0 to 60 s, whole seconds
  const struct {
    const FixedPointSpec& spec;
    NumberCase c;
  } cases[] = {
      {tone, {10000, Press(cellkey::kEvaluate), 10000, "1000.0"}},
      {tone, {33000, Press(cellkey::kSpace), 2500, "250.0"}},
      {tone, {2500, Press(cellkey::kBackspace), 33000, "3300.0"}},
      {tone, {2500, Type("1000.04"), 10000, "1000.0"}},
      {tone, {2500, Type("1000.05"), 10001, "1000.1"}},  // half away from zero
      {tone, {2500, Type("99999"), 33000, "3300.0"}},    // clamped
      {tone, {2500, Type("12"), 2500, "250.0"}},
      {tone, {5000, Type("Hz"), 5000, "500.0"}},  // no number: nothing changes
      {tone, {40000, Press(cellkey::kEvaluate), 40000, "4000.0", kNoEditor, cellmark::kWarning}},
      {noTone, {2, Press(cellkey::kEvaluate), 2, "  0.020"}},
      {noTone, {2, Type("0.05"), 4, "  0.040"}},  // cut down to the step
      {noTone, {30, Press(cellkey::kSpace), 2, "  0.020"}},
      {noTone, {10, Press(cellkey::kEnter), 10, "0.100", kInCellEditor}},
      {noTone, {10, Press('.'), 10, "0.100", kInCellEditor}},
      {noTone, {10, Press('7'), 10, "7", kInCellEditor}},
      {repeat, {5, Press(cellkey::kEvaluate), 5, "  5.000"}},
      {repeat, {5, Type("12.6"), 13, " 13.000"}},
  };
  for (const auto& [spec, c] : cases) {
    Check(c, Apply(c.start, c.action, [&](cmcCellCapsule& r, LinkValue& v) { return FixedPointFamily(r, spec, v); }));
  }
  cmcCellCapsule point = Key('.');
  std::int64_t held = 10;
  LinkValue value{[&held] { return held; }, [&held](std::int64_t v) { held = v; }};
  FixedPointFamily(point, noTone, value);
  EXPECT_EQ(point.caretPosition, 2);  // after the decimal point
}

TEST(IdentityFamily, PadsStepsWrapsAndTakesOnlyNumbersInItsRange) {
  const IdentitySpec spec{0, 4095};
  const NumberCase cases[] = {
      {7, Press(cellkey::kEvaluate), 7, "0007"},
      {4095, Press(cellkey::kSpace), 0, "0000"},
      {0, Press(cellkey::kBackspace), 4095, "4095"},
      {7, Type("123"), 123, "0123"},
      {7, Type("4096"), 7, "0007"},
      {7, Type("12x"), 7, "0007"},
      {7, Type(""), 7, "0007"},
      {7, Press('5'), 7, "5", kInCellEditor},
      {7, Press('-'), 7, "0007"},  // no negatives in the range
      {5000, Press(cellkey::kEvaluate), 5000, "5000", kNoEditor, cellmark::kWarning},
  };
  for (const NumberCase& c : cases) {
    Check(c, Apply(c.start, c.action, [&](cmcCellCapsule& r, LinkValue& v) { return IdentityFamily(r, spec, v); }));
  }
}

TEST(HexDigitFamily, TakesTheFirstCharacterUpToItsLargestDigit) {
  const HexDigitSpec upToE{0xE};
  const HexDigitSpec upToF{0xF};
  const struct {
    const HexDigitSpec& spec;
    NumberCase c;
  } cases[] = {
      {upToE, {0xA, Press(cellkey::kEvaluate), 0xA, "A"}},
      {upToE, {0, Type("c7"), 0xC, "C"}},
      {upToE, {0, Type("F"), 0, "0"}},
      {upToF, {0, Type("F"), 0xF, "F"}},
      {upToE, {3, Type("x"), 3, "3"}},
      {upToE, {3, Press(cellkey::kSpace), 3, "3", kInCellEditor}},
      {upToE, {0xF, Press(cellkey::kEvaluate), 0xF, "F", kNoEditor, cellmark::kWarning}},
  };
  for (const auto& [spec, c] : cases) {
    Check(c, Apply(c.start, c.action, [&](cmcCellCapsule& r, LinkValue& v) { return HexDigitFamily(r, spec, v); }));
  }
}

TEST(SyncWordFamily, TakesOneToFourHexadecimalDigitsInEitherCase) {
  const NumberCase cases[] = {
      {0x0A5, Press(cellkey::kEvaluate), 0x0A5, "00A5"},
      {0, Type("1f"), 0x1F, "001F"},
      {0, Type("BEEF"), 0xBEEF, "BEEF"},
      {0x12, Type("12345"), 0x12, "0012"},
      {0x12, Type("G1"), 0x12, "0012"},
      {0x12, Type(""), 0x12, "0012"},
      {0x12, Press('b'), 0x12, "b", kInCellEditor},
  };
  for (const NumberCase& c : cases) {
    Check(c, Apply(c.start, c.action, [&](cmcCellCapsule& r, LinkValue& v) { return SyncWordFamily(r, v); }));
  }
}

class DigitSetTest : public ::testing::Test {
 protected:
  cmcGTex overlay_;
  cmcFCache choices_{overlay_};
  RecordingLinkHost host_;
  LinkServices services_{overlay_, choices_, host_};
};

TEST_F(DigitSetTest, KeysChangeOnlyTheOptionBits) {
  const DigitSetSpec seven{7};
  const DigitSetSpec four{4};  // bits 7-4, bit 0 an update flag beside them
  const struct {
    const DigitSetSpec& spec;
    NumberCase c;
  } cases[] = {
      {seven, {0xA0, Press(cellkey::kEvaluate), 0xA0, "1_3____"}},
      {seven, {0xA0, Press('2'), 0xE0, "123____"}},
      {seven, {0xA0, Press('8'), 0xA0, "1_3____"}},
      {seven, {0x00, Press(cellkey::kSpace), 0xFE, "1234567"}},
      {seven, {0x21, Press(cellkey::kSpace), 0x01, "_______"}},
      {seven, {0xA1, Press(cellkey::kBackspace), 0x5F, "_2_4567"}},
      {four, {0x01, Press(cellkey::kSpace), 0xF1, "1234"}},
      {four, {0x91, Press(cellkey::kBackspace), 0x61, "_23_"}},
      {four, {0x01, Press('5'), 0x01, "____"}},
  };
  for (const auto& [spec, c] : cases) {
    Check(c, Apply(c.start, c.action,
                   [&](cmcCellCapsule& r, LinkValue& v) { return DigitSetFamily(r, services_, spec, v); }));
  }
}

TEST_F(DigitSetTest, EnterOpensTheGeneratedEditorAndItsReplyKeepsTheOtherBits) {
  const DigitSetSpec four{4};
  std::int64_t held = 0x81;  // option 1 and the update flag
  LinkValue value{[&held] { return held; }, [&held](std::int64_t v) { held = v; }};
  cmcCellCapsule enter = Key(cellkey::kEnter);
  EXPECT_EQ(DigitSetFamily(enter, services_, four, value).editor, kPopupEditor);
  EXPECT_EQ(host_.opened, "flags options 1-4 style 0 " + std::to_string(1 << 25));

  auto reply = [&](const std::string& text) {
    cmcCellObj chosen;
    chosen.link = cl::Flex0;
    chosen.displayText = text;
    cmcCellCapsule replyCapsule;
    replyCapsule.cell = &chosen;
    cmcCellCapsule request;
    request.reply = &replyCapsule;
    request.editResult = kPopupChoice;
    return DigitSetFamily(request, services_, four, value).changed;
  };
  EXPECT_TRUE(reply(std::to_string((1 << 24) | (1 << 22) | 1)));  // options 2 and 4; bit 0 is no option
  EXPECT_EQ(held, 0x51);
  EXPECT_FALSE(reply("many"));
  EXPECT_EQ(held, 0x51);
  EXPECT_EQ(DigitSetEditorBits(0x51, four), (1u << 24) | (1u << 22));
}

// Digit codes: a start code, a typed text and the code stored.
struct CodeCase {
  DigitCode start;
  std::string typed;
  DigitCode stored;
  std::string shown;
};

void CheckCodes(const DigitCodeSpec& spec, std::span<const CodeCase> cases) {
  for (const CodeCase& c : cases) {
    DigitCode held = c.start;
    DigitCodeValue value{[&held] { return held; }, [&held](const DigitCode& code) { held = code; }};
    cmcCellCapsule request = Typed(c.typed);
    const bool changed = DigitCodeFamily(request, spec, value).changed;
    EXPECT_EQ(changed, !(held == c.start)) << c.typed;
    EXPECT_EQ(held.digits, c.stored.digits) << c.typed;
    EXPECT_EQ(held.plusMask, c.stored.plusMask) << c.typed;
    EXPECT_EQ(request.displayText, c.shown) << c.typed;
  }
}

TEST(DigitCodeFamily, DtmfKeepsItsCharactersUpToTwentyFour) {
  const DigitCodeSpec dtmf{DigitCodeKind::kDtmf};
  const std::vector<std::uint8_t> nine(24, 9);
  const CodeCase cases[] = {
      {{}, "12*#", {{1, 2, 14, 15}}, "12*#"},
      {{}, "a-b c", {{10, 11, 12}}, "ABC"},
      {{},
       "1234567890123456789012345678",
       {{1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 1, 2, 3, 4}},
       "123456789012345678901234"},
      {{{1, 2}}, "xyz", {{1, 2}}, "12"},  // nothing kept: nothing changes
  };
  CheckCodes(dtmf, cases);
}

TEST(DigitCodeFamily, FiveToneTakesPlusAndTheGroupDigitAndFillsWithUnusedDigits) {
  const DigitCodeSpec receive{DigitCodeKind::kFiveToneWithPlus, 5};
  const DigitCodeSpec transmit{DigitCodeKind::kFiveTone, 5};
  constexpr std::uint8_t F = kUnusedDigit;
  const CodeCase receiveCases[] = {
      {{}, "12+4*", {{1, 2, 0, 4, 5, F, F}, 0x20}, "12+4*"},
      {{}, "g1e", {{5, 1, 14, F, F, F, F}}, "*1E"},
      {{}, "123456789", {{1, 2, 3, 4, 5, 6, 7}}, "1234*67"},
      {{{1, F, F, F, F, F, F}}, "#", {{1, F, F, F, F, F, F}}, "1"},
  };
  CheckCodes(receive, receiveCases);
  const CodeCase transmitCases[] = {
      {{{1, F, F, F, F, F, F}, 0x80}, "2+3", {{2, 3, F, F, F, F, F}, 0x80}, "23"},  // the mask is not its own
  };
  CheckCodes(transmit, transmitCases);
  // Shown up to the first unused digit only.
  EXPECT_EQ(FormatDigitCode({{1, 2, F, 4, F, F, F}}, transmit), "12");
}

TEST(DigitCodeFamily, KeysBeginEditing) {
  const DigitCodeSpec dtmf{DigitCodeKind::kDtmf};
  const DigitCodeSpec fiveTone{DigitCodeKind::kFiveTone, 5};
  DigitCode held{{1, 2}};
  DigitCodeValue value{[&held] { return held; }, [&held](const DigitCode& code) { held = code; }};
  const struct {
    const DigitCodeSpec& spec;
    int key;
    int editor;
    std::string shown;
  } cases[] = {
      {dtmf, cellkey::kEnter, kInCellEditor, "12"},
      {dtmf, cellkey::kSpace, kInCellEditor, "12"},
      {dtmf, '#', kInCellEditor, "#"},
      {dtmf, 'G', kNoEditor, "12"},
      {fiveTone, 'g', kInCellEditor, "g"},
      {fiveTone, '+', kInCellEditor, "+"},
  };
  for (const auto& c : cases) {
    cmcCellCapsule request = Key(c.key);
    EXPECT_EQ(DigitCodeFamily(request, c.spec, value).editor, c.editor) << c.key;
    EXPECT_EQ(request.displayText, c.shown) << c.key;
  }
}

TEST(PackedDigitsFamily, PadsOnTheLeftAndKeepsTheFirstDigitsOfALongText) {
  const PackedDigitsSpec four{4};
  const struct {
    std::string typed;
    std::vector<std::uint8_t> stored;
    std::string shown;
  } cases[] = {
      {"12", {0, 0, 1, 2}, "0012"},
      {"1-2-3-4", {1, 2, 3, 4}, "1234"},
      {"987654", {9, 8, 7, 6}, "9876"},
      {"none", {5, 5, 5, 5}, "5555"},
  };
  for (const auto& c : cases) {
    DigitCode held{{5, 5, 5, 5}};
    DigitCodeValue value{[&held] { return held; }, [&held](const DigitCode& code) { held = code; }};
    cmcCellCapsule request = Typed(c.typed);
    PackedDigitsFamily(request, four, value);
    EXPECT_EQ(held.digits, c.stored) << c.typed;
    EXPECT_EQ(request.displayText, c.shown) << c.typed;
  }
  DigitCode strange{{1, 0xA, 2, 3}};
  DigitCodeValue value{[&strange] { return strange; }, [](const DigitCode&) {}};
  cmcCellCapsule show = Key(cellkey::kEvaluate);
  PackedDigitsFamily(show, four, value);
  EXPECT_EQ(show.marks, cellmark::kWarning);
}

TEST(TypedChoiceFamily, ATypedNumberChoosesTheNearestEntry) {
  cmcGTex overlay;
  overlay.OpenLines({
      "#GI_Sheet_Sel_Levels_Cells",
      "{(%Flex0[0])}Off|{(%Flex0[1])}10|{(%Flex0[2])}20|{(%Flex0[3])}30|{(%Flex0[4])}40",
      "#",
      "#End_Of_Ovl",
  });
  cmcFCache choices(overlay);
  RecordingLinkHost host;
  LinkServices services{overlay, choices, host};
  const ChoiceSpec spec{"GI_Sheet_Sel_Levels", cl::Flex0};
  const NumberCase cases[] = {
      {3, Type("off"), 0, "Off"},  // "of" reads as 0, and so does the entry "Off"
      {0, Type("24"), 2, "20"},
      {0, Type("25"), 2, "20"},  // a tie: the first
      {0, Type("1000"), 4, "40"},
      {2, Type("x"), 2, "20"},
      {2, Press('3'), 2, "3", kInCellEditor},
      {2, Press('o'), 2, "o", kInCellEditor},
      {2, Press(cellkey::kSpace), 3, "30"},
  };
  for (const NumberCase& c : cases) {
    Check(c, Apply(c.start, c.action,
                   [&](cmcCellCapsule& r, LinkValue& v) { return TypedChoiceFamily(r, services, spec, v); }));
  }
}

}  // namespace
