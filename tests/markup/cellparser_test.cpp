#include "markup/cellparser.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "support/fatal_trap.h"

namespace {

// The models of the worked example of a bit-field editor's overlay, and a few of
// our own for chains and loops.
const std::map<std::string, std::string> kModels = {
    {"CellModel_Basic", "<-(Color=clWindow)(Font=DEFAULT_CHARSET,,clWindowText,-17,,,)(PopupMenu=GI_PMenu_Edit)"},
    {"CellModel_iChI", "^-WH(Color=clGray)(Font=,,clWhite,,,fsBold,)"},
    {"CellModel_eWh", "S<_WHB"},
    {"CellModel_iQp", "(%CT_Null.CL_Misc_QuarterPillar)"},
    {"CellModel_Outer", "($eWh)(Color=clRed)"},
    {"CellModel_Self", "($Self)"},
    {"CellModel_PingA", "X($PingB)"},
    {"CellModel_PingB", "($PingA)"},
    {"CellModel_Fan", "($Fan)U($Fan)"},
};

CellParser::ModelSource Models() {
  return [](const std::string& name) -> std::optional<std::string> {
    auto found = kModels.find(name);
    if (found == kModels.end()) return std::nullopt;
    return found->second;
  };
}

cmcCellObj Parse(std::string_view text, const cmcCellObj* parent = nullptr, LoopVariables* loops = nullptr) {
  cmcCellObj cell;
  CellParser(Models()).ParseCell(cell, text, loops, parent, false);
  return cell;
}

std::vector<std::string> DisplayTexts(std::string_view line) {
  const CellParser parser(Models());
  std::vector<std::string> texts;
  std::string_view rest = line;
  do {
    cmcCellObj cell;
    rest = parser.ParseCell(cell, rest, nullptr, nullptr);
    texts.push_back(DisplayTextOf(cell));
  } while (!rest.empty());
  return texts;
}

}  // namespace

TEST(CellParser, SplitsLinesAtUnescapedBars) {
  struct Case {
    std::string line;
    std::vector<std::string> cells;
  };
  const Case cases[] = {
      {"|A|", {"", "A"}},
      {"A\\|B", {"A|B"}},
      {"a||b", {"a", "", "b"}},
      {"a|", {"a"}},
      {"{(Color=clRed)}x|{S}y", {"x", "y"}},
      {"", {""}},
  };
  for (const Case& c : cases) EXPECT_EQ(DisplayTexts(c.line), c.cells) << c.line;
}

TEST(CellParser, SkipCutsTheCellWithoutParsingIt) {
  cmcCellObj cell;
  cell.displayText = "kept";
  EXPECT_EQ(CellParser(Models()).ParseCell(cell, "{(%CT_Nonsense.)}x|rest", nullptr, nullptr, true), "rest");
  EXPECT_EQ(cell.displayText, "kept");
}

TEST(CellParser, PrefixCharactersAndNegation) {
  const cmcCellObj parent = Parse("{>_WH+BUXST(Flag0=1)(Flag5=1)}");
  ASSERT_EQ(FlagsText(parent), ">_WH+BUXSTF05");
  struct Case {
    std::string format;
    bool fromParent;
    std::string flags;
  };
  const Case cases[] = {
      {"", false, "<~"},
      {"^-", false, "^-"},
      {">_", false, ">_"},
      {"WH+BUST", false, "<~WH+BUST"},
      {"Q", false, "<~Q"},
      {"XQ", false, "<~Q"},
      {"zy?%", false, "<~"},  // unknown characters are ignored
      {"", true, ">_WH+BUXSTF05"},
      {"!W!H!+!B!U!X!S!T", true, ">_F05"},
      {"!Q", true, ">_WH+BUSTF05"},
      {"!<", true, "<_WH+BUXSTF05"},   // '!' before an alignment changes nothing
      {"!SS", true, ">_WH+BUXSTF05"},  // '!' acts on the next character only
      {"!S^", true, "^_WH+BUXTF05"},
      {"\\SX", false, "<~X"},  // an escaped character is skipped
      {"(Flag5=0)(Flag7=1)(Flag8=1)(Flag1=2)(Flag1)(Flag2=1x)", true, ">_WH+BUXSTF07"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FlagsText(Parse("{" + c.format + "}", c.fromParent ? &parent : nullptr)), c.flags) << c.format;
  }
}

