#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/overlaynames.h"

// One problem found in an overlay file; line counts from 1, 0 for the file as a whole.
struct OverlayProblem {
  std::string file;
  std::size_t line = 0;
  std::string text;

  // "file:line: text" on one line.
  std::string ToString() const;
};

struct OverlayFile {
  std::string path;
  OverlayKind kind;
};

// Checks overlay files before a user meets their faults as fatal stops: the
// syntax (every block closed by a lone "#" line, the end mark, no repeated
// block), the blocks the program asks for, and the mark-up of every basic cell,
// cells, item-list and cell-model block, down to each cell's type and link name.
class OverlayChecker {
 public:
  std::vector<OverlayProblem> Check(const OverlayFile& file) const;

  // The sheet references the overlay's cells open: the argument of every
  // CallSheet cell of its item lists and sheets, in block-name order.
  std::vector<std::string> NamedSheets(const OverlayFile& file) const;

  // The shipped overlays of a data folder: the language list, each main overlay
  // it names and each help overlay those name. Problems in following the chain
  // are added to `problems`.
  static std::vector<OverlayFile> ShippedOverlays(const std::string& dataDir, std::vector<OverlayProblem>& problems);
};
