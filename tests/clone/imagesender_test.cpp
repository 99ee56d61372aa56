#include "clone/imagesender.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Address and length of each record, read back from its ASCII text.
struct Sent {
  int address;
  int length;
  bool flowPoint;
  friend bool operator==(const Sent&, const Sent&) = default;
};

std::vector<Sent> SendAll(ImageSender& sender, const cmcEeprom& image) {
  std::vector<Sent> sent;
  while (sender.BuildNext(image) == ImageSender::Build::kBuilt) {
    const auto bytes = sender.Waiting().Bytes();
    std::size_t i = 0;
    while (bytes[i] == 0xFE) ++i;
    const std::string text(bytes.begin() + static_cast<std::ptrdiff_t>(i + 3), bytes.end());
    const int address = std::stoi(text.substr(0, 4), nullptr, 16);
    const int length = std::stoi(text.substr(4, 2), nullptr, 16);
    EXPECT_EQ(length, sender.LastLength());
    sent.push_back({address, length, sender.Handed()});
  }
  return sent;
}

TEST(ImageSenderTest, RecordsNeverCrossASixteenByteBoundary) {
  cmcEeprom image(0x100);
  ImageSender sender;
  sender.Begin({{0x0000, 0x0023}}, 0, 0, {});
  EXPECT_EQ(SendAll(sender, image), (std::vector<Sent>{{0x00, 16, false}, {0x10, 16, false}, {0x20, 4, false}}));
  sender.Begin({{0x0008, 0x001F}, {0x0040, 0x0041}}, 0, 0, {});
  EXPECT_EQ(SendAll(sender, image), (std::vector<Sent>{{0x08, 8, false}, {0x10, 16, false}, {0x40, 2, false}}));
}

TEST(ImageSenderTest, FlowControlPointsFallWhereAddressModIntervalIsTheOffset) {
  cmcEeprom image(0x200);
  ImageSender sender;
  sender.Begin({{0x0000, 0x00BF}}, 0, 0, {64, 0});
  const std::vector<Sent> sent = SendAll(sender, image);
  ASSERT_EQ(sent.size(), 12u);
  for (std::size_t i = 0; i < sent.size(); ++i) EXPECT_EQ(sent[i].flowPoint, i == 3 || i == 7 || i == 11) << i;

  sender.Begin({{0x0040, 0x005F}}, 0, 0, {64, 0});
  EXPECT_FALSE(SendAll(sender, image)[0].flowPoint) << "not at the start of a range";
  sender.Begin({{0x0000, 0x003F}}, 0, 0, {32, 16});
  const std::vector<Sent> offset = SendAll(sender, image);
  EXPECT_EQ(offset, (std::vector<Sent>{{0x00, 16, true}, {0x10, 16, false}, {0x20, 16, true}, {0x30, 16, false}}));
}

TEST(ImageSenderTest, TheFirstRecordHasItsOwnPreamble) {
  cmcEeprom image(0x40);
  ImageSender sender;
  sender.Begin({{0, 0x1F}}, 3, 1, {});
  ASSERT_EQ(sender.BuildNext(image), ImageSender::Build::kBuilt);
  EXPECT_EQ(sender.Waiting().Bytes().size(), 3u + 5 + 40 + 1);
  sender.Handed();
  ASSERT_EQ(sender.BuildNext(image), ImageSender::Build::kBuilt);
  EXPECT_EQ(sender.Waiting().Bytes().size(), 1u + 5 + 40 + 1);
}

TEST(ImageSenderTest, ARangeOutsideTheImageIsRefused) {
  cmcEeprom image(0x20);
  ImageSender sender;
  sender.Begin({{0x10, 0x2F}}, 0, 0, {});
  EXPECT_EQ(sender.BuildNext(image), ImageSender::Build::kBuilt);
  sender.Handed();
  EXPECT_EQ(sender.BuildNext(image), ImageSender::Build::kOutsideImage);
  sender.Begin({{-16, 0x0F}}, 0, 0, {});
  EXPECT_EQ(sender.BuildNext(image), ImageSender::Build::kOutsideImage);
}

}  // namespace