TEST(CellParser, GroupsSetColourImagePopupAndState) {
  struct Case {
    std::string markup;
    CellColour colour;
    std::int32_t imageIndex;
    std::string popup;
  };
  const Case cases[] = {
      {"{(Color=clRed)}", 0x000000FF, -1, ""},
      {"{(Color=clHightlightText)}", 0x8000000E, -1, ""},
      {"{(Color=clred)}", clWindow, -1, ""},                   // names are exact
      {"{(Color= clRed)}", clWindow, -1, ""},                  // no blanks
      {"{(Color)(ImageIndex)(PopupMenu)}", clWindow, -1, ""},  // no '=': nothing, and nothing read past
      {"{(ImageIndex=12)(PopupMenu=GI_PMenu_Edit)}", clWindow, 12, "GI_PMenu_Edit"},
      {"{(ImageIndex=99999999999)}", clWindow, 2147483647, ""},
      {"{(ImageIndex=-99999999999)}", clWindow, -2147483648, ""},
      {"{(Colorful=clBlue)}", 0x00FF0000, -1, ""},  // the word only has to begin the group
      {"{(Nonsense=1)(=)()}", clWindow, -1, ""},
  };
  for (const Case& c : cases) {
    const cmcCellObj cell = Parse(c.markup);
    EXPECT_EQ(cell.colour, c.colour) << c.markup;
    EXPECT_EQ(cell.imageIndex, c.imageIndex) << c.markup;
    EXPECT_EQ(PopupMenuOf(cell).value_or(""), c.popup) << c.markup;
  }
}

TEST(CellParser, CellReferences) {
  struct Case {
    std::string group;
    int type;
    int link;
    std::int32_t parameter;
    std::optional<std::string> argument;
  };
  const Case cases[] = {
      {"%CT_Mch.CL_Mch_FreqR[5]", 2, 129, 5, std::nullopt},
      {"%.CL_Null", kNoCellType, 0, 0, std::nullopt},
      {"%CT_Null.", 0, kNoCellLink, 0, std::nullopt},
      {"%CT_PopupMenu.CL_PMenu_Edit:Enter", 1, 97, 0, "Enter"},
      {"%CL_FBits[2]", kNoCellType, 121, 2, std::nullopt},  // keeps the type it had
      {"%CL_Mch_FreqR:a\\)b", kNoCellType, 129, 0, "a)b"},
      {"%CL_Mch_FreqR:1.5", kNoCellType, 129, 0, "1.5"},  // a '.' in the argument is no type
      {"%CL_Mch_FreqR[3]:x\\\\y", kNoCellType, 129, 3, "x\\y"},
      {"%CL_Mch_FreqR[-4", kNoCellType, 129, -4, std::nullopt},
      {"%CL_Mch_FreqR[77777777777]", kNoCellType, 129, 2147483647, std::nullopt},
      {"%CL_Mch_FreqR:", kNoCellType, 129, 0, ""},
      {"%", kNoCellType, kNoCellLink, 0, std::nullopt},
  };
  for (const Case& c : cases) {
    const cmcCellObj cell = Parse("{(" + c.group + ")}");
    EXPECT_EQ(cell.type, c.type) << c.group;
    EXPECT_EQ(cell.link, c.link) << c.group;
    EXPECT_EQ(cell.parameter, c.parameter) << c.group;
    EXPECT_EQ(cell.argument, c.argument) << c.group;
  }
}

TEST(CellParser, DisplayTextEscapesAndTrimming) {
  struct Case {
    std::string markup;
    std::optional<std::string> text;
  };
  const Case cases[] = {
      {"  plain text \t", "plain text"},
      {" \\_x\\_ ", " x "},
      {"a\\nb\\Nc", "a\nb\nc"},
      {"a\\|b\\\\c\\{x}", "a|b\\c\\"},  // a brace cannot be escaped
      {"\\(abc)", "(abc)"},
      {"   ", std::nullopt},
      {"{S}", std::nullopt},
      {"x{S}y{W}z", "xyz"},
      {"ends in \\", "ends in \\"},
      {"caf\xC3\xA9", "caf\xC3\xA9"},
  };
  for (const Case& c : cases) EXPECT_EQ(Parse(c.markup).displayText, c.text) << c.markup;
}

