#include "links/channelops.h"

#include <algorithm>
#include <array>

#include "core/gtex.h"
#include "links/channelfields.h"
#include "model/memorymap.h"
#include "platform/messagebox.h"

namespace chops {

namespace {

constexpr int kAttributeA = 0x0295;
constexpr int kAttributeB = 0x0296;
constexpr int kAttributeE = 0xBF6E;
constexpr int kAttributeEActive = 0xBF6F;  // bit 6
constexpr std::uint8_t kEActiveBit = 0x40;
constexpr int kListCount = 17;

bool ValidBank(int bank) { return bank >= 0 && bank < memmap::kBankCount; }
bool ValidChannel(int channel) { return channel >= 0 && channel < memmap::kMaxChannels; }

void ShowOverflow(cmcGTex& overlay) {
  platform::CurrentMessageBox().Show({overlay.GetLine("GI_Sys_AppTitle", 0),
                                      overlay.GetBlockText("GI_AppMess_ChErr_Overflow"), platform::MsgIcon::Error,
                                      platform::MsgButtons::Ok, true});
}

// Moves every per-channel slot and list bit of channels [from, used) up by one.
void OpenRow(cmcEeprom& image, int from, int used) {
  const std::array<chfield::SlotLayout, 3> slots = {chfield::kRadioSlot, chfield::kSettingSlot,
                                                    chfield::kOptionSlot};
  for (int channel = std::min(used, memmap::kMaxChannels - 1); channel > from; --channel) {
    for (const chfield::SlotLayout& slot : slots) {
      std::vector<std::uint8_t> bytes(slot.size);
      image.ReadBlock(slot.base + slot.size * (channel - 1), bytes.data(), slot.size);
      image.WriteBlock(slot.base + slot.size * channel, bytes.data(), slot.size);
    }
    for (int list = 0; list < kListCount; ++list) {
      chfield::ListBit(list, channel).Set(image, chfield::ListBit(list, channel - 1).Get(image));
    }
  }
  for (int place : {kAttributeA, kAttributeB, kAttributeE}) {
    int marked = image.GetByte(place);
    if (marked >= from && marked < used && marked + 1 < memmap::kMaxChannels) {
      image.SetByte(place, static_cast<std::uint8_t>(marked + 1));
    }
  }
}

void ClearRow(cmcEeprom& image, int channel) {
  for (const chfield::SlotLayout& slot : {chfield::kRadioSlot, chfield::kSettingSlot, chfield::kOptionSlot}) {
    std::vector<std::uint8_t> zeros(slot.size, 0);
    image.WriteBlock(slot.base + slot.size * channel, zeros.data(), slot.size);
  }
  for (int list = 0; list < kListCount; ++list) chfield::ListBit(list, channel).Set(image, 0);
  // Both tones off in their two-byte form (bit 7 set).
  chfield::At(chfield::kReceiveTone, channel).Set(image, 0x8000);
  chfield::At(chfield::kTransmitTone, channel).Set(image, 0x8000);
}

}  // namespace

int BankSize(const cmcEeprom& image, int bank) {
  return ValidBank(bank) ? image.GetWord(memmap::addr::kBankSizes + 2 * bank) : 0;
}

void SetBankSize(cmcEeprom& image, int bank, int size) {
  if (ValidBank(bank)) image.SetWord(memmap::addr::kBankSizes + 2 * bank, static_cast<std::uint16_t>(size));
}

int FirstChannel(const cmcEeprom& image, int bank) {
  int first = 0;
  for (int b = 0; b < std::min(bank, memmap::kBankCount); ++b) first += BankSize(image, b);
  return first;
}

int BankOf(const cmcEeprom& image, int channel) {
  int first = 0;
  for (int bank = 0; bank < memmap::kBankCount; ++bank) {
    int size = BankSize(image, bank);
    if (channel >= first && channel < first + size) return bank;
    first += size;
  }
  return memmap::kBankCount;
}

int ChannelsInUse(const cmcEeprom& image) { return memmap::ChannelsInUse(image); }

bool BankFlag(const cmcEeprom& image, int bank) {
  return ValidBank(bank) && (image.GetByte(chfield::kBankFlags) & (0x80 >> bank)) != 0;
}

void SetBankFlag(cmcEeprom& image, int bank, bool on) {
  if (!ValidBank(bank)) return;
  cmcBitField{chfield::kBankFlags, 1, 7 - bank, 1}.Set(image, on ? 1 : 0);
}

int BankForNewChannel(const cmcEeprom& image, int channel, int sheetBank) {
  if (ValidBank(sheetBank) && FirstChannel(image, sheetBank) + BankSize(image, sheetBank) == channel) {
    return sheetBank;
  }
  int bank = BankOf(image, channel);
  if (bank < memmap::kBankCount) return bank;
  for (int b = memmap::kBankCount - 1; b >= 0; --b) {
    if (FirstChannel(image, b) + BankSize(image, b) == channel && (BankSize(image, b) > 0 || b == 0)) return b;
  }
  return 0;
}

bool InUse(const cmcEeprom& image, int channel) {
  return ValidChannel(channel) && channel < ChannelsInUse(image) &&
         chfield::At(chfield::kReceive, channel).Get(image) != 0;
}

std::uint32_t Attributes(const cmcEeprom& image, int channel) {
  std::uint32_t bits = 0;
  bool eActive = (image.GetByte(kAttributeEActive) & kEActiveBit) != 0;
  if (image.GetByte(kAttributeA) == channel) bits |= 1;
  if (image.GetByte(kAttributeB) == channel) bits |= 2;
  if (image.GetByte(kAttributeE) == channel && eActive) bits |= 4;
  if (!eActive) bits |= 8;
  if (BankFlag(image, BankOf(image, channel))) bits |= 16;
  return bits;
}

void SetAttributes(cmcEeprom& image, int channel, std::uint32_t bits) {
  if (!ValidChannel(channel)) return;
  if (bits & 1) image.SetByte(kAttributeA, static_cast<std::uint8_t>(channel));
  if (bits & 2) image.SetByte(kAttributeB, static_cast<std::uint8_t>(channel));
  if (bits & 4) image.SetByte(kAttributeE, static_cast<std::uint8_t>(channel));
  cmcBitField{kAttributeEActive, 1, 6, 1}.Set(image, (bits & 8) ? 0 : 1);
  SetBankFlag(image, BankOf(image, channel), (bits & 16) != 0);
}

std::int64_t TransmitFrequency(const cmcEeprom& image, int channel) {
  std::int64_t receive = chfield::At(chfield::kReceive, channel).Get(image);
  std::int64_t offset = chfield::At(chfield::kOffset, channel).Get(image);
  switch (chfield::At(chfield::kDuplex, channel).Get(image)) {
    case 1:
      return receive + offset;
    case 2:
      return offset > receive ? 0 : receive - offset;
    default:
      return receive;
  }
}

void StoreDerived(cmcEeprom& image, int channel) {
  if (!ValidChannel(channel)) return;
  std::int64_t receive = chfield::At(chfield::kReceive, channel).Get(image);
  if (receive == 0) chfield::At(chfield::kOffset, channel).Set(image, 0);
  std::int64_t transmit = TransmitFrequency(image, channel);
  bool reverse = chfield::At(chfield::kReverse, channel).Get(image) != 0;
  bool inhibit = chfield::At(chfield::kInhibit, channel).Get(image) != 0;
  std::int64_t first = receive, second = transmit;
  if (reverse) {
    first = transmit >= kBandLow && transmit <= kBandHigh ? transmit : receive;
    second = receive;
  }
  if (receive == 0) first = second = 0;
  const int radio = chfield::kRadioSlot.base + chfield::kRadioSlot.size * channel;
  cmcBitField{radio, 4, 0, 32}.Set(image, static_cast<std::uint32_t>(first));
  cmcBitField{radio + 4, 4, 0, 32}.Set(image, static_cast<std::uint32_t>(second));
  chfield::At(chfield::kInhibit, channel).Set(image, inhibit ? 1 : 0);
}

bool CreateChannel(cmcEeprom& image, cmcGTex& overlay, int modelType, int channel, int bank,
                   std::int64_t receiveHz) {
  int used = ChannelsInUse(image);
  if (!ValidChannel(channel) || !ValidBank(bank) || channel > used || used >= memmap::kMaxChannels ||
      memmap::ChannelsThatFit(image, modelType) < 1) {
    ShowOverflow(overlay);
    return false;
  }
  OpenRow(image, channel, used);
  ClearRow(image, channel);
  chfield::At(chfield::kReceive, channel).Set(image, static_cast<std::uint32_t>(receiveHz));
  SetBankSize(image, bank, BankSize(image, bank) + 1);
  StoreDerived(image, channel);
  memmap::Encode(image, modelType);
  return true;
}

}  // namespace chops
