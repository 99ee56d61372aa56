#pragma once

#include <string>

// Edit > Undo and Redo as the menu items see them: what the document's
// history can take back or again, and the commands. The controller implements
// it over its document; the links only ask.
class UndoCommands {
 public:
  virtual ~UndoCommands() = default;
  // The words naming the step each command would take; empty when there is none.
  virtual std::string UndoWhat() const = 0;
  virtual std::string RedoWhat() const = 0;
  virtual void Undo() = 0;
  virtual void Redo() = 0;
};

namespace undolinks {

// True for the Edit menu's undo and redo items, which the evaluator never
// records as edits themselves.
bool IsUndoCommand(int link);

}  // namespace undolinks
