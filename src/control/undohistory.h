#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "model/eeprom.h"

// The undo and redo steps of one document: each step keeps the byte ranges
// that one user action changed, before and after, and the words that name
// the action ("Paste", a column title). Memory is bounded by a step count
// and a byte count; the oldest steps go first.
class UndoHistory {
 public:
  struct Limits {
    std::size_t maxSteps = 200;
    std::size_t maxBytes = 8u << 20;  // bytes kept over all steps, both sides counted
  };

  UndoHistory() : UndoHistory(Limits{}) {}
  explicit UndoHistory(Limits limits) : limits_(limits) {}

  // One step from `before` to `after`, named `what`; nothing when they are
  // equal or differ in size. Any redo steps are dropped.
  void Record(const cmcEeprom& before, const cmcEeprom& after, std::string what);

  bool CanUndo() const { return undone_ < steps_.size(); }
  bool CanRedo() const { return undone_ > 0; }
  // The name of the step Undo or Redo would take; empty when there is none.
  const std::string& UndoWhat() const;
  const std::string& RedoWhat() const;

  // Puts the newest step's bytes back into `image` as they were before it;
  // false when there is nothing to undo or `image` is not the size it had.
  bool Undo(cmcEeprom& image);
  // Takes the newest undone step again.
  bool Redo(cmcEeprom& image);

  void Clear();
  // Counts the clears: a change begun before a clear belongs to an image
  // that is gone.
  std::uint64_t Epoch() const { return epoch_; }
  std::size_t StepCount() const { return steps_.size(); }
  std::size_t StoredBytes() const { return storedBytes_; }

 private:
  struct Range {
    int address;
    std::vector<std::uint8_t> before;
    std::vector<std::uint8_t> after;
  };
  struct Step {
    std::string what;
    int imageSize;
    std::vector<Range> ranges;
    std::size_t bytes;
  };

  static Step Difference(const cmcEeprom& before, const cmcEeprom& after, std::string what);
  static bool Apply(const Step& step, cmcEeprom& image, bool forward);
  void DropRedoSteps();
  void DropOldest();

  Limits limits_;
  std::deque<Step> steps_;  // oldest first
  std::size_t undone_ = 0;  // steps at the end that were undone and may be redone
  std::size_t storedBytes_ = 0;
  std::uint64_t epoch_ = 0;
};
