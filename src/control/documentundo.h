#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "links/editrecorder.h"
#include "links/undolinks.h"
#include "model/eeprom.h"

class cmcEvMan;
class cmcGTex;
class cuiSheet;
class Document;
struct cmcCellCapsule;

// Undo and redo of the open document as the controller uses them: each edit
// is recorded as one step with the words that name it, a step is taken back
// or again on the document's edit image, and the views hear what changed as
// after the edit itself. The history lives in the document, so new, open,
// a model change and a clone read start it afresh and a save keeps it.
class DocumentUndo : public UndoCommands, public EditRecorder {
 public:
  // The sheets whose cells the user edits (the open sheet, the memory-channel
  // window's); their column titles name the steps.
  using SheetList = std::function<std::vector<cuiSheet*>()>;

  // `events` may be null (no views to refresh).
  DocumentUndo(Document& document, cmcGTex& overlay, cmcEvMan* events);

  void SetSheets(SheetList sheets) { sheets_ = std::move(sheets); }

  // The evaluator's recorder: a user action that changed the edit image is
  // one step, unless the action replaced the document (new, open, a model
  // change), which starts a fresh history instead.
  void BeforeAction() override;
  void AfterAction(const cmcCellCapsule& request) override;
  // A change made outside the cells, such as an import, as one step. The
  // views are not told: the edit path tells them, or RefreshViews.
  void Record(const cmcEeprom& before, std::string what);
  // Everything that shows the image hears that any record may have changed,
  // and the controller's after-step hook runs.
  void RefreshViews();

  std::string UndoWhat() const override;
  std::string RedoWhat() const override;
  bool Undo() override;
  bool Redo() override;

  // After a step was taken back or again: the controller rebuilds the open
  // sheet (rows may have come or gone), tests the modified state and checks
  // the tree marks, as after an edit.
  void SetAfterStep(std::function<void()> afterStep) { afterStep_ = std::move(afterStep); }

 private:
  Document& document_;
  cmcGTex& overlay_;
  cmcEvMan* events_;
  SheetList sheets_;
  std::function<void()> afterStep_;
  struct Pending {
    cmcEeprom before;
    std::uint64_t epoch;
  };
  std::optional<Pending> pending_;  // the action under way
};