TEST(CellParser, LoopVariablesCountAcrossParsesOfOneArray) {
  LoopVariables loops{};
  EXPECT_EQ(Parse("{(@ch0++)}\\(@ch0+10)", nullptr, &loops).displayText, "11");
  EXPECT_EQ(Parse("{(@ch0++)}\\(@ch0+10)", nullptr, &loops).displayText, "12");

  struct Case {
    std::string markup;
    std::string text;
    std::int32_t parameter;
  };
  const Case cases[] = {
      {"{(@ch3 = 40)(%CL_Mch_No[@ch3])}\\( @ch3 + 2 )", "42", 40},
      {"{(@ch3=7)}\\(@ch3)", "7", 0},
      {"{(@ch9 ++)}\\(@ch9)", "1", 0},
      {"{(@ch4=2147483647)(@ch4++)}\\(@ch4+5)", "2147483647", 0},
      {"{(@ch5 -- )}\\(@ch5)", "0", 0},  // an unknown operator changes nothing
      {"\\(@ch1+)", "(@ch1+)", 0},       // not the form: copied as it stands
  };
  for (const Case& c : cases) {
    LoopVariables fresh{};
    const cmcCellObj cell = Parse(c.markup, nullptr, &fresh);
    EXPECT_EQ(DisplayTextOf(cell), c.text) << c.markup;
    EXPECT_EQ(cell.parameter, c.parameter) << c.markup;
  }
}

TEST(CellParser, FaultsAreFatalWithTheirTexts) {
  struct Case {
    std::string markup;
    bool withLoops;
    std::string message;
  };
  const Case cases[] = {
      {"{(@ch0++)}", false, "Ch No. Error"},
      {"\\(@ch0)", false, "Ch No. Error"},
      {"{(%CL_Mch_No[@ch1])}", false, "Ch No. Error"},
      {"{(@ch12=1)}", true, "Ch No. Error"},
      {"{(@ch=1)}", true, "Ch No. Error"},
      {"\\(@chx)", true, "Ch No. Error"},
      {"{(%CT_mch.CL_Mch_FreqR)}", false, "Cannot use the specified category.\n'CT_mch'"},
      {"{(%CL_Mch_FreqR.CL_Mch_FreqR)}", false, "Cannot use the specified category.\n'CL_Mch_FreqR'"},
      {"{(%CT_Mch.CT_Mch)}", false, "Cannot use the specified cell.\n'CT_Mch'"},
      {"{(%CL_NoSuchLink[1])}", false, "Cannot use the specified cell.\n'CL_NoSuchLink'"},
      {"{($Missing)}", false, "GTEX Error !\nThe index 'CellModel_Missing' was not found."},
      {"{($Self)}", false, "GTEX Error !\nThe index 'CellModel_Self' was not found."},
      {"{($PingA)}", false, "GTEX Error !\nThe index 'CellModel_PingA' was not found."},
      {"{($Fan)}", false, "GTEX Error !\nThe index 'CellModel_Fan' was not found."},
  };
  for (const Case& c : cases) {
    LoopVariables loops{};
    EXPECT_EQ(FatalTextOf([&] { Parse(c.markup, nullptr, c.withLoops ? &loops : nullptr); }), c.message) << c.markup;
  }
}

TEST(CellParser, AReturningFaultHandlerCollectsFaultsAndTheParseGoesOn) {
  std::vector<std::string> faults;
  const CellParser parser(Models(), [&](const std::string& text) { faults.push_back(text); });
  cmcCellObj cell;
  parser.ParseCell(cell, "{(%CT_Bad.CL_Bad[@ch1])($Self)(Color=clRed)}shown", nullptr, nullptr);
  EXPECT_EQ(faults.size(), 4u);
  EXPECT_EQ(cell.type, kNoCellType);
  EXPECT_EQ(cell.link, kNoCellLink);
  EXPECT_EQ(cell.colour, 0x000000FFu);
  EXPECT_EQ(DisplayTextOf(cell), "shown");
}

TEST(CellParser, AModelThatNamesItselfTwiceIsOneFaultAndStopsOnlyTheModels) {
  std::vector<std::string> faults;
  const CellParser parser(Models(), [&](const std::string& text) { faults.push_back(text); });
  cmcCellObj cell;
  parser.ParseCell(cell, "{($Fan)($eWh)(Color=clRed)}shown", nullptr, nullptr);
  EXPECT_EQ(faults, std::vector<std::string>{"GTEX Error !\nThe index 'CellModel_Fan' was not found."});
  EXPECT_TRUE(cell.topLine);            // the models applied before the stop count
  EXPECT_FALSE(cell.bottomLine);        // no model after it applies
  EXPECT_EQ(cell.colour, 0x000000FFu);  // the other groups still do
  EXPECT_EQ(DisplayTextOf(cell), "shown");
}

TEST(CellParser, ModelsApplyInPlaceAndChain) {
  const cmcCellObj cell = Parse("{X($Outer)^}");
  EXPECT_EQ(FlagsText(cell), "^_WHBXS");
  EXPECT_EQ(cell.colour, 0x000000FFu);
  const cmcCellObj pillar = Parse("{($iQp)}");
  EXPECT_EQ(pillar.type, 0);
  EXPECT_EQ(LinkName(pillar.link), "CL_Misc_QuarterPillar");
}

