#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

#include "app/cloneinfodialog.h"
#include "app/cloneprogress.h"
#include "control/clonecommands.h"

class QWidget;
class cmcEvMan;
class cmcGTex;

// The clone commands' windows: the progress window, the password, port and
// information dialogs, and the main window taking no input while a chain runs
// (its menus, tool bars and panes are disabled and it refuses to close, while
// dialogs and the scheduler's timer go on working).
class CloneWindows : public QObject, public CloneView {
 public:
  CloneWindows(QWidget* mainWindow, cmcGTex& overlay, cmcEvMan& events, std::function<platform::PortPaths()> portPaths);
  ~CloneWindows() override;

  // What the progress window's Cancel calls.
  void SetCancel(std::function<void()> cancel) { cancel_ = std::move(cancel); }

  void SetRunning(bool running) override;
  void OpenProgress(const std::string& caption) override;
  void ShowProgress(int segments) override;
  void CloseProgress() override;
  std::optional<std::string> AskClonePassword() override;
  void ShowCloneInformation(std::span<const std::uint8_t> identification) override;
  std::optional<int> ChoosePort(int style, int currentPort) override;
  bool OpenFolder(const std::string& path) override;

  bool IsRunning() const { return running_; }
  // Created with the first read or write; none before.
  CloneProgressWindow* ProgressWindow() const { return progress_.data(); }
  // The information dialog while it is open.
  CloneInfoDialog* InformationDialog() const { return information_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Either may go first: the window owns the progress window and the dialog.
  QPointer<QWidget> mainWindow_;
  cmcGTex& overlay_;
  cmcEvMan& events_;
  std::function<platform::PortPaths()> portPaths_;
  std::function<void()> cancel_;
  QPointer<CloneProgressWindow> progress_;
  QPointer<CloneInfoDialog> information_;
  // The parts of the main window disabled for the chain, enabled again after it.
  std::vector<QPointer<QWidget>> disabled_;
  bool running_ = false;
};
