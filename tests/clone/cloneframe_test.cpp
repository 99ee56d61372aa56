#include "clone/cloneframe.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Of(const cmcBuff& buffer) { return Bytes(buffer.Bytes().begin(), buffer.Bytes().end()); }

Bytes Ascii(std::string_view text) { return Bytes(text.begin(), text.end()); }

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST(CloneFrameTest, RequestsCarryTheirPreambleCommandAndBothParameters) {
  struct Case {
    cloneframe::Command command;
    std::uint16_t a, b;
    int preamble;
    Bytes expected;
  };
  const Case cases[] = {
      {cloneframe::Command::kInformationRequest,
       0x3620,
       0x0106,
       0,
       {0xFE, 0xFE, 0xEE, 0xEF, 0xE0, 0x36, 0x20, 0x01, 0x06, 0xFD}},
      {cloneframe::Command::kReadRequest,
       0x0000,
       0xABCD,
       2,
       {0xFE, 0xFE, 0xFE, 0xFE, 0xEE, 0xEF, 0xE2, 0x00, 0x00, 0xAB, 0xCD, 0xFD}},
      {cloneframe::Command::kWriteRequest,
       0xFFFF,
       0x0001,
       1,
       {0xFE, 0xFE, 0xFE, 0xEE, 0xEF, 0xE3, 0xFF, 0xFF, 0x00, 0x01, 0xFD}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Of(cloneframe::Request(c.command, c.a, c.b, c.preamble)), c.expected);
  }
}

TEST(CloneFrameTest, TheChecksumMakesTheRecordSumToZero) {
  const std::uint8_t data[] = {0x01, 0x02};
  EXPECT_EQ(cloneframe::RecordChecksum(0x0010, data), 0xEB);
  const std::uint8_t ff[] = {0xFF, 0xFF, 0xFF};
  // 0x34 + 0x12 + 3 + 3 * 0xFF = 0x346 -> 0x100 - 0x46
  EXPECT_EQ(cloneframe::RecordChecksum(0x1234, ff), 0xBA);
}

TEST(CloneFrameTest, ADataRecordIsAsciiHexBetweenItsHeaderAndEnd) {
  const std::uint8_t data[] = {0x01, 0x02};
  EXPECT_EQ(Of(cloneframe::DataRecord(0x0010, data, 0)), Join({{0xFE, 0xFE, 0xEE, 0xEF, 0xE4},
                                                               Ascii("00100201"
                                                                     "02EB"),
                                                               {0xFD}}));
  const std::uint8_t one[] = {0xAB};
  EXPECT_EQ(Of(cloneframe::DataRecord(0x7D7F, one, 3)), Join({{0xFE, 0xFE, 0xFE, 0xFE, 0xFE, 0xEE, 0xEF, 0xE4},
                                                              Ascii("7D7F01AB"
                                                                    "58"),
                                                              {0xFD}}));
}

TEST(CloneFrameTest, EndOfDataCarriesTheMakerTextAndTheCountModulo256) {
  const Bytes head = {0xFE, 0xFE, 0xEE, 0xEF, 0xE5, 0x54, 0x61, 0x72, 0x6E, 0x20, 0x49, 0x6E, 0x63, 0x2E};
  EXPECT_EQ(Of(cloneframe::EndOfData(std::nullopt)), Join({head, {0xFD}}));
  EXPECT_EQ(Of(cloneframe::EndOfData(1976)), Join({head, Ascii("B8"), {0xFD}}));
  EXPECT_EQ(Of(cloneframe::EndOfData(10)), Join({head, Ascii("0A"), {0xFD}}));
  EXPECT_EQ(cloneframe::EndOfDataText(256), "Tarn Inc.00");
}

TEST(CloneFrameTest, AnAdjustmentCommandSendsItsValueAsTwoAsciiDigits) {
  EXPECT_EQ(Of(cloneframe::AdjustCommand(0x3620, 0x0000, 0x13, 0x3C)),
            (Bytes{0xFE, 0xFE, 0xEE, 0xEF, 0xE8, 0x36, 0x20, 0x00, 0x00, 0x13, 0x33, 0x43, 0xFD}));
}

}  // namespace
