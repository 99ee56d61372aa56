// The main controller's radio and CSV commands: the clone desk with its
// windows, and the channel list's export and import.

#include <QVBoxLayout>

#include "app/cuimain.h"
#include "app/environ.h"
#include "app/mainform.h"
#include "app/mchwinform.h"
#include "app/workarea.h"
#include "control/statusmessage.h"
#include "runtime/events.h"
#include "runtime/evman.h"

void cuiMain::BuildTools(MainView& view) {
  // Only the desktop window has them; a test's window without widgets does not.
  auto* window = dynamic_cast<TForm1*>(&view);
  if (window == nullptr) return;
  mchArea_ = window->Work()->MchArea();
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
  hooks.warningMarks = [this] {
    // A value still in the cell editor belongs to what is checked and written.
    events_.Send(ev::kFinishEdit, nullptr, 0);
    return RunWarningCheck();
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

void cuiMain::OpenMchWindow() {
  if (mchWindow_ != nullptr || mchArea_ == nullptr) return;
  MchWinForm::Setup setup{overlay_, document_.Edit()};
  setup.links = links_.get();
  setup.events = &events_;
  setup.charset = &*charset_;
  setup.segchar = &*segchar_;
  setup.environment = &environment_;
  setup.settings = &settings_;
  setup.widths = &widths_;
  setup.modes = ModesNow();
  setup.currentModes = [this] { return ModesNow(); };
  mchWindow_ = new MchWinForm(setup, mchArea_);
  mchWindow_->setAttribute(Qt::WA_DeleteOnClose);
  if (mchArea_->layout() == nullptr) new QVBoxLayout(mchArea_);
  mchArea_->layout()->setContentsMargins(0, 0, 0, 0);
  mchArea_->layout()->addWidget(mchWindow_);
  QObject::connect(mchWindow_, &QObject::destroyed, [this] {
    mchWindow_ = nullptr;
    // Closed by its own button while the program runs: the View menu's tick goes.
    if (view_ == nullptr) return;
    wants_.mchWanted = wants_.mchCreated = false;
    settings_.mchView = 0;
    UpdateLayout();
  });
  mchWindow_->OpenFor(sheets_.Current());
  mchWindow_->show();
}
