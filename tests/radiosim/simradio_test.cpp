// The radio's side of the clone protocol, fed byte by byte and compared with
// frames written out by hand.

#include "radiosim/simradio.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "radio_harness.h"

namespace {

const Bytes kInfoRequest = Hex("FE FE EE EF E0 36 20 00 00 FD");
const Bytes kReadRequest = Hex("FE FE EE EF E2 36 20 01 06 FD");
const Bytes kWriteRequest = Hex("FE FE EE EF E3 36 20 00 00 FD");
const Bytes kGoOn = Hex("FB");
const Bytes kRefuse = Hex("FA");
const Bytes kConfirmation = Hex("FE FE EF EE E6 00 FD");

Bytes FromRadio(std::string_view command, std::string_view text) {
  return Cat(Hex("FE FE EF EE"), Hex(command), Ascii(text), Hex("FD"));
}
Bytes FromProgram(std::string_view command, std::string_view text) {
  return Cat(Hex("FE FE EE EF"), Hex(command), Ascii(text), Hex("FD"));
}
Bytes RadioRecord(std::string_view text) { return FromRadio("E4", text); }
Bytes ProgramRecord(std::string_view text) { return FromProgram("E4", text); }
Bytes RadioEnd(std::string_view count) { return FromRadio("E5", "Tarn Inc." + std::string(count)); }
Bytes ProgramEnd(std::string_view count) { return FromProgram("E5", "Tarn Inc." + std::string(count)); }

// A memory of zeros with 01 02 at 0x0010 and 05 at 0x0208, reporting the top
// address 0x001F: two 16-byte records.
RadioMemory TwoRecordMemory() { return SmallMemory({{0x0010, 0x01}, {0x0011, 0x02}, {0x0208, 0x05}}); }

// Its identification: blank comments, revision 1.0, byte 35 from 0x0208, the
// serial number, no flags, top "001F", the sum of bytes 0 to 0x1F "0003".
const std::string kTwoRecordIdentification = "4E 00" + Repeat(" 20", 32) + " 10 05 00" +
                                             " 30 30 30 31 30 30 30 31 32 33 34 35" + " 00 00 00 00" + " 00" +
                                             Repeat(" 00", 8) + " 30 30 31 46" + " 30 30 30 33" + Repeat(" 00", 8);
const Bytes kTwoRecordReply = Cat(Hex("FE FE EF EE E1 36 20 00 06"), Hex(kTwoRecordIdentification), Hex("FD"));

// The read of that memory: checksums 0x100 - (00 + 00 + 10) and
// 0x100 - (00 + 10 + 10 + 01 + 02).
const Bytes kTwoRecordRead = Cat(RadioRecord("000010" + Repeat("00", 16) + "F0"),
                                 RadioRecord("001010" + std::string("0102") + Repeat("00", 14) + "DD"), RadioEnd("02"));

// One page of a write: 0x0200-0x027F in 16-byte records of 01 bytes; each
// checksum is 0x100 - (02 + low address + 10 + 10).
const std::array<std::string, 8> kPageRecords = {
    "020010" + Repeat("01", 16) + "DE", "021010" + Repeat("01", 16) + "CE", "022010" + Repeat("01", 16) + "BE",
    "023010" + Repeat("01", 16) + "AE", "024010" + Repeat("01", 16) + "9E", "025010" + Repeat("01", 16) + "8E",
    "026010" + Repeat("01", 16) + "7E", "027010" + Repeat("01", 16) + "6E"};

TEST(SimRadioInformation, AnswersWithCodesAndIdentification) {
  SimRadio radio(TwoRecordMemory(), SettingsWithTop(0x001F));
  Line line(radio);
  EXPECT_EQ(Show(line.Exchange(kInfoRequest)), Show(kTwoRecordReply));
  // Any number of extra preamble bytes before the request.
  EXPECT_EQ(Show(line.Exchange(Cat(Hex("FE FE FE FE FE FE"), kInfoRequest))), Show(kTwoRecordReply));
}

TEST(SimRadioInformation, CarriesTheFileCodes) {
  cmcEeprom image(cmcEeprom::kRawSize);
  SimRadio radio(RadioMemory(image, 0x3179, 0x0100), {});
  Bytes reply = Line(radio).Exchange(kInfoRequest);
  ASSERT_GE(reply.size(), 9u);
  EXPECT_EQ(Show(Bytes(reply.begin(), reply.begin() + 9)), "FE FE EF EE E1 31 79 01 00");
  EXPECT_EQ(reply.size(), 9u + 78u + 1u);
}

TEST(SimRadioInformation, FramesForOthersOrOfTheWrongShapeAreIgnored) {
  const Bytes kIgnored[] = {
      Hex("FE FE EF EE E0 36 20 00 00 FD"),     // addresses swapped: the radio's own frame
      Hex("FE FE EE EE E0 36 20 00 00 FD"),     // a wrong source
      Hex("FE FE EE EF E0 36 20 00 FD"),        // three parameter bytes
      Hex("FE FE EE EF E0 36 20 00 00 00 FD"),  // five
      Hex("FE FE EE EF E7 36 20 00 00 FD"),     // no such command
      Hex("EE EF E0 36 20 00 00 FD"),           // no preamble
      Hex("FE FE EE FD"),                       // a frame cut short
  };
  for (const Bytes& frame : kIgnored) {
    SimRadio radio(TwoRecordMemory(), SettingsWithTop(0x001F));
    EXPECT_EQ(Show(Line(radio).Exchange(frame)), "") << Show(frame);
  }
}

TEST(SimRadioInformation, NoiseAndOverlongFramesDoNotHarmTheNextRequest) {
  SimRadio radio(TwoRecordMemory(), SettingsWithTop(0x001F));
  Line line(radio);
  Bytes noise;
  for (int i = 0; i < 2000; ++i) noise.push_back(static_cast<std::uint8_t>(i * 37 % 256 == 0xFD ? 0 : i * 37 % 256));
  // An endless frame: FE then a long run without FD.
  Bytes overlong = Cat(Hex("FE"), Bytes(700, 0x41));
  EXPECT_EQ(Show(line.Exchange(Cat(noise, overlong, Hex("FD")))), "");
  EXPECT_EQ(Show(line.Exchange(kInfoRequest)), Show(kTwoRecordReply));
}

TEST(SimRadioRead, SendsRecordsUpToTheTopAndTheEndWithTheCount) {
  SimRadio radio(TwoRecordMemory(), SettingsWithTop(0x001F));
  EXPECT_EQ(Show(Line(radio).Exchange(kReadRequest)), Show(kTwoRecordRead));
}

TEST(SimRadioRead, ATopInsideABlockReadsTheWholeBlock) {
  SimRadio radio(TwoRecordMemory(), SettingsWithTop(0x0013));
  EXPECT_EQ(Show(Line(radio).Exchange(kReadRequest)), Show(kTwoRecordRead));
}

TEST(SimRadioRead, TheWholeMemoryByDefault) {
  SimRadio radio(SmallMemory({{0x7D7F, 0x5A}}), {});
  Bytes read = Line(radio).Exchange(kReadRequest);
  // 2008 records of 16 bytes, then the end with 2008 mod 256 = 0xD8. The last
  // record's checksum: 0x100 - (7D + 70 + 10 + 5A) mod 256.
  Bytes last = Cat(RadioRecord("7D7010" + Repeat("00", 15) + "5A" + "A9"), RadioEnd("D8"));
  ASSERT_GT(read.size(), last.size());
  EXPECT_EQ(read.size(), 2008u * (5 + 6 + 32 + 2 + 1) + 5 + 11 + 1);
  EXPECT_EQ(Show(Bytes(read.end() - static_cast<std::ptrdiff_t>(last.size()), read.end())), Show(last));
}

// Records of other even lengths: 16 bytes of 11 in records of 6, 6 and 4.
TEST(SimRadioRead, OtherRecordLengths) {
  RadioMemory memory = SmallMemory({{0, 0x11},
                                    {1, 0x11},
                                    {2, 0x11},
                                    {3, 0x11},
                                    {4, 0x11},
                                    {5, 0x11},
                                    {6, 0x11},
                                    {7, 0x11},
                                    {8, 0x11},
                                    {9, 0x11},
                                    {10, 0x11},
                                    {11, 0x11},
                                    {12, 0x11},
                                    {13, 0x11},
                                    {14, 0x11},
                                    {15, 0x11}});
  RadioSettings settings = SettingsWithTop(0x000F);
  settings.recordLength = 6;
  SimRadio radio(memory, settings);
  EXPECT_EQ(Show(Line(radio).Exchange(kReadRequest)),
            Show(Cat(RadioRecord("000006" + Repeat("11", 6) + "94"), RadioRecord("000606" + Repeat("11", 6) + "8E"),
                     RadioRecord("000C04" + Repeat("11", 4) + "AC"), RadioEnd("03"))));
}

TEST(SimRadioRead, TwoByteRecordsCarryTheChecksumOfTheWorkedExample) {
  RadioSettings settings = SettingsWithTop(0x000F);
  settings.recordLength = 2;
  SimRadio radio(SmallMemory({{0x0000, 0x01}, {0x0001, 0x02}}), settings);
  Bytes read = Line(radio).Exchange(kReadRequest);
  // 0x100 - (00 + 00 + 02 + 01 + 02) = 0xFB; a zero record at 0x000E: 0x100 - (0E + 02).
  Bytes first = RadioRecord("0000020102FB");
  Bytes tail = Cat(RadioRecord("000E020000F0"), RadioEnd("08"));
  ASSERT_GE(read.size(), first.size() + tail.size());
  EXPECT_EQ(Show(Bytes(read.begin(), read.begin() + static_cast<std::ptrdiff_t>(first.size()))), Show(first));
  EXPECT_EQ(Show(Bytes(read.end() - static_cast<std::ptrdiff_t>(tail.size()), read.end())), Show(tail));
}

TEST(SimRadioRead, ANewRequestStartsAgain) {
  SimRadio radio(TwoRecordMemory(), SettingsWithTop(0x001F));
  Line line(radio);
  EXPECT_EQ(Show(line.Exchange(kReadRequest)), Show(kTwoRecordRead));
  EXPECT_EQ(Show(line.Exchange(kReadRequest)), Show(kTwoRecordRead));
}

TEST(SimRadioWrite, GoesOnAfterTheRequestAndAfterEachPage) {
  SimRadio radio(SmallMemory(), {});
  Line line(radio);
  EXPECT_EQ(Show(line.Exchange(kWriteRequest)), Show(kGoOn));
  for (std::size_t i = 0; i + 1 < kPageRecords.size(); ++i) {
    EXPECT_EQ(Show(line.Exchange(ProgramRecord(kPageRecords[i]))), "") << i;
  }
  EXPECT_EQ(Show(line.Exchange(ProgramRecord(kPageRecords.back()))), Show(kGoOn));
  EXPECT_EQ(Show(line.Exchange(ProgramEnd("08"))), Show(kConfirmation));
  for (int address = 0x01FF; address <= 0x0280; ++address) {
    EXPECT_EQ(radio.Memory().Byte(address), address >= 0x0200 && address < 0x0280 ? 1 : 0) << address;
  }
}

TEST(SimRadioWrite, ARecordThatCrossesAPageBoundaryAsksForAGoOnToo) {
  SimRadio radio(SmallMemory(), {});
  Line line(radio);
  line.Exchange(kWriteRequest);
  // 0x0278, eight bytes of 01: 0x100 - (02 + 78 + 08 + 08) = 0x76; then 0x0280.
  EXPECT_EQ(Show(line.Exchange(ProgramRecord("027808" + Repeat("01", 8) + "76"))), Show(kGoOn));
}

TEST(SimRadioWrite, TheWorkedExampleRecordIsStored) {
  SimRadio radio(SmallMemory(), {});
  Line line(radio);
  line.Exchange(kWriteRequest);
  EXPECT_EQ(Show(line.Exchange(ProgramRecord("0010020102EB"))), "");
  EXPECT_EQ(Show(line.Exchange(ProgramEnd("01"))), Show(kConfirmation));
  EXPECT_EQ(radio.Memory().Byte(0x0010), 1);
  EXPECT_EQ(radio.Memory().Byte(0x0011), 2);
}

TEST(SimRadioWrite, TheEndWithoutACountIsConfirmedToo) {
  SimRadio radio(SmallMemory(), {});
  Line line(radio);
  line.Exchange(kWriteRequest);
  line.Exchange(ProgramRecord("0010020102EB"));
  EXPECT_EQ(Show(line.Exchange(ProgramEnd(""))), Show(kConfirmation));
}

TEST(SimRadioWrite, TheListenerSeesTheWrittenMemory) {
  SimRadio radio(SmallMemory(), {});
  int calls = 0;
  radio.SetWriteListener([&](const RadioMemory& memory) {
    ++calls;
    EXPECT_EQ(memory.Byte(0x0011), 2);
  });
  Line line(radio);
  line.Exchange(Cat(kWriteRequest, ProgramRecord("0010020102EB"), ProgramEnd("01")));
  EXPECT_EQ(calls, 1);
}

// A record the radio cannot take ends the write with a refusal; what follows
// is not stored and not confirmed.
TEST(SimRadioWrite, ABadRecordIsRefused) {
  const std::string kBadRecords[] = {
      "0010020102EC",                      // checksum one off
      "0010020102eb",                      // lower-case digits
      "001002010",                         // a digit missing
      "0010030102EB",                      // length says 3, two data bytes come
      "0010G20102EB",                      // not hexadecimal
      "7D7810" + Repeat("00", 16) + "FB",  // runs past the memory's end at 0x7D7F
  };
  for (const std::string& text : kBadRecords) {
    SimRadio radio(SmallMemory(), {});
    int calls = 0;
    radio.SetWriteListener([&](const RadioMemory&) { ++calls; });
    Line line(radio);
    line.Exchange(kWriteRequest);
    EXPECT_EQ(Show(line.Exchange(ProgramRecord(text))), Show(kRefuse)) << text;
    EXPECT_EQ(Show(line.Exchange(Cat(ProgramRecord("0010020102EB"), ProgramEnd("01")))), "") << text;
    EXPECT_EQ(radio.Memory().Byte(0x0010), 0) << text;
    EXPECT_EQ(calls, 0) << text;
  }
}

TEST(SimRadioWrite, AWrongEndIsNotConfirmed) {
  const Bytes kEnds[] = {ProgramEnd("02"),          ProgramEnd("1"),
                         ProgramEnd("0G"),          FromProgram("E5", "Tarn Inc,01"),
                         FromProgram("E5", "Tarn"), ProgramEnd("011")};
  for (const Bytes& end : kEnds) {
    SimRadio radio(SmallMemory(), {});
    int calls = 0;
    radio.SetWriteListener([&](const RadioMemory&) { ++calls; });
    Line line(radio);
    line.Exchange(Cat(kWriteRequest, ProgramRecord("0010020102EB")));
    EXPECT_EQ(Show(line.Exchange(end)), "") << Show(end);
    EXPECT_EQ(calls, 0) << Show(end);
  }
}

TEST(SimRadioWrite, RecordsOutsideAWriteAreIgnored) {
  SimRadio radio(SmallMemory(), {});
  EXPECT_EQ(Show(Line(radio).Exchange(Cat(ProgramRecord("0010020102EB"), ProgramEnd("01")))), "");
  EXPECT_EQ(radio.Memory().Byte(0x0010), 0);
}

TEST(SimRadioWrite, AReadAfterAWriteSendsTheNewBytes) {
  SimRadio radio(TwoRecordMemory(), SettingsWithTop(0x000F));
  Line line(radio);
  line.Exchange(Cat(kWriteRequest, ProgramRecord("0000020102FB"), ProgramEnd("01")));
  // 0x100 - (00 + 00 + 10 + 01 + 02) = 0xED.
  EXPECT_EQ(Show(line.Exchange(kReadRequest)),
            Show(Cat(RadioRecord("000010" + std::string("0102") + Repeat("00", 14) + "ED"), RadioEnd("01"))));
}

TEST(SimRadioSettings, SpeedAndModeCommandsAreTakenWithoutAnAnswer) {
  SimRadio radio(SmallMemory(), {});
  Line line(radio);
  EXPECT_FALSE(radio.CommandedSpeed().has_value());
  EXPECT_EQ(Show(line.Exchange(Cat(Hex(Repeat("FE", 20)), Hex("EE EF E8 36 20 00 00 01 32 37 FD")))), "");
  EXPECT_EQ(radio.CommandedSpeed(), 9600);
  EXPECT_EQ(Show(line.Exchange(Hex("FE FE EE EF E8 36 20 00 00 55 30 31 FD"))), "");
  EXPECT_EQ(radio.CommandedWriteMode(), true);
  EXPECT_EQ(Show(line.Exchange(Hex("FE FE EE EF E8 36 20 00 00 55 30 30 FD"))), "");
  EXPECT_EQ(radio.CommandedWriteMode(), false);
  EXPECT_EQ(Show(line.Exchange(Cat(Hex(Repeat("FE", 20)), Hex("FE FE EE EF E8 36 20 00 00 01 30 39 FD")))), "");
  EXPECT_EQ(radio.CommandedSpeed(), 38400);
  // Values it does not know change nothing.
  EXPECT_EQ(Show(line.Exchange(Hex("FE FE EE EF E8 36 20 00 00 01 33 33 FD"))), "");
  EXPECT_EQ(radio.CommandedSpeed(), 38400);
}

TEST(SimRadioEcho, EveryByteComesBackBeforeTheAnswer) {
  RadioSettings settings = SettingsWithTop(0x001F);
  settings.echo = true;
  SimRadio radio(TwoRecordMemory(), settings);
  Line line(radio);
  EXPECT_EQ(Show(line.Exchange(Hex("FE FE FE FE"))), "FE FE FE FE");
  EXPECT_EQ(Show(line.Exchange(kInfoRequest)), Show(Cat(kInfoRequest, kTwoRecordReply)));
  EXPECT_EQ(Show(line.Exchange(kWriteRequest)), Show(Cat(kWriteRequest, kGoOn)));
}

TEST(SimRadioEcho, OffByDefault) {
  SimRadio radio(TwoRecordMemory(), {});
  EXPECT_EQ(Show(Line(radio).Exchange(Hex("FE FE FE FE 00 41"))), "");
}

}  // namespace
