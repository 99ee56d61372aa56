#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/gtex.h"
#include "sheet/columnwidthstore.h"
#include "sheet/sheetview.h"
#include "sheet/textmeasurer.h"

// Every character 8 pixels wide, every line 16 pixels high, in any font.
class FixedWidthMeasurer : public TextMeasurer {
 public:
  static constexpr double kCharWidth = 8;
  static constexpr double kLineHeight = 16;
  Extent Measure(std::string_view line, const Font&) const override {
    return {kCharWidth * static_cast<double>(line.size()), kLineHeight};
  }
};

// Records what the sheet asks of its window.
class RecordingView : public SheetView {
 public:
  void InvalidateCell(int column, int row) override { invalidated.emplace_back(column, row); }
  void InvalidateAll() override { ++wholeRepaints; }
  void ScrollTo(int leftColumn, int topRow) override { scrolledTo = {leftColumn, topRow}; }
  void OpenEditor(int column, int row, const std::string& text, int caret, int) override {
    editor = {column, row};
    editorText = text;
    editorCaret = caret;
  }
  Size ClientSize() const override { return client; }
  void TitleChanged() override { ++titleChanges; }

  Size client{1000, 1000};
  int titleChanges = 0;
  std::vector<std::pair<int, int>> invalidated;
  int wholeRepaints = 0;
  std::pair<int, int> scrolledTo{-1, -1};
  std::pair<int, int> editor{-1, -1};
  std::string editorText;
  int editorCaret = -1;
};

// Column widths kept in memory, by sub-key.
class MemoryWidthStore : public ColumnWidthStore {
 public:
  Widths Load(const std::string& subKey) override {
    auto found = keys.find(subKey);
    return found == keys.end() ? Widths{} : found->second;
  }
  void Save(const std::string& subKey, const Widths& widths) override { keys[subKey] = widths; }
  void Remove(const std::string& subKey) override { keys.erase(subKey); }

  std::map<std::string, Widths> keys;
};

// An overlay in memory: the lines given, then the end mark.
inline std::unique_ptr<cmcGTex> MemoryOverlay(std::vector<std::string> lines) {
  lines.push_back("#End_Of_Ovl");
  auto overlay = std::make_unique<cmcGTex>();
  overlay->OpenLines(std::move(lines));
  return overlay;
}

// The blocks of a sheet named `name`: style line, basic cell and cell lines.
inline std::vector<std::string> SheetBlocks(const std::string& name, const std::string& style, const std::string& basic,
                                            const std::vector<std::string>& cells) {
  std::vector<std::string> lines = {"#" + name + "_Style", style, "#", "#" + name + "_BasicCell", basic, "#",
                                    "#" + name + "_Cells"};
  lines.insert(lines.end(), cells.begin(), cells.end());
  lines.push_back("#");
  return lines;
}
