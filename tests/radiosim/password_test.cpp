// The clone password: stored in the memory, announced in the identification,
// and asked for before a read or write.

#include <gtest/gtest.h>

#include <string>

#include "radio_harness.h"

namespace {

const Bytes kInfoRequest = Hex("FE FE EE EF E0 36 20 00 00 FD");
const Bytes kReadRequest = Hex("FE FE EE EF E2 36 20 01 06 FD");
const Bytes kWriteRequest = Hex("FE FE EE EF E3 36 20 00 00 FD");
const Bytes kRecordStart = Hex("FE FE EF EE E4");

// The password command for "AB": the record 02 (length), 7D (0x100 - (41 + 42)),
// 41 42, as hexadecimal text "027D4142" sent character by character.
const Bytes kRightPassword = Cat(Hex("FE FE EE EF E8 36 20 00 00 99"), Ascii("027D4142"), Hex("FD"));
// "AC": 0x100 - (41 + 43) = 7C; a well-made record of the wrong word.
const Bytes kWrongPassword = Cat(Hex("FE FE EE EF E8 36 20 00 00 99"), Ascii("027C4143"), Hex("FD"));
// "AB" with its checksum one off, and with a length that does not match.
const Bytes kBadChecksum = Cat(Hex("FE FE EE EF E8 36 20 00 00 99"), Ascii("027E4142"), Hex("FD"));
const Bytes kBadLength = Cat(Hex("FE FE EE EF E8 36 20 00 00 99"), Ascii("037D4142"), Hex("FD"));
const Bytes kLowerCase = Cat(Hex("FE FE EE EF E8 36 20 00 00 99"), Ascii("027d4142"), Hex("FD"));

bool StartsARead(const Bytes& out) {
  return out.size() > kRecordStart.size() && std::equal(kRecordStart.begin(), kRecordStart.end(), out.begin());
}

RadioSettings Short(bool writeOnly = false) {
  RadioSettings settings = SettingsWithTop(0x000F);
  settings.traits.passwordForWriteOnly = writeOnly;
  return settings;
}

class PasswordTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { memory_ = new RadioMemory(MemoryWithPassword("AB", "HELLO")); }
  static void TearDownTestSuite() {
    delete memory_;
    memory_ = nullptr;
  }
  static RadioMemory* memory_;
};
RadioMemory* PasswordTest::memory_ = nullptr;

TEST_F(PasswordTest, TheMemoryCarriesIt) {
  EXPECT_EQ(memory_->ClonePassword(), "AB");
  EXPECT_EQ(memory_->Comment(0), "HELLO           ");
}

TEST_F(PasswordTest, InformationNeedsNoPasswordAndAnnouncesIt) {
  SimRadio radio(*memory_, Short());
  Bytes reply = Line(radio).Exchange(kInfoRequest);
  ASSERT_EQ(reply.size(), 88u);
  // Identification byte n is reply byte 9 + n.
  EXPECT_EQ(reply[9 + 53], 0x08);
  EXPECT_EQ(Show(Bytes(reply.begin() + 9 + 2, reply.begin() + 9 + 18)), Show(Ascii("HELLO" + std::string(11, ' '))));
}

TEST_F(PasswordTest, WriteOnlyIsAnnouncedToo) {
  SimRadio radio(*memory_, Short(true));
  Bytes reply = Line(radio).Exchange(kInfoRequest);
  ASSERT_EQ(reply.size(), 88u);
  EXPECT_EQ(reply[9 + 53], 0x18);
}

TEST_F(PasswordTest, ARequestWithoutItIsIgnored) {
  SimRadio radio(*memory_, Short());
  Line line(radio);
  EXPECT_EQ(Show(line.Exchange(kReadRequest)), "");
  EXPECT_EQ(Show(line.Exchange(kWriteRequest)), "");
}

TEST_F(PasswordTest, TheRightOneOpensOneRequest) {
  SimRadio radio(*memory_, Short());
  Line line(radio);
  EXPECT_EQ(Show(line.Exchange(kRightPassword)), "");
  EXPECT_TRUE(StartsARead(line.Exchange(kReadRequest)));
  EXPECT_EQ(Show(line.Exchange(kReadRequest)), "");
  line.Exchange(kRightPassword);
  EXPECT_EQ(Show(line.Exchange(kWriteRequest)), "FB");
}

