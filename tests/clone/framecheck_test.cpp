#include "clone/framecheck.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "clone/frameassembler.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A frame as the receiver keeps it: FE EF EE, the command, the body.
Bytes Frame(std::uint8_t command, std::string_view body) {
  Bytes frame = {0xFE, 0xEF, 0xEE, command};
  frame.insert(frame.end(), body.begin(), body.end());
  return frame;
}

TEST(FrameAssemblerTest, APreambleRestartsTheFrameAndBytesOutsideAFrameAreDropped) {
  FrameAssembler assembler;
  std::vector<Bytes> frames;
  const Bytes line = {0x11, 0xFD, 0xFE, 0xFE, 0xEF, 0xEE, 0xE6, 0x00, 0xFD, 0x22, 0xFE, 0x01, 0xFE, 0x02, 0xFD};
  for (std::uint8_t byte : line) {
    if (assembler.Push(byte) == FrameAssembler::Event::kFrame) {
      frames.emplace_back(assembler.Frame().begin(), assembler.Frame().end());
    }
  }
  EXPECT_EQ(frames, (std::vector<Bytes>{{0xFE, 0xEF, 0xEE, 0xE6, 0x00}, {0xFE, 0x02}}));
}

TEST(FrameAssemblerTest, AFrameOfTheLongestSizeIsKeptAndOneByteMoreDropsIt) {
  FrameAssembler assembler;
  assembler.Push(0xFE);
  for (std::size_t i = 1; i < cloneframe::kMaxFrame; ++i) ASSERT_EQ(assembler.Push('0'), FrameAssembler::Event::kNone);
  EXPECT_EQ(assembler.PartialLength(), 522u);
  EXPECT_EQ(assembler.Push(0xFD), FrameAssembler::Event::kFrame);
  EXPECT_EQ(assembler.Frame().size(), 522u);

  assembler.Push(0xFE);
  for (std::size_t i = 1; i < cloneframe::kMaxFrame; ++i) assembler.Push('0');
  EXPECT_EQ(assembler.Push('0'), FrameAssembler::Event::kOverlong);
  EXPECT_EQ(assembler.PartialLength(), 0u);
  EXPECT_EQ(assembler.Push('0'), FrameAssembler::Event::kNone) << "dropped until the next preamble";
  EXPECT_EQ(assembler.Push(0xFD), FrameAssembler::Event::kNone);
}

TEST(FrameCheckTest, DataRecordsAreDecodedOrRefused) {
  struct Case {
    std::string body;
    CloneCode code;
  };
  const Case cases[] = {
      {"0010020102EB", CloneCode::kSuccess},    {"0010020102EC", CloneCode::kBadFrame},  // checksum
      {"0010020102eb", CloneCode::kBadFrame},                                            // lower case
      {"00100301020300", CloneCode::kBadFrame},  // odd number of data bytes: not in groups of four
      {"0010030102EB", CloneCode::kBadFrame},    // length byte says 3, two present
      {"001002010GEB", CloneCode::kBadFrame},    // not hexadecimal
      {"001000F0", CloneCode::kSuccess},         // no data
  };
  for (const Case& c : cases) {
    framecheck::DataRecord record;
    EXPECT_EQ(framecheck::DecodeDataRecord(Frame(0xE4, c.body), record), c.code) << c.body;
  }
  framecheck::DataRecord record;
  ASSERT_EQ(framecheck::DecodeDataRecord(Frame(0xE4, "0010020102EB"), record), CloneCode::kSuccess);
  EXPECT_EQ(record.address, 0x0010);
  EXPECT_EQ(Bytes(record.Data().begin(), record.Data().end()), (Bytes{0x01, 0x02}));
}

TEST(FrameCheckTest, TheLongestEvenRecordFitsTheFrame) {
  std::string body = "0100FE";
  unsigned sum = 0x01 + 0xFE;
  for (int i = 0; i < 254; ++i) {
    body += "5A";
    sum += 0x5A;
  }
  const char* digits = "0123456789ABCDEF";
  const unsigned check = (0x100 - (sum & 0xFF)) & 0xFF;
  body += digits[check >> 4];
  body += digits[check & 0xF];
  const Bytes frame = Frame(0xE4, body);
  EXPECT_EQ(frame.size(), 520u);
  EXPECT_TRUE(framecheck::IsReadFrame(frame));
  framecheck::DataRecord record;
  EXPECT_EQ(framecheck::DecodeDataRecord(frame, record), CloneCode::kSuccess);
  EXPECT_EQ(record.length, 254u);
}

