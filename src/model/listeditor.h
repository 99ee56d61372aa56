#pragma once

#include <functional>
#include <optional>
#include <string>

#include "model/clipch.h"
#include "model/eeprom.h"
#include "model/listshift.h"
#include "model/modeltype.h"

class cmcGTex;

// The commands of a record list's pop-up menu (copy, paste, carry up and down,
// clear, delete, insert) and the bank size, with their confirmations,
// refusals and status texts. Every change they make to the image passes
// through Run, the one place a recorder sees it.

enum class ListOperation { kCopy, kPaste, kCarryUp, kCarryDown, kClear, kDelete, kInsert, kResizeBank };

struct RowRange {
  int first = 0;
  int last = 0;
};

struct ListCommand {
  ListOperation operation = ListOperation::kCopy;
  RecordList list;
  int row = 0;                        // the record of the row the command was given on
  std::optional<RowRange> selection;  // the selected records, when rows are selected
  int size = 0;                       // kResizeBank: the size asked for the list's bank
};

enum class ListResult {
  kDone,
  kCancelled,      // a confirmation was answered Cancel
  kRefused,        // a message said why not
  kNotApplicable,  // nothing to do on this row
};

struct ListOutcome {
  ListResult result = ListResult::kNotApplicable;
  bool changed = false;               // the image changed
  std::string status;                 // the status text, empty when none
  std::optional<RowRange> selection;  // the records to select afterwards
  bool selectionRemoved = false;
  std::optional<int> cursor;  // the record the cursor goes to
  bool oneRow = false;        // only the row's record changed
  int inserted = 0;           // records inserted into, or deleted from, the list
  int deleted = 0;
};

// Hears every command that changed the image, with the image as it was before.
using ListChangeRecorder = std::function<void(ListOperation operation, const cmcEeprom& before)>;

struct ListEditorSetup {
  cmcEeprom& image;          // the edit image
  const cmcEeprom& initial;  // whose records clear, insert and delete take
  cmcGTex& overlay;          // the messages and status texts
  datClipCh& clipboard;      // the application-wide clipboard of copy and paste
  ModelType modelType = ModelType::kLandMobile;
  bool banksInUse = true;
  ListChangeRecorder recorder{};
};

class ListEditor {
 public:
  explicit ListEditor(const ListEditorSetup& setup);

  // Runs the command; the image is encoded again when it changed.
  ListOutcome Run(const ListCommand& command);
  // Whether the command's menu item is enabled.
  bool Enabled(const ListCommand& command) const;

  // The bank size may go from its size less the blank channels at its end
  // (none carrying A, B or E) to its size plus the channels that still fit.
  struct SizeLimits {
    int minimum;
    int maximum;
  };
  SizeLimits BankSizeLimits(int kind, int bank) const;

 private:
  ListOutcome Dispatch(const ListCommand& command);
  ListOutcome Copy(const ListCommand& command);
  ListOutcome Paste(const ListCommand& command);
  ListOutcome Carry(const ListCommand& command, bool down);
  ListOutcome Clear(const ListCommand& command);
  ListOutcome Delete(const ListCommand& command);
  ListOutcome Insert(const ListCommand& command);
  ListOutcome ResizeBank(const ListCommand& command);

  bool InUse(int kind, int index) const;
  bool AnyInUse(int kind, RowRange range) const;
  int Attributes(int kind, int index) const;
  bool HasRoomFor(int kind, int count) const;
  int TrailingBlanks(int kind, int bank) const;

  bool Confirm(std::string_view question) const;
  void Refuse(std::string_view message) const;
  std::string Status(std::string_view text) const;

  // A copy of the initial image, made when first needed: its records are read
  // through the channel record, which works on a mutable image.
  cmcEeprom& Initial();

  cmcEeprom& image_;
  const cmcEeprom& initial_;
  std::optional<cmcEeprom> initialCopy_;
  cmcGTex& overlay_;
  datClipCh& clipboard_;
  ModelType modelType_;
  bool banksInUse_;
  ListChangeRecorder recorder_;
};
