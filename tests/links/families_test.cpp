#include "links/families.h"

#include <gtest/gtest.h>

#include <clocale>

#include "core/gtex.h"
#include "link_host.h"
#include "markup/fcache.h"
#include "markup/ids.h"
#include "model/charset.h"
#include "requests.h"

namespace {

TEST(ChannelGrid, SnapsToTheFirstGridValueWithinTheTypedPrecision) {
  struct Case {
    std::int64_t typed;
    ChannelGrid grid;
    std::optional<std::int64_t> snapped;
  };
  const Case cases[] = {
      {146520000, kGrid625, 146520000},     {146521000, kGrid625, 146521875},     {146521300, kGrid625, std::nullopt},
      {146500001, kGrid625, std::nullopt},  {446006250, kGrid625, 446006250},     {446103125, kGrid625, 446103125},
      {446006000, kGrid1250, 446006250},    {446003000, kGrid1250, std::nullopt}, {446110000, kGrid2500, 446110000},
      {446107000, kGrid2500, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(SnapToGrid(c.typed, c.grid), c.snapped) << c.typed;
}

TEST(ChannelGrid, MegahertzTextsAreReadWithoutTheLocale) {
  // A locale with a decimal comma must not change how "146.52" is read.
  std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  EXPECT_EQ(ParseMegahertz("146.52"), 146520000);
  EXPECT_EQ(ParseMegahertz(" 146.520 MHz"), 146520000);
  EXPECT_EQ(ParseMegahertz("146.5218755"), 146521870);  // cut to nine characters: "146.52187"
  EXPECT_EQ(ParseMegahertz("0.0000005"), 1);            // rounded to the nearest Hz
  EXPECT_EQ(ParseMegahertz("99999"), 799999999);
  EXPECT_EQ(ParseMegahertz("MHz"), std::nullopt);
  EXPECT_EQ(ParseDecimalText("1.5"), 1.5);
  EXPECT_EQ(ParseDecimalText("-2"), -2.0);
  EXPECT_EQ(ParseDecimalText("1,5"), std::nullopt);
  std::setlocale(LC_NUMERIC, "C");
  EXPECT_EQ(FormatMegahertz(146521875), "146.521875");
}

class FamilyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    overlay_.OpenLines({
        "#GI_Sheet_Sel_Abc_Cells",
        "{(%Flex0[0])}a|{(%Flex0[2])}c",
        "{(%Flex0[1])}b",
        "#",
        "#GI_Sheet_Sel_Mch_CTone_Cells",
        "{(%Flex0[0])}Off|{(%Flex0[4115])}023N",
        "{(%Flex0[1])}67.0",
        "{(%Flex0[2])}69.3|{(%Flex0[8684])}754I",
        "#",
        "#GI_AppItem_Ctcss",
        "67.0",
        "69.3",
        "#",
        "#GI_AppItem_Dtcs",
        "023",
        "754",
        "#",
        "#GI_Sheet_Sel_Prio_Cells",
        "{(%Flex0[0])}Off|{(%Flex0[1])}Current|{(%Flex0[5])}Channel...",
        "#",
        "#GI_AddCH",
        "ch",
        "#",
        "#GI_AppInd_TimerOff",
        "Off",
        "#",
        "#End_Of_Ovl",
    });
  }
  LinkValue Holding(std::int64_t& value) {
    return {[&value] { return value; }, [&value](std::int64_t v) { value = v; }};
  }

  cmcGTex overlay_;
  cmcFCache choices_{overlay_};
  RecordingLinkHost host_;
  LinkServices services_{overlay_, choices_, host_};
};

TEST_F(FamilyTest, ChoiceShowsStepsWrapsAndTakesThePopupReply) {
  const ChoiceSpec spec{"GI_Sheet_Sel_Abc", cl::Flex0};
  std::int64_t value = 1;
  LinkValue field = Holding(value);
  cmcCellCapsule show = Key(cellkey::kEvaluate);
  EXPECT_FALSE(ChoiceFamily(show, services_, spec, field).changed);
  EXPECT_EQ(show.displayText, "b");

  struct Step {
    int key;
    std::int64_t from;
    std::int64_t to;
    const char* shown;
  };
  // Column order: a, b (first column), then c.
  const Step steps[] = {{cellkey::kSpace, 0, 1, "b"},
                        {cellkey::kSpace, 2, 0, "a"},
                        {cellkey::kBackspace, 0, 2, "c"},
                        {cellkey::kBackspace, 1, 0, "a"}};
  for (const Step& s : steps) {
    value = s.from;
    cmcCellCapsule request = Key(s.key);
    EXPECT_TRUE(ChoiceFamily(request, services_, spec, field).changed);
    EXPECT_EQ(value, s.to);
    EXPECT_EQ(request.displayText, s.shown);
  }

  cmcCellCapsule enter = Key(cellkey::kEnter);
  EXPECT_EQ(ChoiceFamily(enter, services_, spec, field).editor, kPopupEditor);
  EXPECT_EQ(host_.opened, "choice GI_Sheet_Sel_Abc 1 0");

  cmcCellObj chosen;
  chosen.link = cl::Flex0;
  chosen.parameter = 2;
  cmcCellCapsule replyCapsule;
  replyCapsule.cell = &chosen;
  cmcCellCapsule reply;
  reply.reply = &replyCapsule;
  reply.editResult = kPopupChoice;
  EXPECT_TRUE(ChoiceFamily(reply, services_, spec, field).changed);
  EXPECT_EQ(value, 2);
  EXPECT_EQ(reply.displayText, "c");
}

TEST_F(FamilyTest, FrequencyKeysBeginEditingAndCommitsSnapAndClamp) {
  const FrequencySpec spec{kGrid625, 144000000, 147000000, true};
  std::int64_t value = 145000000;
  LinkValue field = Holding(value);

  cmcCellCapsule dot = Key('.');
  EXPECT_EQ(FrequencyFamily(dot, spec, field, "145.000000").editor, kInCellEditor);
  EXPECT_EQ(dot.displayText, "145.000000");
  EXPECT_EQ(dot.caretPosition, 4);  // after the decimal point
  cmcCellCapsule digit = Key('7');
  EXPECT_EQ(FrequencyFamily(digit, spec, field, "145.000000").editor, kInCellEditor);
  EXPECT_EQ(digit.displayText, "7");
  for (int key : {int{cellkey::kSpace}, int{cellkey::kBackspace}, int{cellkey::kEnter}}) {
    cmcCellCapsule request = Key(key);
    EXPECT_EQ(FrequencyFamily(request, spec, field, "145.000000").editor, kInCellEditor) << key;
    EXPECT_EQ(request.caretPosition, 10);
  }

  struct Commit {
    const char* text;
    std::int64_t stored;
  };
  const Commit commits[] = {{"146.521", 146521875}, {"146.5213", 146521875}, {"150", 147000000},
                            {"100", 144000000},     {"abc", 144000000},      {"146.52", 146520000}};
  for (const Commit& c : commits) {
    cmcCellCapsule request = Typed(c.text);
    FrequencyFamily(request, spec, field, "");
    EXPECT_EQ(value, c.stored) << c.text;
  }
}

TEST_F(FamilyTest, MinutesAndSecondsRoundHalfAStepUpClampAndWrap) {
  const MinSecTimerSpec spec{10, 0, 60, true};  // 10 s steps up to 10:00
  std::int64_t value = 0;
  LinkValue field = Holding(value);
  struct Commit {
    const char* text;
    std::int64_t steps;
  };
  const Commit commits[] = {{"1:05", 7},   {"1:04", 6},   {":30", 3},
                            {"2", 12},     {"99:00", 60}, {"1234:00", 60} /* too long: unchanged */,
                            {"1:2:3", 60}, {"0", 0}};
  for (const Commit& c : commits) {
    cmcCellCapsule request = Typed(c.text);
    MinSecTimerFamily(request, services_, spec, field);
    EXPECT_EQ(value, c.steps) << c.text;
  }
  cmcCellCapsule shown = Key(cellkey::kEvaluate);
  MinSecTimerFamily(shown, services_, spec, field);
  EXPECT_EQ(shown.displayText, "Off");  // 0 on a timer that may be off, only displayed
  cmcCellCapsule back = Key(cellkey::kBackspace);
  EXPECT_TRUE(MinSecTimerFamily(back, services_, spec, field).changed);
  EXPECT_EQ(back.displayText, "10:00");
  cmcCellCapsule forward = Key(cellkey::kSpace);
  MinSecTimerFamily(forward, services_, spec, field);
  EXPECT_EQ(value, 0);
  cmcCellCapsule colon = Key(':');
  EXPECT_EQ(MinSecTimerFamily(colon, services_, spec, field).editor, kInCellEditor);
  EXPECT_EQ(colon.displayText, ":");
}

TEST_F(FamilyTest, DecimalTimerStoresOffOnlyWhenTheLinkHasAnOffValue) {
  std::int64_t value = 3000;
  LinkValue field = Holding(value);
  const DecimalTimerSpec withOff{1000, 500, 10000, 0};
  const DecimalTimerSpec withoutOff{1000, 500, 10000, std::nullopt};

  cmcCellCapsule off = Typed("Off");
  DecimalTimerFamily(off, services_, withOff, field);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(off.displayText, "Off");

  value = 3000;
  cmcCellCapsule offClamped = Typed("o f");
  DecimalTimerFamily(offClamped, services_, withoutOff, field);
  EXPECT_EQ(value, 500);  // clamped to the minimum like any other value
  EXPECT_EQ(offClamped.displayText, "  0.500");

  struct Commit {
    const char* text;
    std::int64_t stored;
  };
  const Commit commits[] = {{"1.5", 1500}, {"2.0004", 2000}, {"2.0005", 2001}, {"99", 10000}, {"0.1", 500}};
  for (const Commit& c : commits) {
    cmcCellCapsule request = Typed(c.text);
    DecimalTimerFamily(request, services_, withoutOff, field);
    EXPECT_EQ(value, c.stored) << c.text;
  }
}

TEST_F(FamilyTest, NumericRoundsToTheStepClampsAndWrapsOrStops) {
  std::int64_t value = 0;
  LinkValue field = Holding(value);
  const NumericSpec spec{0, 100, 1, 5, false};  // shown = stored + 1
  struct Commit {
    const char* text;
    std::int64_t stored;
  };
  const Commit commits[] = {{"8", 5}, {"9", 10}, {"3.5", 5}, {"500", 100}, {"-20", 0}, {"x", 0}, {"13", 10}};
  for (const Commit& c : commits) {
    cmcCellCapsule request = Typed(c.text);
    NumericFamily(request, spec, field);
    EXPECT_EQ(value, c.stored) << c.text;
  }
  value = 100;
  cmcCellCapsule up = Key(cellkey::kSpace);
  NumericFamily(up, spec, field);
  EXPECT_EQ(value, 0);  // wraps
  EXPECT_EQ(up.displayText, "1");
  const NumericSpec stopping{0, 100, 0, 5, true};
  cmcCellCapsule down = Key(cellkey::kBackspace);
  NumericFamily(down, stopping, field);
  EXPECT_EQ(value, 0);  // stops at the limit
  cmcCellCapsule minus = Key('-');
  EXPECT_EQ(NumericFamily(minus, spec, field).editor, kNoEditor);  // the minimum is not below 0
  const NumericSpec negative{-10, 10, 0, 1, false};
  cmcCellCapsule minusOk = Key('-');
  EXPECT_EQ(NumericFamily(minusOk, negative, field).editor, kInCellEditor);
}

TEST_F(FamilyTest, ToneTextsCodesAndTheSameAsReceiveMark) {
  const ToneSpec spec{"GI_Sheet_Sel_Mch_CTone", false};
  const ToneSpec listed{"GI_Sheet_Sel_Mch_CTone", true};
  auto parsed = ParseTone(overlay_, spec, " 023i ");
  ASSERT_TRUE(parsed);
  EXPECT_TRUE(parsed->digital);
  EXPECT_TRUE(parsed->inverted);
  EXPECT_EQ(parsed->code, 023);
  EXPECT_EQ(ParseTone(overlay_, spec, "69.3")->index, 1);
  EXPECT_FALSE(ParseTone(overlay_, spec, "088"));    // 8 is no octal digit, and no tone
  EXPECT_TRUE(ParseTone(overlay_, spec, "017"));     // any code without the list rule
  EXPECT_FALSE(ParseTone(overlay_, listed, "017"));  // not listed
  EXPECT_TRUE(ParseTone(overlay_, listed, "754N"));

  ToneSetting receive, transmit;
  ToneValue value{[&transmit] { return transmit; }, [&transmit](const ToneSetting& t) { transmit = t; },
                  [&receive] { return std::optional<ToneSetting>(receive); }};
  cmcCellCapsule typed = Typed("023n");
  EXPECT_TRUE(ToneFamily(typed, services_, spec, value).changed);
  EXPECT_EQ(typed.displayText, "023N");
  receive = transmit;
  cmcCellCapsule same = Key(cellkey::kEvaluate);
  ToneFamily(same, services_, spec, value);
  EXPECT_EQ(same.displayText, "<-");
  cmcCellCapsule bad = Typed("12.3");
  EXPECT_FALSE(ToneFamily(bad, services_, spec, value).changed);

  // The pop-up opens on the current setting and returns a whole setting.
  cmcCellCapsule enter = Key(cellkey::kEnter);
  EXPECT_EQ(ToneFamily(enter, services_, spec, value).editor, kPopupEditor);
  EXPECT_EQ(host_.opened, "choice GI_Sheet_Sel_Mch_CTone 1 " + std::to_string(kNormalCodeChoice + 023));
  struct Reply {
    std::int32_t value;
    const char* shown;
  };
  const Reply replies[] = {{kInvertedCodeChoice + 0754, "754I"}, {2, "69.3"}, {0, "Off"}};
  for (const Reply& r : replies) {
    cmcCellObj chosen;
    chosen.link = cl::Flex0;
    chosen.parameter = r.value;
    cmcCellCapsule replyCapsule;
    replyCapsule.cell = &chosen;
    cmcCellCapsule reply;
    reply.reply = &replyCapsule;
    reply.editResult = kPopupChoice;
    EXPECT_TRUE(ToneFamily(reply, services_, spec, value).changed) << r.value;
    EXPECT_EQ(reply.displayText, r.shown);
  }
  EXPECT_FALSE(transmit.on);

  // A reply the list does not offer is no setting.
  for (std::int32_t hostile : {-5, 3, 4999, kNormalCodeChoice + 0777, kInvertedCodeChoice + 0x1FF, 2147483647}) {
    cmcCellObj chosen;
    chosen.link = cl::Flex0;
    chosen.parameter = hostile;
    cmcCellCapsule replyCapsule;
    replyCapsule.cell = &chosen;
    cmcCellCapsule reply;
    reply.reply = &replyCapsule;
    reply.editResult = kPopupChoice;
    EXPECT_FALSE(ToneFamily(reply, services_, spec, value).changed) << hostile;
    EXPECT_EQ(reply.displayText, "Off") << hostile;
  }
}

TEST_F(FamilyTest, TextOpensTheEditorWithTheKeyAndRefusesWhatTheFieldCannotHold) {
  std::string name = "ABC     ";
  TextValue value{[&name] { return name; },
                  [&name](const std::string& text) {
                    if (text.size() > 8) return false;
                    name = text + std::string(8 - text.size(), ' ');
                    return true;
                  }};
  value.maximum = 8;
  cmcCellCapsule key = Key('.');
  EXPECT_EQ(TextFamily(key, services_, value).editor, kPopupEditor);
  EXPECT_EQ(host_.opened, "text ABC.| at end max 8");  // without a character set the key is itself
  cmcCellCapsule back = Key(cellkey::kBackspace);
  TextFamily(back, services_, value);
  EXPECT_EQ(host_.opened, "text ABC| selected max 8");
  cmcCellCapsule typed = Typed("XY");
  EXPECT_TRUE(TextFamily(typed, services_, value).changed);
  EXPECT_EQ(name, "XY      ");
  cmcCellCapsule tooLong = Typed("123456789");
  EXPECT_FALSE(TextFamily(tooLong, services_, value).changed);
  EXPECT_EQ(name, "XY      ");
  cmcCellCapsule painted = Key(cellkey::kEvaluate);
  painted.painting = true;
  TextFamily(painted, services_, value);
  EXPECT_EQ(painted.displayText, "XY      ");  // without glyphs the text is drawn
  EXPECT_FALSE(painted.glyphs);
  value.glyphs = [] { return std::vector<std::uint16_t>{0xF3C0, 0}; };
  cmcCellCapsule glyphs = Key(cellkey::kEvaluate);
  glyphs.painting = true;
  TextFamily(glyphs, services_, value);
  EXPECT_EQ(glyphs.glyphs, (std::vector<std::uint16_t>{0xF3C0, 0}));
  cmcCellCapsule shown = Key(cellkey::kEvaluate);
  TextFamily(shown, services_, value);
  EXPECT_FALSE(shown.glyphs);  // only a painted cell carries them
}

TEST_F(FamilyTest, TheDotKeyAddsTheCharacterOfCodeA0AndAFullFieldDropsTheKey) {
  std::string why;
  const std::optional<Charset> charset = Charset::Parse("20\tU+0020\n2E\t.\n41\tA\n42\tB\nA0\t\xC2\xB7\n", why);
  ASSERT_TRUE(charset) << why;
  std::string name = "AB  ";
  TextValue value{[&name] { return name; }, [](const std::string&) { return false; }};
  value.maximum = 4;
  value.charset = &*charset;
  struct Case {
    int key;
    std::string opened;
  };
  for (const Case& c : std::vector<Case>{{'.', "text AB\xC2\xB7| at end max 4"},
                                         {'B', "text ABB| at end max 4"},
                                         {'z', "text AB| at end max 4"},  // the display has no z
                                         {cellkey::kEnter, "text AB| selected max 4"}}) {
    cmcCellCapsule key = Key(c.key);
    TextFamily(key, services_, value);
    EXPECT_EQ(host_.opened, c.opened) << c.key;
  }
  name = "ABBA";
  cmcCellCapsule full = Key('A');
  TextFamily(full, services_, value);
  EXPECT_EQ(host_.opened, "text ABBA| at end max 4");
}

TEST_F(FamilyTest, TextTakesTheEditorsReplyFromTheReplyCellsDisplayText) {
  std::string name = "ABC     ";
  TextValue value{[&name] { return name; },
                  [&name](const std::string& text) {
                    name = text.substr(0, 8) + std::string(8 - std::min<std::size_t>(text.size(), 8), ' ');
                    return true;
                  }};
  cmcCellObj chosen;
  chosen.link = cl::Flex0;
  chosen.displayText = "NEW";
  cmcCellCapsule replyCapsule;
  replyCapsule.cell = &chosen;
  cmcCellCapsule reply;
  reply.reply = &replyCapsule;
  reply.editResult = kPopupChoice;
  reply.editedText = "IGNORED";  // only an in-cell commit carries its text here
  EXPECT_TRUE(TextFamily(reply, services_, value).changed);
  EXPECT_EQ(name, "NEW     ");
}

TEST(ReplyTextTest, ReadsTheReplyCellsTextAndItsDecimalNumber) {
  struct Case {
    std::optional<std::string> shown;  // none: no reply cell
    std::optional<std::string> text;
    std::optional<std::int64_t> number;
  };
  const Case cases[] = {
      {std::nullopt, std::nullopt, std::nullopt},
      {"", "", std::nullopt},
      {"33554432", "33554432", 33554432},
      {"-5", "-5", -5},
      {"12a", "12a", std::nullopt},
      {" 12", " 12", std::nullopt},
      {"99999999999999999999", "99999999999999999999", std::nullopt},
  };
  for (const Case& c : cases) {
    cmcCellObj chosen;
    chosen.link = cl::Flex0;
    if (c.shown) chosen.displayText = *c.shown;
    cmcCellCapsule replyCapsule;
    replyCapsule.cell = &chosen;
    cmcCellCapsule request;
    request.editResult = kPopupChoice;
    if (c.shown) request.reply = &replyCapsule;
    EXPECT_EQ(ReplyText(request), c.text) << c.shown.value_or("(none)");
    EXPECT_EQ(ReplyNumber(request), c.number) << c.shown.value_or("(none)");
  }
}

TEST_F(FamilyTest, ScanReferenceGoesFromModeToBankToChannel) {
  const ScanReferenceSpec spec{"GI_Sheet_Sel_Prio", 5};
  std::int64_t mode = 0, channel = 0;
  bool flag = false;
  // Banks of 4 channels.
  ScanReferenceValue value{Holding(mode),
                           Holding(channel),
                           [&flag](bool on) { flag = on; },
                           true,
                           [](int n) { return n / 4; },
                           [](int bank) { return bank * 4; }};
  auto reply = [&](int column, std::int32_t chosen, std::int32_t bank) {
    cmcCellObj cell;
    cell.link = column;
    cell.parameter = chosen;
    cmcCellCapsule replyCapsule;
    replyCapsule.cell = &cell;
    replyCapsule.contextNumber = bank;
    cmcCellCapsule request;
    request.reply = &replyCapsule;
    request.editResult = kPopupChoice;
    LinkOutcome outcome = ScanReferenceFamily(request, services_, spec, value);
    return std::make_pair(outcome, request.displayText);
  };
  cmcCellCapsule enter = Key(cellkey::kEnter);
  EXPECT_EQ(ScanReferenceFamily(enter, services_, spec, value).editor, kPopupEditor);
  EXPECT_EQ(enter.displayText, "Off");
  EXPECT_EQ(host_.opened, "choice GI_Sheet_Sel_Prio 1 0");

  EXPECT_EQ(reply(cl::Flex0, 5, 0).first.editor, kPopupEditor);
  EXPECT_EQ(host_.opened, "choice GI_Sheet_Sel_ScanZoneSel 8 0");
  EXPECT_EQ(reply(cl::FlexZoneSel, 2, 0).first.editor, kPopupEditor);
  EXPECT_EQ(host_.opened, "choice GI_Sheet_Sel_ScanCHSel 10 0");
  auto [outcome, shown] = reply(cl::FlexCHSel, 1, 2);  // position 1 of bank 2
  EXPECT_TRUE(outcome.changed);
  EXPECT_EQ(channel, 9);
  EXPECT_EQ(shown, "3-2ch");
  EXPECT_TRUE(flag);

  EXPECT_EQ(reply(cl::Flex0, 0, 0).second, "Off");
  EXPECT_FALSE(flag);
  value.banksShown = false;
  mode = 5;
  EXPECT_EQ(reply(cl::Flex0, 5, 0).first.editor, kPopupEditor);
  EXPECT_EQ(host_.opened, "choice GI_Sheet_Sel_ScanCHSel 10 0");  // straight to the channels
  EXPECT_EQ(reply(cl::FlexCHSel, 6, 0).second, "7ch");

  // Replies outside the lists or the memory change nothing.
  value.banksShown = true;
  struct Hostile {
    int column;
    std::int32_t chosen;
    std::int32_t bank;
  };
  const Hostile hostile[] = {
      {cl::Flex0, 3, 0},     {cl::Flex0, -1, 0},      {cl::FlexCHSel, -1, 0},         {cl::FlexCHSel, 0, -1},
      {cl::FlexCHSel, 0, 8}, {cl::FlexCHSel, 200, 0}, {cl::FlexCHSel, 2147483647, 7}, {cl::FlexCHSel, 0, 2147483647}};
  for (const Hostile& h : hostile) {
    auto [outcome, shown] = reply(h.column, h.chosen, h.bank);
    EXPECT_FALSE(outcome.changed) << h.column << ' ' << h.chosen << ' ' << h.bank;
    EXPECT_EQ(shown, "2-3ch") << h.column << ' ' << h.chosen << ' ' << h.bank;
  }
}

}  // namespace
