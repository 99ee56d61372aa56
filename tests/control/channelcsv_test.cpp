#include "control/channelcsv.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "core/csv.h"
#include "core/gtex.h"
#include "model/ch.h"
#include "model/charset.h"
#include "model/cloneio.h"
#include "model/memorymap.h"

namespace {

constexpr std::string_view kGenericHeader =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,Mode,TStep,Skip,Power,"
    "Comment,Bank";
constexpr std::string_view kHeaderLine =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,Mode,TStep,Skip,Power,"
    "Comment,Bank\r\n";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class ChannelCsvTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("RWQ_DATA_DIR", RWQ_SOURCE_DATA_DIR "/", 1);
    overlay_.Open(RWQ_SOURCE_DATA_DIR "/QZ5071KE.OVL");
  }
  void TearDown() override { unsetenv("RWQ_DATA_DIR"); }

  cmcEeprom Initial(ModelType type) {
    cmcEeprom image;
    cloneio::LoadInitialImage(overlay_, type, image);
    return image;
  }
  // The initial image of the model type without channels.
  cmcEeprom Empty(ModelType type) {
    cmcEeprom image = Initial(type);
    for (int bank = 0; bank < memmap::kBankCount; ++bank) datCh::SetBankSize(image, bank, 0);
    memmap::Encode(image, type);
    return image;
  }
  ChannelCsv Table(ModelType type) { return ChannelCsv(overlay_, charset_, type); }

  // Export, import into an empty image of the model type, export again.
  void ExpectRoundTrip(cmcEeprom& image, ModelType type) {
    ChannelCsv table = Table(type);
    std::string first = table.Export(image);
    cmcEeprom empty = Empty(type);
    ChannelCsv::ImportResult result = table.Import(empty, first, false);
    for (const auto& refusal : result.refusals) ADD_FAILURE() << refusal.line << ": " << refusal.reason;
    EXPECT_EQ(result.taken, static_cast<int>(Lines(first).size()) - 1);
    EXPECT_EQ(table.Export(empty), first);
  }

  cmcGTex overlay_;
  const Charset charset_ = Charset::LoadShipped();
};

TEST_F(ChannelCsvTest, EveryInitialFileMakesTheRoundTrip) {
  for (ModelType type : kAllModelTypes) {
    SCOPED_TRACE(ModelNumber(type));
    cmcEeprom image = Initial(type);
    std::string text = Table(type).Export(image);
    // The generic columns, then the record's own.
    ASSERT_TRUE(text.starts_with(std::string(kGenericHeader) + ",rec.inh,"));
    EXPECT_EQ(Lines(text).size(), static_cast<std::size_t>(datCh::ChannelsInUse(image)) + 1);
    ExpectRoundTrip(image, type);
  }
}

TEST_F(ChannelCsvTest, ThePmrInitialFileExportsItsChannelsInOrder) {
  cmcEeprom image = Initial(ModelType::kPmr);
  std::vector<std::string> lines = Lines(Table(ModelType::kPmr).Export(image));
  ASSERT_EQ(lines.size(), 17u);
  EXPECT_TRUE(lines[1].starts_with("1,PMR 1,446.006250,,0.000000,TSQL,67.0,67.0,023,NN,FM,5,S,High (5 W),,1,0,"));
  EXPECT_TRUE(lines[16].starts_with("16,PMR 16,446.193750,,0.000000,TSQL,67.0,67.0,023,NN,FM,5,S,High (5 W),,1,0,"));
}

