#include "sheet/mchwin.h"

#include <algorithm>

#include "links/celllinks.h"
#include "markup/ids.h"
#include "model/ch.h"
#include "model/memorymap.h"
#include "runtime/events.h"
#include "runtime/evman.h"
#include "sheet/listsheet.h"
#include "sheet/sheetfactory.h"
#include "sheet/sheetview.h"

namespace {

bool TakesWindowChannel(const cmcCellObj& cell) {
  return cell.type == ct::CT_Mch_Win || cell.type == ct::CT_Mch_Win_Pmr446 || cell.link == cl::CL_MchWin_No;
}

}  // namespace

iuiMchWin::iuiMchWin(SheetServices services, LinkEnvironment* environment)
    : services_(std::move(services)), environment_(environment) {
  if (services_.events) services_.events->AddListener(&iuiMchWin::Listen, this);
}

iuiMchWin::~iuiMchWin() {
  if (services_.events) services_.events->RemoveListener(&iuiMchWin::Listen, this);
}

SheetRef iuiMchWin::SheetFor(ModelType type) {
  // A common-settings sheet: the land-mobile one keeps lines for the other radios under their conditions.
  return {std::string(kCommonStyle),
          type == ModelType::kPmr ? "GI_Sheet_Mch_Win_CONV_PMR" : "GI_Sheet_Mch_Win_CONV_LMR", ""};
}

ModelType iuiMchWin::Type() const { return environment_ ? environment_->modelType : services_.modes.modelType; }

iuiMchWin::Span iuiMchWin::BankSpan() const {
  const int first = datCh::FirstChannel(services_.image, bank_);
  // A damaged size never reaches past the table.
  const int size = std::clamp(datCh::BankSize(services_.image, bank_), 0, memmap::kMaxChannels - first);
  return {first, first + size};
}

bool iuiMchWin::Open(int bank, int channel) {
  bank_ = std::clamp(bank, 0, memmap::kBankCount - 1);
  pending_ = 0;
  const Span span = BankSpan();
  channel_ = std::clamp(channel, span.first, span.afterLast);
  Adopt(nullptr);
  return Rebuild();
}

bool iuiMchWin::OpenFor(const cuiSheet* mainSheet) {
  const auto* bankSheet = dynamic_cast<const iuiSh_ChBank*>(mainSheet);
  if (!bankSheet) return Open(0, 0);
  const int bank = bankSheet->Bank();
  const bool opened = Open(bank, bankSheet->CurrentChannel().value_or(datCh::FirstChannel(services_.image, bank)));
  // The sheet is the bank's, showing: the window's moves are followed from now on.
  channelSheet_ = bankSheet;
  sheetBank_ = bank;
  sheetChannel_ = channel_;
  return opened;
}

void iuiMchWin::Close() {
  Adopt(nullptr);
  pending_ = 0;
}

void iuiMchWin::Adopt(std::unique_ptr<cuiSheet> sheet) {
  sheet_ = sheet.get();
  if (host_) {
    host_(std::move(sheet));
  } else {
    owned_ = std::move(sheet);
  }
}

bool iuiMchWin::Rebuild() {
  if (currentModes_) services_.modes = currentModes_();
  services_.modes.modelType = Type();
  const SheetRef ref = SheetFor(Type());
  // A sheet keeps the modes it was made with.
  if (!sheet_ || sheet_->Ref() != ref || sheet_->Modes() != services_.modes) {
    Adopt(CreateSheet(ref, services_));
  }
  if (!sheet_->Show()) {
    Adopt(nullptr);
    return false;
  }
  const Span span = BankSpan();
  SetChannel(std::clamp(channel_, span.first, span.afterLast));
  return true;
}

bool iuiMchWin::Next() { return Step(+1); }
bool iuiMchWin::Previous() { return Step(-1); }

bool iuiMchWin::Step(int delta) {
  const Span span = BankSpan();
  if (delta > 0 ? channel_ >= span.afterLast : channel_ <= span.first) return false;
  SetChannel(std::clamp(channel_ + delta, span.first, span.afterLast));
  if (channelSheet_ && sheetBank_ == bank_) {
    AskSheetToFollow();
  } else {
    pending_ += delta;
  }
  return true;
}

// The sheet has no row for the position after the bank's last channel: it
// stays on the last row then.
void iuiMchWin::AskSheetToFollow() {
  pending_ = 0;
  const Span span = BankSpan();
  if (!services_.events || span.afterLast == span.first) return;
  const int target = std::min(channel_, span.afterLast - 1);
  const int delta = target - sheetChannel_;
  if (delta == 0) return;
  sheetChannel_ = target;  // a second move before the pump counts from here
  services_.events->Post(ev::kFollowChannel, nullptr, delta);
}

void iuiMchWin::SetChannel(int channel) {
  channel_ = channel;
  if (environment_) environment_->windowChannel = channel;
  if (!sheet_) return;
  for (int row = 0; row < sheet_->Rows(); ++row) {
    for (int column = 0; column < sheet_->Columns(); ++column) {
      clsSheetCellId* id = sheet_->CellAt(column, row);
      if (id && TakesWindowChannel(id->cell)) id->cell.parameter = channel;
    }
  }
  if (services_.view) services_.view->InvalidateAll();
}

void iuiMchWin::ChannelSheetMoved(const void* sheet, int bank, int channel) {
  const bool anotherSheet = sheet != channelSheet_;
  // The sheet reaching the row the window asked for: the window is already there, or beyond its last row.
  const bool followed = !anotherSheet && bank == sheetBank_ && channel == sheetChannel_;
  channelSheet_ = sheet;
  sheetBank_ = bank;
  sheetChannel_ = channel;
  if (bank != bank_) {
    // Another bank: its first channel, or with follow on the sheet's row.
    bank_ = bank;
    pending_ = 0;
    const Span span = BankSpan();
    SetChannel(follow_ ? std::clamp(channel, span.first, span.afterLast) : span.first);
    return;
  }
  // The bank's sheet is back: it takes up the moves made while it was away.
  if (anotherSheet && pending_ != 0) {
    AskSheetToFollow();
    return;
  }
  if (!follow_ || followed || channel == channel_) return;
  const Span span = BankSpan();
  SetChannel(std::clamp(channel, span.first, span.afterLast));
}

void iuiMchWin::Listen(void* data, const Event& event) { static_cast<iuiMchWin*>(data)->OnEvent(event); }

void iuiMchWin::OnEvent(const Event& event) {
  switch (event.code) {
  case ev::kChannelSelected:
    if (event.argument < 0) {
      if (event.sender == channelSheet_) channelSheet_ = nullptr;
      return;
    }
    // Only bank sheets announce their rows.
    ChannelSheetMoved(event.sender, static_cast<const iuiSh_ChBank*>(event.sender)->Bank(),
                      static_cast<int>(std::min<std::intptr_t>(event.argument, memmap::kMaxChannels)));
    return;
  case ev::kRecordInserted:
  case ev::kRecordDeleted: {
    const Span span = BankSpan();
    SetChannel(std::clamp(channel_, span.first, span.afterLast));
    return;
  }
  case ev::kRebuildMchWindow:
  case ev::kModelChanged:
  case ev::kImageReplaced:
    if (sheet_) Rebuild();
    return;
  default: return;
  }
}
