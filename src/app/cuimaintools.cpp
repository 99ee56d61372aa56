// The main controller's radio and CSV commands: the clone desk with its
// windows, and the channel list's export and import.

#include "app/cuimain.h"
#include "app/environ.h"
#include "control/statusmessage.h"
#include "runtime/events.h"
#include "runtime/evman.h"

void cuiMain::BuildTools(QWidget* window) {
  if (window == nullptr) return;
  cloneDesk_ = std::make_unique<CloneDesk>(scheduler_, overlay_, events_, document_, settings_, window, CloneHooks());
  // The desk's rows serve every clone and port item of the menu and tool bar.
  cloneDesk_->AddLinks(linkTable_);
  csv_ = std::make_unique<ChannelCsvCommands>(window, document_, overlay_, undo_);
  csv_->SetStatusHandler([this](const std::string& text) {
    PostStatusMessage(events_, {clWindowText, clBtnFace, text});
  });
}

CloneControllerHooks cuiMain::CloneHooks() {
  CloneControllerHooks hooks;
  hooks.confirmDiscard = [this] {
    return documentCommands_.ConfirmDiscard(false) != DocumentCommands::Answer::kCancel;
  };
  hooks.countDataErrors = [this] {
    // A value still in the cell editor belongs to what is checked and written.
    events_.Send(ev::kFinishEdit, nullptr, 0);
    return RunWarningCheck() ? 1 : 0;
  };
  hooks.makerMode = [this] { return makerMode_; };
  hooks.documentReplaced = [this] {
    ModelTypeChosen(document_.Type());
    CloseSheet();
    RebuildTree();
    UpdateTitle();
  };
  hooks.documentWritten = [this] { CloseSheet(); };
  return hooks;
}

void cuiMain::ExportChannels() {
  if (csv_) csv_->Export();
}

void cuiMain::ImportChannels() {
  if (!csv_) return;
  events_.Send(ev::kFinishEdit, nullptr, 0);
  if (csv_->Import() != ChannelCsvCommands::Result::kDone) return;
  // The imported channels may change every list: the sheet is built again.
  CloseSheet();
  RebuildTree();
  MarkModifiedIfChanged();
}
