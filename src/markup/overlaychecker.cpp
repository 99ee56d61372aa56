#include "markup/overlaychecker.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "core/gtex.h"
#include "markup/cellparser.h"
#include "markup/ids.h"
#include "platform/files.h"

namespace {

constexpr std::string_view kEndMark = "End_Of_Ovl";

bool IsHeader(const std::string& line) { return line.size() > 1 && line[0] == '#'; }

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// An overlay read whole, as the checker needs every block, with the blocks a
// reader would find (the first of a name, none after the end mark).
struct OverlayText {
  std::vector<std::string> lines;
  std::map<std::string, std::size_t, std::less<>> blocks;  // name -> index of the header line
  bool hasEndMark = false;

  // The lines of a block up to (not including) the first line starting with '#'.
  std::vector<std::string_view> BlockLines(std::size_t header) const {
    std::vector<std::string_view> body;
    for (std::size_t i = header + 1; i < lines.size() && !lines[i].starts_with('#'); ++i) body.push_back(lines[i]);
    return body;
  }

  std::optional<std::string> FirstLine(std::string_view name) const {
    auto found = blocks.find(name);
    if (found == blocks.end() || found->second + 1 >= lines.size()) return std::nullopt;
    return lines[found->second + 1];
  }
};

std::optional<OverlayText> ReadOverlay(const std::string& path) {
  const std::optional<std::string> content = platform::ReadFileContent(path);
  if (!content) return std::nullopt;
  OverlayText text;
  std::string_view rest = *content;
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find('\n'), rest.size());
    std::string_view line = rest.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    text.lines.emplace_back(line);
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  for (std::size_t i = 0; i < text.lines.size() && !text.hasEndMark; ++i) {
    if (!IsHeader(text.lines[i])) continue;
    const std::string name = text.lines[i].substr(1);
    text.hasEndMark = name == kEndMark;
    if (!text.hasEndMark) text.blocks.emplace(name, i);
  }
  return text;
}

// Collects the problems of one file.
class FileCheck {
 public:
  FileCheck(const OverlayFile& file, const OverlayText& text, std::vector<OverlayProblem>& problems)
      : file_(file), text_(text), problems_(problems) {}

  void Syntax() {
    for (std::size_t i = 0; i < text_.lines.size(); ++i) {
      const std::string& line = text_.lines[i];
      // The reader hands such a line out in pieces, and a piece that starts
      // with '#' would be a header the checker never sees.
      if (line.size() > cmcGTex::kMaxLineBytes) {
        Add(i + 1, "line of " + std::to_string(line.size()) + " bytes: the reader cuts a line longer than " +
                       std::to_string(cmcGTex::kMaxLineBytes) + " bytes into several lines");
      }
      if (!IsHeader(line)) continue;
      const std::string name = line.substr(1);
      if (name == kEndMark) return;
      const std::size_t first = text_.blocks.find(name)->second;
      if (first != i) {
        Add(i + 1, "block '" + name + "' repeats the block of line " + std::to_string(first + 1) +
                       "; only the first is ever read");
      }
      const std::size_t end = i + 1 + text_.BlockLines(i).size();
      if (end >= text_.lines.size() || text_.lines[end] != "#") {
        Add(i + 1, "block '" + name + "' is not closed by a lone '#' line");
      }
    }
    Add(0, "no #End_Of_Ovl line ends the overlay");
  }

  void RequiredBlocks() {
    for (const RequiredBlock& required : ::RequiredBlocks()) {
      if (required.overlay == file_.kind && !text_.blocks.contains(required.name)) {
        Add(0, "block '" + std::string(required.name) + "' that the program asks for is missing");
      }
    }
  }