// 128 land-mobile channels over all eight banks, with every column varied.
TEST_F(ChannelCsvTest, AFullLandMobileImageMakesTheRoundTrip) {
  cmcEeprom image = Empty(ModelType::kLandMobile);
  for (int bank = 0; bank < memmap::kBankCount; ++bank) datCh::SetBankSize(image, bank, 16);
  datCh record(image);
  for (int channel = 0; channel < 128; ++channel) {
    record.load(datCh::KindOf(ModelType::kLandMobile), channel);
    record.initialise();
    record.freqR = 144000000 + 3125 * 7 * channel;  // on the 3125 Hz grid
    record.dup = channel % 3;
    record.txInh = channel % 11 == 0;
    record.offset = 600000 + 2500 * channel;
    record.tone = channel % 4;
    record.toneFreq = channel % 50;
    record.tsqlFreq = (channel * 7) % 50;
    record.dtcs = channel % 104;
    record.dtcsPolarity = channel % 4;
    record.ts = channel % 10;
    record.wnm = channel % 2;
    record.rfPo = channel % 4;
    record.setInList(0, channel % 5 != 0);
    std::string name = "CH" + std::to_string(channel) + (channel % 2 ? ",\"" : "");
    name.resize(datCh::kNameLength, ' ');
    record.name = name;
    record.store();
  }
  memmap::Encode(image, ModelType::kLandMobile);
  ASSERT_EQ(datCh::ChannelsInUse(image), 128);
  std::string text = Table(ModelType::kLandMobile).Export(image);
  std::vector<std::string> lines = Lines(text);
  ASSERT_EQ(lines.size(), 129u);
  EXPECT_TRUE(
      lines[2].starts_with("2,\"CH1,\"\"\",144.021875,+,0.602500,Tone,69.3,85.4,025,NR,NFM,6.25,,Middle (2.5 W),,1,"));
  EXPECT_TRUE(lines[128].starts_with("128,\"CH127,\"\"\",")) << lines[128];
  EXPECT_NE(lines[128].find(",,8,"), std::string::npos) << lines[128];
  ExpectRoundTrip(image, ModelType::kLandMobile);
}

struct RefusalCase {
  const char* line;  // after the header
  const char* reason;
};

TEST_F(ChannelCsvTest, RefusesWhatTheCellsWouldNotTakeUnchanged) {
  const RefusalCase cases[] = {
      {"1,A,150.000000,,0,,88.5,88.5,023,NN,FM,5,,High (5 W),,1", "outside the radio's range"},
      {"1,A,143.9,,0,,88.5,88.5,023,NN,FM,5,,High (5 W),,1", "outside the radio's range"},
      {"1,A,146.5213,,0,,88.5,88.5,023,NN,FM,5,,High (5 W),,1", "not on the channel grid"},
      {"1,A,146.52,,25,,88.5,88.5,023,NN,FM,5,,High (5 W),,1", "Offset 25 MHz is outside"},
      {"1,A,abc,,0,,88.5,88.5,023,NN,FM,5,,High (5 W),,1", "is not a number of MHz"},
      {"1,A,,,0,,88.5,88.5,023,NN,FM,5,,High (5 W),,1", "Frequency '' is not a number of MHz"},
      {"1,\xE2\x82\xAC"
       "5,146.52,,0,,88.5,88.5,023,NN,FM,5,,High (5 W),,1",
       "character the radio lacks"},
      {"1,NINECHARS,146.52,,0,,88.5,88.5,023,NN,FM,5,,High (5 W),,1", "longer than 8"},
      {"1,A,146.52,,0,Tone,88.6,88.5,023,NN,FM,5,,High (5 W),,1", "88.6 Hz is not a standard tone"},
      {"1,A,146.52,,0,DTCS,88.5,88.5,999,NN,FM,5,,High (5 W),,1", "not a standard code"},
      {"1,A,146.52,,0,Cross,88.5,88.5,023,NN,FM,5,,High (5 W),,1", "no cross tone mode"},
      {"1,A,146.52,x,0,,88.5,88.5,023,NN,FM,5,,High (5 W),,1", "Duplex 'x'"},
      {"1,A,146.52,,0,,88.5,88.5,023,NX,FM,5,,High (5 W),,1", "DtcsPolarity 'NX'"},
      {"1,A,146.52,,0,,88.5,88.5,023,NN,AM,5,,High (5 W),,1", "Mode 'AM'"},
      {"1,A,146.52,,0,,88.5,88.5,023,NN,FM,7,,High (5 W),,1", "TStep '7'"},
      {"1,A,146.52,,0,,88.5,88.5,023,NN,FM,5,,Ultra,,1", "Power 'Ultra'"},
      {"1,A,146.52,,0,,88.5,88.5,023,NN,FM,5,X,High (5 W),,1", "Skip 'X'"},
      {"2,A,146.52,,0,,88.5,88.5,023,NN,FM,5,,High (5 W),,1", "leaves a gap"},
      {"0,A,146.52,,0,,88.5,88.5,023,NN,FM,5,,High (5 W),,1", "Location '0'"},
      {"1,A,146.52,,0,,88.5,88.5,023,NN,FM,5,,High (5 W),,9", "Bank '9'"},
  };
  for (const RefusalCase& c : cases) {
    cmcEeprom image = Empty(ModelType::kLandMobile);
    cmcEeprom before = image;
    ChannelCsv::ImportResult result =
        Table(ModelType::kLandMobile).Import(image, std::string(kHeaderLine) + c.line + "\r\n", false);
    ASSERT_FALSE(result.refusals.empty()) << c.line;
    EXPECT_EQ(result.refusals[0].line, 2) << c.line;
    EXPECT_NE(result.refusals[0].reason.find(c.reason), std::string::npos)
        << c.line << " -> " << result.refusals[0].reason;
    EXPECT_FALSE(result.written);
    EXPECT_TRUE(image == before) << c.line;
  }
}

