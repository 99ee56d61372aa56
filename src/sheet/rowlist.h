#pragma once

#include <cstddef>
#include <optional>
#include <vector>

// One grid row: the line of the cells block it is made from, and whether its
// cells may be multi-selected.
struct RowEntry {
  std::size_t line = 0;
  bool multiSelect = true;

  bool operator==(const RowEntry&) const = default;
};

// The rows of a sheet while its cells block is read. A loop collects the rows
// added while it is open (its body) and, when it closes, repeats those row
// entries with their own lines, so control lines inside the body never become
// rows. Loops do not nest: opening one abandons an open one, whose rows stay
// as they are.
class RowList {
 public:
  explicit RowList(std::size_t maxRows) : maxRows_(maxRows) {}

  void Add(const RowEntry& row);
  // The rows added from now on are the body; it will stand `repetitions` times in all.
  void OpenLoop(int repetitions);
  // Repeats the body of the open loop; a repetition count of 0 removes it. No
  // open loop: nothing happens.
  void CloseLoop();
  bool LoopOpen() const { return loop_.has_value(); }
  // The rows of the last loop closed: where they begin, the lines of its body
  // and how many times it stands.
  struct ClosedLoop {
    std::size_t firstRow;
    std::size_t bodySize;
    int repetitions;
  };
  std::optional<ClosedLoop> LastLoop() const { return lastLoop_; }

  const std::vector<RowEntry>& Rows() const { return rows_; }
  // More rows were asked for than the list may hold; those were left out.
  bool Overflowed() const { return overflowed_; }

 private:
  struct Loop {
    std::size_t firstRow;
    int repetitions;
  };

  std::size_t maxRows_;
  std::vector<RowEntry> rows_;
  std::optional<Loop> loop_;
  std::optional<ClosedLoop> lastLoop_;
  bool overflowed_ = false;
};
