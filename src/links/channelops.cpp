#include "links/channelops.h"

#include <vector>

#include "core/gtex.h"
#include "model/chlayout.h"
#include "model/memorymap.h"
#include "platform/messagebox.h"

namespace chops {

namespace {

bool ValidBank(int bank) { return bank >= 0 && bank < memmap::kBankCount; }

void ShowOverflow(cmcGTex& overlay) {
  platform::CurrentMessageBox().Show({overlay.GetLine("GI_Sys_AppTitle", 0),
                                      overlay.GetBlockText("GI_AppMess_ChErr_Overflow"), platform::MsgIcon::Error,
                                      platform::MsgButtons::Ok, true});
}

void MoveBit(cmcEeprom& image, int list, int from, int to) {
  int base = chlayout::kListBitmaps + chlayout::kListBitmapSize * list;
  bool set = (image.GetByte(base + from / 8) >> (7 - from % 8)) & 1;
  std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (to % 8));
  std::uint8_t byte = image.GetByte(base + to / 8);
  image.SetByte(base + to / 8, set ? byte | bit : byte & ~bit);
}

// Moves every per-channel slot, list bit and attribute place of channels
// [from, used) up by one, so row `from` is free for a new channel.
void OpenRow(cmcEeprom& image, int from, int used) {
  for (int channel = used; channel > from; --channel) {
    for (chlayout::SlotTable slot : {chlayout::kRadioSlots, chlayout::kSettingSlots, chlayout::kOptionSlots}) {
      std::vector<std::uint8_t> bytes(slot.size);
      image.ReadBlock(slot.address + slot.size * (channel - 1), bytes.data(), slot.size);
      image.WriteBlock(slot.address + slot.size * channel, bytes.data(), slot.size);
    }
    for (int list = 0; list < datCh::kListCount; ++list) MoveBit(image, list, channel - 1, channel);
  }
  for (int place : {chlayout::kAtrA, chlayout::kAtrB, chlayout::kAtrE}) {
    int marked = image.GetByte(place);
    if (marked >= from && marked < used) image.SetByte(place, static_cast<std::uint8_t>(marked + 1));
  }
}

}  // namespace

int BankForNewChannel(const cmcEeprom& image, int channel, int sheetBank) {
  if (ValidBank(sheetBank) && datCh::FirstChannel(image, sheetBank) + datCh::BankSize(image, sheetBank) == channel) {
    return sheetBank;
  }
  int bank = datCh::BankOf(image, channel);
  if (bank < memmap::kBankCount) return bank;
  for (int b = memmap::kBankCount - 1; b > 0; --b) {
    if (datCh::BankSize(image, b) > 0 && datCh::FirstChannel(image, b) + datCh::BankSize(image, b) == channel) {
      return b;
    }
  }
  return 0;
}

bool CreateChannel(cmcEeprom& image, datCh& record, cmcGTex& overlay, int channel, int bank,
                   std::uint32_t receiveHz) {
  int kind = record.kind();
  int modelType = kind - datCh::kFirstChannelKind;
  int used = datCh::ChannelsInUse(image);
  if (channel < 0 || channel > used || !ValidBank(bank) || used >= memmap::kMaxChannels ||
      datCh::ChannelsThatFit(image, modelType) < 1) {
    ShowOverflow(overlay);
    return false;
  }
  OpenRow(image, channel, used);
  datCh::SetBankSize(image, bank, datCh::BankSize(image, bank) + 1);
  record.load(kind, channel);
  record.initialise();
  record.freqR = receiveHz;
  record.store();
  memmap::Encode(image, modelType);
  record.reload();
  record.modified = true;
  return true;
}

}  // namespace chops
