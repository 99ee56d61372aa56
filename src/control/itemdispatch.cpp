#include "control/itemdispatch.h"

#include "links/celllinks.h"
#include "markup/cellnames.h"

namespace {

// State flags 0 to 3: ticked, hidden, disabled, caption from the display text.
constexpr int kTicked = 0;
constexpr int kHidden = 1;
constexpr int kCaptionFromText = 3;
constexpr int kStateFlagCount = 4;

}  // namespace

ItemState LinkItemDispatch::Refresh(cmcCellObj& cell) {
  for (int flag = 0; flag < kStateFlagCount; ++flag) cell.SetStateFlag(flag, false);
  ItemState state;
  // An item without a link (a submenu, a label) is no command and stays enabled.
  const bool command = cell.link != kNoCellLink;
  if (command && !links_.Knows(cell.link)) {
    cell.SetStateFlag(cmcCellObj::kDisabledFlag, true);
  } else if (command) {
    cmcCellCapsule request;
    request.cell = &cell;
    links_.Evaluate(request, false);
    if (cell.StateFlag(kCaptionFromText)) {
      state.caption = request.displayText.empty() ? DisplayTextOf(cell) : request.displayText;
    }
  }
  state.ticked = cell.StateFlag(kTicked);
  state.hidden = cell.StateFlag(kHidden);
  state.disabled = cell.StateFlag(cmcCellObj::kDisabledFlag);
  state.imageIndex = cell.imageIndex;
  return state;
}

void LinkItemDispatch::Activate(cmcCellObj& cell) {
  if (!links_.Knows(cell.link)) return;
  cmcCellCapsule request;
  request.cell = &cell;
  request.key = cellkey::kEnter;
  links_.Evaluate(request, true);
}