TEST_F(PasswordTest, TheWholePreparationBeforeARead) {
  SimRadio radio(*memory_, Short());
  Line line(radio);
  Bytes preparation = Cat(Hex(Repeat("FE", 20)), Hex("FE FE EE EF E8 36 20 00 00 01 32 37 FD"), kRightPassword,
                          Hex("FE FE EE EF E8 36 20 00 00 55 30 30 FD"),
                          Hex(Repeat("FE", 20) + "FE FE EE EF E8 36 20 00 00 01 30 39 FD"));
  EXPECT_EQ(Show(line.Exchange(preparation)), "");
  // The echo test of the program and the request's preamble come between.
  EXPECT_TRUE(StartsARead(line.Exchange(Cat(Hex("FE FE FE FE"), Hex(Repeat("FE", 48)), kReadRequest))));
}

TEST_F(PasswordTest, AWrongOneIsRefused) {
  for (const Bytes& command : {kWrongPassword, kBadChecksum, kBadLength}) {
    SimRadio radio(*memory_, Short());
    Line line(radio);
    line.Exchange(command);
    EXPECT_EQ(Show(line.Exchange(kReadRequest)), "") << Show(command);
  }
}

TEST_F(PasswordTest, AWrongOneAfterTheRightOneLocksAgain) {
  SimRadio radio(*memory_, Short());
  Line line(radio);
  line.Exchange(Cat(kRightPassword, kWrongPassword));
  EXPECT_EQ(Show(line.Exchange(kReadRequest)), "");
}

TEST_F(PasswordTest, LowerCaseHexadecimalIsTheSamePassword) {
  SimRadio radio(*memory_, Short());
  Line line(radio);
  line.Exchange(kLowerCase);
  EXPECT_TRUE(StartsARead(line.Exchange(kReadRequest)));
}

TEST_F(PasswordTest, WriteOnlyLetsAReadThrough) {
  SimRadio radio(*memory_, Short(true));
  Line line(radio);
  EXPECT_TRUE(StartsARead(line.Exchange(kReadRequest)));
  EXPECT_EQ(Show(line.Exchange(kWriteRequest)), "");
  line.Exchange(kRightPassword);
  EXPECT_EQ(Show(line.Exchange(kWriteRequest)), "FB");
}

TEST(PasswordAbsent, RequestsNeedNoneAndAPasswordCommandChangesNothing) {
  SimRadio radio(MemoryWithPassword(""), SettingsWithTop(0x000F));
  Line line(radio);
  Bytes reply = line.Exchange(kInfoRequest);
  ASSERT_EQ(reply.size(), 88u);
  EXPECT_EQ(reply[9 + 53], 0x00);
  EXPECT_TRUE(StartsARead(line.Exchange(kReadRequest)));
  line.Exchange(kWrongPassword);
  EXPECT_TRUE(StartsARead(line.Exchange(kReadRequest)));
}

// A write that sets a password: the next read asks for it.
TEST(PasswordAbsent, AWrittenPasswordTakesEffect) {
  RadioMemory withPassword = MemoryWithPassword("AB");
  SimRadio radio(MemoryWithPassword(""), SettingsWithTop(0x000F));
  Line line(radio);
  // The program's write: every byte of the new image in 16-byte records (the
  // radio's own record builder is not used here), then the end.
  Bytes write = kWriteRequest;
  static constexpr char kDigits[] = "0123456789ABCDEF";
  int records = 0;
  for (int address = 0; address < RadioMemory::kSize; address += 16, ++records) {
    std::string text;
    unsigned sum = static_cast<unsigned>((address >> 8) + (address & 0xFF) + 16);
    auto put = [&](unsigned byte) {
      text += kDigits[byte >> 4];
      text += kDigits[byte & 15];
    };
    put(static_cast<unsigned>(address >> 8));
    put(static_cast<unsigned>(address & 0xFF));
    put(16);
    for (int i = 0; i < 16; ++i) {
      unsigned byte = withPassword.Byte(address + i);
      sum += byte;
      put(byte);
    }
    put((0x100 - (sum & 0xFF)) & 0xFF);
    write = Cat(write, Hex("FE FE EE EF E4"), Ascii(text), Hex("FD"));
  }
  char count[3];
  std::snprintf(count, sizeof count, "%02X", records & 0xFF);
  line.Exchange(Cat(write, Hex("FE FE EE EF E5"), Ascii(std::string("Tarn Inc.") + count), Hex("FD")));
  EXPECT_EQ(radio.Memory().ClonePassword(), "AB");
  EXPECT_EQ(Show(line.Exchange(kReadRequest)), "");
  line.Exchange(kRightPassword);
  EXPECT_TRUE(StartsARead(line.Exchange(kReadRequest)));
}

}  // namespace
