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
  // Each takes its step; false when there was none to take.
  virtual bool Undo() = 0;
  virtual bool Redo() = 0;
};