TEST_F(ChannelCsvTest, TakesAGridSnapWithinOneKilohertzAndNormalNumberForms) {
  cmcEeprom image = Empty(ModelType::kLandMobile);
  ChannelCsv table = Table(ModelType::kLandMobile);
  ChannelCsv::ImportResult result =
      table.Import(image, "Frequency,Offset,Tone,rToneFreq,TStep\n146.521,0.6,Tone,100,12.50\n", false);
  ASSERT_TRUE(result.refusals.empty()) << result.refusals[0].reason;
  EXPECT_TRUE(result.written);
  ChannelCsv::Row row = table.RowOf(image, 0);
  EXPECT_EQ(row[ChannelCsv::kFrequency], "146.521875");
  EXPECT_EQ(row[ChannelCsv::kOffset], "0.600000");
  EXPECT_EQ(row[ChannelCsv::kRToneFreq], "100.0");
  EXPECT_EQ(row[ChannelCsv::kTStep], "12.5");
}

TEST_F(ChannelCsvTest, CollectsEveryRefusedLineAndWritesOnlyWhenAskedToSkipThem) {
  const std::string text =
      "Location,Frequency,Name\n"
      "1,146.52,GOOD\n"
      "2,150,HIGH\n"
      "3,146.54,WAYTOOLONG\n";
  cmcEeprom image = Empty(ModelType::kLandMobile);
  cmcEeprom before = image;
  ChannelCsv table = Table(ModelType::kLandMobile);
  ChannelCsv::ImportResult refused = table.Import(image, text, false);
  ASSERT_EQ(refused.refusals.size(), 2u);
  EXPECT_EQ(refused.refusals[0].line, 3);
  EXPECT_EQ(refused.refusals[1].line, 4);  // checked as if line 3 had been taken
  EXPECT_TRUE(image == before);

  ChannelCsv::ImportResult skipped = table.Import(image, text, true);
  EXPECT_EQ(skipped.taken, 1);
  EXPECT_TRUE(skipped.written);
  EXPECT_EQ(datCh::ChannelsInUse(image), 1);
  EXPECT_EQ(table.RowOf(image, 0)[ChannelCsv::kName], "GOOD");
}

TEST_F(ChannelCsvTest, MissingColumnsTakeTheValuesOfANewChannel) {
  for (ModelType type : kAllModelTypes) {
    SCOPED_TRACE(ModelNumber(type));
    cmcEeprom image = Empty(type);
    ChannelCsv table = Table(type);
    ChannelCsv::Row defaults = table.DefaultRow(image);
    // A header of one known and one unknown column, an empty line and a row of empty cells.
    ChannelCsv::ImportResult result = table.Import(image, "Name,Colour\nFIRST,red\n\n , \n", false);
    ASSERT_TRUE(result.refusals.empty()) << result.refusals[0].reason;
    ChannelCsv::Row row = table.RowOf(image, 0);
    for (int column = ChannelCsv::kFrequency; column < ChannelCsv::kComment; ++column) {
      EXPECT_EQ(row[column], defaults[column]) << ChannelCsv::kHeader[column];
    }
    EXPECT_EQ(row[ChannelCsv::kName], "FIRST");
    EXPECT_EQ(result.taken, 1);
    EXPECT_EQ(datCh::ChannelsInUse(image), datCh::ChannelsInUse(Empty(type)) + 1);
  }
}

