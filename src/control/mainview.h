#pragma once

#include <memory>
#include <optional>
#include <string>

#include "control/documentcommands.h"
#include "control/warningcheck.h"
#include "control/worklayout.h"
#include "markup/colours.h"

class cuiSheet;
class SheetView;
class TextMeasurer;

// What the main controller asks of its window. The window implements it;
// the controller never sees a widget.
class MainView {
 public:
  virtual ~MainView() = default;

  // The window title, which is also the application's title.
  virtual void SetTitle(const std::string& title) = 0;
  // Shows the maker panel with its text at the end of the status bar.
  virtual void ShowMakerPanel(const std::string& text) = 0;
  // The status bar's message panel: its text and colours.
  virtual void SetStatusMessage(CellColour text, CellColour background, const std::string& message) = 0;
  // Shows the window once the controller has filled it.
  virtual void ShowView() = 0;
  virtual bool IsViewVisible() const = 0;
  // Closes the window through its close query.
  virtual void CloseView() = 0;

  // The file dialogs and the wait cursor.
  virtual std::optional<std::string> AskOpenPath(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> AskSavePath(const FileDialogRequest& request) = 0;
  virtual void SetBusy(bool busy) = 0;

  // The sheet area: it takes the sheet it shows and lets it go, destroying it
  // once no action of the sheet runs; the sheet draws through its view and
  // measures its texts with the area's font.
  virtual void HostSheet(std::unique_ptr<cuiSheet> sheet) = 0;
  virtual void RemoveSheet() = 0;
  virtual SheetView* SheetAreaView() = 0;
  virtual const TextMeasurer& SheetMeasurer() const = 0;
  virtual bool SheetHasFocus() const = 0;
  virtual void FocusSheet(bool sheet) = 0;

  // The work area: its height, the heights its areas have now, and a new layout.
  virtual int WorkAreaHeight() const = 0;
  virtual AreaHeights ShownHeights() const = 0;
  virtual void ApplyLayout(const WorkLayout::Change& change) = 0;
  // Whether a help window sits in the help area (an empty area is never shown).
  virtual bool HasHelpWindow() const = 0;
  virtual void SetToolBarVisible(bool visible) = 0;

  // The navigation tree: its nodes named in the marks get the warning or error
  // mark. The tree's own widget does it; until it exists nothing is marked.
  virtual void MarkTree(const WarningMarks& marks) = 0;
  // A new navigation tree for the present modes and model type.
  virtual void RebuildTree() = 0;
  // Opens the sheet of the tree's selected node; false without a tree or when
  // the node opens no sheet.
  virtual bool OpenSelectedNodeSheet() = 0;
};
