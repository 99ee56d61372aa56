// The faults the radio makes on request, each against the frames it would
// send without it.

#include "radiosim/faults.h"

#include <gtest/gtest.h>

#include <string>

#include "radio_harness.h"

namespace {

const Bytes kInfoRequest = Hex("FE FE EE EF E0 36 20 00 00 FD");
const Bytes kReadRequest = Hex("FE FE EE EF E2 36 20 01 06 FD");
const Bytes kWriteRequest = Hex("FE FE EE EF E3 36 20 00 00 FD");
const Bytes kConfirmation = Hex("FE FE EF EE E6 00 FD");

Bytes RadioRecord(const std::string& text) { return Cat(Hex("FE FE EF EE E4"), Ascii(text), Hex("FD")); }
Bytes RadioEnd(const std::string& count) { return Cat(Hex("FE FE EF EE E5"), Ascii("Tarn Inc." + count), Hex("FD")); }
Bytes ProgramRecord(const std::string& text) { return Cat(Hex("FE FE EE EF E4"), Ascii(text), Hex("FD")); }
Bytes ProgramEnd(const std::string& count) { return Cat(Hex("FE FE EE EF E5"), Ascii("Tarn Inc." + count), Hex("FD")); }

// Two 16-byte records of zeros at 0x0000 and 0x0010: checksums
// 0x100 - 0x10 and 0x100 - 0x20.
const Bytes kRecord0 = RadioRecord("000010" + Repeat("00", 16) + "F0");
const Bytes kRecord1 = RadioRecord("001010" + Repeat("00", 16) + "E0");

// Two pages of a write, 0x0200-0x02FF in 16-byte records of zeros; each
// checksum is 0x100 - (02 + low address + 10).
Bytes TwoPages() {
  const char* kChecksums[] = {"EE", "DE", "CE", "BE", "AE", "9E", "8E", "7E",
                              "6E", "5E", "4E", "3E", "2E", "1E", "0E", "FE"};
  Bytes all;
  for (int i = 0; i < 16; ++i) {
    char head[8];
    std::snprintf(head, sizeof head, "02%X010", i);
    all = Cat(all, ProgramRecord(head + Repeat("00", 16) + kChecksums[i]));
  }
  return all;
}

SimRadio MakeRadio(std::initializer_list<std::string_view> faults) {
  return SimRadio(SmallMemory(), WithFaults(SettingsWithTop(0x001F), faults));
}

TEST(FaultPlan, ParsesKindsAndNumbers) {
  struct Case {
    std::string text;
    Fault fault;
    int number;
  };
  const Case kCases[] = {
      {"silence-after:3", Fault::kSilenceAfter, 3},
      {"silence-after:0", Fault::kSilenceAfter, 0},
      {"hangup-after:12", Fault::kHangupAfter, 12},
      {"bad-checksum", Fault::kBadChecksum, 1},
      {"bad-checksum:5", Fault::kBadChecksum, 5},
      {"wrong-count", Fault::kWrongCount, 0},
      {"refuse", Fault::kRefuse, 1},
      {"refuse:2", Fault::kRefuse, 2},
      {"drop-fb", Fault::kDropGoOn, 1},
      {"drop-fb:4", Fault::kDropGoOn, 4},
      {"no-confirm", Fault::kNoConfirm, 0},
      {"garbage", Fault::kGarbage, 8},
      {"garbage:3", Fault::kGarbage, 3},
      {"store-wrong", Fault::kStoreWrong, 1},
      {"store-wrong:7", Fault::kStoreWrong, 7},
  };
  for (const Case& c : kCases) {
    FaultPlan plan;
    EXPECT_EQ(plan.Add(c.text), "") << c.text;
    EXPECT_TRUE(plan.Has(c.fault)) << c.text;
    EXPECT_EQ(plan.Number(c.fault), c.number) << c.text;
  }
}

TEST(FaultPlan, RefusesWhatItCannotUse) {
  const std::string kBad[] = {"",          "silence",     "silence-after", "silence-after:",   "silence-after:-1",
                              "refuse:0",  "refuse:x",    "refuse:1x",     "wrong-count:2",    "no-confirm:1",
                              "garbage:0", "garbage:257", "drop-fb:",      "hangup-after:1e3", "store-wrong:0"};
  for (const std::string& text : kBad) {
    FaultPlan plan;
    EXPECT_NE(plan.Add(text), "") << text;
  }
  FaultPlan twice;
  EXPECT_EQ(twice.Add("refuse"), "");
  EXPECT_NE(twice.Add("refuse:2"), "");
  EXPECT_EQ(twice.Number(Fault::kRefuse), 1);
}

TEST(FaultPlan, EveryKindIsListedOnce) {
  for (const FaultKind& kind : FaultKinds()) {
    int count = 0;
    for (const FaultKind& other : FaultKinds()) count += other.name == kind.name || other.fault == kind.fault;
    EXPECT_EQ(count, 1) << kind.name;
    EXPECT_FALSE(kind.help.empty()) << kind.name;
  }
}

TEST(RadioFaults, SilenceAfterNMessages) {
  SimRadio radio = MakeRadio({"silence-after:2"});
  Line line(radio);
  EXPECT_EQ(line.Exchange(kInfoRequest).size(), 88u);
  // The write request's go-on byte is the second message; then nothing.
  EXPECT_EQ(Show(line.Exchange(kWriteRequest)), "FB");
  EXPECT_EQ(Show(line.Exchange(kInfoRequest)), "");
  EXPECT_EQ(Show(line.Exchange(kReadRequest)), "");
}

TEST(RadioFaults, SilenceInTheMiddleOfARead) {
  SimRadio radio = MakeRadio({"silence-after:1"});
  EXPECT_EQ(Show(Line(radio).Exchange(kReadRequest)), Show(kRecord0));
}

TEST(RadioFaults, ASilentRadioStillEchoesThroughTheCable) {
  RadioSettings settings = WithFaults(SettingsWithTop(0x001F), {"silence-after:0"});
  settings.echo = true;
  SimRadio radio(SmallMemory(), settings);
  EXPECT_EQ(Show(Line(radio).Exchange(kInfoRequest)), Show(kInfoRequest));
}

TEST(RadioFaults, HangUpAfterNMessages) {
  RadioSettings settings = WithFaults(SettingsWithTop(0x001F), {"hangup-after:1"});
  settings.echo = true;
  SimRadio radio(SmallMemory(), settings);
  Line line(radio);
  EXPECT_FALSE(radio.HungUp());
  Bytes first = line.Exchange(kInfoRequest);
  EXPECT_EQ(first.size(), kInfoRequest.size() + 88u);
  EXPECT_TRUE(radio.HungUp());
  // The line is gone: not even the echo comes back.
  EXPECT_EQ(Show(line.Exchange(kInfoRequest)), "");
}

TEST(RadioFaults, HangUpAtOnce) {
  SimRadio radio = MakeRadio({"hangup-after:0"});
  EXPECT_TRUE(radio.HungUp());
  EXPECT_EQ(Show(Line(radio).Exchange(kInfoRequest)), "");
}

TEST(RadioFaults, BadChecksumOnTheNthRecordOfEachRead) {
  SimRadio radio = MakeRadio({"bad-checksum:2"});
  Line line(radio);
  Bytes expected = Cat(kRecord0, RadioRecord("001010" + Repeat("00", 16) + "E1"), RadioEnd("02"));
  EXPECT_EQ(Show(line.Exchange(kReadRequest)), Show(expected));
  EXPECT_EQ(Show(line.Exchange(kReadRequest)), Show(expected));
}

TEST(RadioFaults, BadChecksumOnTheFirstRecordByDefault) {
  SimRadio radio = MakeRadio({"bad-checksum"});
  EXPECT_EQ(Show(Line(radio).Exchange(kReadRequest)),
            Show(Cat(RadioRecord("000010" + Repeat("00", 16) + "F1"), kRecord1, RadioEnd("02"))));
}

TEST(RadioFaults, WrongCountAtTheEndOfData) {
  SimRadio radio = MakeRadio({"wrong-count"});
  EXPECT_EQ(Show(Line(radio).Exchange(kReadRequest)), Show(Cat(kRecord0, kRecord1, RadioEnd("03"))));
}

TEST(RadioFaults, RefuseTheWriteRequest) {
  SimRadio radio = MakeRadio({"refuse"});
  Line line(radio);
  EXPECT_EQ(Show(line.Exchange(kWriteRequest)), "FA");
  // The write is dropped: its records are neither stored nor paced.
  EXPECT_EQ(Show(line.Exchange(Cat(TwoPages(), ProgramEnd("10")))), "");
  EXPECT_EQ(radio.Memory().Byte(0x0200), 0);
}

TEST(RadioFaults, RefuseAtTheSecondFlowControlByte) {
  SimRadio radio = MakeRadio({"refuse:2"});
  Line line(radio);
  EXPECT_EQ(Show(line.Exchange(kWriteRequest)), "FB");
  EXPECT_EQ(Show(line.Exchange(Cat(TwoPages(), ProgramEnd("10")))), "FA");
}

TEST(RadioFaults, DropTheFirstGoOn) {
  SimRadio radio = MakeRadio({"drop-fb"});
  Line line(radio);
  EXPECT_EQ(Show(line.Exchange(kWriteRequest)), "");
  EXPECT_EQ(Show(line.Exchange(Cat(TwoPages(), ProgramEnd("10")))), Show(Cat(Hex("FB FB"), kConfirmation)));
}

TEST(RadioFaults, DropTheGoOnAfterTheFirstPage) {
  SimRadio radio = MakeRadio({"drop-fb:2"});
  Line line(radio);
  EXPECT_EQ(Show(line.Exchange(kWriteRequest)), "FB");
  EXPECT_EQ(Show(line.Exchange(Cat(TwoPages(), ProgramEnd("10")))), Show(Cat(Hex("FB"), kConfirmation)));
}

TEST(RadioFaults, CountsStartAgainWithEachWrite) {
  SimRadio radio = MakeRadio({"drop-fb:2"});
  Line line(radio);
  for (int write = 0; write < 2; ++write) {
    EXPECT_EQ(Show(line.Exchange(Cat(kWriteRequest, TwoPages(), ProgramEnd("10")))),
              Show(Cat(Hex("FB FB"), kConfirmation)));
  }
}

TEST(RadioFaults, NoConfirmationThoughTheWriteIsTaken) {
  SimRadio radio = MakeRadio({"no-confirm"});
  int calls = 0;
  radio.SetWriteListener([&](const RadioMemory&) { ++calls; });
  EXPECT_EQ(Show(Line(radio).Exchange(Cat(kWriteRequest, ProgramRecord("0010020102EB"), ProgramEnd("01")))), "FB");
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(radio.Memory().Byte(0x0011), 2);
}

TEST(RadioFaults, StoreWrongInvertsTheFirstByteOfTheNthRecordOfEachWriteAndStillConfirms) {
  SimRadio radio = MakeRadio({"store-wrong:2"});
  Line line(radio);
  for (int write = 0; write < 2; ++write) {
    SCOPED_TRACE(write);
    EXPECT_EQ(Show(line.Exchange(Cat(kWriteRequest, TwoPages(), ProgramEnd("10")))),
              Show(Cat(Hex("FB FB FB"), kConfirmation)));
    EXPECT_EQ(radio.Memory().Byte(0x0200), 0x00);
    EXPECT_EQ(radio.Memory().Byte(0x0210), 0xFF);
    EXPECT_EQ(radio.Memory().Byte(0x0211), 0x00);
    EXPECT_EQ(radio.Memory().Byte(0x0220), 0x00);
  }
}

TEST(RadioFaults, GarbageBeforeEveryMessage) {
  SimRadio radio = MakeRadio({"garbage:3"});
  Line line(radio);
  Bytes reply = line.Exchange(kInfoRequest);
  ASSERT_EQ(reply.size(), 3u + 88u);
  EXPECT_EQ(Show(Bytes(reply.begin(), reply.begin() + 8)), "00 FF 55 FE FE EF EE E1");
  // The noise goes on where it left off, before the go-on byte too.
  EXPECT_EQ(Show(line.Exchange(kWriteRequest)), "AA FD 0D FB");
}

TEST(RadioFaults, GarbageNeverLooksLikeAFrameStartOrFlowControl) {
  SimRadio radio = MakeRadio({"garbage:256"});
  Bytes reply = Line(radio).Exchange(kWriteRequest);
  ASSERT_EQ(reply.size(), 257u);
  for (std::size_t i = 0; i + 1 < reply.size(); ++i) {
    EXPECT_NE(reply[i], 0xFE);
    EXPECT_NE(reply[i], 0xFB);
    EXPECT_NE(reply[i], 0xFA);
  }
  EXPECT_EQ(reply.back(), 0xFB);
}

}  // namespace
