#include "model/clonefile.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/temp_dir.h"

namespace {

using Ranges = cmcCloneFile::Ranges;

struct Fixture {
  cmcEeprom image{cmcEeprom::kImageSize};
  cmcCloneFile file;
  std::vector<int> reported;
  Fixture() {
    file.AttachImage(&image);
    file.SetModelCode(0x3620);
    file.SetExtraCode(6);
    file.SetMapRevCheck([](int revision) { return revision <= 7; });
    file.SetReporter([this](int error) { reported.push_back(error); });
  }
};

std::string DataLine(int address, int count, int value) {
  std::ostringstream line;
  line << std::hex << std::uppercase;
  line.width(4);
  line.fill('0');
  line << address;
  line.width(2);
  line << count;
  for (int i = 0; i < count; ++i) {
    line.width(2);
    line << value;
  }
  return line.str();
}

}  // namespace

TEST(CloneFile, WritesTheRawAreaAs2008LinesWithCrLf) {
  Fixture f;
  for (int a = 0; a < cmcEeprom::kRawSize; ++a) f.image.SetByte(a, static_cast<std::uint8_t>(a * 7));
  f.file.SetMapRevision(7);
  f.file.SetComment("two\nlines");
  std::string text = f.file.Format({{0x0000, 0x7D7F}});
  EXPECT_TRUE(text.starts_with("36200006\r\n#Comment=two lines\r\n#MapRev=7\r\n00001000070E151C"));
  std::istringstream in(text);
  std::string line;
  int dataLines = 0;
  for (int n = 0; std::getline(in, line); ++n) {
    ASSERT_TRUE(line.ends_with('\r'));
    if (n >= 3) {
      EXPECT_EQ(line.size(), 39u);
      ++dataLines;
    }
  }
  EXPECT_EQ(dataLines, 2008);

  // Lines never cross a multiple of 16; ranges past the image end the list.
  std::string partial = f.file.Format({{0x0005, 0x0023}, {0x8000, 0x7000}, {0x0100, 0x0100}});
  EXPECT_EQ(partial.substr(partial.find("#MapRev=7\r\n") + 11),
            "00050B232A31383F464D545B6269\r\n"
            "00101070777E858C939AA1A8AFB6BDC4CBD2D9\r\n"
            "002004E0E7EEF5\r\n");
}

// One small file per error code, read without a header check.
TEST(CloneFile, ErrorCodesOfSmallFiles) {
  const std::string header = "36200006\n";
  struct Case {
    const char* what;
    std::string content;
    int code;
  };
  const Case cases[] = {
      {"empty file", "", 6},
      {"hex letter in header", "3A200006\n", 6},
      {"header too long", "362000060\n", 6},
      {"header only, no end of line", "36200006", 0},
      {"other model", "12340006\n", 3},
      {"other extra code", "36200007\n", 4},
      {"map revision 8 at the first data line", header + "#MapRev=8\n" + DataLine(0, 1, 0) + "\n", 5},
      {"map revision 8 without data", header + "#MapRev=8\n#x\n", 0},
      {"largest map revision, refused as newer", header + "#MapRev=2147483647\n" + DataLine(0, 1, 0) + "\n", 5},
      {"map revision beyond 32 bits", header + "#MapRev=99999999999\n" + DataLine(0, 1, 0) + "\n", 6},
      {"map revision beyond 32 bits without data", header + "#MapRev=2147483648\n", 6},
      {"map revision after the data", header + DataLine(0, 1, 0) + "\n#MapRev=99999999999\n", 6},
      {"valid map revision after the data", header + DataLine(0, 1, 0) + "\n#MapRev=7\n", 6},
      {"map revision -1, written when none was given", header + "#MapRev=-1\n" + DataLine(0, 1, 0) + "\n", 0},
      {"map revision below 32 bits", header + "#MapRev=-2147483649\n" + DataLine(0, 1, 0) + "\n", 6},
      {"map revision with a plus sign", header + "#MapRev=+7\n", 6},
      {"map revision without digits", header + "#MapRev=\n", 6},
      {"map revision with a letter", header + "#MapRev=7a\n", 6},
      {"map revision with trailing blanks", header + "#MapRev=7 \t\n" + DataLine(0, 1, 0) + "\n", 0},
      {"no map revision", header + DataLine(0, 1, 0) + "\n", 0},
      {"count 0", header + "000000\n", 6},
      {"count does not match", header + "00000300AA\n", 6},
      {"not hexadecimal", header + "000001G0\n", 6},
      {"blank data line", header + "\n", 6},
      {"overlong data line", header + DataLine(0, 255, 1) + "00\n", 6},
      {"longest data line", header + DataLine(0, 255, 1) + "\n", 0},
      {"long comment line", header + "#" + std::string(5000, 'c') + "\n" + DataLine(0, 1, 0) + "\n", 0},
      {"lower-case digits", header + "00a001ff\n", 0},
      {"CR LF ends", "36200006\r\n#MapRev=7\r\n" + DataLine(0x10, 16, 0xAB) + "\r\n", 0},
      {"last line without an end", header + DataLine(0x10, 16, 0xAB), 0},
      {"address past the image", header + DataLine(0xC186, 2, 1) + "\n", 8},
      {"last byte of the image", header + DataLine(0xC186, 1, 1) + "\n", 0},
  };
  for (const Case& c : cases) {
    Fixture f;
    EXPECT_EQ(f.file.Parse(c.content, nullptr), c.code) << c.what;
    EXPECT_EQ(f.reported, c.code ? std::vector<int>{c.code} : std::vector<int>{}) << c.what;
  }
  Fixture noCheck;
  noCheck.file.SetMapRevCheck(nullptr);
  EXPECT_EQ(noCheck.file.Parse(header + DataLine(0, 1, 0) + "\n", nullptr), 5);
}

