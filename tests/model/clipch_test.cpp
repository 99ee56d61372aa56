#include "model/clipch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "channel_images.h"
#include "model/chlayout.h"

namespace {

using channelimages::kAliasTable;
using channelimages::kKind;
using ClipImage = channelimages::Images;

TEST(ChannelClipboard, CopyHoldsTheRecordsAndPasteStoresThemElsewhere) {
  ClipImage fixture;
  datCh listed = fixture.Channel(1);
  listed.setInList(3, true);
  listed.store();
  datClipCh clip;
  ASSERT_TRUE(clip.copy(fixture.image, kKind, 1, 2));
  EXPECT_EQ(clip.kind(), kKind);
  EXPECT_EQ(clip.first(), 1);
  EXPECT_EQ(clip.count(), 2);
  // The records are copies: later changes of the image do not reach them.
  datCh changed = fixture.Channel(1);
  changed.name = "OTHER";
  changed.store();
  EXPECT_EQ(clip.paste(fixture.image, kKind, 4, 5), 2);
  EXPECT_EQ(fixture.Name(4), "CH1");
  EXPECT_EQ(fixture.Name(5), "CH2");
  EXPECT_EQ(fixture.Name(6), "CH6");
  EXPECT_EQ(fixture.Channel(4).freqR, 446001000u);
  EXPECT_TRUE(fixture.Channel(4).inList(3));
  EXPECT_FALSE(fixture.Channel(5).inList(3));
  // A count below the records held stores only that many.
  EXPECT_EQ(clip.paste(fixture.image, kKind, 6, 1), 1);
  EXPECT_EQ(fixture.Name(6), "CH1");
}

TEST(ChannelClipboard, HoldsOnlyWholeRangesOfOneKind) {
  ClipImage fixture;
  datClipCh clip;
  struct Case {
    int kind;
    int first;
    int count;
    bool held;
  };
  const Case cases[] = {{kKind, 0, 1, true},
                        {kKind, 127, 1, true},
                        {kKind, 127, 2, false},
                        {kKind, -1, 2, false},
                        {kKind, 0, 0, false},
                        {kKind, 0, 2147483647, false},
                        {5, 0, 1, false},
                        {recordkind::kAlias, 99, 1, true},
                        {recordkind::kAlias, 99, 2, false}};
  for (const Case& c : cases) {
    EXPECT_EQ(clip.copy(fixture.image, c.kind, c.first, c.count), c.held) << c.kind << ' ' << c.first;
    EXPECT_EQ(clip.kind(), c.held ? c.kind : 0);
    EXPECT_EQ(clip.canPaste(c.kind), c.held);
    EXPECT_FALSE(clip.canPaste(c.kind == kKind ? 3 : kKind));
  }
  clip.clear();
  EXPECT_EQ(clip.paste(fixture.image, kKind, 0, 1), 0);
}

// The A marker of channel 0 and the B marker of channel 2 against storing
// channel 0 onto channel 2, with and without keeping the target's attributes.
TEST(ChannelClipboard, MarkersTravelWithTheRecordUnlessTheTargetKeepsItsOwn) {
  struct Case {
    bool keep;
    int a;
    int b;
    std::string letters2;
  };
  const Case cases[] = {{true, 0, 2, "B"}, {false, 2, 2, "AB"}};
  for (const Case& c : cases) {
    ClipImage fixture;
    fixture.image.SetByte(chlayout::kAtrA, 0);
    fixture.image.SetByte(chlayout::kAtrB, 2);
    datClipCh clip;
    clip.setKeepTargetAttributes(c.keep);
    ClipRecord record;
    ASSERT_TRUE(clip.loadOne(fixture.image, kKind, 0, record));
    ASSERT_TRUE(clip.storeOne(fixture.image, kKind, 2, record));
    EXPECT_EQ(fixture.Name(2), "CH0");
    EXPECT_EQ(fixture.image.GetByte(chlayout::kAtrA), c.a) << c.keep;
    EXPECT_EQ(fixture.image.GetByte(chlayout::kAtrB), c.b) << c.keep;
    EXPECT_EQ(fixture.Channel(2).atrLetters(), c.letters2) << c.keep;
  }
}

TEST(ChannelClipboard, TheBankFlagAndTheEStateStayWithThePosition) {
  ClipImage fixture;
  datCh::SetBankFlag(fixture.image, 0, true);
  fixture.image.SetByte(chlayout::kAtrE, 6);
  fixture.image.SetByte(chlayout::kAtrEActive, 0);  // no E channel while the record is copied
  datClipCh clip;
  ClipRecord flagged;
  ASSERT_TRUE(clip.loadOne(fixture.image, kKind, 1, flagged));
  fixture.image.SetByte(chlayout::kAtrEActive, chlayout::kAtrEActiveBit);
  ASSERT_TRUE(clip.storeOne(fixture.image, kKind, 5, flagged));  // bank 0 to bank 1
  EXPECT_TRUE(datCh::BankFlag(fixture.image, 0));
  EXPECT_FALSE(datCh::BankFlag(fixture.image, 1));
  EXPECT_EQ(fixture.Channel(6).atrLetters(), "E");
  ClipRecord unflagged;
  ASSERT_TRUE(clip.loadOne(fixture.image, kKind, 6, unflagged));
  ASSERT_TRUE(clip.storeOne(fixture.image, kKind, 0, unflagged));
  EXPECT_TRUE(datCh::BankFlag(fixture.image, 0));
  EXPECT_EQ(fixture.Channel(0).atrLetters(), "E");  // the E marker came with channel 6
}

TEST(ChannelClipboard, AliasEntriesAreCopiedAsTheirBytes) {
  ClipImage fixture;
  for (int i = 0; i < 12; ++i) {
    fixture.image.SetByte(kAliasTable + i, static_cast<std::uint8_t>(0x40 + i));
    fixture.image.SetByte(kAliasTable + 12 + i, static_cast<std::uint8_t>(0x60 + i));
  }
  datClipCh clip;
  ASSERT_TRUE(clip.copy(fixture.image, recordkind::kAlias, 0, 2));
  EXPECT_EQ(clip.paste(fixture.image, recordkind::kAlias, 98, 5), 2);
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(fixture.image.GetByte(kAliasTable + 12 * 98 + i), 0x40 + i);
    EXPECT_EQ(fixture.image.GetByte(kAliasTable + 12 * 99 + i), 0x60 + i);
  }
  // Entry 100 lies past the table: a paste stops at its end.
  EXPECT_EQ(clip.paste(fixture.image, recordkind::kAlias, 99, 2), 1);
  EXPECT_EQ(fixture.image.GetByte(kAliasTable + 12 * 100), 0);
}

}  // namespace
