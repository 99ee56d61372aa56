#pragma once

struct cmcCellCapsule;

// Hears every user action on a cell (a key, a committed edit, a pop-up menu
// command) before and after it runs, however many links it passes, so that
// an action that changes the image becomes one undo step. An action may end
// without its after call when it turned out to change nothing.
class EditRecorder {
 public:
  virtual ~EditRecorder() = default;
  virtual void BeforeAction() = 0;
  virtual void AfterAction(const cmcCellCapsule& request) = 0;
};
