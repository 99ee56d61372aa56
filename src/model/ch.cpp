#include "model/ch.h"

#include <algorithm>
#include <cstdio>

#include "core/bitfield.h"
#include "core/textutil.h"
#include "markup/ids.h"
#include "model/chlayout.h"
#include "model/memorymap.h"

namespace {

constexpr std::uint32_t kLandMobileLow = 144000000;
constexpr std::uint32_t kLandMobileHigh = 147000000;
constexpr int kAliasRecordBytes = 12;

// The four-byte frequency at `offset` of a record.
template <std::size_t N>
std::uint32_t ReadLong(const std::array<std::uint8_t, N>& record, int offset) {
  return ReadBigEndian(std::span(record).subspan(static_cast<std::size_t>(offset), 4));
}
template <std::size_t N>
void WriteLong(std::array<std::uint8_t, N>& record, int offset, std::uint32_t value) {
  WriteBigEndian(std::span(record).subspan(static_cast<std::size_t>(offset), 4), value);
}

std::uint8_t* SlotOf(cmcEeprom& image, chlayout::SlotTable table, int number) {
  return image.Data() + table.address + table.size * number;
}

std::uint32_t TransmitFrequency(std::uint32_t receive, std::uint32_t offset, int dup) {
  if (dup == 1) return receive + offset;
  if (dup == 2) return offset > receive ? 0 : receive - offset;
  return receive;
}

}  // namespace

ToneSetting ToneSetting::Decode(const std::uint8_t* bytes) {
  ToneSetting tone;
  tone.on = (bytes[0] & 0x80) == 0;
  tone.digital = (bytes[0] & 0x40) != 0;
  if (tone.digital) {
    tone.inverted = (bytes[0] & 0x20) != 0;
    tone.code = (bytes[0] & 0x01) << 8 | bytes[1];
  } else {
    tone.index = bytes[1];
  }
  return tone;
}

void ToneSetting::Encode(std::uint8_t* bytes) const {
  std::uint8_t first = bytes[0] & 0x1E;  // bits 4-1 are not part of the setting
  if (!on) first |= 0x80;
  if (digital) {
    first |= 0x40;
    if (inverted) first |= 0x20;
    first |= (code >> 8) & 0x01;
    bytes[1] = static_cast<std::uint8_t>(code);
  } else {
    bytes[1] = static_cast<std::uint8_t>(index);
  }
  bytes[0] = first;
}

std::span<std::uint8_t> datCh::Record(chlayout::Slot slot) {
  switch (slot) {
  case chlayout::Slot::kRadio: return radioRecord;
  case chlayout::Slot::kSetting: return settingRecord;
  case chlayout::Slot::kOption: break;
  }
  return optionRecord;
}

void datCh::clear() {
  inUse = false;
  atr = 0;
  freqR = offset = freqT = effectiveFirst = effectiveSecond = 0;
  for (const chlayout::FieldPlace& place : chlayout::FieldTable()) this->*place.member = 0;
  name.assign(kNameLength, ' ');
  lists = 0;
  ctoneR = ctoneT = ToneSetting{};
  radioRecord.fill(0);
  settingRecord.fill(0);
  optionRecord.fill(0);
  modified = false;
  kind_ = 0;
  number_ = -1;
}

std::uint32_t datCh::minFrequency() const { return isPmr446() ? 0 : kLandMobileLow; }
std::uint32_t datCh::maxFrequency() const { return isPmr446() ? kMaxFrequency : kLandMobileHigh; }

