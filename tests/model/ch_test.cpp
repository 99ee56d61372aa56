#include "model/ch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "markup/cellnames.h"
#include "model/chlayout.h"
#include "model/memorymap.h"

namespace {

constexpr int kRadio = 0x7F80, kSetting = 0x8CF4, kOption = 0xA24A, kBitmaps = 0x8AA0;

int RadioAt(int channel) { return kRadio + 22 * channel; }
int SettingAt(int channel) { return kSetting + 20 * channel; }
int OptionAt(int channel) { return kOption + 14 * channel; }

std::uint32_t Read32(const cmcEeprom& image, int at) {
  return static_cast<std::uint32_t>(image.GetWord(at)) << 16 | image.GetWord(at + 2);
}
void Write32(cmcEeprom& image, int at, std::uint32_t value) {
  image.SetWord(at, static_cast<std::uint16_t>(value >> 16));
  image.SetWord(at + 2, static_cast<std::uint16_t>(value));
}

void SetBanks(cmcEeprom& image, std::vector<int> sizes) {
  for (int bank = 0; bank < static_cast<int>(sizes.size()); ++bank) datCh::SetBankSize(image, bank, sizes[bank]);
}

struct ChannelImage {
  cmcEeprom image{cmcEeprom::kImageSize};
  ChannelImage() { SetBanks(image, {16}); }
};

// Each named field at the place the radio keeps it: the byte value written
// into the slot and the field value load must give.
struct PlaceCase {
  int datCh::*member;
  int slotBase;
  int byte;
  std::uint8_t raw;
  int value;
  unsigned kinds;
};

const PlaceCase kPlaces[] = {
    {&datCh::inh, kRadio, 0, 0x80, 1, 0x1E},
    {&datCh::dup, kSetting, 8, 0x80, 2, 0x1E},
    {&datCh::dup, kSetting, 8, 0x40, 1, 0x1E},
    {&datCh::reverse, kSetting, 8, 0x20, 1, 0x1E},
    {&datCh::txInh, kSetting, 8, 0x10, 1, 0x1E},
    {&datCh::ts, kSetting, 9, 0x07, 7, 0x1E},
    {&datCh::tone, kSetting, 10, 0x40, 4, 0x1E},
    {&datCh::dtcsPolarity, kSetting, 10, 0x0C, 3, 0x1E},
    {&datCh::rfPo, kSetting, 10, 0x02, 2, 0x1E},
    {&datCh::toneFreq, kSetting, 11, 0x2A, 42, 0x1E},
    {&datCh::tsqlFreq, kSetting, 12, 0x31, 49, 0x1E},
    {&datCh::dtcs, kSetting, 13, 0x68, 104, 0x1E},
    {&datCh::pwrSave, kOption, 0, 0x80, 1, 0x1E},
    {&datCh::tot, kOption, 0, 0x10, 1, 0x1E},
    {&datCh::lockout, kOption, 0, 0x08, 2, 0x1E},
    {&datCh::sqlTight, kOption, 1, 0x04, 1, 0x1E},
    {&datCh::compander, kOption, 3, 0x10, 1, 0x1E},
    {&datCh::freeEntry, kRadio, 20, 0x10, 1, 0x1E},
    {&datCh::optionBits, kRadio, 20, 0x03, 3, 0x1E},
    {&datCh::optionByte, kRadio, 21, 0xA5, 0xA5, 0x1E},
    {&datCh::signalling, kOption, 10, 0x5C, 0x5C, 0x0C},
    {&datCh::signalling, kOption, 10, 0x5C, 0, 0x12},
    {&datCh::signallingId, kOption, 11, 0x7F, 0x7F, 0x12},
    {&datCh::signallingId, kOption, 11, 0x7F, 0, 0x0C},
};

TEST(ChannelRecord, LoadReadsEveryNamedFieldFromItsPlaceForEachKind) {
  constexpr int kChannel = 5;
  for (int kind = 1; kind <= 4; ++kind) {
    for (const PlaceCase& place : kPlaces) {
      if ((place.kinds & (1u << kind)) == 0) continue;
      ChannelImage fixture;
      Write32(fixture.image, SettingAt(kChannel), 446006250);
      int slotSize = place.slotBase == kRadio ? 22 : place.slotBase == kSetting ? 20 : 14;
      int at = place.slotBase + slotSize * kChannel + place.byte;
      fixture.image.SetByte(at, fixture.image.GetByte(at) | place.raw);
      datCh ch(fixture.image);
      ASSERT_TRUE(ch.load(kind, kChannel));
      EXPECT_EQ(ch.*place.member, place.value) << "kind " << kind << " byte " << place.byte;
    }
  }
}

TEST(ChannelRecord, EveryTableFieldStoresAndLoadsBackAtFullWidthWithoutTouchingItsNeighbours) {
  for (int kind = 1; kind <= 4; ++kind) {
    for (const chlayout::FieldPlace& place : chlayout::FieldTable()) {
      if ((place.kinds & chlayout::Kind(kind)) == 0) continue;
      ChannelImage fixture;
      datCh ch(fixture.image);
      ASSERT_TRUE(ch.load(kind, 3));
      ch.initialise();
      int all = static_cast<int>((1u << place.bits) - 1);
      ch.*place.member = all;
      ch.store();
      EXPECT_EQ(ch.*place.member, all) << place.name << " kind " << kind;
      for (const chlayout::FieldPlace& other : chlayout::FieldTable()) {
        if (&other == &place || other.member == place.member) continue;
        if ((other.kinds & chlayout::Kind(kind)) == 0) continue;
        EXPECT_EQ(ch.*other.member, 0) << place.name << " spilled into " << other.name << " kind " << kind;
      }
    }
  }
}

TEST(ChannelRecord, PmrKindsCarryTwoToneSettingsAndTheOthersLeaveThoseBytes) {
  for (int kind = 1; kind <= 4; ++kind) {
    ChannelImage fixture;
    fixture.image.SetByte(OptionAt(2) + 6, 0x80);
    fixture.image.SetByte(OptionAt(2) + 8, 0x80);
    datCh ch(fixture.image);
    ASSERT_TRUE(ch.load(kind, 2));
    ch.initialise();
    ch.ctoneR = {true, true, true, 0, 0x123};
    ch.ctoneT = {true, false, false, 17, 0};
    ch.store();
    bool pmr = kind == 2 || kind == 3;
    EXPECT_EQ(fixture.image.GetWord(OptionAt(2) + 6), pmr ? 0x6123 : 0x8000) << kind;
    EXPECT_EQ(fixture.image.GetWord(OptionAt(2) + 8), pmr ? 0x0011 : 0x8000) << kind;
    if (pmr) {
      EXPECT_EQ(ch.ctoneR, (ToneSetting{true, true, true, 0, 0x123}));
      EXPECT_EQ(ch.ctoneT.index, 17);
    }
  }
}

struct FrequencyCase {
  const char* what;
  int kind;
  bool inUse;
  std::uint32_t freqR, offset;
  int dup, reverse, inh;
  std::uint32_t storedR, storedOffset, freqT, first, second;
};

const FrequencyCase kFrequencies[] = {
    {"simplex", 1, true, 146520000, 0, 0, 0, 0, 146520000, 0, 146520000, 146520000, 146520000},
    {"receive above the band", 1, true, 150000000, 0, 0, 0, 0, 147000000, 0, 147000000, 147000000, 147000000},
    {"receive below the band", 1, true, 100000000, 0, 0, 0, 0, 144000000, 0, 144000000, 144000000, 144000000},
    {"offset clamp", 1, true, 145000000, 25000000, 1, 0, 0, 145000000, 20000000, 165000000, 145000000, 165000000},
    {"duplex minus", 1, true, 146000000, 600000, 2, 0, 0, 146000000, 600000, 145400000, 146000000, 145400000},
    {"reverse in band", 1, true, 145000000, 1000000, 1, 1, 0, 145000000, 1000000, 146000000, 146000000, 145000000},
    {"reverse out of band", 1, true, 144500000, 1500000, 2, 1, 0, 144500000, 1500000, 143000000, 144500000, 144500000},
    {"inhibit over the frequency", 1, true, 146000000, 0, 0, 0, 1, 146000000, 0, 146000000, 146000000, 146000000},
    {"not in use", 1, false, 146000000, 500000, 1, 0, 0, 0, 0, 0, 0, 0},
    {"PMR446 kept", 2, true, 446006250, 0, 0, 0, 0, 446006250, 0, 446006250, 446006250, 446006250},
    {"PMR446 kind 3", 3, true, 446193750, 0, 0, 0, 0, 446193750, 0, 446193750, 446193750, 446193750},
    {"dPMR446 kind 4", 4, true, 446103125, 0, 0, 0, 0, 446103125, 0, 446103125, 446103125, 446103125},
    {"PMR top clamp", 2, true, 900000000, 0, 0, 0, 0, 799999950, 0, 799999950, 799999950, 799999950},
    {"minus past zero", 2, true, 10000000, 20000000, 2, 0, 0, 10000000, 20000000, 0, 10000000, 0},
    {"PMR reverse", 4, true, 446006250, 5000000, 1, 1, 0, 446006250, 5000000, 451006250, 451006250, 446006250},
    {"PMR not in use", 3, false, 446006250, 0, 0, 0, 0, 0, 0, 0, 0, 0},
};

TEST(ChannelRecord, StoreClampsAndDerivesTheEffectiveFrequencies) {
  for (const FrequencyCase& c : kFrequencies) {
    ChannelImage fixture;
    datCh ch(fixture.image);
    ASSERT_TRUE(ch.load(c.kind, 7));
    ch.inUse = c.inUse;
    ch.freqR = c.freqR;
    ch.offset = c.offset;
    ch.dup = c.dup;
    ch.reverse = c.reverse;
    ch.inh = c.inh;
    ch.store();
    const cmcEeprom& image = fixture.image;
    EXPECT_EQ(Read32(image, SettingAt(7)), c.storedR) << c.what;
    EXPECT_EQ(Read32(image, SettingAt(7) + 4), c.storedOffset) << c.what;
    EXPECT_EQ(Read32(image, RadioAt(7)), c.first | (c.inh ? 0x80000000u : 0)) << c.what;
    EXPECT_EQ(Read32(image, RadioAt(7) + 4), c.second) << c.what;
    EXPECT_EQ(ch.inUse, c.inUse) << c.what;
    EXPECT_EQ(ch.freqT, c.freqT) << c.what;
    EXPECT_EQ(ch.effectiveFirst, c.first) << c.what;
    EXPECT_EQ(ch.inh, c.inh) << c.what;
  }
}

TEST(ChannelRecord, LoadClampsFrequenciesAndTakesZeroAsNotInUse) {
  ChannelImage fixture;
  Write32(fixture.image, SettingAt(0), 0xFFFFFFFF);
  Write32(fixture.image, SettingAt(0) + 4, 900000000);
  datCh ch(fixture.image);
  ASSERT_TRUE(ch.load(2, 0));
  EXPECT_TRUE(ch.inUse);
  EXPECT_EQ(ch.freqR, datCh::kMaxFrequency);
  EXPECT_EQ(ch.offset, datCh::kMaxFrequency);
  ASSERT_TRUE(ch.load(2, 1));
  EXPECT_FALSE(ch.inUse);
}

TEST(ChannelRecord, LoadRefusesKindsAndNumbersOutsideTheChannels) {
  ChannelImage fixture;
  datCh ch(fixture.image);
  for (auto [kind, number] : {std::pair{0, 0}, {5, 0}, {1, -1}, {1, 128}, {4, 1000}}) {
    EXPECT_FALSE(ch.load(kind, number)) << kind << " " << number;
    EXPECT_FALSE(ch.isLoaded());
    EXPECT_FALSE(ch.store());
  }
  cmcEeprom small(100);
  datCh onSmall(small);
  EXPECT_FALSE(onSmall.load(1, 0));
}

TEST(ChannelRecord, StoreKeepsTheCarriedBytes) {
  ChannelImage fixture;
  std::mt19937 random(8);
  for (int at = kRadio; at < cmcEeprom::kImageSize; ++at)
    fixture.image.SetByte(at, static_cast<std::uint8_t>(random()));
  SetBanks(fixture.image, {20, 0, 0, 0, 0, 0, 0, 0});
  for (int kind = 1; kind <= 4; ++kind) {
    cmcEeprom before = fixture.image;
    datCh ch(fixture.image);
    ASSERT_TRUE(ch.load(kind, 9));
    ch.freqR = kind == 1 ? 145000000 : 446006250;
    ch.name = "NEWNAME";
    ch.store();
    for (int byte : {8, 9, 10, 11})
      EXPECT_EQ(fixture.image.GetByte(RadioAt(9) + byte), before.GetByte(RadioAt(9) + byte));
    for (int byte = 14; byte < 20; ++byte) {
      EXPECT_EQ(fixture.image.GetByte(SettingAt(9) + byte), before.GetByte(SettingAt(9) + byte));
    }
    for (int byte : {2, 4, 5, 12, 13}) {
      EXPECT_EQ(fixture.image.GetByte(OptionAt(9) + byte), before.GetByte(OptionAt(9) + byte)) << kind << " " << byte;
    }
    EXPECT_EQ(ch.name, "NEWNAME ");
    // The neighbours' slots are untouched.
    EXPECT_TRUE(
        std::equal(before.Data() + RadioAt(10), before.Data() + RadioAt(11), fixture.image.Data() + RadioAt(10)));
  }
}

TEST(ChannelRecord, ListMembershipIsOneBitOfEachBitmapTheFirstMostSignificant) {
  ChannelImage fixture;
  constexpr int kChannel = 10;                          // byte 1, bit 5
  fixture.image.SetByte(kBitmaps + 1, 0x20);            // scan list
  fixture.image.SetByte(kBitmaps + 16 * 16 + 1, 0x20);  // last list
  fixture.image.SetByte(kBitmaps + 16 * 3 + 1, 0xDF);   // other channels of list 3
  datCh ch(fixture.image);
  ASSERT_TRUE(ch.load(1, kChannel));
  EXPECT_EQ(ch.lists, 0x10001);
  EXPECT_TRUE(ch.inList(0));
  EXPECT_FALSE(ch.inList(3));
  EXPECT_TRUE(ch.inList(16));
  ch.setInList(0, false);
  ch.setInList(3, true);
  ch.store();
  EXPECT_EQ(fixture.image.GetByte(kBitmaps + 1), 0x00);
  EXPECT_EQ(fixture.image.GetByte(kBitmaps + 16 * 3 + 1), 0xFF);
  EXPECT_EQ(fixture.image.GetByte(kBitmaps + 16 * 16 + 1), 0x20);
  EXPECT_FALSE(ch.inList(-1));
  EXPECT_FALSE(ch.inList(17));
}

TEST(ChannelRecord, AttributesLoadFromTheirPlacesAndShowAsLetters) {
  ChannelImage fixture;
  cmcEeprom& image = fixture.image;
  image.SetByte(0x0295, 4);
  image.SetByte(0x0296, 4);
  image.SetByte(0xBF6E, 4);
  image.SetByte(0xBF6F, 0x40);
  datCh::SetBankFlag(image, 0, true);
  datCh ch(image);
  ASSERT_TRUE(ch.load(1, 4));
  EXPECT_EQ(ch.atr, datCh::kAtrA | datCh::kAtrB | datCh::kAtrE | datCh::kAtrBankFlag);
  EXPECT_EQ(ch.atrLetters(), "ABE");
  ASSERT_TRUE(ch.load(1, 5));
  EXPECT_EQ(ch.atr, datCh::kAtrBankFlag);
  image.SetByte(0xBF6F, 0x00);
  ASSERT_TRUE(ch.load(1, 4));
  EXPECT_EQ(ch.atr, datCh::kAtrA | datCh::kAtrB | datCh::kAtrClearE | datCh::kAtrBankFlag);
  EXPECT_EQ(ch.atrLetters(), "AB");
}

TEST(ChannelRecord, StoringOneChannelNeverChangesTheEMarkerOfAnother) {
  for (std::uint8_t active : {0x00, 0x40}) {
    ChannelImage fixture;
    fixture.image.SetByte(0xBF6E, 5);
    fixture.image.SetByte(0xBF6F, static_cast<std::uint8_t>(active | 0x01));
    datCh ch(fixture.image);
    ASSERT_TRUE(ch.load(1, 3));
    ch.freqR = 145000000;
    ch.store();
    EXPECT_EQ(fixture.image.GetByte(0xBF6F), active | 0x01);
    EXPECT_EQ(fixture.image.GetByte(0xBF6E), 5);
  }
}

TEST(ChannelRecord, StoreWritesTheAttributePlaces) {
  ChannelImage fixture;
  cmcEeprom& image = fixture.image;
  SetBanks(image, {2, 3});
  datCh ch(image);
  ASSERT_TRUE(ch.load(1, 3));
  ch.atr = datCh::kAtrA | datCh::kAtrE | datCh::kAtrBankFlag;
  ch.store();
  EXPECT_EQ(image.GetByte(0x0295), 3);
  EXPECT_EQ(image.GetByte(0xBF6E), 3);
  EXPECT_EQ(image.GetByte(0xBF6F) & 0x40, 0x40);
  EXPECT_EQ(image.GetByte(0xA960), 0x40);  // bank 1
  EXPECT_EQ(ch.atrLetters(), "AE");
  ch.atr = datCh::kAtrA | datCh::kAtrClearE;  // the flag editor's "E off" and bank flag toggled
  ch.store();
  EXPECT_EQ(image.GetByte(0xBF6F) & 0x40, 0);
  EXPECT_EQ(image.GetByte(0xA960), 0);
  EXPECT_EQ(ch.atrLetters(), "A");
}

TEST(ChannelRecord, InitialiseGivesANewChannelInItsKindsBandAndTheModifiedFlagSurvivesStore) {
  for (int kind = 1; kind <= 4; ++kind) {
    ChannelImage fixture;
    datCh ch(fixture.image);
    ASSERT_TRUE(ch.load(kind, 20));
    EXPECT_FALSE(ch.inUse);
    ch.initialise();
    EXPECT_TRUE(ch.modified);
    ch.store();
    EXPECT_TRUE(ch.modified);
    EXPECT_TRUE(ch.inUse);
    EXPECT_EQ(ch.freqR, kind == 1 ? 144000000u : 446006250u);
    EXPECT_EQ(ch.name, "        ");
    ASSERT_TRUE(ch.reload());
    EXPECT_FALSE(ch.modified);
    EXPECT_TRUE(ch.inUse);
  }
}

TEST(Banks, SizesPlaceChannelsAndNumberThemAsTheSheetsShow) {
  cmcEeprom image(cmcEeprom::kImageSize);
  SetBanks(image, {3, 0, 5});
  EXPECT_EQ(datCh::FirstChannel(image, 2), 3);
  EXPECT_EQ(datCh::BankOf(image, 2), 0);
  EXPECT_EQ(datCh::BankOf(image, 3), 2);
  EXPECT_EQ(datCh::BankOf(image, 7), 2);
  EXPECT_EQ(datCh::BankOf(image, 8), 8);
  EXPECT_EQ(datCh::ChannelsInUse(image), 8);
  EXPECT_EQ(datCh::FirstChannel(image, 8), 8);
  EXPECT_EQ(ChannelLabel(image, 3, true), "3-  1");
  EXPECT_EQ(ChannelLabel(image, 7, true), "3-  5");
  EXPECT_EQ(ChannelLabel(image, 0, true), "1-  1");
  EXPECT_EQ(ChannelLabel(image, 3, false), "4");
  EXPECT_EQ(ChannelLabel(image, 127, false), "128");
  for (int outside : {-1, 8, 9}) {
    EXPECT_EQ(datCh::BankSize(image, outside), 0);
    EXPECT_FALSE(datCh::BankFlag(image, outside));
    datCh::SetBankFlag(image, outside, true);
    datCh::SetBankSize(image, outside, 4);
  }
  EXPECT_EQ(image.GetByte(0xA960), 0);
  EXPECT_EQ(datCh::ChannelsInUse(image), 8);
}

TEST(Banks, FlagsAreOneBitPerBankBankZeroMostSignificant) {
  cmcEeprom image(cmcEeprom::kImageSize);
  datCh::SetBankFlag(image, 0, true);
  datCh::SetBankFlag(image, 7, true);
  EXPECT_EQ(image.GetByte(0xA960), 0x81);
  EXPECT_TRUE(datCh::BankFlag(image, 7));
  EXPECT_FALSE(datCh::BankFlag(image, 3));
  datCh::SetBankFlag(image, 0, false);
  EXPECT_EQ(image.GetByte(0xA960), 0x01);
}

TEST(Banks, SizesPastOneHundredTwentyEightNeverAddressChannelsBeyondTheSlots) {
  cmcEeprom image(cmcEeprom::kImageSize);
  image.SetWord(0xA99A, 100);
  image.SetWord(0xA99C, 100);
  image.SetWord(0xA99E, 0xFFFF);
  EXPECT_EQ(datCh::ChannelsInUse(image), 128);
  EXPECT_EQ(datCh::FirstChannel(image, 2), 128);
  EXPECT_EQ(datCh::FirstChannel(image, 8), 128);
  EXPECT_EQ(datCh::BankOf(image, 127), 1);
  EXPECT_EQ(datCh::BankOf(image, 128), 8);
  EXPECT_EQ(ChannelLabel(image, 127, true), "2- 28");
  datCh ch(image);
  EXPECT_FALSE(ch.load(1, 128));
  datCh::SetBankSize(image, 3, 70000);
  EXPECT_EQ(datCh::BankSize(image, 3), 128);
}

// Whether an image with `channels` channels encodes for the model type.
bool Encodes(cmcEeprom image, ModelType modelType, int channels) {
  SetBanks(image, {channels});
  return memmap::Encode(image, modelType);
}

TEST(Capacity, ChannelRoomAgreesWithTheEncodeAtItsBoundaryPerModelType) {
  const int channelType = ResolveType("CT_Mch");
  const int windowType = ResolveType("CT_Mch_Win_Pmr446");
  int boundaries = 0;
  std::vector<int> fitAtFull;
  for (ModelType type : kAllModelTypes) {
    for (int inUse : {0, 40, 100, 128}) {
      cmcEeprom image(cmcEeprom::kImageSize);
      image.SetWord(memmap::addr::kAliasCount, 100);
      SetBanks(image, {inUse});
      int fit = datCh::ChannelsThatFit(image, type);
      if (inUse == 40) fitAtFull.push_back(fit);
      ASSERT_LE(fit, 128 - inUse);
      EXPECT_TRUE(datCh::HasRoom(image, type, channelType, fit)) << ModelNumber(type) << " " << inUse;
      EXPECT_EQ(datCh::HasRoom(image, type, windowType, fit + 1), false) << ModelNumber(type) << " " << inUse;
      if (fit > 0) {
        EXPECT_TRUE(Encodes(image, type, inUse + fit)) << ModelNumber(type) << " " << inUse;
      }
      if (inUse + fit < 128) {
        ++boundaries;
        EXPECT_FALSE(Encodes(image, type, inUse + fit + 1)) << ModelNumber(type) << " " << inUse;
      }
    }
  }
  EXPECT_GT(boundaries, 0);
  // Model type 3 stores the channel records twice, so fewer fit.
  EXPECT_LT(fitAtFull[3], fitAtFull[0]);
}

TEST(Capacity, AliasRoomFollowsTheLowGroupAndSpaceWords) {
  const int alias = ResolveType("CT_MDC_Alias");
  struct Case {
    int low, space, count;
    bool room;
  } cases[] = {
      {0x3B7F, 0x1000, 1, false}, {0x3B7E, 0x3B7F - 24, 2, true}, {0x3B7E, 0x3B7F - 24, 3, false},
      {0x1000, 0x3B7F, 0, true},  {0x1000, 0x3B7F, 1, false},
  };
  for (const Case& c : cases) {
    cmcEeprom image(cmcEeprom::kImageSize);
    image.SetWord(0x0210, static_cast<std::uint16_t>(c.low));
    image.SetWord(0x0216, static_cast<std::uint16_t>(c.space));
    EXPECT_EQ(datCh::HasRoom(image, ModelType::kLandMobile, alias, c.count), c.room)
        << c.low << " " << c.space << " " << c.count;
  }
  cmcEeprom full(cmcEeprom::kImageSize);
  full.SetWord(0x0210, 0xFFFF);
  EXPECT_TRUE(datCh::HasRoom(full, ModelType::kLandMobile, ResolveType("CT_Scan"), 1000));
}

TEST(Pmr446, TableHoldsTheThirtyTwoFrequenciesInListOrder) {
  auto table = Pmr446Frequencies();
  ASSERT_EQ(table.size(), 32u);
  EXPECT_EQ(table.front(), 446006250u);
  EXPECT_EQ(table[8], 446103125u);
  EXPECT_EQ(table.back(), 446196875u);
  EXPECT_TRUE(std::is_sorted(table.begin(), table.end()));
  EXPECT_EQ(Pmr446Row(446103125), 8);
  EXPECT_EQ(Pmr446Row(446100000), -1);
}

TEST(PackedBcd, DigitsGoTwoPerByteHighNibbleFirstKeepingTheOtherNibble) {
  std::uint8_t bytes[2] = {0xFF, 0xFF};
  const std::uint8_t three[] = {1, 2, 3};
  EXPECT_TRUE(cmcPackedBcd::Write(bytes, three));
  EXPECT_EQ(bytes[0], 0x12);
  EXPECT_EQ(bytes[1], 0x3F);
  const std::uint8_t five[] = {9, 8, 7, 6, 5};
  EXPECT_FALSE(cmcPackedBcd::Write(bytes, five));
  EXPECT_EQ(bytes[0], 0x98);
  EXPECT_EQ(bytes[1], 0x76);
  EXPECT_EQ(cmcPackedBcd::Digit(bytes, 3), 6);
  EXPECT_EQ(cmcPackedBcd::Digit(bytes, 4), 0);
  EXPECT_EQ(cmcPackedBcd::Digit(bytes, -1), 0);
}

TEST(ToneSettingBytes, DecodeAndEncodeEachForm) {
  struct Case {
    std::uint8_t bytes[2];
    ToneSetting tone;
  } cases[] = {
      {{0x80, 0x05}, {false, false, false, 5, 0}},    {{0x00, 0x0C}, {true, false, false, 12, 0}},
      {{0x61, 0x23}, {true, true, true, 0, 0x123}},   {{0x40, 0x17}, {true, true, false, 0, 0x17}},
      {{0xC1, 0xFF}, {false, true, false, 0, 0x1FF}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToneSetting::Decode(c.bytes), c.tone) << int(c.bytes[0]) << " " << int(c.bytes[1]);
    std::uint8_t out[2] = {0x1E, 0};  // bits 4-1 are not the setting's and stay
    c.tone.Encode(out);
    EXPECT_EQ(out[0], c.bytes[0] | 0x1E);
    EXPECT_EQ(out[1], c.bytes[1]);
  }
}

TEST(VexlAddress, OwnIdentityAndRangesRoundTripThroughBlock26) {
  cmcEeprom image(cmcEeprom::kImageSize);
  datVexlAdr address(image);
  address.ownId = 0x0123;
  address.ranges[1] = {100, 200};
  address.store();
  EXPECT_EQ(image.GetWord(0xAFFE), 0x0123);
  EXPECT_EQ(image.GetWord(0xB000), datVexlAdr::kEmpty);
  EXPECT_EQ(image.GetWord(0xB004), 100);
  datVexlAdr loaded(image);
  loaded.load();
  EXPECT_EQ(loaded.ownId, 0x0123);
  EXPECT_EQ(loaded.ranges[1].last, 200);
  EXPECT_EQ(loaded.ranges[2].first, datVexlAdr::kEmpty);
}

}  // namespace