TEST_F(ChannelCsvTest, ReadsAnyColumnOrderCrLfAndAByteOrderMark) {
  cmcEeprom exported = Initial(ModelType::kPmr);
  ChannelCsv table = Table(ModelType::kPmr);
  const std::string expected = table.Export(exported);
  // The same channels, columns reversed, as a spreadsheet saves them.
  std::string reversed = "\xEF\xBB\xBF";
  for (const std::string& line : Lines(expected)) {
    csv::Table parsed = csv::Parse(line);
    std::vector<std::string> fields = parsed.records.at(0).fields;
    std::reverse(fields.begin(), fields.end());
    reversed += csv::Line(fields);
  }
  cmcEeprom image = Empty(ModelType::kPmr);
  ChannelCsv::ImportResult result = table.Import(image, reversed, false);
  ASSERT_TRUE(result.refusals.empty()) << result.refusals[0].reason;
  EXPECT_EQ(table.Export(image), expected);
}

TEST_F(ChannelCsvTest, PmrFrequenciesComeFromTheChannelListOrFreeEntry) {
  cmcEeprom image = Empty(ModelType::kDpmr446);
  ChannelCsv table = Table(ModelType::kDpmr446);
  ChannelCsv::ImportResult result =
      table.Import(image, "Frequency,Tone,DtcsCode,DtcsPolarity\n446.103125,,,\n446.2,DTCS,023,NR\n", false);
  ASSERT_TRUE(result.refusals.empty()) << result.refusals[0].reason;
  datCh record(image);
  record.load(datCh::KindOf(ModelType::kDpmr446), 0);
  EXPECT_EQ(record.freqR, 446103125u);
  EXPECT_EQ(record.freeEntry, 0);
  record.load(datCh::KindOf(ModelType::kDpmr446), 1);
  EXPECT_EQ(record.freqR, 446200000u);
  EXPECT_EQ(record.freeEntry, 1);
  ChannelCsv::Row row = table.RowOf(image, 1);
  EXPECT_EQ(row[ChannelCsv::kTone], "DTCS");
  EXPECT_EQ(row[ChannelCsv::kDtcsPolarity], "NR");

  // A code outside the standard list is refused.
  ChannelCsv::ImportResult refused = table.Import(image, "Frequency,Tone,DtcsCode\n446.2,DTCS,777\n", false);
  ASSERT_EQ(refused.refusals.size(), 1u);
  EXPECT_NE(refused.refusals[0].reason.find("DtcsCode '777' is not a standard code"), std::string::npos)
      << refused.refusals[0].reason;
}

TEST_F(ChannelCsvTest, BanksPlaceNewChannelsAtTheEndOnly) {
  cmcEeprom image = Empty(ModelType::kLandMobile);
  ChannelCsv table = Table(ModelType::kLandMobile);
  ChannelCsv::ImportResult result = table.Import(image, "Frequency,Bank\n146.52,3\n146.54,1\n", false);
  ASSERT_EQ(result.refusals.size(), 1u);
  EXPECT_EQ(result.refusals[0].line, 3);
  EXPECT_NE(result.refusals[0].reason.find("cannot join bank 1"), std::string::npos) << result.refusals[0].reason;
  result = table.Import(image, "Frequency,Bank\n146.52,3\n146.54,3\n", false);
  ASSERT_TRUE(result.refusals.empty()) << result.refusals[0].reason;
  EXPECT_EQ(datCh::BankSize(image, 2), 2);
  // Overwriting keeps a channel in its bank.
  result = table.Import(image, "Location,Frequency,Bank\n2,146.56,3\n1,146.5,2\n", false);
  ASSERT_EQ(result.refusals.size(), 1u);
  EXPECT_NE(result.refusals[0].reason.find("is in bank 3, not in bank 2"), std::string::npos)
      << result.refusals[0].reason;
}

}  // namespace

namespace {

// Every channel field set to a value the generic columns cannot name.
void MakeUnusual(cmcEeprom& image, ModelType type) {
  datCh record(image);
  const char* names[] = {"A-B/C.D", "  *+()  ", "Z_9#&", "<>=?!@"};
  for (int channel = 0; channel < datCh::ChannelsInUse(image); ++channel) {
    record.load(datCh::KindOf(type), channel);
    record.wnm = 2;             // middle bandwidth
    record.tone = channel % 5;  // every tone mode, reverse code squelch too
    record.reverse = channel % 2;
    record.pwrSave = 1;
    record.scrambler = channel % 16;
    record.busyLockout = channel % 3;
    record.rfPo = channel % 4;
    record.setInList(0, channel % 2 == 0);
    record.setInList(5, true);
    record.ctoneT = ToneSetting{true, true, true, 0, 0x53};
    record.ctoneR = ToneSetting{true, false, false, channel % 38, 0};
    record.name = names[channel % 4];
    record.name.resize(datCh::kNameLength, ' ');
    record.store();
  }
  memmap::Encode(image, type);
}

}  // namespace