  void MarkUp() {
    for (const auto& [name, header] : text_.blocks) {
      if (name.starts_with("CellModel_")) {
        if (text_.BlockLines(header).empty()) Add(header + 1, "cell model '" + name + "' has no line");
        CheckLine(header + 1, [&](const CellParser& parser, std::string_view line, LoopVariables& loops) {
          std::vector<cmcCellObj> cells(1);
          parser.ParseFormat(cells[0], line, &loops);
          return cells;
        });
      } else if (EndsWith(name, "_BasicCell")) {
        CheckLine(header + 1, ParseRow(nullptr));
      } else if (EndsWith(name, "_Cells")) {
        CheckBlock(header, BasicCellOf(name, "_Cells"), /*itemLines=*/false);
      } else if (EndsWith(name, "_Body")) {
        CheckBlock(header, BasicCellOf(name, "_Body"), /*itemLines=*/true);
      }
    }
  }

  // The arguments of the CallSheet cells of every item list and sheet.
  std::vector<std::string> CallSheetArguments() {
    std::vector<std::string> arguments;
    const CellParser parser = Parser([](const std::string&) {});
    for (const auto& [name, header] : text_.blocks) {
      const bool itemLines = EndsWith(name, "_Body");
      if (!itemLines && !EndsWith(name, "_Cells")) continue;
      const std::optional<cmcCellObj> basic = BasicCellOf(name, itemLines ? "_Body" : "_Cells");
      LoopVariables loops{};
      for (std::string_view line : text_.BlockLines(header)) {
        for (const cmcCellObj& cell : ParseBlockLine(parser, line, basic ? &*basic : nullptr, itemLines, loops)) {
          if (cell.link == cl::CallSheet && cell.argument) arguments.push_back(*cell.argument);
        }
      }
    }
    return arguments;
  }

 private:
  // Parses a line into the cells it holds.
  using LineCheck = std::function<std::vector<cmcCellObj>(const CellParser&, std::string_view, LoopVariables&)>;

  // Parses every cell of a row.
  static LineCheck ParseRow(const cmcCellObj* parent) {
    return [parent](const CellParser& parser, std::string_view line, LoopVariables& loops) {
      std::vector<cmcCellObj> cells;
      do {
        line = parser.ParseCell(cells.emplace_back(), line, &loops, parent);
      } while (!line.empty());
      return cells;
    };
  }

  // The parsed basic cell of a list or sheet, the parent of its cells.
  std::optional<cmcCellObj> BasicCellOf(std::string_view name, std::string_view suffix) {
    const std::string basicName = std::string(name.substr(0, name.size() - suffix.size())) + "_BasicCell";
    std::optional<std::string> line = text_.FirstLine(basicName);
    if (!line) return std::nullopt;
    cmcCellObj basic;
    LoopVariables loops{};
    Parser([](const std::string&) {}).ParseCell(basic, *line, &loops, nullptr);
    return basic;
  }

  // A sheet's cell rows (control lines starting with ':' are the sheet's own),
  // or the item lines of a menu, tool bar or tree: the mark-up after the first
  // '+', or the whole line when it has none.
  static std::vector<cmcCellObj> ParseBlockLine(const CellParser& parser, std::string_view line,
                                                const cmcCellObj* parent, bool itemLines, LoopVariables& loops) {
    if (!itemLines) return line.starts_with(':') ? std::vector<cmcCellObj>{} : ParseRow(parent)(parser, line, loops);
    const std::size_t plus = line.find('+');
    std::vector<cmcCellObj> cells(1);
    parser.ParseCell(cells[0], plus == std::string_view::npos ? line : line.substr(plus + 1), &loops, parent);
    return cells;
  }

  void CheckBlock(std::size_t header, const std::optional<cmcCellObj>& basic, bool itemLines) {
    const cmcCellObj* parent = basic ? &*basic : nullptr;
    LoopVariables loops{};
    const std::size_t count = text_.BlockLines(header).size();
    for (std::size_t i = header + 1; i <= header + count; ++i) {
      CheckLine(
          i,
          [&](const CellParser& parser, std::string_view line, LoopVariables& rowLoops) {
            return ParseBlockLine(parser, line, parent, itemLines, rowLoops);
          },
          &loops);
    }
  }

