#pragma once

#include <string>
#include <string_view>

#include "model/modeltype.h"

class LinkTable;

// What the main menu, the tool bar and the tree ask of the main controller.
// The command links reach the controller only through this; each item is a
// cell whose link is a row of the command family below.
class CommandTarget {
 public:
  virtual ~CommandTarget() = default;

  // The document.
  virtual void NewDocument() = 0;
  virtual void OpenDocument() = 0;
  // Save as when untitled, else a save under the current name.
  virtual void SaveDocument() = 0;
  virtual void SaveDocumentAs() = 0;
  // Entry n of the recent-file list as a menu shows it; empty past the end.
  virtual std::string RecentDisplayName(int n) const = 0;
  virtual void OpenRecent(int n) = 0;
  // The channel list to and from a CSV file.
  virtual void ExportChannels() = 0;
  virtual void ImportChannels() = 0;
  // Closes the main window, which asks before unsaved changes are lost.
  virtual void CloseMainWindow() = 0;

  // The current sheet's own Edit menu, or the "no item" menu.
  virtual void PrepareEditMenu() = 0;
  virtual void OpenSheet(const std::string& reference) = 0;

  // The view.
  virtual bool IsMchWindowWanted() const = 0;
  virtual void ToggleMchWindow() = 0;
  virtual bool IsHelpWindowWanted() const = 0;
  virtual void ToggleHelpWindow() = 0;
  virtual int FontSize() const = 0;
  virtual void SetFontSize(int size) = 0;
  virtual bool IsToolBarShown() const = 0;
  virtual void ToggleToolBar() = 0;

  // The radio model.
  virtual ModelType Model() const = 0;
  virtual void ChangeModel(ModelType modelType, bool ask) = 0;

  // Help.
  // False while the pop-up help window is docked or the open sheet admits no help.
  virtual bool IsHelpPopupAvailable() const = 0;
  virtual void ShowHelpPopup() = 0;
  // The name of language n of the language list.
  virtual std::string LanguageName(int n) const = 0;
};

// Adds the rows of every main menu, tool bar and tree command to `table`. A
// row's state rule sets the item's state flags and caption each time the item
// is evaluated; its action runs when the item is activated (Enter or a click).
// Commands whose windows are not built yet are present and disabled. The
// clone and port commands have rows of their own (AddCloneCommandLinks).
void AddCommandLinks(LinkTable& table, CommandTarget& target);

// The state flags of a command item.
namespace itemflag {
constexpr int kTicked = 0;
constexpr int kHidden = 1;
constexpr int kDisabled = 2;
constexpr int kCaptionFromText = 3;
}  // namespace itemflag

// The caption of recent-file entry n: "&<n + 1> <name>", ampersands doubled.
std::string RecentCaption(int n, std::string_view displayName);
