#include "control/undohistory.h"

#include <cstring>

namespace {

// Unchanged bytes between two changes are kept inside one range when the gap
// is this short: a separate range costs more than the bytes it would skip.
constexpr int kJoinGap = 16;
constexpr int kScanBlock = 64;
// What a range costs beyond its bytes.
constexpr std::size_t kRangeOverhead = sizeof(int) + 2 * sizeof(std::vector<std::uint8_t>);

const std::string kNothing;

}  // namespace

UndoHistory::Step UndoHistory::Difference(const cmcEeprom& before, const cmcEeprom& after, std::string what) {
  Step step{std::move(what), after.Size(), {}, 0};
  const std::uint8_t* old = before.Data();
  const std::uint8_t* now = after.Data();
  const int size = after.Size();
  int address = 0;
  while (address < size) {
    // Most of the image is unchanged: equal blocks are passed whole.
    if (size - address >= kScanBlock && std::memcmp(old + address, now + address, kScanBlock) == 0) {
      address += kScanBlock;
      continue;
    }
    if (old[address] == now[address]) {
      ++address;
      continue;
    }
    const int first = address;
    int last = address;  // the last changed byte of the range
    for (int probe = address + 1; probe < size && probe <= last + kJoinGap; ++probe) {
      if (old[probe] != now[probe]) last = probe;
    }
    Range range{first, std::vector<std::uint8_t>(old + first, old + last + 1),
                std::vector<std::uint8_t>(now + first, now + last + 1)};
    step.bytes += 2 * range.before.size() + kRangeOverhead;
    step.ranges.push_back(std::move(range));
    address = last + 1;
  }
  return step;
}

bool UndoHistory::Apply(const Step& step, cmcEeprom& image, bool forward) {
  if (image.Size() != step.imageSize) return false;
  for (const Range& range : step.ranges) {
    const std::vector<std::uint8_t>& bytes = forward ? range.after : range.before;
    image.WriteBlock(range.address, bytes.data(), static_cast<int>(bytes.size()));
  }
  return true;
}

void UndoHistory::Record(const cmcEeprom& before, const cmcEeprom& after, std::string what) {
  if (before.Size() != after.Size() || before == after) return;
  DropRedoSteps();
  Step step = Difference(before, after, std::move(what));
  storedBytes_ += step.bytes;
  steps_.push_back(std::move(step));
  // The newest step stays whatever it costs: it is the one the user reaches for.
  while (steps_.size() > 1 && (steps_.size() > limits_.maxSteps || storedBytes_ > limits_.maxBytes)) DropOldest();
}

void UndoHistory::DropRedoSteps() {
  for (; undone_ > 0; --undone_) {
    storedBytes_ -= steps_.back().bytes;
    steps_.pop_back();
  }
}

void UndoHistory::DropOldest() {
  storedBytes_ -= steps_.front().bytes;
  steps_.pop_front();
}

const std::string& UndoHistory::UndoWhat() const {
  return CanUndo() ? steps_[steps_.size() - undone_ - 1].what : kNothing;
}

const std::string& UndoHistory::RedoWhat() const { return CanRedo() ? steps_[steps_.size() - undone_].what : kNothing; }

bool UndoHistory::Undo(cmcEeprom& image) {
  if (!CanUndo() || !Apply(steps_[steps_.size() - undone_ - 1], image, false)) return false;
  ++undone_;
  return true;
}

bool UndoHistory::Redo(cmcEeprom& image) {
  if (!CanRedo() || !Apply(steps_[steps_.size() - undone_], image, true)) return false;
  --undone_;
  return true;
}

void UndoHistory::Clear() {
  ++epoch_;
  steps_.clear();
  undone_ = 0;
  storedBytes_ = 0;
}
