#pragma once

#include <memory>

#include "app/clonewindows.h"
#include "clone/cloneman.h"
#include "control/clonecommands.h"

class Document;
class LinkTable;
class QWidget;
class TaskScheduler;
class cmcEvMan;
class cmcGTex;
class indEnviron;

// The clone and port commands of the main window, put together: the clone
// manager, the commands over the document and the settings, and their
// windows. The controller owns one and adds its menu rows to its link table.
class CloneDesk {
 public:
  // Everything passed in outlives the desk. Empty `portPaths` in the hooks
  // reads the user's named ports from the settings.
  CloneDesk(TaskScheduler& scheduler, cmcGTex& overlay, cmcEvMan& events, Document& document, indEnviron& settings,
            QWidget* mainWindow, CloneControllerHooks hooks = {});
  // Keeps the "Verify after writing" and "Back up the radio before writing"
  // choices for the next start.
  ~CloneDesk();
  CloneDesk(const CloneDesk&) = delete;
  CloneDesk& operator=(const CloneDesk&) = delete;

  CloneCommands& Commands() { return *commands_; }
  CloneWindows& Windows() { return windows_; }
  indCloneMan& Manager() { return manager_; }
  // The rows of CL_Menu_Clone_* and CL_Menu_Port_*.
  void AddLinks(LinkTable& table) { AddCloneCommandLinks(table, *commands_); }

 private:
  indEnviron& settings_;
  int verifyAfterWrite_;
  int backupRadioFirst_;
  indCloneMan manager_;
  CloneWindows windows_;
  std::unique_ptr<CloneCommands> commands_;
};
