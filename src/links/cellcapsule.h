#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "markup/cellobj.h"
#include "markup/colours.h"

// Keys of a cell request: what the user did on the cell.
namespace cellkey {
constexpr int kEvaluate = 0;
constexpr int kBackspace = 8;
constexpr int kEnter = 13;
constexpr int kSpace = 32;
constexpr int kDoubleClick = 256;  // read as Enter
}  // namespace cellkey

// What the sheet is to open after an evaluation.
enum EditorRequest : int {
  kNoEditor = 0,
  kPopupEditor = 1,   // a pop-up editor holds the request and will reply with edit result 2
  kInCellEditor = 2,  // in-cell editing of the display text, replying with edit result 1
};

// How an edit comes back to the evaluator.
enum EditResult : int { kNoEdit = 0, kTextCommitted = 1, kPopupChoice = 2 };

// Change bits passed to the change callback.
namespace changebit {
constexpr int kEvaluated = 0x01;
constexpr int kRowRewritten = 0x04;
constexpr int kRecordModified = 0x08;
constexpr int kRebuildSheet = 0x20;
}  // namespace changebit

// Marks of a cell.
namespace cellmark {
constexpr int kCallerBits = 0x03;
constexpr int kWarning = 0x04;
constexpr int kError = 0x08;
}  // namespace cellmark

// Font colours of the links.
constexpr CellColour kNotApplicableColour = 0x00C0C0C0;  // greyed: the field does not apply now
constexpr CellColour kUnconfirmedColour = 0x00008080;    // red 128, green 128, blue 0
constexpr CellColour kDisabledRowColour = 0x00808080;

// One evaluation of one cell: filled by the caller, completed by the evaluator.
struct cmcCellCapsule {
  struct Redirect {
    bool active = false;
    int type = kNoCellType;
    int link = kNoCellLink;
    std::int32_t number = 0;
    int firstKey = 0;
  };
  struct RowSelection {
    static constexpr std::int32_t kExists = 0x01;   // a multi-row selection exists
    static constexpr std::int32_t kChanged = 0x02;  // the command changed it
    std::int32_t callerWord = 0;
    std::int32_t flags = 0;  // bit 0 a multi-row selection exists, bit 1 the command changed it
    std::int32_t first = 0;
    std::int32_t last = 0;
  };
  using ChangeCallback = std::function<void(cmcCellCapsule& request, int changeBits)>;
  using EditCallback = std::function<void(cmcCellCapsule& request, int mode)>;

  const cmcCellCapsule* reply = nullptr;  // a pop-up editor's answer: link = column, number = value
  std::int32_t contextNumber = 0;         // the bank on bank sheets, the row of a list
  std::int32_t editable = 1;
  cmcCellObj* cell = nullptr;  // links may set its state flags (the tick of a menu item)
  bool painting = false;       // the cell is being drawn, not only evaluated
  std::int32_t caretPosition = 0;
  std::int32_t selectionLength = 0;
  std::int32_t key = cellkey::kEvaluate;
  std::int32_t menuCommand = 0;
  std::string editedText;
  std::string displayText;
  int marks = 0;
  std::int32_t spare = 0;
  std::int32_t editResult = kNoEdit;
  Redirect redirect;
  std::int32_t repeatKey = 0;  // not 0: the caller repeats the action with this key
  RowSelection rowSelection;
  ChangeCallback changed;
  EditCallback edit;

  // While painted: the segment patterns the radio's display shows for the
  // text, drawn instead of it where the segment shapes are known.
  std::optional<std::vector<std::uint16_t>> glyphs;
  // The font colour a link chose for the cell; none keeps the sheet's.
  std::optional<CellColour> fontColour;
  // The reply cell of a pop-up editor: its link is the chosen column, its parameter the chosen value.
  int ReplyColumn() const { return reply && reply->cell ? reply->cell->link : kNoCellLink; }
  std::int32_t ReplyValue() const { return reply && reply->cell ? reply->cell->parameter : 0; }
};
