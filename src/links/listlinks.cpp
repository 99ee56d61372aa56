// The record lists' links and pop-up menu commands: every change goes through
// the list editor, which asks, refuses and reports; this side maps a cell
// request to a list and the outcome back to the request.

#include <string>

#include "links/celllinks.h"
#include "links/channelops.h"
#include "links/linktable.h"
#include "markup/ids.h"
#include "model/ch.h"
#include "model/memorymap.h"
#include "runtime/events.h"
#include "runtime/evman.h"

namespace listlinks {

namespace {

struct MenuRow {
  int link;
  ListOperation operation;
};
constexpr MenuRow kMenuRows[] = {
    {cl::CL_PMenu_Copy, ListOperation::kCopy},       {cl::CL_PMenu_Paste, ListOperation::kPaste},
    {cl::CL_PMenu_CarryUp, ListOperation::kCarryUp}, {cl::CL_PMenu_CarryDown, ListOperation::kCarryDown},
    {cl::CL_PMenu_Clear, ListOperation::kClear},     {cl::CL_PMenu_Delete, ListOperation::kDelete},
    {cl::CL_PMenu_Insert, ListOperation::kInsert},
};

const MenuRow* FindMenuRow(int link) {
  for (const MenuRow& row : kMenuRows) {
    if (row.link == link) return &row;
  }
  return nullptr;
}

// The list a row of a cell of `type` belongs to: the channels of its bank
// (the sheet's, when the row is the one after that bank's last channel), or
// the aliases in use.
std::optional<RecordList> ListOf(const LinkEnvironment& environment, int type, std::int32_t row,
                                 std::int32_t sheetBank) {
  const cmcEeprom& image = environment.image;
  if (chops::IsChannelType(type)) {
    const int bank = chops::BankForNewChannel(image, row, sheetBank);
    const int first = datCh::FirstChannel(image, bank);
    return RecordList{datCh::KindOf(environment.modelType), first, first + datCh::BankSize(image, bank) - 1, bank};
  }
  if (type == ct::CT_MDC_Alias) return RecordList{recordkind::kAlias, 0, memmap::AliasCount(image) - 1};
  return std::nullopt;
}

std::optional<RowRange> SelectionOf(const cmcCellCapsule& request) {
  if (!(request.rowSelection.flags & cmcCellCapsule::RowSelection::kExists)) return std::nullopt;
  return RowRange{request.rowSelection.first, request.rowSelection.last};
}

// An editor over the environment's images, or none when it lacks them.
std::optional<ListEditor> EditorFor(LinkEnvironment& environment, datClipCh& clipboard) {
  if (!environment.initialImage) return std::nullopt;
  return ListEditor(ListEditorSetup{environment.image, *environment.initialImage, environment.overlay, clipboard,
                                    environment.modelType, chops::BanksShown(environment.overlay),
                                    environment.recordChange});
}

// Tells the sheet, the status bar and the event listeners what a command did;
// the change bits for the request.
int Report(LinkEnvironment& environment, const ListOutcome& outcome) {
  if (!outcome.status.empty() && environment.showStatus) environment.showStatus(outcome.status);
  if (!outcome.changed) return 0;
  if (cmcEvMan* events = environment.events) {
    if (outcome.inserted > 0) events->Post(ev::kRecordInserted, nullptr, outcome.inserted);
    if (outcome.deleted > 0) events->Post(ev::kRecordDeleted, nullptr, outcome.deleted);
    if (outcome.inserted > 0 || outcome.deleted > 0) {
      events->Post(ev::kTitleRefresh, nullptr, 0);
      events->Post(ev::kBankImages, nullptr, 0);
    }
    events->Post(ev::kCellsChangedAll, nullptr, 0);
  }
  // The list sheets follow an insert or a delete through the events above, without a rebuild.
  const bool listResized = outcome.inserted > 0 || outcome.deleted > 0;
  return changebit::kRecordModified |
         (outcome.oneRow || listResized ? changebit::kRowRewritten : changebit::kRebuildSheet);
}

// --- the menu items' states ---

LinkOutcome RunItemState(LinkCall& call, ListOperation operation) {
  LinkEnvironment& environment = call.environment;
  bool enabled = false;
  const std::optional<RecordList> list = ListOf(environment, call.type, call.number, call.request.contextNumber);
  if (list && environment.clipboard) {
    if (std::optional<ListEditor> editor = EditorFor(environment, *environment.clipboard)) {
      enabled = editor->Enabled({operation, *list, call.number, SelectionOf(call.request), 0});
    }
  }
  if (call.request.cell) call.request.cell->SetStateFlag(cmcCellObj::kDisabledFlag, !enabled);
  return {};
}

// --- the bank size: a number whose change inserts or deletes channels at the bank's end ---

constexpr NumericSpec kAskedSize{-memmap::kMaxChannels, 2 * memmap::kMaxChannels, 0, 1, true};

LinkOutcome RunBankSize(LinkCall& call) {
  LinkEnvironment& environment = call.environment;
  const int bank = call.type == ct::CT_Null ? call.request.contextNumber : call.number;
  if (bank < 0 || bank >= memmap::kBankCount) return {};
  std::optional<std::int64_t> asked;
  LinkValue value{[&environment, bank] { return std::int64_t{datCh::BankSize(environment.image, bank)}; },
                  [&asked](std::int64_t size) { asked = size; }};
  LinkOutcome outcome = NumericFamily(call.request, kAskedSize, value);
  datClipCh unused;  // the bank size copies nothing
  std::optional<ListEditor> editor = EditorFor(environment, unused);
  if (!asked || !editor) return {false, outcome.editor};
  const int kind = datCh::KindOf(environment.modelType);
  const int first = datCh::FirstChannel(environment.image, bank);
  ListCommand command{ListOperation::kResizeBank,
                      {kind, first, first + datCh::BankSize(environment.image, bank) - 1, bank},
                      first,
                      std::nullopt,
                      static_cast<int>(*asked)};
  const ListOutcome resized = editor->Run(command);
  if (Report(environment, resized) != 0) call.changeBits |= changebit::kRowRewritten | changebit::kRebuildSheet;
  call.request.displayText = std::to_string(datCh::BankSize(environment.image, bank));
  return {resized.changed, outcome.editor};
}

}  // namespace

bool IsListCommand(int link) { return FindMenuRow(link) != nullptr; }

CommandDone RunCommand(LinkEnvironment& environment, cmcCellCapsule& request, int type, std::int32_t number) {
  const MenuRow* row = FindMenuRow(request.menuCommand);
  const std::optional<RecordList> list = ListOf(environment, type, number, request.contextNumber);
  if (!row || !list || !environment.clipboard) return {};
  std::optional<ListEditor> editor = EditorFor(environment, *environment.clipboard);
  if (!editor) return {};
  const ListOutcome outcome = editor->Run({row->operation, *list, number, SelectionOf(request), 0});

  if (outcome.selection) {
    request.rowSelection.flags = cmcCellCapsule::RowSelection::kExists | cmcCellCapsule::RowSelection::kChanged;
    request.rowSelection.first = outcome.selection->first;
    request.rowSelection.last = outcome.selection->last;
  } else if (outcome.selectionRemoved) {
    request.rowSelection.flags = cmcCellCapsule::RowSelection::kChanged;
  }
  if (outcome.cursor) {
    request.redirect = {true, type, request.cell ? request.cell->link : kNoCellLink, *outcome.cursor, 0};
  }
  return {Report(environment, outcome), outcome.result};
}

CommandDone AddAlias(LinkEnvironment& environment) {
  datClipCh unused;  // adding copies nothing
  std::optional<ListEditor> editor = EditorFor(environment, environment.clipboard ? *environment.clipboard : unused);
  if (!editor) return {};
  const int count = memmap::AliasCount(environment.image);
  const ListOutcome outcome = editor->Run({ListOperation::kInsert, {recordkind::kAlias, 0, count - 1}, count, {}, 0});
  return {Report(environment, outcome), outcome.result};
}

}  // namespace listlinks

void AddListLinks(LinkTable& table) {
  for (const listlinks::MenuRow& row : listlinks::kMenuRows) {
    table.Add(row.link, [&row](LinkCall& call) { return listlinks::RunItemState(call, row.operation); });
  }
  table.Add(cl::CL_Mch_Bank, listlinks::RunBankSize);
}
