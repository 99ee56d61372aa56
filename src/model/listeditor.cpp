#include "model/listeditor.h"

#include <algorithm>

#include "core/gtex.h"
#include "core/overlaynames.h"
#include "markup/ids.h"
#include "model/ch.h"
#include "model/chlayout.h"
#include "model/chrefs.h"
#include "model/memorymap.h"
#include "platform/messagebox.h"

namespace {

// The selection, or the row alone.
RowRange CommandRange(const ListCommand& command) {
  if (!command.selection) return {command.row, command.row};
  return {std::min(command.selection->first, command.selection->last),
          std::max(command.selection->first, command.selection->last)};
}

// The part of `range` inside the list; nothing when they do not meet.
std::optional<RowRange> Cut(RowRange range, const RecordList& list) {
  RowRange cut{std::max(range.first, list.first), std::min(range.last, list.last)};
  if (cut.first > cut.last) return std::nullopt;
  return cut;
}

int Length(RowRange range) { return range.last - range.first + 1; }

ListOutcome Done(std::string status = {}) {
  ListOutcome outcome;
  outcome.result = ListResult::kDone;
  outcome.status = std::move(status);
  return outcome;
}

ListOutcome WithResult(ListResult result) {
  ListOutcome outcome;
  outcome.result = result;
  return outcome;
}

}  // namespace

ListEditor::ListEditor(const ListEditorSetup& setup)
    : image_(setup.image),
      initial_(setup.initial),
      overlay_(setup.overlay),
      clipboard_(setup.clipboard),
      modelType_(setup.modelType),
      banksInUse_(setup.banksInUse),
      recorder_(setup.recorder) {}

cmcEeprom& ListEditor::Initial() {
  if (!initialCopy_) initialCopy_ = initial_;
  return *initialCopy_;
}

ListOutcome ListEditor::Run(const ListCommand& command) {
  if (!recordkind::IsListed(command.list.kind)) return {};
  const cmcEeprom before = image_;
  ListOutcome outcome = Dispatch(command);
  outcome.changed = image_ != before;
  if (outcome.changed) {
    memmap::Encode(image_, modelType_);
    if (recorder_) recorder_(command.operation, before);
  }
  return outcome;
}

ListOutcome ListEditor::Dispatch(const ListCommand& command) {
  switch (command.operation) {
  case ListOperation::kCopy: return Copy(command);
  case ListOperation::kPaste: return Paste(command);
  case ListOperation::kCarryUp: return Carry(command, false);
  case ListOperation::kCarryDown: return Carry(command, true);
  case ListOperation::kClear: return Clear(command);
  case ListOperation::kDelete: return Delete(command);
  case ListOperation::kInsert: return Insert(command);
  case ListOperation::kResizeBank: return ResizeBank(command);
  }
  return {};
}

bool ListEditor::Enabled(const ListCommand& command) const {
  const RecordList& list = command.list;
  if (!recordkind::IsListed(list.kind)) return false;
  const RowRange range = CommandRange(command);
  switch (command.operation) {
  case ListOperation::kCopy:
  case ListOperation::kClear:
  case ListOperation::kDelete: return list.Contains(command.row) && InUse(list.kind, command.row);
  case ListOperation::kPaste:
    // Also on a blank row of the list: filling an empty place is what paste is most for.
    return list.Contains(command.row) && clipboard_.canPaste(list.kind);
  case ListOperation::kCarryUp: return list.Contains(range.first) && range.first > list.first;
  case ListOperation::kCarryDown: return list.Contains(range.last) && range.last < list.last;
  case ListOperation::kInsert: return range.first >= list.first && range.first <= list.last + 1;
  case ListOperation::kResizeBank: return false;  // not a menu item
  }
  return false;
}

bool ListEditor::InUse(int kind, int index) const {
  if (!recordkind::IsChannel(kind)) return index >= 0 && index < memmap::AliasCount(image_);
  if (index < 0 || index >= datCh::ChannelsInUse(image_)) return false;
  datCh channel(image_);
  return channel.load(kind, index) && channel.inUse;
}

bool ListEditor::AnyInUse(int kind, RowRange range) const {
  for (int index = range.first; index <= range.last; ++index) {
    if (InUse(kind, index)) return true;
  }
  return false;
}

int ListEditor::Attributes(int kind, int index) const {
  datCh channel(image_);
  return recordkind::IsChannel(kind) && channel.load(kind, index) ? channel.atr : 0;
}