  // Runs one line's check, with each fault of its parse reported at the line.
  void CheckLine(std::size_t index, const LineCheck& check, LoopVariables* sharedLoops = nullptr) {
    if (index >= text_.lines.size() || text_.lines[index].starts_with('#')) return;
    LoopVariables ownLoops{};
    const std::vector<cmcCellObj> cells = check(Parser([&](const std::string& fault) { Add(index + 1, fault); }),
                                                text_.lines[index], sharedLoops ? *sharedLoops : ownLoops);
    for (const cmcCellObj& cell : cells) CheckPopupMenu(cell, index);
  }

  // A pop-up menu named in mark-up is built from its basic cell and body blocks.
  void CheckPopupMenu(const cmcCellObj& cell, std::size_t index) {
    if (!cell.popupMenu || cell.popupMenu->empty()) return;
    for (const char* suffix : {"_BasicCell", "_Body"}) {
      const std::string block = *cell.popupMenu + suffix;
      if (!text_.blocks.contains(block)) {
        Add(index + 1, "pop-up menu '" + *cell.popupMenu + "' has no block '" + block + "'");
      }
    }
  }

  // Models come from the file itself: the main overlay is the one that holds them.
  CellParser Parser(CellParser::FaultHandler onFault) const {
    return CellParser([this](const std::string& name) { return text_.FirstLine(name); }, std::move(onFault));
  }

  void Add(std::size_t line, std::string text) { problems_.push_back({file_.path, line, std::move(text)}); }

  const OverlayFile& file_;
  const OverlayText& text_;
  std::vector<OverlayProblem>& problems_;
};

}  // namespace

std::string OverlayProblem::ToString() const {
  std::string oneLine = text;
  for (char& c : oneLine) {
    if (c == '\n') c = ' ';
  }
  return file + ":" + std::to_string(line) + ": " + oneLine;
}

std::vector<OverlayProblem> OverlayChecker::Check(const OverlayFile& file) const {
  std::vector<OverlayProblem> problems;
  const std::optional<OverlayText> text = ReadOverlay(file.path);
  if (!text) {
    problems.push_back({file.path, 0, "the file cannot be read"});
    return problems;
  }
  FileCheck check(file, *text, problems);
  check.Syntax();
  check.RequiredBlocks();
  check.MarkUp();
  return problems;
}

std::vector<std::string> OverlayChecker::NamedSheets(const OverlayFile& file) const {
  std::vector<OverlayProblem> problems;
  const std::optional<OverlayText> text = ReadOverlay(file.path);
  if (!text) return {};
  return FileCheck(file, *text, problems).CallSheetArguments();
}

std::vector<OverlayFile> OverlayChecker::ShippedOverlays(const std::string& dataDir,
                                                         std::vector<OverlayProblem>& problems) {
  std::vector<OverlayFile> files{{dataDir + LanguageListFileName(), OverlayKind::kLanguageList}};
  std::optional<OverlayText> list = ReadOverlay(files[0].path);
  if (!list) return files;

  std::set<std::string> seen;
  auto languages = list->blocks.find(gi::GI_Sys_Language);
  if (languages == list->blocks.end()) return files;
  std::size_t lineNumber = languages->second + 1;
  for (std::string_view language : list->BlockLines(languages->second)) {
    ++lineNumber;
    std::optional<std::string> mainName = cmcGTex::GetField(language, '\t', 1);
    if (!mainName || mainName->empty()) {
      problems.push_back({files[0].path, lineNumber, "the language line names no main overlay"});
      continue;
    }
    const std::string mainPath = dataDir + *mainName;
    if (!seen.insert(mainPath).second) continue;
    files.push_back({mainPath, OverlayKind::kMain});

    std::optional<OverlayText> main = ReadOverlay(mainPath);
    if (!main) continue;
    std::optional<std::string> helpName = main->FirstLine(gi::GI_Sys_MyHelpOvl);
    if (!helpName || helpName->starts_with('#')) continue;
    const std::string helpPath = dataDir + *helpName;
    if (seen.insert(helpPath).second) files.push_back({helpPath, OverlayKind::kHelp});
  }
  return files;
}
