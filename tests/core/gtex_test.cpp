#include "core/gtex.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/fatal_trap.h"
#include "support/temp_dir.h"

namespace {

// The same overlay lines as an LF file, a CR LF file, the bytes of either in
// memory and a list of lines in memory.
enum class SourceKind { kFileLf, kFileCrLf, kTextLf, kTextCrLf, kMemory };

class GTexSources : public ::testing::TestWithParam<SourceKind> {
 protected:
  std::unique_ptr<cmcGTex> Reader(const std::vector<std::string>& lines) {
    auto reader = std::make_unique<cmcGTex>();
    if (GetParam() == SourceKind::kMemory) {
      EXPECT_TRUE(reader->OpenLines(lines));
      return reader;
    }
    const bool crLf = GetParam() == SourceKind::kFileCrLf || GetParam() == SourceKind::kTextCrLf;
    std::string text;
    for (const std::string& line : lines) text += line + (crLf ? "\r\n" : "\n");
    if (GetParam() == SourceKind::kTextLf || GetParam() == SourceKind::kTextCrLf) {
      EXPECT_TRUE(reader->OpenText(text));
    } else {
      EXPECT_TRUE(reader->Open(dir_.Write("test.OVL", text)));
    }
    return reader;
  }

  std::string FatalTextOf(cmcGTex& reader, const std::string& name, std::size_t n = 0) {
    try {
      reader.GetLine(name, n);
    } catch (const FatalStop& stop) {
      return stop.what();
    }
    return "no fatal stop";
  }