bool ListEditor::HasRoomFor(int kind, int count) const {
  if (recordkind::IsChannel(kind)) return datCh::HasRoom(image_, modelType_, ct::CT_Mch, count);
  const int slots = memmap::FindBlock(memmap::kAliasBlock)->slots;
  return memmap::AliasCount(image_) + count <= slots && datCh::HasRoom(image_, modelType_, ct::CT_MDC_Alias, count);
}

bool ListEditor::Confirm(std::string_view question) const {
  platform::MsgRequest request{overlay_.GetLine(gi::GI_Sys_AppTitle, 0), overlay_.GetBlockText(question),
                               platform::MsgIcon::Warning, platform::MsgButtons::OkCancel, true};
  return platform::CurrentMessageBox().Show(request) == platform::MsgAnswer::Ok;
}

void ListEditor::Refuse(std::string_view message) const {
  platform::CurrentMessageBox().Show({overlay_.GetLine(gi::GI_Sys_AppTitle, 0), overlay_.GetBlockText(message),
                                      platform::MsgIcon::Error, platform::MsgButtons::Ok, true});
}

std::string ListEditor::Status(std::string_view text) const { return overlay_.GetLine(text, 0); }

ListOutcome ListEditor::Copy(const ListCommand& command) {
  const std::optional<RowRange> range = Cut(CommandRange(command), command.list);
  if (!command.list.Contains(command.row) || !range) return {};
  if (!clipboard_.copy(image_, command.list.kind, range->first, Length(*range))) return {};
  return Done(Status(gi::GI_AppMess_S_Copy));
}

ListOutcome ListEditor::Paste(const ListCommand& command) {
  const RecordList& list = command.list;
  const int first = command.row;
  if (!list.Contains(first) || !clipboard_.canPaste(list.kind)) return {};
  const RowRange target{first, first + std::min(clipboard_.count(), list.last - first + 1) - 1};
  if (AnyInUse(list.kind, target) && !Confirm(gi::GI_AppMess_Conv_Overwrite)) return WithResult(ListResult::kCancelled);
  clipboard_.setKeepTargetAttributes(true);
  clipboard_.paste(image_, list.kind, target.first, Length(target));
  ListOutcome outcome = Done(Status(gi::GI_AppMess_S_Paste));
  outcome.selection = target;
  outcome.oneRow = Length(target) == 1;
  return outcome;
}

ListOutcome ListEditor::Carry(const ListCommand& command, bool down) {
  const RecordList& list = command.list;
  const std::optional<RowRange> range = Cut(CommandRange(command), list);
  if (!range || (down ? range->last >= list.last : range->first <= list.first)) return {};
  const int neighbour = down ? range->last + 1 : range->first - 1;
  if (recordkind::IsChannel(list.kind)) chrefs::Carry(image_, range->first, range->last, down);
  datClipCh moved;
  datClipCh passed;
  if (!moved.copy(image_, list.kind, range->first, Length(*range)) || !passed.copy(image_, list.kind, neighbour, 1)) {
    return {};
  }
  const int step = down ? 1 : -1;
  moved.paste(image_, list.kind, range->first + step, Length(*range));
  passed.paste(image_, list.kind, down ? range->first : range->last, 1);

  ListOutcome outcome = Done();
  if (command.selection) outcome.selection = RowRange{range->first + step, range->last + step};
  outcome.cursor = down ? range->last + step : range->first + step;
  return outcome;
}

ListOutcome ListEditor::Clear(const ListCommand& command) {
  const RecordList& list = command.list;
  const std::optional<RowRange> range = Cut(CommandRange(command), list);
  if (!range) return {};
  if (!Confirm(gi::GI_AppMess_Conv_Clear)) return WithResult(ListResult::kCancelled);
  datClipCh fresh;
  if (!fresh.copy(Initial(), list.kind, range->first, Length(*range))) return {};
  fresh.setKeepTargetAttributes(true);
  fresh.paste(image_, list.kind, range->first, Length(*range));
  ListOutcome outcome = Done(Status(gi::GI_AppMess_S_Clear));
  outcome.oneRow = Length(*range) == 1;
  return outcome;
}

