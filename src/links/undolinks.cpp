// The Edit menu's undo and redo items: disabled with nothing to take, else
// captioned with what they take ("Undo Paste"); Enter runs the command.

#include "links/undolinks.h"

#include "core/gtex.h"
#include "core/overlaynames.h"
#include "core/substitute.h"
#include "links/celllinks.h"
#include "links/linktable.h"
#include "markup/ids.h"

namespace undolinks {

namespace {

// A menu item with this state flag takes its link's display text as caption.
constexpr int kCaptionFlag = 3;

struct UndoRow {
  int link;
  std::size_t captionLine;  // of GI_AppInd_Undo, a pattern naming the step
  std::size_t plainLine;    // the caption with no step to take
  std::string (UndoCommands::*what)() const;
  bool (UndoCommands::*run)();
};
constexpr UndoRow kUndoRows[] = {
    {cl::CL_Menu_Edit_Undo, 0, 2, &UndoCommands::UndoWhat, &UndoCommands::Undo},
    {cl::CL_Menu_Edit_Redo, 1, 3, &UndoCommands::RedoWhat, &UndoCommands::Redo},
};

const UndoRow* FindUndoRow(int link) {
  for (const UndoRow& row : kUndoRows) {
    if (row.link == link) return &row;
  }
  return nullptr;
}

LinkOutcome RunUndoItem(LinkCall& call, const UndoRow& row) {
  UndoCommands* commands = call.environment.undo;
  const std::string what = commands ? (commands->*row.what)() : std::string();
  cmcGTex& overlay = call.environment.overlay;
  call.request.displayText = what.empty() ? overlay.GetLine(gi::GI_AppInd_Undo, row.plainLine)
                                          : Substitute(overlay.GetLine(gi::GI_AppInd_Undo, row.captionLine), {what});
  if (cmcCellObj* cell = call.request.cell) {
    cell->SetStateFlag(cmcCellObj::kDisabledFlag, what.empty());
    cell->SetStateFlag(kCaptionFlag, true);
  }
  // A step may add or remove rows anywhere: the sheet is built again.
  if (call.request.key == cellkey::kEnter && !what.empty() && (commands->*row.run)()) {
    call.changeBits |= changebit::kRebuildSheet;
    return {true, kNoEditor};
  }
  return {};
}

}  // namespace

bool IsUndoCommand(int link) { return FindUndoRow(link) != nullptr; }

bool RunUndoCommand(LinkEnvironment& environment, int link) {
  const UndoRow* row = FindUndoRow(link);
  return row && environment.undo && (environment.undo->*row->run)();
}

}  // namespace undolinks

void AddUndoLinks(LinkTable& table) {
  for (const undolinks::UndoRow& row : undolinks::kUndoRows) {
    table.Add(row.link, [&row](LinkCall& call) { return undolinks::RunUndoItem(call, row); });
  }
}
