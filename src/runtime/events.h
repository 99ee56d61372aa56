#pragma once

#include <array>
#include <cstdint>

// Every event code of the application, with its meaning. Codes are small
// integers from 1 to 70 shared by every module; each is defined here once.
// "argument" and "text" name the event's argument and text payload.
namespace ev {

// A form is being destroyed (sender: the form); windows and editors owned by it close.
inline constexpr std::uint32_t kOwnerDestroyed = 1;
// Refresh request (also "the port changed"); the main controller sends kMenuStates and kToolbarStates.
inline constexpr std::uint32_t kRefresh = 2;
// Open the about box (posted by the Help > About command).
inline constexpr std::uint32_t kAboutBox = 3;
// Set the status-bar message: text colour, background colour and text.
inline constexpr std::uint32_t kStatusMessage = 4;
// Open the free debug window.
inline constexpr std::uint32_t kOpenDebugWindow = 5;
// Open the EEPROM debug window.
inline constexpr std::uint32_t kOpenEeDebugWindow = 6;
// Run the debug comparison of the edit image with the comparison image.
inline constexpr std::uint32_t kDebugCompare = 7;
// The comparison image becomes a copy of the edit image.
inline constexpr std::uint32_t kTakeComparisonImage = 8;
// Menus and port displays recompute their states.
inline constexpr std::uint32_t kMenuStates = 9;
// Empty the sub-items of the menu item with the link (argument).
inline constexpr std::uint32_t kMenuClear = 10;
// Fill the menu item with the link from a pop-up menu (sender: click-handler owner, argument: link, text: menu name).
inline constexpr std::uint32_t kMenuFill = 11;
// Query: the active cell of the current sheet, when there is one.
inline constexpr std::uint32_t kQueryActiveCell = 12;
// Refresh request after adjustment data changed.
inline constexpr std::uint32_t kAdjustRefresh = 13;
// Cells changed; a sheet repaints the matching visible cells (argument: the reference cell).
inline constexpr std::uint32_t kCellsChangedAll = 14;
inline constexpr std::uint32_t kCellsChangedByType = 15;
inline constexpr std::uint32_t kCellsChangedByLink = 16;
inline constexpr std::uint32_t kCellsChangedByParameter = 17;
inline constexpr std::uint32_t kCellsChangedUpToParameter = 18;
inline constexpr std::uint32_t kCellsChangedFromParameter = 19;
// Tool-bar buttons recompute their states.
inline constexpr std::uint32_t kToolbarStates = 20;
// The current sheet finishes a pending cell edit.
inline constexpr std::uint32_t kFinishEdit = 21;
// A line for the free debug window (text).
inline constexpr std::uint32_t kDebugLog = 22;
// The delayed warning check has run.
inline constexpr std::uint32_t kWarningCheckDone = 23;
// List sheets: a record was inserted (argument: the number of records).
inline constexpr std::uint32_t kRecordInserted = 24;
// List sheets: a record was deleted (argument: the number of records).
inline constexpr std::uint32_t kRecordDeleted = 25;
// The image was replaced; the tree and the views are refreshed.
inline constexpr std::uint32_t kImageReplaced = 26;
// Channel operations on the edit image: insert, delete, multiple insert, multiple delete.
inline constexpr std::uint32_t kChannelInsert = 27;
inline constexpr std::uint32_t kChannelDelete = 28;
// List sheets recompute the bank title.
inline constexpr std::uint32_t kTitleRefresh = 29;
// Refresh the tree for the current modes and model type.
inline constexpr std::uint32_t kTreeRefresh = 30;
inline constexpr std::uint32_t kChannelInsertMany = 31;
inline constexpr std::uint32_t kChannelDeleteMany = 32;
// List sheets select a cell (argument: the cell).
inline constexpr std::uint32_t kSelectCell = 33;
// The main sheet follows the memory-channel window's move (argument: +1 or -1).
inline constexpr std::uint32_t kFollowChannel = 34;
// The memory-channel window refreshes the row of a channel (argument: the channel).
inline constexpr std::uint32_t kChannelRowChanged = 35;
// Tree bank nodes take their images from the bank flags and contents.
inline constexpr std::uint32_t kBankImages = 36;
// A bank node takes a caption (argument: bank, text: label).
inline constexpr std::uint32_t kBankLabel = 37;
// Label banks from argument's low to high bank, one bank per pump.
inline constexpr std::uint32_t kBankLabels = 38;
// Query: whether a mouse-wheel turn is to be consumed.
inline constexpr std::uint32_t kQueryConsumeWheel = 39;
// Open editors and selection windows close.
inline constexpr std::uint32_t kCloseEditors = 40;
// Open the adjustment window, or bring it forward.
inline constexpr std::uint32_t kOpenAdjustWindow = 41;
// The adjustment window re-evaluates its cells.
inline constexpr std::uint32_t kAdjustCells = 42;
// Close the edit window whose sheet name is the text.
inline constexpr std::uint32_t kCloseEditWindow = 43;
// Edit windows rebuild their sheets (font size changed).
inline constexpr std::uint32_t kRebuildEditWindow = 44;
// Edit windows dock into the dock site.
inline constexpr std::uint32_t kDockEditWindow = 45;
// argument 0: create the memory-channel window; otherwise close it.
inline constexpr std::uint32_t kMchWindow = 46;
// Close the memory-channel window.
inline constexpr std::uint32_t kCloseMchWindow = 47;
// The sheet (sender) rebuilds itself: a cell change altered the layout of other
// rows (argument: the sheet's build serial, so a later sheet at the same address ignores it).
inline constexpr std::uint32_t kRebuildSheet = 48;
// A channel sheet's current row moved (sender: the sheet, argument: the
// row's channel; -1 when the sheet closes); the memory-channel window follows it.
inline constexpr std::uint32_t kChannelSelected = 49;
// The memory-channel window rebuilds itself (font size or data changed).
inline constexpr std::uint32_t kRebuildMchWindow = 50;
// The model type or the document changed.
inline constexpr std::uint32_t kModelChanged = 53;
// argument non-zero: show the memory-channel window; otherwise hide it.
inline constexpr std::uint32_t kMchWindowVisible = 56;
inline constexpr std::uint32_t kShowMchWindow = 57;
inline constexpr std::uint32_t kHideMchWindow = 58;
// Dock the memory-channel window without a side.
inline constexpr std::uint32_t kDockMchWindow = 59;
// Restore the window order of floating windows (text payload).
inline constexpr std::uint32_t kWindowOrder = 60;
// argument 0: create the pop-up help window at its stored size.
inline constexpr std::uint32_t kHelpWindow = 61;
inline constexpr std::uint32_t kCloseHelpWindow = 62;
// Move the help window to its stored position (when floating) and navigate.
inline constexpr std::uint32_t kHelpMoveAndNavigate = 63;
inline constexpr std::uint32_t kHelpNavigate = 64;
inline constexpr std::uint32_t kHelpStopLoading = 65;
inline constexpr std::uint32_t kHelpZoom = 66;
// Help window state request; argument 0: hide, 1: dock, 2: show.
inline constexpr std::uint32_t kHelpWindowState = 67;
inline constexpr std::uint32_t kDockHelpWindow = 68;
inline constexpr std::uint32_t kHideHelpWindow = 69;
inline constexpr std::uint32_t kShowHelpWindow = 70;

inline constexpr std::uint32_t kFirstCode = 1;
inline constexpr std::uint32_t kLastCode = 70;

inline constexpr std::array kAllCodes = {
    kOwnerDestroyed,
    kRefresh,
    kAboutBox,
    kStatusMessage,
    kOpenDebugWindow,
    kOpenEeDebugWindow,
    kDebugCompare,
    kTakeComparisonImage,
    kMenuStates,
    kMenuClear,
    kMenuFill,
    kQueryActiveCell,
    kAdjustRefresh,
    kCellsChangedAll,
    kCellsChangedByType,
    kCellsChangedByLink,
    kCellsChangedByParameter,
    kCellsChangedUpToParameter,
    kCellsChangedFromParameter,
    kToolbarStates,
    kFinishEdit,
    kDebugLog,
    kWarningCheckDone,
    kRecordInserted,
    kRecordDeleted,
    kImageReplaced,
    kChannelInsert,
    kChannelDelete,
    kTitleRefresh,
    kTreeRefresh,
    kChannelInsertMany,
    kChannelDeleteMany,
    kSelectCell,
    kFollowChannel,
    kChannelRowChanged,
    kBankImages,
    kBankLabel,
    kBankLabels,
    kQueryConsumeWheel,
    kCloseEditors,
    kOpenAdjustWindow,
    kAdjustCells,
    kCloseEditWindow,
    kRebuildEditWindow,
    kDockEditWindow,
    kMchWindow,
    kCloseMchWindow,
    kRebuildSheet,
    kChannelSelected,
    kRebuildMchWindow,
    kModelChanged,
    kMchWindowVisible,
    kShowMchWindow,
    kHideMchWindow,
    kDockMchWindow,
    kWindowOrder,
    kHelpWindow,
    kCloseHelpWindow,
    kHelpMoveAndNavigate,
    kHelpNavigate,
    kHelpStopLoading,
    kHelpZoom,
    kHelpWindowState,
    kDockHelpWindow,
    kHideHelpWindow,
    kShowHelpWindow,
};

// Each code is defined once and lies in range.
constexpr bool CodesAreDistinctAndInRange() {
  std::array<bool, kLastCode + 1> seen{};
  for (std::uint32_t code : kAllCodes) {
    if (code < kFirstCode || code > kLastCode || seen[code]) return false;
    seen[code] = true;
  }
  return true;
}
static_assert(CodesAreDistinctAndInRange(), "event codes clash or leave 1..70");

// The arguments of the tool-window requests kMchWindow, kMchWindowVisible,
// kHelpWindow and kHelpWindowState.
namespace window {
inline constexpr int kCreate = 0;
inline constexpr int kClose = 1;
inline constexpr int kHide = 0;
inline constexpr int kShow = 1;
inline constexpr int kHelpHidden = 0;
inline constexpr int kHelpDocked = 1;
inline constexpr int kHelpShown = 2;
inline constexpr int kHelpFollowsSheet = 4;
}  // namespace window

}  // namespace ev
