#include "control/clonecommands.h"

#include <filesystem>
#include <system_error>

#include "clone/clonebackup.h"
#include "clone/cloneman.h"
#include "control/document.h"
#include "control/writecheck.h"
#include "core/gtex.h"
#include "core/overlaynames.h"
#include "core/substitute.h"
#include "model/ch.h"
#include "platform/messagebox.h"
#include "runtime/events.h"
#include "runtime/evman.h"

CloneCommands::CloneCommands(Document& document, indCloneMan& manager, cmcGTex& overlay, cmcEvMan& events,
                             CloneSettings settings, CloneView& view, CloneControllerHooks hooks)
    : document_(document),
      manager_(manager),
      overlay_(overlay),
      events_(events),
      settings_(settings),
      view_(view),
      hooks_(std::move(hooks)),
      sequence_(manager, overlay) {
  SetBackupFolder(CloneBackup::DefaultFolder());
  sequence_.SetPasswordSource([this] { return view_.AskClonePassword(); });
  manager_.SetProgressListener({[this](const std::string& caption) { view_.OpenProgress(caption); },
                                [this](int segments) { view_.ShowProgress(segments); },
                                [this] { view_.CloseProgress(); }});
}

CloneCommands::~CloneCommands() { manager_.SetProgressListener({}); }

void CloneCommands::SetBackupFolder(std::string folder) {
  backupFolder_ = std::move(folder);
  sequence_.SetBackup(CloneBackup(backupFolder_));
}

int CloneCommands::ProgressSegments() const { return manager_.ProgressSegments(); }

void CloneCommands::PreparePort() {
  const int port = settings_.comPort;
  const platform::PortPaths paths = hooks_.portPaths ? hooks_.portPaths() : platform::PortPaths{};
  // The number stays in the messages; the path it stands for is opened.
  if (const std::optional<std::string> path = platform::PortOpenPath(port, paths)) {
    manager_.SetNamedPort(port, *path);
  } else {
    manager_.SetPort(port);
  }
  manager_.SetHighSpeed(settings_.comSpeedHigh != 0);
}

bool CloneCommands::Begin(const std::function<bool(CloneSequence::Done)>& start, std::function<void()> onSuccess) {
  PreparePort();
  running_ = true;
  view_.SetRunning(true);
  const bool started = start([this, onSuccess = std::move(onSuccess)](CloneCode code) {
    // The window takes input again before what follows a success (a dialog).
    running_ = false;
    view_.SetRunning(false);
    if (code == CloneCode::kSuccess && onSuccess) onSuccess();
    if (chainListener_) chainListener_(code);
  });
  if (!started && running_) {
    running_ = false;
    view_.SetRunning(false);
  }
  return started;
}

bool CloneCommands::Read() {
  if (running_ || manager_.IsBusy()) return false;
  if (hooks_.confirmDiscard && !hooks_.confirmDiscard()) return false;
  return Begin([this](CloneSequence::Done done) { return sequence_.Read(std::move(done)); },
               [this] {
                 // The data came from a radio, not a file: untitled and modified.
                 document_.TakeFromRadio(sequence_.ReadImage());
                 if (hooks_.documentReplaced) hooks_.documentReplaced();
                 events_.Send(ev::kImageReplaced, nullptr, 0);
               });
}

bool CloneCommands::Write() {
  events_.Send(ev::kFinishEdit, nullptr, 0);
  if (running_ || manager_.IsBusy()) return false;
  const WarningMarks marks = hooks_.warningMarks ? hooks_.warningMarks() : WarningMarks{};
  if (!writecheck::Passes(overlay_, {document_.Edit(), marks})) return false;
  sequence_.SetMakerMode(hooks_.makerMode && hooks_.makerMode());
  sequence_.SetVerify(VerifyAfterWrite());
  sequence_.SetBackupRadioFirst(BackupRadioFirst());
  return Begin(
      [this](CloneSequence::Done done) {
        return sequence_.Write(document_.WriteCopy(), document_.Type(), std::move(done));
      },
      [this] {
        if (hooks_.documentWritten) hooks_.documentWritten();
      });
}

bool CloneCommands::Information() {
  if (running_ || manager_.IsBusy()) return false;
  return Begin([this](CloneSequence::Done done) { return sequence_.Information(std::move(done)); },
               [this] { view_.ShowCloneInformation(sequence_.Identification()); });
}

void CloneCommands::Cancel() {
  if (!running_ || !manager_.IsBusy()) return;
  if (manager_.RunningKind() == CloneKind::kWrite) {
    const platform::MsgAnswer answer = platform::CurrentMessageBox().Show(
        {overlay_.GetLine(gi::GI_Sys_AppTitle, 0), overlay_.GetBlockText(gi::GI_AppMess_CloneCancel_Write),
         platform::MsgIcon::Warning, platform::MsgButtons::OkCancel, true});
    // The write may have ended while the question was open.
    if (answer != platform::MsgAnswer::Ok || manager_.RunningKind() != CloneKind::kWrite) return;
  }
  manager_.Cancel();
}

void CloneCommands::ChoosePortNumber(int port) {
  settings_.comPort = port;
  events_.Send(ev::kRefresh, nullptr, 0);
}

void CloneCommands::ChoosePortInDialog(int style) {
  // The plain number field serves every caller that names no list form (the USB item).
  if (style < kFirstPortStyle || style > kLastPortStyle) style = kFirstPortStyle;
  const std::optional<int> chosen = view_.ChoosePort(style, settings_.comPort);
  if (!chosen) return;
  ChoosePortNumber(*chosen);
}

bool CloneCommands::OpenBackupFolder() {
  std::error_code error;
  std::filesystem::create_directories(backupFolder_, error);
  if (!error && view_.OpenFolder(backupFolder_)) return true;
  platform::CurrentMessageBox().Show(
      {overlay_.GetLine(gi::GI_Sys_AppTitle, 0),
       Substitute(overlay_.GetBlockText(gi::GI_AppMess_CloneBackup_OpenFailed), {backupFolder_}),
       platform::MsgIcon::Error, platform::MsgButtons::Ok, true});
  return false;
}
