#pragma once

// The controller's clone and port commands: read, write and information over
// the open document, the port and speed settings, verification after a write
// and the backup folder.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "clone/clonesequence.h"
#include "control/warningcheck.h"
#include "platform/portpaths.h"

class Document;
class LinkTable;
class cmcEvMan;
class cmcGTex;
class indCloneMan;

// What the commands ask of the window: progress, dialogs, and the main window
// taking no input while a chain runs. The GUI implements it; tests record it.
class CloneView {
 public:
  virtual ~CloneView() = default;

  // True from the start of a chain until its end.
  virtual void SetRunning(bool running) = 0;
  // The progress window of a read or write: its caption, its filled segments
  // (0 to indCloneMan::kProgressSegments), then closed.
  virtual void OpenProgress(const std::string& caption) = 0;
  virtual void ShowProgress(int segments) = 0;
  virtual void CloseProgress() = 0;
  // The clone password dialog: the password typed, or none for Cancel.
  virtual std::optional<std::string> AskClonePassword() = 0;
  // The information dialog over the radio's identification record.
  virtual void ShowCloneInformation(std::span<const std::uint8_t> identification) = 0;
  // The port selection dialog in style 0, 1 or 2: the number chosen, or none.
  virtual std::optional<int> ChoosePort(int style, int currentPort) = 0;
  // Shows a folder in the desktop's file manager; false when it could not.
  virtual bool OpenFolder(const std::string& path) = 0;
};

// The user's settings the commands read and change; they outlive the commands.
struct CloneSettings {
  int& comPort;
  int& comSpeedHigh;
  int& verifyAfterWrite;  // not 0: a write is read back and compared
  int& backupRadioFirst;  // not 0: a write first reads the radio into a backup
};

// What the commands ask of the controller. Every hook may be left empty.
struct CloneControllerHooks {
  // Unsaved changes before a read replaces them: false stops the read.
  std::function<bool()> confirmDiscard;
  // The warning check of the sheets over what is about to be written.
  std::function<WarningMarks()> warningMarks;
  std::function<bool()> makerMode;
  // After a read replaced the document: a fresh undo history, the sheet
  // closed, the tree rebuilt and the title updated.
  std::function<void()> documentReplaced;
  // After a write succeeded: the current sheet is closed.
  std::function<void()> documentWritten;
  // The user's named device paths for the port numbers.
  std::function<platform::PortPaths()> portPaths;
};

class CloneCommands {
 public:
  // Every argument outlives the commands.
  CloneCommands(Document& document, indCloneMan& manager, cmcGTex& overlay, cmcEvMan& events, CloneSettings settings,
                CloneView& view, CloneControllerHooks hooks = {});
  // The manager outlives the commands: it stops calling them.
  ~CloneCommands();
  CloneCommands(const CloneCommands&) = delete;
  CloneCommands& operator=(const CloneCommands&) = delete;

  // Where backups are kept; the user's data folder unless a test says otherwise.
  void SetBackupFolder(std::string folder);
  const std::string& BackupFolder() const { return backupFolder_; }
  // Hears the final code of every chain that started.
  void SetChainListener(std::function<void(CloneCode)> listener) { chainListener_ = std::move(listener); }

  // Each returns whether a chain started; the commands do nothing while one runs.
  bool Read();
  bool Write();
  bool Information();
  bool IsRunning() const { return running_; }
  int ProgressSegments() const;

  // The progress window's Cancel: ends a read or an information at once; a
  // write only after the user agreed to leave the radio partly written.
  void Cancel();

  // The port menu: a numbered port, the selection dialog (style 0, 1 or 2;
  // any other value gives style 0), the speed.
  bool PortTicked(int port) const { return settings_.comPort == port; }
  void ChoosePortNumber(int port);
  bool OtherPortTicked() const { return settings_.comPort > kListedPorts; }
  void ChoosePortInDialog(int style);
  bool SpeedTicked(int high) const { return settings_.comSpeedHigh == high; }
  void ChooseSpeed(int high) { settings_.comSpeedHigh = high; }

  bool VerifyAfterWrite() const { return settings_.verifyAfterWrite != 0; }
  void ToggleVerifyAfterWrite() { settings_.verifyAfterWrite = VerifyAfterWrite() ? 0 : 1; }
  bool BackupRadioFirst() const { return settings_.backupRadioFirst != 0; }
  void ToggleBackupRadioFirst() { settings_.backupRadioFirst = BackupRadioFirst() ? 0 : 1; }
  // Creates the backup folder when it is missing, then shows it.
  bool OpenBackupFolder();

  const CloneSequence& Sequence() const { return sequence_; }

 private:
  // Ports 1 to 4 have menu items of their own.
  static constexpr int kListedPorts = 4;
  // The port dialog's styles: a number, a number or a listed port, a named port.
  static constexpr int kFirstPortStyle = 0;
  static constexpr int kLastPortStyle = 2;

  void PreparePort();
  // Starts a chain with the main window taking no input until it ends;
  // `onSuccess` runs after a successful end.
  bool Begin(const std::function<bool(CloneSequence::Done)>& start, std::function<void()> onSuccess);

  Document& document_;
  indCloneMan& manager_;
  cmcGTex& overlay_;
  cmcEvMan& events_;
  CloneSettings settings_;
  CloneView& view_;
  CloneControllerHooks hooks_;
  CloneSequence sequence_;
  std::string backupFolder_;
  std::function<void(CloneCode)> chainListener_;
  bool running_ = false;
};

// The command links of the Clone and Port menus, added to `table` as rows
// that call `commands` (which outlives the table). A row's state rule ticks
// its item; its action runs on Enter. Beside the read, write and information
// commands (parameter 0), CL_Menu_Clone_Write with parameter 1 is the
// "Verify after writing" item, with parameter 2 the "Back up the radio before
// writing" item, and CL_Menu_Clone_Info with parameter 1 opens the backup folder.
void AddCloneCommandLinks(LinkTable& table, CloneCommands& commands);