TEST(FrameCheckTest, ReadFramesMustBeOfAReadLengthFromTheRadio) {
  EXPECT_FALSE(framecheck::IsReadFrame(Frame(0xE4, "0010000")));  // 11 bytes
  EXPECT_TRUE(framecheck::IsReadFrame(Frame(0xE4, "00100000")));
  Bytes wrongSource = Frame(0xE4, "00100000");
  wrongSource[2] = 0xEF;
  EXPECT_FALSE(framecheck::IsReadFrame(wrongSource));
  EXPECT_FALSE(framecheck::IsReadFrame(Bytes(523, 0x30)));
}

TEST(FrameCheckTest, EndOfDataComparesTheMakerTextThenTheCount) {
  EXPECT_EQ(framecheck::CheckEndOfData(Frame(0xE5, "Tarn Inc.0A"), 10), CloneCode::kSuccess);
  EXPECT_EQ(framecheck::CheckEndOfData(Frame(0xE5, "Tarn Inc.0B"), 10), CloneCode::kFrameCountMismatch);
  EXPECT_EQ(framecheck::CheckEndOfData(Frame(0xE5, "Tarn Inc.0a"), 10), CloneCode::kFrameCountMismatch);
  EXPECT_EQ(framecheck::CheckEndOfData(Frame(0xE5, "Tarn Inc,0A"), 10), CloneCode::kBadFrame);
  EXPECT_EQ(framecheck::CheckEndOfData(Frame(0xE5, "Tarn Inc.0A"), std::nullopt), CloneCode::kBadFrame);
  EXPECT_EQ(framecheck::CheckEndOfData(Frame(0xE5, "Tarn Inc."), std::nullopt), CloneCode::kSuccess);
  EXPECT_EQ(framecheck::CheckEndOfData(Frame(0xE5, "Tarn Inc."), 0), CloneCode::kBadFrame);
  EXPECT_EQ(framecheck::CheckEndOfData(Frame(0xE4, "Tarn Inc.00"), 0), CloneCode::kBadFrame);
}

TEST(FrameCheckTest, AnInformationReplyNeedsPackedBcdNumbers) {
  Bytes frame = {0xFE, 0xEF, 0xEE, 0xE1, 0x36, 0x20, 0x01, 0x06, 78, 1, 2};
  framecheck::InformationReply reply;
  ASSERT_EQ(framecheck::DecodeInformationReply(frame, reply), CloneCode::kSuccess);
  EXPECT_EQ(reply.a, 0x3620);
  EXPECT_EQ(reply.b, 0x0106);
  EXPECT_EQ(Bytes(reply.identification.begin(), reply.identification.end()), (Bytes{78, 1, 2}));
  for (std::size_t i = 4; i < 8; ++i) {
    for (std::uint8_t bad : {0x0A, 0xA0}) {
      Bytes wrong = frame;
      wrong[i] = bad;
      EXPECT_EQ(framecheck::DecodeInformationReply(wrong, reply), CloneCode::kBadFrame) << i;
    }
  }
  EXPECT_EQ(framecheck::DecodeInformationReply(Bytes(frame.begin(), frame.begin() + 7), reply), CloneCode::kBadFrame);
  EXPECT_EQ(framecheck::DecodeInformationReply(Bytes{0x00}, reply), CloneCode::kBadFrame);
}

TEST(FrameCheckTest, OnlyTheExactConfirmationConfirms) {
  EXPECT_TRUE(framecheck::IsWriteConfirmation(Bytes{0xFE, 0xEF, 0xEE, 0xE6, 0x00}));
  EXPECT_FALSE(framecheck::IsWriteConfirmation(Bytes{0xFE, 0xEF, 0xEE, 0xE6, 0x01}));
  EXPECT_FALSE(framecheck::IsWriteConfirmation(Bytes{0xFE, 0xEF, 0xEE, 0xE6, 0x00, 0x00}));
  EXPECT_FALSE(framecheck::IsWriteConfirmation(Bytes{0xFE, 0xEE, 0xEF, 0xE6, 0x00}));
}

}  // namespace