TEST(CellParser, InheritsFromTheParentButNotFontOrPopupMenu) {
  const cmcCellObj basic = Parse("{($Basic)(PopupMenu=GI_PMenu_NoItem)(%CT_Mch.CL_Mch_No:arg)(ImageIndex=3)}base");
  const cmcCellObj plain = Parse("own text", &basic);
  EXPECT_EQ(plain.type, 2);
  EXPECT_EQ(LinkName(plain.link), "CL_Mch_No");
  EXPECT_EQ(plain.argument, "arg");
  EXPECT_EQ(plain.imageIndex, 3);
  EXPECT_EQ(FlagsText(plain), "<-");
  EXPECT_EQ(plain.colour, clWindow);
  EXPECT_FALSE(plain.font);
  EXPECT_FALSE(plain.popupMenu);
  EXPECT_EQ(PopupMenuOf(plain), "GI_PMenu_NoItem");
  EXPECT_EQ(DisplayTextOf(plain), "own text");
  EXPECT_FALSE(Parse("", &basic).displayText);  // empty text: the link supplies it
}

TEST(CellParser, AParseWithoutParentStartsFromTheDefaults) {
  const CellParser parser(Models());
  cmcCellObj cell;
  parser.ParseCell(cell, "{(%CT_Mch.CL_Mch_No[7]:a)(Color=clRed)S}x", nullptr, nullptr);
  parser.ParseCell(cell, "y", nullptr, nullptr);
  EXPECT_EQ(cell.type, kNoCellType);
  EXPECT_EQ(cell.link, kNoCellLink);
  EXPECT_EQ(cell.parameter, 0);
  EXPECT_FALSE(cell.argument);
  EXPECT_EQ(cell.colour, clWindow);
  EXPECT_EQ(FlagsText(cell), "<~");
}

TEST(CellParser, WorkedExampleOfAColumnTitleOnABasicCell) {
  const cmcCellObj basic = Parse("{($Basic)(PopupMenu=GI_PMenu_NoItem)}");
  const cmcCellObj title = Parse("{($iChI)}7", &basic);
  EXPECT_EQ(FlagsText(title), "^-WH");
  EXPECT_EQ(title.colour, 0x00808080u);
  ASSERT_TRUE(title.font);
  EXPECT_EQ(title.font->colour, 0x00FFFFFFu);
  EXPECT_EQ(title.font->styles, Font::fsBold);
  EXPECT_EQ(title.font->height, -17);
  EXPECT_EQ(title.font->charset, 1);
  EXPECT_EQ(DisplayTextOf(title), "7");
  EXPECT_EQ(PopupMenuOf(title), "GI_PMenu_NoItem");
}

TEST(Font, DescriptionFields) {
  struct Case {
    std::string spec;
    Font expect;
  };
  Font start;
  start.height = -20;
  start.size = 10;
  start.styles = Font::fsItalic;
  const auto with = [&](auto change) {
    Font font = start;
    change(font);
    return font;
  };
  const Case cases[] = {
      {"", start},
      {",,,,,,", start},
      {" SHIFTJIS_CHARSET  ", with([](Font& f) { f.charset = 128; })},
      {"shiftjis_charset", start},
      {",  Courier New ", with([](Font& f) { f.face = "Courier New "; })},
      {",,clRed", with([](Font& f) { f.colour = 0x000000FF; })},
      {",,clNoSuch", start},
      {",,,%150,%50", with([](Font& f) {
         f.height = -30;
         f.size = 5;
       })},
      {",,,-12,0", with([](Font& f) { f.height = -12; })},
      {",,,%0", with([](Font& f) { f.height = 1; })},
      {",,,%999999999999", with([](Font& f) { f.height = -429496729; })},  // the percentage saturates
      {",,,,,fsBold + fsUnderline", with([](Font& f) { f.styles = Font::fsBold | Font::fsUnderline; })},
      {",,,,,fsNone+fsStrikeOut", with([](Font& f) { f.styles = Font::fsStrikeOut; })},
      {",,,,,fsNone", start},
      {",,,,,, fpFixed ", with([](Font& f) { f.pitch = Font::fpFixed; })},
      {",,,,,,,,,extra,fields", start},
  };
  for (const Case& c : cases) {
    Font font = start;
    ParseFont(c.spec, font);
    EXPECT_EQ(font, c.expect) << c.spec;
  }
  Font tiny;
  tiny.height = 1;
  ParseFont(",,,%50,,,", tiny);
  EXPECT_EQ(tiny.height, 1);
}