bool datCh::load(int kind, int number) {
  clear();
  if (kind < kFirstChannelKind || kind > kLastChannelKind || number < 0 || number >= memmap::kMaxChannels ||
      image_.Size() < cmcEeprom::kImageSize) {
    return false;
  }
  kind_ = kind;
  number_ = number;
  std::copy_n(SlotOf(image_, chlayout::kRadioSlots, number), radioRecord.size(), radioRecord.begin());
  std::copy_n(SlotOf(image_, chlayout::kSettingSlots, number), settingRecord.size(), settingRecord.begin());
  std::copy_n(SlotOf(image_, chlayout::kOptionSlots, number), optionRecord.size(), optionRecord.begin());

  freqR = std::min(ReadLong(settingRecord, chlayout::kSettingFreq), kMaxFrequency);
  offset = std::min(ReadLong(settingRecord, chlayout::kSettingOffset), kMaxFrequency);
  inUse = freqR != 0;
  effectiveFirst = ReadLong(radioRecord, chlayout::kRadioFirst) & 0x7FFFFFFF;
  effectiveSecond = ReadLong(radioRecord, chlayout::kRadioSecond);
  for (const chlayout::FieldPlace& place : chlayout::FieldTable()) {
    if ((place.kinds & chlayout::Kind(kind)) == 0) continue;
    this->*place.member = static_cast<int>(place.Field().Get(Record(place.slot)));
  }
  if (chlayout::kPmrKinds & chlayout::Kind(kind)) {
    ctoneR = ToneSetting::Decode(&optionRecord[chlayout::kOptionToneR]);
    ctoneT = ToneSetting::Decode(&optionRecord[chlayout::kOptionToneT]);
  }
  name.assign(reinterpret_cast<const char*>(&radioRecord[chlayout::kRadioName]), kNameLength);
  freqT = TransmitFrequency(freqR, offset, dup);

  const std::uint8_t* bitmaps = image_.Data() + chlayout::kListBitmaps;
  for (int list = 0; list < kListCount; ++list) {
    int bit = (bitmaps[list * chlayout::kListBitmapSize + number / 8] >> (7 - number % 8)) & 1;
    lists = lists << 1 | bit;
  }
  loadAttributes();
  return true;
}

void datCh::loadAttributes() {
  const std::uint8_t* data = image_.Data();
  bool eActive = (data[chlayout::kAtrEActive] & chlayout::kAtrEActiveBit) != 0;
  if (data[chlayout::kAtrA] == number_) atr |= kAtrA;
  if (data[chlayout::kAtrB] == number_) atr |= kAtrB;
  if (data[chlayout::kAtrE] == number_ && eActive) atr |= kAtrE;
  // Store writes the active bit as the inverse of bit 3, so bit 3 must mirror it.
  if (!eActive) atr |= kAtrClearE;
  int bank = BankOf(image_, number_);
  if (bank < memmap::kBankCount && BankFlag(image_, bank)) atr |= kAtrBankFlag;
}

void datCh::storeAttributes() {
  std::uint8_t* data = image_.Data();
  auto number = static_cast<std::uint8_t>(number_);
  if (atr & kAtrA) data[chlayout::kAtrA] = number;
  if (atr & kAtrB) data[chlayout::kAtrB] = number;
  if (atr & kAtrE) data[chlayout::kAtrE] = number;
  if (atr & kAtrClearE) {
    data[chlayout::kAtrEActive] &= static_cast<std::uint8_t>(~chlayout::kAtrEActiveBit);
  } else {
    data[chlayout::kAtrEActive] |= chlayout::kAtrEActiveBit;
  }
  int bank = BankOf(image_, number_);
  if (bank < memmap::kBankCount) SetBankFlag(image_, bank, (atr & kAtrBankFlag) != 0);
}

void datCh::deriveFrequencies() {
  // Only a channel in use is kept in its band; one not in use reads back as such.
  if (inUse) {
    freqR = std::clamp(freqR, minFrequency(), maxFrequency());
  } else {
    freqR = offset = 0;
  }
  offset = std::min(offset, kMaxOffset);
  freqT = TransmitFrequency(freqR, offset, dup);
  effectiveFirst = freqR;
  effectiveSecond = freqT;
  if (reverse) {
    bool transmitInBand = freqT >= std::max<std::uint32_t>(minFrequency(), 1) && freqT <= maxFrequency();
    effectiveFirst = transmitInBand ? freqT : freqR;
    effectiveSecond = freqR;
  }
  if (!inUse) effectiveFirst = effectiveSecond = 0;
}

