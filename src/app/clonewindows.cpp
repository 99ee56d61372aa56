#include "app/clonewindows.h"

#include <QDesktopServices>
#include <QDialog>
#include <QEvent>
#include <QPushButton>
#include <QUrl>
#include <QWidget>

#include "app/cloneinfodialog.h"
#include "app/clonepassworddialog.h"
#include "app/cloneprogress.h"
#include "app/portdialog.h"
#include "core/gtex.h"
#include "core/overlaynames.h"

CloneWindows::CloneWindows(QWidget* mainWindow, cmcGTex& overlay, cmcEvMan& events,
                           std::function<platform::PortPaths()> portPaths)
    : mainWindow_(mainWindow), overlay_(overlay), events_(events), portPaths_(std::move(portPaths)) {
  if (mainWindow_ != nullptr) mainWindow_->installEventFilter(this);
}

CloneWindows::~CloneWindows() {
  if (mainWindow_ != nullptr) mainWindow_->removeEventFilter(this);
  delete progress_.data();
  delete information_.data();
}

void CloneWindows::SetRunning(bool running) {
  if (running == running_) return;
  running_ = running;
  if (mainWindow_ == nullptr) return;
  if (!running) {
    for (const QPointer<QWidget>& part : disabled_) {
      if (part) part->setEnabled(true);
    }
    disabled_.clear();
    mainWindow_->activateWindow();
    return;
  }
  // Disabling the window itself would disable the dialogs it owns as well.
  for (QWidget* part : mainWindow_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (part->isWindow() && qobject_cast<QDialog*>(part) != nullptr) continue;
    if (!part->isEnabled()) continue;
    part->setEnabled(false);
    disabled_.emplace_back(part);
  }
}

bool CloneWindows::eventFilter(QObject* watched, QEvent* event) {
  // The window stays while a transfer runs.
  if (watched == mainWindow_ && event->type() == QEvent::Close && running_) {
    event->ignore();
    return true;
  }
  return QObject::eventFilter(watched, event);
}

void CloneWindows::OpenProgress(const std::string& caption) {
  if (progress_ == nullptr) {
    progress_ = new CloneProgressWindow(
        mainWindow_, QString::fromStdString(overlay_.GetLine(gi::GI_AppInd_Button_OkCancel, 1)), [this] {
          if (cancel_) cancel_();
        });
  }
  progress_->Open(caption);
}

void CloneWindows::ShowProgress(int segments) {
  if (progress_ != nullptr) progress_->SetSegments(segments);
}

void CloneWindows::CloseProgress() {
  if (progress_ != nullptr) progress_->Finish();
}

std::optional<std::string> CloneWindows::AskClonePassword() {
  return ::AskClonePassword(mainWindow_, overlay_, events_);
}

void CloneWindows::ShowCloneInformation(std::span<const std::uint8_t> identification) {
  delete information_.data();
  information_ = new CloneInfoDialog(mainWindow_, overlay_, identification);
  information_->setAttribute(Qt::WA_DeleteOnClose);
  // Window-modal without a loop of its own: the main window waits, the timers run.
  information_->open();
  information_->OkButton()->setFocus();
}

std::optional<int> CloneWindows::ChoosePort(int style, int currentPort) {
  return ::ChoosePort(mainWindow_, overlay_, events_, currentPort, static_cast<PortFieldStyle>(style),
                      portPaths_ ? portPaths_() : platform::PortPaths{});
}

bool CloneWindows::OpenFolder(const std::string& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}