  TempDir dir_;
  FatalTrap trap_;
};

const std::vector<std::string> kOverlay = {
    "stray line before any header",  // never reachable
    "#GI_A",
    "a0",
    "",
    "a2",
    "#",
    "#GI_B",
    "b0",
    "#GI_A",  // a duplicate: the first GI_A wins
    "second a0",
    "#",
    "#GI_Trailing ",
    "with a space",
    "#End_Of_Ovl",
    "#GI_After",
    "after",
    "#",
};

TEST_P(GTexSources, FindsLinesOfBlocks) {
  auto reader = Reader(kOverlay);
  struct Case {
    std::string name;
    std::size_t n;
    std::string expected;
  };
  const Case cases[] = {
      {"GI_A", 0, "a0"},
      {"GI_A", 1, ""},
      {"GI_A", 3, "#"},  // reads on past the end mark
      {"GI_A", 4, "#GI_B"},
      {"GI_A", 1, ""},  // back to an earlier line
      {"GI_B", 0, "b0"},
      {"GI_B", 1, "#GI_A"},
      {"GI_Trailing ", 0, "with a space"},
      {"End_Of_Ovl", 0, "#GI_After"},
      {"GI_A", 2, "a2"},
  };
  for (const Case& c : cases) EXPECT_EQ(reader->GetLine(c.name, c.n), c.expected) << c.name << ' ' << c.n;
}

TEST_P(GTexSources, FirstDuplicateWinsAfterManyLookups) {
  std::vector<std::string> lines = {"#GI_Dup", "first", "#"};
  for (int i = 0; i < 40; ++i) lines.insert(lines.end(), {"#GI_N" + std::to_string(i), std::to_string(i), "#"});
  lines.insert(lines.end(), {"#GI_Dup", "second", "#", "#End_Of_Ovl"});
  auto reader = Reader(lines);
  for (int round = 0; round < 3; ++round) {
    for (int i = 39; i >= 0; --i) EXPECT_EQ(reader->GetLine("GI_N" + std::to_string(i), 0), std::to_string(i));
    EXPECT_EQ(reader->GetLine("GI_Dup", 0), "first");
  }
}

TEST_P(GTexSources, BlockText) {
  auto reader = Reader(kOverlay);
  EXPECT_EQ(reader->GetBlockText("GI_A"), "a0\n\na2");
  EXPECT_EQ(reader->GetBlockText("GI_B"), "b0");
  EXPECT_EQ(reader->GetBlockText("End_Of_Ovl"), "");
}

TEST_P(GTexSources, MissingNamesAreFatal) {
  auto reader = Reader(kOverlay);
  const std::string names[] = {"GI_After", "GI_Trailing", "gi_a", "GI_Missing", "#", ""};
  for (const std::string& name : names) {
    EXPECT_EQ(FatalTextOf(*reader, name), "GTEX Error !\nThe index '" + name + "' was not found.");
  }
  // A line past the end of the source is the same error, named after the block.
  EXPECT_EQ(FatalTextOf(*reader, "GI_A", 1000), "GTEX Error !\nThe index 'GI_A' was not found.");
  EXPECT_EQ(reader->GetLine("GI_A", 0), "a0");  // the reader is still usable
}

TEST_P(GTexSources, HasBlockAnswersWithoutTheFatalStop) {
  auto reader = Reader(kOverlay);
  for (const char* name : {"GI_B", "GI_A", "GI_Trailing ", "End_Of_Ovl"}) EXPECT_TRUE(reader->HasBlock(name)) << name;
  for (const char* name : {"GI_After", "GI_Trailing", "gi_a", "GI_Missing", ""}) {
    EXPECT_FALSE(reader->HasBlock(name)) << name;
  }
  EXPECT_EQ(reader->GetLine("GI_B", 0), "b0");
}

TEST_P(GTexSources, LongLinesComeInPieces) {
  const std::string longest(cmcGTex::kMaxLineBytes, 'x');
  auto reader = Reader({"#GI_Long", std::string(10000, 'y'), longest, "next", "#", "#End_Of_Ovl"});
  if (GetParam() == SourceKind::kMemory) {
    // Lines in memory are the program's own; an overlong one is cut.
    EXPECT_EQ(reader->GetLine("GI_Long", 0), std::string(8191, 'y'));
    EXPECT_EQ(reader->GetLine("GI_Long", 1), longest);
    EXPECT_EQ(reader->GetLine("GI_Long", 2), "next");
    return;
  }
  EXPECT_EQ(reader->GetLine("GI_Long", 0), std::string(8191, 'y'));
  EXPECT_EQ(reader->GetLine("GI_Long", 1), std::string(1809, 'y'));
  EXPECT_EQ(reader->GetLine("GI_Long", 2), longest);
  EXPECT_EQ(reader->GetLine("GI_Long", 3), "next");
}

INSTANTIATE_TEST_SUITE_P(AllSources, GTexSources,
                         ::testing::Values(SourceKind::kFileLf, SourceKind::kFileCrLf, SourceKind::kTextLf,
                                           SourceKind::kTextCrLf, SourceKind::kMemory));

// Every line of a block up to the end of the source, read until the fatal stop.
std::vector<std::string> AllLinesOf(cmcGTex& reader, const std::string& name) {
  FatalTrap trap;
  std::vector<std::string> lines;
  try {
    for (std::size_t n = 0;; ++n) lines.push_back(reader.GetLine(name, n));
  } catch (const FatalStop&) {
  }
  return lines;
}

TEST(GTex, TextInMemoryReadsAsTheFileOfTheSameBytes) {
  // Lines around the longest piece, line ends split across the file reader's
  // window, CRs that end no line, and a last line without an end.
  const std::size_t kMax = cmcGTex::kMaxLineBytes;
  std::string text = "#GI_X\n";
  for (std::size_t length : {kMax - 1, kMax, kMax + 1, kMax + 2, kMax + 3, 2 * kMax, 2 * kMax + 1}) {
    for (const char* end : {"\n", "\r\n", "\r\r\n", "\r"})
      text += std::string(length, static_cast<char>('a' + length % 26)) + end;
  }
  for (std::size_t length = 1; length < 40; length += 3) text += std::string(length * 97, 'q') + "\r\n";
  text += "#\n#GI_Y\ny0\n#\nlast\r";
  TempDir dir;
  cmcGTex file;
  file.Open(dir.Write("long.OVL", text));
  cmcGTex memory;
  memory.OpenText(text);
  const std::vector<std::string> fileLines = AllLinesOf(file, "GI_X");
  EXPECT_GT(fileLines.size(), 60u);
  EXPECT_EQ(AllLinesOf(memory, "GI_X"), fileLines);
  EXPECT_EQ(fileLines.back(), "last\r");
  EXPECT_EQ(memory.GetLine("GI_Y", 0), "y0");
  EXPECT_EQ(file.GetLine("GI_Y", 0), "y0");
}

TEST(GTex, MissingFileOrSourceIsFatalWithTheFirstName) {
  FatalTrap trap;
  cmcGTex noSource;
  EXPECT_THROW(noSource.GetLine("GI_Sys_AppTitle", 0), FatalStop);
  cmcGTex missing;
  EXPECT_TRUE(missing.Open("/nonexistent/folder/X.OVL"));
  try {
    missing.GetLine("GI_Sys_AppTitle", 0);
    FAIL() << "no fatal stop";
  } catch (const FatalStop& stop) {
    EXPECT_STREQ(stop.what(), "GTEX Error !\nThe index 'GI_Sys_AppTitle' was not found.");
  }
}

TEST(GTex, AFolderOrDeviceIsNoOverlayAndEndsInTheFatalStopInsteadOfAHang) {
  TempDir dir;
  for (const std::string& path : {dir.path().string(), std::string("/dev/zero")}) {
    cmcGTex reader;
    reader.Open(path);
    EXPECT_EQ(FatalTextOf([&] { reader.GetLine("GI_Sys_AppTitle", 0); }),
              "GTEX Error !\nThe index 'GI_Sys_AppTitle' was not found.")
        << path;
  }
}

TEST(GTex, OpenDiscardsTheIndexAndOpenLinesNeedsAnEmptyReader) {
  TempDir dir;
  cmcGTex reader;
  EXPECT_TRUE(reader.Open(dir.Write("one.OVL", "#GI_X\none\n#\n#End_Of_Ovl\n")));
  EXPECT_EQ(reader.GetLine("GI_X", 0), "one");
  EXPECT_FALSE(reader.OpenLines({"#GI_X", "memory", "#End_Of_Ovl"}));
  EXPECT_TRUE(reader.Open(dir.Write("two.OVL", "#GI_X\ntwo\n#\n#End_Of_Ovl\n")));
  EXPECT_EQ(reader.GetLine("GI_X", 0), "two");
  EXPECT_TRUE(reader.OpenText("#GI_X\nthree\n#\n#End_Of_Ovl\n"));
  EXPECT_EQ(reader.GetLine("GI_X", 0), "three");

  cmcGTex memory;
  EXPECT_TRUE(memory.OpenLines({"#GI_X", "memory", "#End_Of_Ovl"}));
  EXPECT_FALSE(memory.OpenLines({"#GI_X", "other"}));
  EXPECT_EQ(memory.GetLine("GI_X", 0), "memory");
}

TEST(GTex, LastLineWithoutLineEndAndEmptyFile) {
  FatalTrap trap;
  TempDir dir;
  cmcGTex reader;
  reader.Open(dir.Write("a.OVL", "#GI_X\r\nlast"));
  EXPECT_EQ(reader.GetLine("GI_X", 0), "last");
  EXPECT_THROW(reader.GetLine("GI_X", 1), FatalStop);
  cmcGTex empty;
  empty.Open(dir.Write("empty.OVL", ""));
  EXPECT_THROW(empty.GetLine("GI_X", 0), FatalStop);
}

TEST(GTex, GetField) {
  struct Case {
    std::string text;
    char separator;
    std::size_t i;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"English\tQZ5071KE.OVL", '\t', 0, "English"},
      {"English\tQZ5071KE.OVL", '\t', 1, "QZ5071KE.OVL"},
      {"English\tQZ5071KE.OVL", '\t', 2, std::nullopt},
      {"a,,c", ',', 1, ""},
      {"a,", ',', 1, ""},
      {"", ',', 0, ""},
      {"", ',', 1, std::nullopt},
      {"Größe\tΩ", '\t', 1, "Ω"},
  };
  for (const Case& c : cases) EXPECT_EQ(cmcGTex::GetField(c.text, c.separator, c.i), c.expected) << c.text << c.i;
}

TEST(GTex, DoubleAmpersandsAndTrimBlanks) {
  EXPECT_EQ(cmcGTex::DoubleAmpersands("Tx & Rx &&"), "Tx && Rx &&&&");
  EXPECT_EQ(cmcGTex::DoubleAmpersands(""), "");
  const std::pair<std::string, std::string> trims[] = {
      {" \tword  x\t ", "word  x"}, {"   ", ""}, {"", ""}, {"x", "x"}, {"\tä ", "ä"}};
  for (auto [text, expected] : trims) {
    cmcGTex::TrimBlanks(text);
    EXPECT_EQ(text, expected);
  }
}

TEST(HelpGTex, ReadsAFile) {
  TempDir dir;
  cmcHelpGTex help;
  help.Open(dir.Write("h.OVL", "#GI_Help_Index\nindex.html\n#\n#End_Of_Ovl\n"));
  EXPECT_EQ(help.GetLine("GI_Help_Index", 0), "index.html");
  EXPECT_EQ(help.GetBlockText("GI_Help_Index"), "index.html");
}

}  // namespace