bool datCh::store() {
  if (!isLoaded()) return false;
  storeAttributes();
  deriveFrequencies();
  WriteLong(settingRecord, chlayout::kSettingFreq, freqR);
  WriteLong(settingRecord, chlayout::kSettingOffset, offset);
  WriteLong(radioRecord, chlayout::kRadioFirst, effectiveFirst);
  WriteLong(radioRecord, chlayout::kRadioSecond, effectiveSecond);
  for (const chlayout::FieldPlace& place : chlayout::FieldTable()) {
    if ((place.kinds & chlayout::Kind(kind_)) == 0) continue;
    place.Field().Set(Record(place.slot), static_cast<std::uint32_t>(this->*place.member));
  }
  if (chlayout::kPmrKinds & chlayout::Kind(kind_)) {
    ctoneR.Encode(&optionRecord[chlayout::kOptionToneR]);
    ctoneT.Encode(&optionRecord[chlayout::kOptionToneT]);
  }
  std::string padded = name;
  padded.resize(kNameLength, ' ');
  std::copy_n(padded.begin(), kNameLength, &radioRecord[chlayout::kRadioName]);

  std::copy(radioRecord.begin(), radioRecord.end(), SlotOf(image_, chlayout::kRadioSlots, number_));
  std::copy(settingRecord.begin(), settingRecord.end(), SlotOf(image_, chlayout::kSettingSlots, number_));
  std::copy(optionRecord.begin(), optionRecord.end(), SlotOf(image_, chlayout::kOptionSlots, number_));

  std::uint8_t* bitmaps = image_.Data() + chlayout::kListBitmaps;
  for (int list = 0; list < kListCount; ++list) {
    std::uint8_t& byte = bitmaps[list * chlayout::kListBitmapSize + number_ / 8];
    auto bit = static_cast<std::uint8_t>(0x80 >> (number_ % 8));
    byte = inList(list) ? (byte | bit) : (byte & ~bit);
  }
  bool wasModified = modified;
  reload();
  modified = wasModified;
  return true;
}

void datCh::initialise() {
  if (!isLoaded()) return;
  // The E state and the bank flag belong to other channels too; the slot
  // bytes that no field names keep what the image holds there (the initial
  // image's defaults for a slot never used).
  int keptAtr = atr & (kAtrClearE | kAtrBankFlag);
  int kind = kind_;
  int number = number_;
  auto radio = radioRecord;
  auto setting = settingRecord;
  auto option = optionRecord;
  clear();
  kind_ = kind;
  number_ = number;
  radioRecord = radio;
  settingRecord = setting;
  optionRecord = option;
  atr = keptAtr;
  inUse = true;
  freqR = isPmr446() ? Pmr446Frequencies()[0] : kLandMobileLow;
  freqT = effectiveFirst = effectiveSecond = freqR;
  modified = true;
}

std::string datCh::atrLetters() const {
  std::string letters;
  if (atr & kAtrA) letters += 'A';
  if (atr & kAtrB) letters += 'B';
  if ((atr & kAtrE) && !(atr & kAtrClearE)) letters += 'E';
  return letters;
}

bool datCh::inList(int list) const {
  return list >= 0 && list < kListCount && ((lists >> (kListCount - 1 - list)) & 1) != 0;
}

void datCh::setInList(int list, bool member) {
  if (list < 0 || list >= kListCount) return;
  int bit = 1 << (kListCount - 1 - list);
  lists = member ? (lists | bit) : (lists & ~bit);
}

int datCh::BankSize(const cmcEeprom& image, int bank) {
  if (bank < 0 || bank >= memmap::kBankCount) return 0;
  return image.GetWord(memmap::addr::kBankSizes + 2 * bank);
}

void datCh::SetBankSize(cmcEeprom& image, int bank, int size) {
  if (bank < 0 || bank >= memmap::kBankCount) return;
  image.SetWord(memmap::addr::kBankSizes + 2 * bank,
                static_cast<std::uint16_t>(std::clamp(size, 0, memmap::kMaxChannels)));
}

int datCh::FirstChannel(const cmcEeprom& image, int bank) {
  int first = 0;
  for (int b = 0; b < std::min(bank, memmap::kBankCount); ++b) first += BankSize(image, b);
  return std::min(first, memmap::kMaxChannels);
}

int datCh::BankOf(const cmcEeprom& image, int channel) {
  if (channel < 0 || channel >= memmap::kMaxChannels) return memmap::kBankCount;
  for (int bank = 0; bank < memmap::kBankCount; ++bank) {
    if (channel < FirstChannel(image, bank + 1)) return bank;
  }
  return memmap::kBankCount;
}

int datCh::ChannelsInUse(const cmcEeprom& image) { return memmap::ChannelsInUse(image); }

