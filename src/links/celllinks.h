#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "links/cellcapsule.h"
#include "links/families.h"
#include "model/eeprom.h"
#include "model/listeditor.h"
#include "model/modeltype.h"

class cmcGTex;
class cmcFCache;
class cmcEvMan;
class Charset;
class datClipCh;
class UndoCommands;
class EditRecorder;

// Everything the evaluator works on, owned by the caller (the main controller,
// or the command line).
struct LinkEnvironment {
  cmcEeprom& image;  // the edit image
  cmcGTex& overlay;
  cmcFCache& choices;
  LinkHost& host;
  const Charset* charset = nullptr;  // the radio's character set of the names; none: bytes as text
  ModelType modelType = ModelType::kLandMobile;
  int windowChannel = 0;                           // the memory-channel window's current channel
  std::span<const std::uint8_t> identification{};  // the radio's answer to the clone information; may be empty
  cmcEvMan* events = nullptr;                      // refresh events are posted here when present
  // The record lists' pop-up menu commands need the clipboard and the initial
  // image, the bank size cell the initial image; without them the items are
  // disabled and the bank size is only shown.
  datClipCh* clipboard = nullptr;           // the application-wide clipboard of copy and paste
  const cmcEeprom* initialImage = nullptr;  // whose records clear, insert and delete take
  // The status texts of those commands, for the status bar (window-text colour on the button face).
  std::function<void(const std::string& text)> showStatus{};
  ListChangeRecorder recordChange{};  // hears each of them that changed the image, with the image before
  // The other pop-up menu commands (help, the windows); none: ignored.
  std::function<void(cmcCellCapsule& request)> menuCommand{};
  // Switches the radio model type (after its confirmation); none: not offered.
  std::function<void(ModelType modelType)> changeModel{};
  // After a user action: the tree marks and the saved-state test of the controller.
  std::function<void()> afterUserAction{};
  // Hears each user action (a key, a committed edit, a pop-up menu command)
  // before and after it, once however many evaluations it nests; none: no undo.
  EditRecorder* recorder = nullptr;
  // The document's undo and redo for the Edit menu's items; none: both disabled.
  UndoCommands* undo = nullptr;
};

// The one place that knows what a cell link means: evaluates a cell's display
// text and marks, reacts to keys and edits, and writes changes to the image.
class LinkTable;

class CellLinks {
 public:
  // Evaluates with the table of every built link, or with the table given.
  explicit CellLinks(LinkEnvironment& environment);
  CellLinks(LinkEnvironment& environment, const LinkTable& table);

  // The single entry point. Returns the editor request. With `notify`, a change
  // is passed to the request's change callback.
  int Evaluate(cmcCellCapsule& request, bool notify);
  // The display text of a cell, evaluated with a fresh request.
  std::string TextOf(const cmcCellObj& cell, int key);
  // The warning and error marks of a cell made for the purpose.
  int FlagsOf(int type, int link, std::int32_t number);
  // Whether the link has a behaviour; an item whose link has none is shown disabled.
  bool Knows(int link) const;
  // The change bits of the last evaluation.
  int LastChangeBits() const { return lastChangeBits_; }
  // What the record-list command of the last evaluation did; none when it had none.
  std::optional<ListResult> LastListResult() const { return lastListResult_; }

 private:
  LinkEnvironment& environment_;
  const LinkTable& table_;
  int depth_ = 0;  // evaluations under way: only the outermost one records an edit
  int lastChangeBits_ = 0;
  std::optional<ListResult> lastListResult_;
};
