#include "control/itemlist.h"

#include "core/gtex.h"
#include "markup/cellparser.h"

namespace itemlist {

namespace {

// The items of the level whose first line is lines[pos]; stops at the end or
// at a line shallower than the level, leaving pos there.
std::vector<ItemNode> NestLevel(const CellParser& parser, const std::vector<std::string>& lines, std::size_t& pos,
                                const cmcCellObj& basic) {
  std::vector<ItemNode> level;
  const std::size_t levelDepth = Depth(lines[pos]);
  while (pos < lines.size()) {
    const std::size_t depth = Depth(lines[pos]);
    if (depth < levelDepth) break;
    if (depth > levelDepth && !level.empty()) {
      // Deeper than the level: the sub-items of the item above.
      std::vector<ItemNode> sub = NestLevel(parser, lines, pos, basic);
      for (ItemNode& node : sub) level.back().children.push_back(std::move(node));
      continue;
    }
    level.push_back({ParseItem(parser, lines[pos], basic), {}});
    ++pos;
  }
  return level;
}

}  // namespace

std::size_t Depth(std::string_view line) {
  const std::size_t plus = line.find('+');
  return plus == std::string_view::npos ? line.size() : plus;
}

std::string_view Markup(std::string_view line) {
  const std::size_t plus = line.find('+');
  return plus == std::string_view::npos ? std::string_view() : line.substr(plus + 1);
}

cmcCellObj ParseItem(const CellParser& parser, std::string_view line, const cmcCellObj& basic) {
  cmcCellObj cell;
  parser.ParseCell(cell, Markup(line), nullptr, &basic);
  return cell;
}

std::vector<ItemNode> Nest(const CellParser& parser, const std::vector<std::string>& lines, const cmcCellObj& basic) {
  std::size_t pos = 0;
  if (lines.empty()) return {};
  return NestLevel(parser, lines, pos, basic);
}

std::vector<std::string> BodyLines(cmcGTex& overlay, std::string_view name) {
  const std::string block = std::string(name) + "_Body";
  std::vector<std::string> lines;
  for (std::size_t n = 0;; ++n) {
    std::string line = overlay.GetLine(block, n);
    if (line.starts_with('#')) break;
    lines.push_back(std::move(line));
  }
  return lines;
}

ItemList Read(cmcGTex& overlay, const CellParser& parser, std::string_view name) {
  ItemList list;
  parser.ParseCell(*list.basic, overlay.GetLine(std::string(name) + "_BasicCell", 0), nullptr, nullptr);
  list.items = Nest(parser, BodyLines(overlay, name), *list.basic);
  return list;
}

}  // namespace itemlist

ToolBarLayout ToolBarLayout::Read(cmcGTex& overlay, const CellParser& parser, std::string_view name) {
  return FromLines(parser, itemlist::BodyLines(overlay, name), overlay.GetLine(std::string(name) + "_BasicCell", 0));
}

ToolBarLayout ToolBarLayout::FromLines(const CellParser& parser, const std::vector<std::string>& lines,
                                       std::string_view basicLine) {
  ToolBarLayout layout;
  parser.ParseCell(*layout.basic, basicLine, nullptr, nullptr);
  layout.rows.emplace_back();
  for (const std::string& line : lines) {
    Entry entry;
    parser.ParseCell(entry.cell, line, nullptr, layout.basic.get());
    const std::string shown = DisplayTextOf(entry.cell);
    if (shown == "/") {
      layout.rows.emplace_back();
      continue;
    }
    entry.separator = shown == "-";
    layout.rows.back().push_back(std::move(entry));
  }
  return layout;
}
