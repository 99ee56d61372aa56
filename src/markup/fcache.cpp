#include "markup/fcache.h"

#include <algorithm>

cmcFCache::cmcFCache(cmcGTex& mainOverlay) : mainOverlay_(mainOverlay), parser_(mainOverlay) {}

std::string cmcFCache::KeyOf(std::string_view sheet, int link) {
  return std::string(sheet) + "#" + std::to_string(link);
}

// One reading of the cells block. The loop variables start at zero once, so a
// sheet that counts its values with them gets the values its rows show.
cmcFCache::Entry cmcFCache::Build(std::string_view sheet, int link) {
  const std::string cellsBlock = std::string(sheet) + "_Cells";
  std::vector<Choice> choices;
  LoopVariables loops{};
  std::size_t rows = 0;
  for (;; ++rows) {
    const std::string line = mainOverlay_.GetLine(cellsBlock, rows);
    if (line.starts_with('#')) break;
    std::string_view rest = line;
    std::size_t column = 0;
    do {
      cmcCellObj cell;
      rest = parser_.ParseCell(cell, rest, &loops, nullptr);
      if (cell.link == link)
        choices.push_back({rows, column, cell.parameter, cell.argument.value_or(DisplayTextOf(cell))});
      ++column;
    } while (!rest.empty());
  }
  Entry entry;
  entry.byValue = choices;
  std::stable_sort(entry.byValue.begin(), entry.byValue.end(),
                   [](const Choice& a, const Choice& b) { return a.value < b.value; });
  entry.byColumn = std::move(choices);
  std::stable_sort(entry.byColumn.begin(), entry.byColumn.end(), [rows](const Choice& a, const Choice& b) {
    return a.row + rows * a.column < b.row + rows * b.column;
  });
  return entry;
}

const cmcFCache::Choice* cmcFCache::Lookup(std::string_view sheet, int link, std::int32_t value) {
  const std::string key = KeyOf(sheet, link);
  const Entry* entry = entries_.Find(key);
  if (!entry) {
    entries_.Insert(key, Build(sheet, link));
    entry = entries_.Find(key);
  }
  auto found = std::lower_bound(entry->byValue.begin(), entry->byValue.end(), value,
                                [](const Choice& choice, std::int32_t v) { return choice.value < v; });
  if (found == entry->byValue.end() || found->value != value) return nullptr;
  return &*found;
}

std::string cmcFCache::TextOf(std::string_view sheet, int link, std::int32_t value) {
  const Choice* choice = Lookup(sheet, link, value);
  return choice ? choice->text : "error";
}

bool cmcFCache::Carries(std::string_view sheet, int link, std::int32_t value) {
  return Lookup(sheet, link, value) != nullptr;
}

std::optional<std::int32_t> cmcFCache::Step(std::string_view sheet, int link, std::int32_t current, int delta) const {
  const Entry* entry = entries_.Find(KeyOf(sheet, link));
  if (!entry || entry->byColumn.empty()) return std::nullopt;
  const std::vector<Choice>& choices = entry->byColumn;
  const auto count = static_cast<std::int64_t>(choices.size());
  auto at = std::find_if(choices.begin(), choices.end(), [current](const Choice& c) { return c.value == current; });
  const std::int64_t next = (at - choices.begin()) + static_cast<std::int64_t>(delta);
  if (next >= count) return choices.front().value;
  if (next < 0) return choices.back().value;
  return choices[static_cast<std::size_t>(next)].value;
}