TEST(CloneFile, HeaderCheckDecidesAndMapRevisionIsRead) {
  Fixture f;
  f.file.SetHeaderCheck([](int model, int extra, cmcCloneFile::Error& error) {
    error = model == 0x2926 ? cmcCloneFile::kExtra : cmcCloneFile::kModel;
    return extra == 0x0100;
  });
  EXPECT_EQ(f.file.Parse("29260100\n#MapRev=3\n", nullptr), 0);
  EXPECT_EQ(f.file.MapRevision(), 3);
  EXPECT_EQ(f.file.Parse("29260006\n", nullptr), 4);
  EXPECT_EQ(f.file.Parse("11110006\n", nullptr), 3);
}

TEST(CloneFile, CoverageAndAFailedReadLeavesTheImageUnchanged) {
  Fixture f;
  const Ranges range = {{0x0010, 0x002F}};
  const std::string header = "36200006\n";
  EXPECT_EQ(f.file.Parse(header + DataLine(0x10, 16, 1) + "\n" + DataLine(0x20, 16, 2) + "\n", &range), 0);
  EXPECT_EQ(f.image.GetByte(0x2F), 2);
  EXPECT_EQ(f.file.CoverageCheck(nullptr), 7);

  cmcEeprom before = f.image;
  EXPECT_EQ(f.file.Parse(header + DataLine(0x10, 16, 9) + "\n" + DataLine(0x20, 15, 9) + "\n", &range), 7);
  EXPECT_EQ(
      f.file.Parse(header + DataLine(0x10, 16, 9) + "\n" + DataLine(0x20, 16, 9) + "\n" + DataLine(0x40, 1, 9) + "\n",
                   &range),
      8);
  EXPECT_EQ(f.file.Parse(header + DataLine(0x10, 16, 9) + "\nxyz\n", &range), 6);
  EXPECT_EQ(f.image, before);
  EXPECT_EQ(f.reported, (std::vector<int>{7, 8, 6}));
}

TEST(CloneFile, WriteAndReadBackThroughTheDisk) {
  TempDir dir;
  Fixture f;
  for (int a = 0; a < cmcEeprom::kRawSize; ++a) f.image.SetByte(a, static_cast<std::uint8_t>(a ^ (a >> 8)));
  const Ranges all = {{0, cmcEeprom::kRawSize - 1}};
  ASSERT_EQ(f.file.Write(dir.File("a.rwc"), all), 0);

  Fixture g;
  EXPECT_EQ(g.file.Read(dir.File("a.rwc"), &all), 0);
  EXPECT_EQ(g.image, f.image);
  EXPECT_EQ(g.file.Read(dir.File("none.rwc"), &all), 1);
  EXPECT_EQ(f.file.Write(dir.File("no/such/folder.rwc"), all), 1);
  EXPECT_EQ(g.reported, std::vector<int>{1});
  EXPECT_EQ(f.reported, std::vector<int>{1});
}

TEST(CloneFile, CommentComesFromTheTwoCommentFields) {
  cmcEeprom image(cmcEeprom::kImageSize);
  auto put = [&](int address, std::string_view text) {
    image.WriteBlock(address, reinterpret_cast<const std::uint8_t*>(text.data()), static_cast<int>(text.size()));
  };
  put(0xA9DC, "Fleet A\x01      ");
  put(0xA9EC, "north  \x7F\x80     ");
  EXPECT_EQ(cmcCloneFile::CommentOf(image), "Fleet Anorth");
  EXPECT_EQ(cmcCloneFile::CommentOf(cmcEeprom(cmcEeprom::kImageSize)), "");
}
