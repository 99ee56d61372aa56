// libFuzzer target: any bytes as overlay lines of cell mark-up. A header
// "#CellModel_NAME" and the line after it define a cell model; every other line
// not starting with '#' is a row of cells, parsed as a sheet parses its rows:
// the loop variables run on from row to row and each row's first cell is the
// parent of the next row's cells.
//
// Faults of the mark-up (unknown names, missing models, bad loop variables)
// go to a handler that counts them, as the overlay checker's does, so the fatal
// stop never is the designed answer here. Findings: a crash or sanitizer
// report, a hang, the fatal stop, and a row whose parse does not move on.

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "markup/cellparser.h"

namespace {

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t lf = text.find('\n');
    std::string_view line = text.substr(0, lf);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    text.remove_prefix(lf == std::string_view::npos ? text.size() : lf + 1);
  }
  return lines;
}

constexpr std::string_view kModelHeader = "#CellModel_";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::TreatFatalStopAsFinding();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string_view> lines = Lines(std::string_view(reinterpret_cast<const char*>(data), size));
  std::map<std::string, std::string, std::less<>> models;
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    if (lines[i].starts_with(kModelHeader)) models.emplace(std::string(lines[i].substr(1)), std::string(lines[i + 1]));
  }
  int faults = 0;
  const CellParser parser(
      [&models](const std::string& name) -> std::optional<std::string> {
        auto found = models.find(name);
        if (found == models.end()) return std::nullopt;
        return found->second;
      },
      [&faults](const std::string&) { ++faults; });

  LoopVariables loops{};
  cmcCellObj parent;
  bool hasParent = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].starts_with('#')) continue;
    if (i > 0 && lines[i - 1].starts_with(kModelHeader)) {
      cmcCellObj model;
      parser.ParseFormat(model, lines[i], &loops);
      continue;
    }
    std::vector<cmcCellObj> row;
    std::string_view rest = lines[i];
    do {
      const std::size_t before = rest.size();
      rest = parser.ParseCell(row.emplace_back(), rest, &loops, hasParent ? &parent : nullptr);
      fuzz::Require(rest.empty() || rest.size() < before, "the parse of a row does not move on");
    } while (!rest.empty());
    for (const cmcCellObj& cell : row) {
      // What a sheet asks of each parsed cell. A display text comes from its mark-up; only a loop value
      // "\(@chN)" of 7 bytes or more grows, to 11 characters at most.
      fuzz::Require(DisplayTextOf(cell).size() <= 2 * lines[i].size(), "a display text longer than its mark-up allows");
      static_cast<void>(PopupMenuOf(cell));
      static_cast<void>(FlagsText(cell));
    }
    // The next rows inherit from a copy, as a sheet's cells keep their basic cell.
    parent = row.front();
    parent.parent = nullptr;
    hasParent = true;
  }
  return 0;
}
