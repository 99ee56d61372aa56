#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/gtex.h"
#include "markup/cellobj.h"

// The cell mark-up parser: splits an overlay line into cells and parses each
// into a cmcCellObj. Cell models ({($Name)}) come from the main overlay through
// `ModelSource`, whatever overlay the line itself came from.
class CellParser {
 public:
  // Line 0 of a cell-model block ("CellModel_Name"), or none when it is missing.
  using ModelSource = std::function<std::optional<std::string>(const std::string& indexName)>;
  // Receives each configuration fault (unknown name, missing model, bad loop
  // variable). The default is the fatal stop. A handler that returns lets the
  // parse go on without the faulty piece, so a checker can collect them all.
  using FaultHandler = std::function<void(const std::string& text)>;

  explicit CellParser(ModelSource models, FaultHandler onFault = {});
  // Models from the main overlay; a missing one is its fatal overlay error.
  explicit CellParser(cmcGTex& mainOverlay);

  // Cuts the first cell off `line`, parses it into `cell` (unless `skip`) and
  // returns the rest after its '|', empty when the line is used up. `loops` may
  // be null when the mark-up uses no loop variable.
  std::string_view ParseCell(cmcCellObj& cell, std::string_view line, LoopVariables* loops, const cmcCellObj* parent,
                             bool skip = false) const;

  // Applies a format text (the inside of a cell's braces, or a model line).
  void ParseFormat(cmcCellObj& cell, std::string_view format, LoopVariables* loops) const;

  // Splits off the first cell: the text before the first '|' not escaped by a
  // backslash, and the rest after it.
  static std::pair<std::string_view, std::string_view> SplitCell(std::string_view line);

  // Deep enough for any sensible model chain, and more models than any cell
  // applies; a deeper chain or a parse that applies more is a model using itself.
  static constexpr int kMaxModelDepth = 16;
  static constexpr int kMaxModelUses = 64;

 private:
  class Run;

  ModelSource models_;
  FaultHandler onFault_;
};

// The fatal text for a block missing from an overlay.
std::string MissingIndexMessage(std::string_view indexName);
