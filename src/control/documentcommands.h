#pragma once

#include <optional>
#include <string>

#include "control/document.h"
#include "model/recent.h"

class cmcEvMan;
class cmcGTex;

// What a file dialog is to offer.
struct FileDialogRequest {
  std::string folder;     // where it starts
  std::string fileName;   // the name it proposes (save only)
  std::string extension;  // added to a name typed without one, without the dot
  std::string filter;     // "Description|*.ext|..." pairs, as the overlay gives them
};

// What the document commands ask of the window around them.
class DocumentWindow {
 public:
  virtual ~DocumentWindow() = default;
  // The chosen path; none when the user cancels. The save dialog asks before
  // it names an existing file.
  virtual std::optional<std::string> AskOpenPath(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> AskSavePath(const FileDialogRequest& request) = 0;
  // The wait cursor during file work.
  virtual void SetBusy(bool busy) = 0;
  virtual void SetTitle(const std::string& title) = 0;
  // The images are about to be replaced: the open sheet goes.
  virtual void CloseSheet() = 0;
  virtual void RebuildTree() = 0;
  // The model type changed: it is stored at exit.
  virtual void ModelTypeChosen(ModelType modelType) = 0;
};

// Where the document lives between runs: the folder the dialogs start in, its
// stored copy, and the recent-file list.
struct DocumentPlace {
  std::string& folder;
  std::string& storedFolder;
  cmcRecent& recent;
};

// The file commands of the main window over the open document: new, open,
// save, save as, model change, each with its confirmation. A cancelled
// question or dialog, and a refused file, leave the document, its name and
// its images as they were. The functions that return bool return true when
// the command did not complete.
class DocumentCommands {
 public:
  DocumentCommands(Document& document, cmcGTex& overlay, cmcEvMan& events, DocumentPlace place, DocumentWindow& window);

  enum class Answer { kYes, kNo, kCancel };
  // Whether unsaved changes may go: yes also when there are none. A Yes saves
  // first; a save that does not complete turns it into cancel. `another`: the
  // document is to be replaced by another file, so a save asks for a name.
  Answer ConfirmDiscard(bool another);

  void NewDocument();
  bool OpenDocument();
  bool OpenFile(const std::string& path);
  bool SaveDocument();
  bool SaveDocumentAs();
  bool SaveFile(const std::string& path);
  // With `ask`, the caution comes first and the document becomes the new
  // model's initial data; without, the loaded image stays.
  void ChangeModel(ModelType modelType, bool ask);

  // "<file name> - <application title>", "Untitled" for an untitled document.
  std::string Title() const;
  void UpdateTitle();
  // The file name part of the current name, or "Untitled".
  std::string ShortName() const;
  // Entry n of the recent-file list as the menu shows it; empty past the end.
  std::string RecentDisplayName(int n) const;
  bool OpenRecent(int n);

  // Set by an adjustment read, cleared when the document is replaced.
  bool HasAdjustmentData() const { return adjustmentData_; }
  void SetAdjustmentData() { adjustmentData_ = true; }

 private:
  FileDialogRequest DialogRequest(std::string fileName) const;
  // The file now names the document: its folder, the title and the recent list.
  void TakeName(const std::string& path);
  void AfterReplaced();
  void PostBankLabels();

  Document& document_;
  cmcGTex& overlay_;
  cmcEvMan& events_;
  DocumentPlace place_;
  DocumentWindow& window_;
  bool adjustmentData_ = false;
};