ListOutcome ListEditor::Delete(const ListCommand& command) {
  const RecordList& list = command.list;
  RowRange asked{command.row, command.row};
  if (command.selection) asked = {std::min(command.row, CommandRange(command).first), CommandRange(command).last};
  const std::optional<RowRange> range = Cut(asked, list);
  if (!range) return {};
  const bool channels = recordkind::IsChannel(list.kind);
  int markers = 0;
  for (int index = range->first; index <= range->last; ++index) markers |= Attributes(list.kind, index);
  // dPMR446 radios may lose their A and B channels. Refused before anything is
  // asked: a question whose answer cannot count is only noise.
  if (channels && (markers & (datCh::kAtrA | datCh::kAtrB)) && !IsDpmr446(modelType_)) {
    Refuse(gi::GI_AppMess_ChErr_DelPrio);
    return WithResult(ListResult::kRefused);
  }
  if (AnyInUse(list.kind, *range) && !Confirm(gi::GI_AppMess_Conv_Delete)) {
    return WithResult(ListResult::kCancelled);
  }
  if (channels && (markers & datCh::kAtrE) && !(markers & datCh::kAtrClearE)) {
    image_.SetByte(chlayout::kAtrEActive,
                   static_cast<std::uint8_t>(image_.GetByte(chlayout::kAtrEActive) & ~chlayout::kAtrEActiveBit));
  }
  ListShifter shifter(image_, Initial(), banksInUse_);
  for (int i = 0; i < Length(*range); ++i) shifter.Delete(list, range->first);

  ListOutcome outcome = Done(Status(gi::GI_AppMess_S_Delete));
  outcome.selectionRemoved = true;
  outcome.cursor = range->first;
  outcome.deleted = Length(*range);
  return outcome;
}

ListOutcome ListEditor::Insert(const ListCommand& command) {
  const RecordList& list = command.list;
  const RowRange range = CommandRange(command);
  if (range.first < list.first || range.first > list.last + 1) return {};
  // A selection reaching past the memory asks for more than ever fits.
  const int count =
      static_cast<int>(std::min<std::int64_t>(std::int64_t{range.last} - range.first + 1, memmap::kMaxChannels + 1));
  if (!HasRoomFor(list.kind, count)) {
    Refuse(gi::GI_AppMess_ChErr_Overflow);
    return WithResult(ListResult::kRefused);
  }
  ListShifter shifter(image_, Initial(), banksInUse_);
  for (int i = 0; i < count; ++i) shifter.Insert(list, range.first);

  ListOutcome outcome = Done(Status(gi::GI_AppMess_S_Insert));
  if (command.selection) outcome.selection = range;
  outcome.inserted = count;
  return outcome;
}

int ListEditor::TrailingBlanks(int kind, int bank) const {
  const int first = datCh::FirstChannel(image_, bank);
  int blanks = 0;
  for (int index = first + datCh::BankSize(image_, bank) - 1; index >= first; --index, ++blanks) {
    const int atr = Attributes(kind, index);
    const bool marked = (atr & (datCh::kAtrA | datCh::kAtrB)) || ((atr & datCh::kAtrE) && !(atr & datCh::kAtrClearE));
    if (InUse(kind, index) || marked) break;
  }
  return blanks;
}

ListEditor::SizeLimits ListEditor::BankSizeLimits(int kind, int bank) const {
  const int size = datCh::BankSize(image_, bank);
  return {size - TrailingBlanks(kind, bank), size + datCh::ChannelsThatFit(image_, modelType_)};
}

ListOutcome ListEditor::ResizeBank(const ListCommand& command) {
  const RecordList& list = command.list;
  const int bank = list.bank;
  if (!recordkind::IsChannel(list.kind) || bank < 0 || bank >= memmap::kBankCount) return {};
  const int size = datCh::BankSize(image_, bank);
  const SizeLimits limits = BankSizeLimits(list.kind, bank);
  int wanted = command.size;
  if (wanted > limits.maximum) {
    Refuse(gi::GI_AppMess_ChErr_Overflow);
    wanted = limits.maximum;
  } else if (wanted < limits.minimum) {
    // Below 0 the bank holds fewer channels than the shrink would take away.
    Refuse(wanted < 0 ? gi::GI_AppMess_ChErr_NoCh : gi::GI_AppMess_ChErr_NotBlank);
    wanted = limits.minimum;
  }
  ListShifter shifter(image_, Initial(), banksInUse_);
  for (int added = size; added < wanted; ++added) shifter.Insert(list, datCh::FirstChannel(image_, bank + 1));
  for (int left = size; left > wanted; --left) shifter.Delete(list, datCh::FirstChannel(image_, bank) + left - 1);
  datCh::SetBankSize(image_, bank, wanted);

  ListOutcome outcome = Done();
  outcome.inserted = std::max(wanted - size, 0);
  outcome.deleted = std::max(size - wanted, 0);
  return outcome;
}
