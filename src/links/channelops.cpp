#include "links/channelops.h"

#include "core/gtex.h"
#include "core/overlaynames.h"
#include "markup/ids.h"
#include "model/chlayout.h"
#include "model/memorymap.h"
#include "platform/messagebox.h"

namespace chops {

namespace {

bool ValidBank(int bank) { return bank >= 0 && bank < memmap::kBankCount; }

void ShowOverflow(cmcGTex& overlay) {
  platform::CurrentMessageBox().Show({overlay.GetLine(gi::GI_Sys_AppTitle, 0),
                                      overlay.GetBlockText(gi::GI_AppMess_ChErr_Overflow), platform::MsgIcon::Error,
                                      platform::MsgButtons::Ok, true});
}

}  // namespace

bool IsChannelType(int type) {
  return type == ct::CT_Mch || type == ct::CT_Mch_Check || type == ct::CT_Mch_Win || type == ct::CT_Mch_Pmr446 ||
         type == ct::CT_Mch_Win_Pmr446;
}

bool BanksShown(cmcGTex& overlay) {
  std::string operation = overlay.GetLine(gi::GI_Tree_Branch_Mch_BankOperation, 0);
  cmcGTex::TrimBlanks(operation);
  return operation != "None";
}

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

bool CreateChannel(cmcEeprom& image, datCh& record, cmcGTex& overlay, ModelType modelType, int channel, int bank,
                   std::uint32_t receiveHz) {
  int kind = datCh::KindOf(modelType);
  int used = datCh::ChannelsInUse(image);
  // A row inside the list whose channel has no frequency is taken over in
  // place; the row after the list adds a channel to the bank.
  bool appended = channel == used;
  if (channel < 0 || channel > used || !ValidBank(bank) ||
      (appended && (used >= memmap::kMaxChannels || datCh::ChannelsThatFit(image, modelType) < 1))) {
    ShowOverflow(overlay);
    return false;
  }
  if (appended) datCh::SetBankSize(image, bank, datCh::BankSize(image, bank) + 1);
  record.load(kind, channel);
  record.initialise();
  if (receiveHz != 0) record.freqR = receiveHz;
  // Both tone settings start off, also where the record only carries their bytes.
  record.ctoneR = record.ctoneT = ToneSetting{};
  ToneSetting{}.Encode(&record.optionRecord[chlayout::kOptionToneR]);
  ToneSetting{}.Encode(&record.optionRecord[chlayout::kOptionToneT]);
  record.store();
  memmap::Encode(image, modelType);
  record.reload();
  record.modified = true;
  return true;
}

}  // namespace chops
