#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "markup/cellobj.h"

class CellParser;
class cmcGTex;

// One item of a menu or tree list: its cell and its sub-items.
struct ItemNode {
  cmcCellObj cell;
  std::vector<ItemNode> children;
};

// A menu, tool-bar or tree list read from the overlay: the basic cell that
// every item cell inherits from, and the items. The basic cell lives on the
// heap so the items' parent pointers stay valid when the list moves.
struct ItemList {
  std::unique_ptr<cmcCellObj> basic = std::make_unique<cmcCellObj>();
  std::vector<ItemNode> items;
};

namespace itemlist {

// The characters before the first '+' of an item line; a line without '+'
// is as deep as it is long.
std::size_t Depth(std::string_view line);
// The mark-up after the first '+'; empty for a line without one.
std::string_view Markup(std::string_view line);

// Parses one item line (depth ignored) as a cell under `basic`.
cmcCellObj ParseItem(const CellParser& parser, std::string_view line, const cmcCellObj& basic);

// Nests item lines: a line deeper than the first line of its level starts
// the sub-items of the item above it; a shallower line ends the level, and a
// line shallower than the very first ends the list.
std::vector<ItemNode> Nest(const CellParser& parser, const std::vector<std::string>& lines, const cmcCellObj& basic);

// The lines of the block "<name>_Body" up to the first line that begins with '#'.
std::vector<std::string> BodyLines(cmcGTex& overlay, std::string_view name);
// The basic cell "<name>_BasicCell" line 0 and the nested body.
ItemList Read(cmcGTex& overlay, const CellParser& parser, std::string_view name);

}  // namespace itemlist

// A tool bar read from the overlay: rows of buttons and gaps. A cell showing
// "-" is a gap; one showing "/" ends the row.
struct ToolBarLayout {
  struct Entry {
    bool separator = false;
    cmcCellObj cell;
  };
  std::unique_ptr<cmcCellObj> basic = std::make_unique<cmcCellObj>();
  std::vector<std::vector<Entry>> rows;

  static ToolBarLayout Read(cmcGTex& overlay, const CellParser& parser, std::string_view name);
  static ToolBarLayout FromLines(const CellParser& parser, const std::vector<std::string>& lines,
                                 std::string_view basicLine);
};