bool datCh::BankFlag(const cmcEeprom& image, int bank) {
  if (bank < 0 || bank >= memmap::kBankCount) return false;
  return (image.GetByte(chlayout::kBankFlags) & (0x80 >> bank)) != 0;
}

void datCh::SetBankFlag(cmcEeprom& image, int bank, bool on) {
  if (bank < 0 || bank >= memmap::kBankCount) return;
  auto bit = static_cast<std::uint8_t>(0x80 >> bank);
  std::uint8_t flags = image.GetByte(chlayout::kBankFlags);
  image.SetByte(chlayout::kBankFlags, on ? (flags | bit) : (flags & ~bit));
}

int datCh::ChannelsThatFit(const cmcEeprom& image, ModelType modelType) {
  return memmap::ChannelsThatFit(image, modelType);
}

bool datCh::HasRoom(const cmcEeprom& image, ModelType modelType, int cellType, int count) {
  static constexpr std::array<int, 5> kChannelTypes = {ct::CT_Mch, ct::CT_Mch_Check, ct::CT_Mch_Win, ct::CT_Mch_Pmr446,
                                                       ct::CT_Mch_Win_Pmr446};
  if (std::ranges::find(kChannelTypes, cellType) != kChannelTypes.end()) {
    return count <= ChannelsThatFit(image, modelType);
  }
  if (cellType == ct::CT_MDC_Alias) {
    int low = image.GetWord(memmap::addr::kLowGroupEnd);
    int space = image.GetWord(memmap::addr::kSpaceEnd);
    return memmap::kLowLimit - low > 0 && memmap::kLowLimit - space >= kAliasRecordBytes * count;
  }
  return true;
}

std::string ChannelLabel(const cmcEeprom& image, int channel, bool banksShown) {
  char text[32];
  int bank = datCh::BankOf(image, channel);
  if (banksShown && bank < memmap::kBankCount) {
    std::snprintf(text, sizeof text, "%d-%3d", bank + 1, channel - datCh::FirstChannel(image, bank) + 1);
  } else {
    std::snprintf(text, sizeof text, "%d", channel + 1);
  }
  return text;
}

std::span<const std::uint32_t> Pmr446Frequencies() {
  static constexpr std::uint32_t kTable[] = {
      446006250, 446018750, 446031250, 446043750, 446056250, 446068750, 446081250, 446093750,
      446103125, 446106250, 446109375, 446115625, 446118750, 446121875, 446128125, 446131250,
      446134375, 446140625, 446143750, 446146875, 446153125, 446156250, 446159375, 446165625,
      446168750, 446171875, 446178125, 446181250, 446184375, 446190625, 446193750, 446196875,
  };
  return kTable;
}

int Pmr446Row(std::uint32_t frequency) {
  auto table = Pmr446Frequencies();
  auto found = std::find(table.begin(), table.end(), frequency);
  return found == table.end() ? -1 : static_cast<int>(found - table.begin());
}

bool cmcPackedBcd::Write(std::span<std::uint8_t> bytes, std::span<const std::uint8_t> digits) {
  std::size_t fit = std::min(digits.size(), bytes.size() * 2);
  for (std::size_t i = 0; i < fit; ++i) SetNibble(bytes, i, digits[i]);
  return fit == digits.size();
}

std::uint8_t cmcPackedBcd::Digit(std::span<const std::uint8_t> bytes, int index) {
  if (index < 0) return 0;
  return GetNibble(bytes, static_cast<std::size_t>(index)).value_or(0);
}

void datVexlAdr::load() {
  ownId = image_.GetWord(chlayout::kVexlOwnId);
  for (int i = 0; i < kRangeCount; ++i) {
    ranges[i].first = image_.GetWord(chlayout::kVexlRanges + 4 * i);
    ranges[i].last = image_.GetWord(chlayout::kVexlRanges + 4 * i + 2);
  }
}

void datVexlAdr::store() const {
  image_.SetWord(chlayout::kVexlOwnId, static_cast<std::uint16_t>(ownId));
  for (int i = 0; i < kRangeCount; ++i) {
    image_.SetWord(chlayout::kVexlRanges + 4 * i, static_cast<std::uint16_t>(ranges[i].first));
    image_.SetWord(chlayout::kVexlRanges + 4 * i + 2, static_cast<std::uint16_t>(ranges[i].last));
  }
}
