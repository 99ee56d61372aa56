// The radio's memory as a clone file: loaded, saved, and the settings read
// from it.

#include "radiosim/radiomemory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "radio_harness.h"
#include "support/temp_dir.h"

namespace {

const std::string kSmallFile =
    "31790100\r\n"
    "#Comment=two bytes\r\n"
    "#MapRev=7\r\n"
    "0010020102\r\n";

TEST(RadioMemoryLoad, TakesTheBytesAndTheCodes) {
  TempDir dir;
  auto loaded = RadioMemory::Load(dir.Write("small.rwc", kSmallFile));
  ASSERT_TRUE(std::holds_alternative<RadioMemory>(loaded)) << std::get<std::string>(loaded);
  const RadioMemory& memory = std::get<RadioMemory>(loaded);
  EXPECT_EQ(memory.ModelCode(), 0x3179);
  EXPECT_EQ(memory.ExtraCode(), 0x0100);
  EXPECT_EQ(memory.Byte(0x000F), 0);
  EXPECT_EQ(memory.Byte(0x0010), 1);
  EXPECT_EQ(memory.Byte(0x0011), 2);
  EXPECT_EQ(memory.Byte(RadioMemory::kSize - 1), 0);
  EXPECT_EQ(memory.ClonePassword(), "");
}

TEST(RadioMemoryLoad, TheShippedFilesLoad) {
  for (const char* name : {"Initial_LMR.rwc", "Initial_PMR.rwc", "Initial_VexlPMR.rwc", "Initial_dPMR446.rwc"}) {
    auto loaded = RadioMemory::Load(std::string(RWQ_SOURCE_DATA_DIR) + "/" + name);
    ASSERT_TRUE(std::holds_alternative<RadioMemory>(loaded)) << name;
    EXPECT_EQ(std::get<RadioMemory>(loaded).ModelCode(), 0x3620) << name;
    // The raw header's maker text.
    EXPECT_EQ(std::get<RadioMemory>(loaded).Byte(0x0200), 'T') << name;
  }
}

TEST(RadioMemoryLoad, RefusesWhatIsNoMemory) {
  struct Case {
    std::string name;
    std::string content;
    std::string why;
  };
  const Case kCases[] = {
      {"header.rwc", "3A200006\r\n0010020102\r\n", "not a clone file"},
      {"line.rwc", "36200006\r\n00100201\r\n", "not a clone file"},
      {"beyond.rwc", "36200006\r\n7D80020102\r\n", "outside"},
      {"image.rwc", "36200006\r\nC186020102\r\n", "outside"},
  };
  TempDir dir;
  for (const Case& c : kCases) {
    auto loaded = RadioMemory::Load(dir.Write(c.name, c.content));
    ASSERT_TRUE(std::holds_alternative<std::string>(loaded)) << c.name;
    EXPECT_NE(std::get<std::string>(loaded).find(c.why), std::string::npos) << std::get<std::string>(loaded);
    EXPECT_NE(std::get<std::string>(loaded).find(c.name), std::string::npos) << std::get<std::string>(loaded);
  }
  auto missing = RadioMemory::Load(dir.File("missing.rwc"));
  ASSERT_TRUE(std::holds_alternative<std::string>(missing));
  EXPECT_NE(std::get<std::string>(missing).find("cannot open"), std::string::npos);
}

TEST(RadioMemorySave, WritesTheWholeMemoryWithItsCodes) {
  TempDir dir;
  auto loaded = RadioMemory::Load(dir.Write("small.rwc", kSmallFile));
  ASSERT_TRUE(std::holds_alternative<RadioMemory>(loaded));
  std::string saved = dir.File("saved.rwc");
  EXPECT_EQ(std::get<RadioMemory>(loaded).Save(saved), "");
  std::string text = ReadWholeFile(saved);
  EXPECT_TRUE(text.starts_with("31790100\r\n#Comment=\r\n#MapRev=7\r\n000010" + Repeat("00", 16) + "\r\n"))
      << text.substr(0, 120);
  EXPECT_NE(text.find("\r\n0010100102" + Repeat("00", 14) + "\r\n"), std::string::npos);
  EXPECT_TRUE(text.ends_with("\r\n7D7010" + Repeat("00", 16) + "\r\n"));
  // One line per 16 bytes, after the three header lines.
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3 + RadioMemory::kSize / 16);

  auto again = RadioMemory::Load(saved);
  ASSERT_TRUE(std::holds_alternative<RadioMemory>(again));
  const RadioMemory& reread = std::get<RadioMemory>(again);
  EXPECT_EQ(reread.ModelCode(), 0x3179);
  EXPECT_EQ(reread.ExtraCode(), 0x0100);
  for (int address = 0; address < RadioMemory::kSize; ++address) {
    ASSERT_EQ(reread.Byte(address), std::get<RadioMemory>(loaded).Byte(address)) << address;
  }
}

TEST(RadioMemorySave, TheCommentComesFromTheMemory) {
  TempDir dir;
  std::string saved = dir.File("comment.rwc");
  EXPECT_EQ(MemoryWithPassword("", "ALPHA  ").Save(saved), "");
  EXPECT_NE(ReadWholeFile(saved).find("\r\n#Comment=ALPHA\r\n"), std::string::npos);
}

TEST(RadioMemorySave, AFailureSaysWhy) {
  TempDir dir;
  EXPECT_NE(SmallMemory().Save(dir.File("no/such/folder.rwc")), "");
}

TEST(RadioMemoryStore, OnlyWholeSpansInsideTheMemory) {
  RadioMemory memory = SmallMemory();
  const std::uint8_t two[] = {7, 8};
  EXPECT_TRUE(memory.Store(RadioMemory::kSize - 2, two));
  EXPECT_EQ(memory.Byte(RadioMemory::kSize - 1), 8);
  EXPECT_FALSE(memory.Store(RadioMemory::kSize - 1, two));
  EXPECT_FALSE(memory.Store(-1, two));
  EXPECT_FALSE(memory.Store(0, {}));
  EXPECT_EQ(memory.Byte(0), 0);
  EXPECT_TRUE(memory.Bytes(RadioMemory::kSize - 1, 2).empty());
  EXPECT_EQ(memory.Bytes(RadioMemory::kSize - 2, 2).size(), 2u);
}

}  // namespace
