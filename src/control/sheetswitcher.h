#pragma once

#include <memory>
#include <string>

#include "control/sheethistory.h"
#include "control/worklayout.h"
#include "sheet/sheet.h"

class cmcEvMan;

// The memory-channel and help windows: whether the user wants them (View
// menu) and whether the controller has asked for them to be created.
struct WindowWants {
  bool mchWanted = false;
  bool mchCreated = false;
  bool helpWanted = false;
  bool helpCreated = false;
  bool helpClosing = false;  // the pop-up help window is being torn down
};

// What switching sheets asks of the window: the sheet area and the focus.
class SheetHost {
 public:
  virtual ~SheetHost() = default;
  // What a sheet in the sheet area is built with.
  virtual SheetServices ServicesForSheet() = 0;
  // The sheet area takes the sheet and shows it.
  virtual void HostSheet(std::unique_ptr<cuiSheet> sheet) = 0;
  // The sheet area lets the sheet go. It is destroyed once no action of its
  // own is running, since a cell of the sheet may be what closed it.
  virtual void RemoveSheet() = 0;
  // Whether the keyboard focus is in the sheet rather than in the tree.
  virtual bool SheetHasFocus() const = 0;
  virtual void FocusSheet(bool sheet) = 0;
};

// One sheet at a time in the sheet area: opening one closes the one before,
// remembering where the user left it, and tells the memory-channel and help
// windows whether they belong beside the new one.
class SheetSwitcher {
 public:
  SheetSwitcher(SheetHost& host, cmcGTex& overlay, cmcEvMan& events, WindowWants& wants);
  SheetSwitcher(const SheetSwitcher&) = delete;
  SheetSwitcher& operator=(const SheetSwitcher&) = delete;

  // Opens the sheet a reference names; a reference to no sheet leaves the
  // area empty. False when no sheet is open afterwards.
  bool OpenSheet(const std::string& reference);
  void CloseSheet();

  cuiSheet* Current() const { return sheet_; }
  const SheetHistory& History() const { return history_; }
  // The facts of the open sheet that choose the work-area layout.
  LayoutFacts Facts() const;

 private:
  SheetHost& host_;
  cmcGTex& overlay_;
  cmcEvMan& events_;
  WindowWants& wants_;
  cuiSheet* sheet_ = nullptr;  // held by the sheet area
  SheetHistory history_;
  bool focusInSheet_ = false;
  bool bankSheet_ = false;
  bool admitsHelp_ = false;
};
