#include "control/documentundo.h"

#include "control/document.h"
#include "control/stepname.h"
#include "runtime/events.h"
#include "runtime/evman.h"

DocumentUndo::DocumentUndo(Document& document, cmcGTex& overlay, cmcEvMan* events)
    : document_(document), overlay_(overlay), events_(events) {}

void DocumentUndo::BeforeAction() { pending_ = Pending{document_.Edit(), document_.History().Epoch()}; }

void DocumentUndo::AfterAction(const cmcCellCapsule& request) {
  if (!pending_) return;
  const Pending pending = std::move(*pending_);
  pending_.reset();
  if (pending.epoch != document_.History().Epoch() || pending.before == document_.Edit()) return;
  const std::vector<cuiSheet*> sheets = sheets_ ? sheets_() : std::vector<cuiSheet*>{};
  Record(pending.before, StepName(overlay_, request, sheets));
}

void DocumentUndo::Record(const cmcEeprom& before, std::string what) {
  document_.History().Record(before, document_.Edit(), std::move(what));
  // The Edit menu's items and the tool bar's buttons name the new step.
  if (events_) {
    events_->Post(ev::kMenuStates, nullptr, 0);
    events_->Post(ev::kToolbarStates, nullptr, 0);
  }
}

std::string DocumentUndo::UndoWhat() const { return document_.History().UndoWhat(); }

std::string DocumentUndo::RedoWhat() const { return document_.History().RedoWhat(); }

bool DocumentUndo::Undo() {
  if (!document_.History().Undo(document_.Edit())) return false;
  RefreshViews();
  return true;
}

bool DocumentUndo::Redo() {
  if (!document_.History().Redo(document_.Edit())) return false;
  RefreshViews();
  return true;
}

// A step may touch any record, so everything that shows the image hears of
// it: the cells, the bank titles and tree images, the memory-channel window,
// the menu and tool-bar states.
void DocumentUndo::RefreshViews() {
  if (events_) {
    for (std::uint32_t code : {ev::kCellsChangedAll, ev::kTitleRefresh, ev::kBankImages, ev::kRebuildMchWindow,
                               ev::kMenuStates, ev::kToolbarStates}) {
      events_->Post(code, nullptr, 0);
    }
  }
  if (afterStep_) afterStep_();
}
