#include "sheet/rowlist.h"

#include <algorithm>

void RowList::Add(const RowEntry& row) {
  if (rows_.size() >= maxRows_) {
    overflowed_ = true;
    return;
  }
  rows_.push_back(row);
}

void RowList::OpenLoop(int repetitions) { loop_ = Loop{rows_.size(), std::max(repetitions, 0)}; }

void RowList::CloseLoop() {
  if (!loop_) return;
  const Loop loop = *loop_;
  loop_.reset();
  const std::size_t bodySize = rows_.size() - loop.firstRow;
  lastLoop_ = ClosedLoop{loop.firstRow, bodySize, loop.repetitions};
  if (loop.repetitions == 0) {
    rows_.resize(loop.firstRow);
    return;
  }
  const std::size_t extra = bodySize * static_cast<std::size_t>(loop.repetitions - 1);
  if (extra > maxRows_ - rows_.size()) {
    overflowed_ = true;
    lastLoop_.reset();
    return;
  }
  rows_.reserve(rows_.size() + extra);
  for (int pass = 1; pass < loop.repetitions; ++pass) {
    for (std::size_t i = 0; i < bodySize; ++i) rows_.push_back(rows_[loop.firstRow + i]);
  }
}