TEST_F(ChannelCsvTest, ExportThenImportOntoItselfLeavesTheImageByteIdentical) {
  for (bool unusual : {false, true}) {
    for (ModelType type : kAllModelTypes) {
      SCOPED_TRACE(std::to_string(ModelNumber(type)) + (unusual ? " unusual" : " initial"));
      cmcEeprom image = Initial(type);
      if (unusual) MakeUnusual(image, type);
      cmcEeprom before = image;
      ChannelCsv table = Table(type);
      ChannelCsv::ImportResult result = table.Import(image, table.Export(image), false);
      for (const auto& refusal : result.refusals) ADD_FAILURE() << refusal.line << ": " << refusal.reason;
      EXPECT_FALSE(result.written);
      EXPECT_TRUE(image == before);
      // Onto an empty image the record's columns bring back what the generic ones cannot name.
      cmcEeprom empty = Empty(type);
      table.Import(empty, table.Export(before), false);
      EXPECT_EQ(table.Export(empty), table.Export(before));
    }
  }
}

TEST_F(ChannelCsvTest, LocationAndNameChangeOnlyTheNames) {
  for (ModelType type : kAllModelTypes) {
    SCOPED_TRACE(ModelNumber(type));
    cmcEeprom image = Initial(type);
    ChannelCsv table = Table(type);
    if (datCh::ChannelsInUse(image) < 3) table.Import(image, "Frequency\n146.52\n146.54\n146.56\n", false);
    ASSERT_GE(datCh::ChannelsInUse(image), 3);
    MakeUnusual(image, type);
    cmcEeprom before = image;
    ChannelCsv::ImportResult result = table.Import(image, "Location,Name\n3,RENAMED\n1,first\n", false);
    for (const auto& refusal : result.refusals) ADD_FAILURE() << refusal.line << ": " << refusal.reason;
    EXPECT_EQ(result.taken, 2);
    std::vector<std::string> was = Lines(table.Export(before));
    std::vector<std::string> now = Lines(table.Export(image));
    ASSERT_EQ(was.size(), now.size());
    for (std::size_t line = 0; line < was.size(); ++line) {
      std::string expected = was[line];
      if (line == 1 || line == 3) {
        std::size_t nameStart = expected.find(',') + 1;
        std::size_t nameEnd = expected.find(',', nameStart + 1);
        if (expected[nameStart] == '"') nameEnd = expected.find("\",", nameStart + 1) + 1;
        expected.replace(nameStart, nameEnd - nameStart, line == 1 ? "first" : "RENAMED");
      }
      EXPECT_EQ(now[line], expected);
    }
  }
}

TEST_F(ChannelCsvTest, ReadsSemicolonsAndTabsWithDecimalCommasAndNamesTheSeparatorsTried) {
  for (std::string_view text :
       {"Location;Frequency;Name\n1;146,52;SEMI\n", "Location\tFrequency\tName\n1\t146,52\tSEMI\n"}) {
    cmcEeprom image = Initial(ModelType::kLandMobile);
    ChannelCsv table = Table(ModelType::kLandMobile);
    ChannelCsv::ImportResult result = table.Import(image, text, false);
    for (const auto& refusal : result.refusals) ADD_FAILURE() << refusal.line << ": " << refusal.reason;
    EXPECT_TRUE(Lines(table.Export(image))[1].starts_with("1,SEMI,146.520000,")) << Lines(table.Export(image))[1];
  }
  cmcEeprom image = Initial(ModelType::kLandMobile);
  ChannelCsv::ImportResult result = Table(ModelType::kLandMobile).Import(image, "Kanal|Name\n1|X\n", false);
  ASSERT_EQ(result.refusals.size(), 1u);
  EXPECT_NE(result.refusals[0].reason.find("comma, semicolon, tab"), std::string::npos) << result.refusals[0].reason;
  EXPECT_NE(result.refusals[0].reason.find("Location,Name,Frequency"), std::string::npos) << result.refusals[0].reason;
}
