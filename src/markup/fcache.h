#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/gtex.h"
#include "core/hash2.h"
#include "markup/cellparser.h"

// The selection cache: for a selection sheet (a sheet whose cells list the
// values of a setting) and a cell link, the values its cells stand for and
// their texts, read from the sheet's "_Cells" block on first use.
class cmcFCache {
 public:
  explicit cmcFCache(cmcGTex& mainOverlay);

  // The text of the sheet's cell of that link whose parameter is `value`
  // (its argument if it has one, else its display text); "error" when no cell
  // carries the value.
  std::string TextOf(std::string_view sheet, int link, std::int32_t value);

  // True when a cell of the link on the sheet carries `value`: a reply from
  // outside the list is refused rather than written.
  bool Carries(std::string_view sheet, int link, std::int32_t value);

  // The value of the next (delta +1) or previous (-1) cell of the link in column
  // order from the cell of value `current`, wrapping at both ends; from a value
  // no cell carries, the first cell. Nothing when the pair has no entry yet
  // (TextOf builds it) or the sheet has no cell of the link.
  std::optional<std::int32_t> Step(std::string_view sheet, int link, std::int32_t current, int delta) const;

 private:
  struct Choice {
    std::size_t row;
    std::size_t column;
    std::int32_t value;
    std::string text;
  };
  struct Entry {
    std::vector<Choice> byValue;   // stable-sorted by value, for TextOf
    std::vector<Choice> byColumn;  // down the first column, then the next, for Step
  };

  static std::string KeyOf(std::string_view sheet, int link);
  Entry Build(std::string_view sheet, int link);
  // The sheet's choice of that value, building the entry on first use; null when none carries it.
  const Choice* Lookup(std::string_view sheet, int link, std::int32_t value);

  cmcGTex& mainOverlay_;
  CellParser parser_;
  cmcHash2<Entry> entries_;
};
