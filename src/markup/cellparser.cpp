#include "markup/cellparser.h"

#include <utility>

#include "core/decimal.h"
#include "core/substitute.h"
#include "platform/fatal.h"

namespace {

constexpr std::string_view kLoopVariableFault = "Ch No. Error";

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// White space in the sense of the display text: every byte up to the space.
bool IsWhite(char c) { return static_cast<unsigned char>(c) <= ' '; }

void SkipBlanks(std::string_view text, std::size_t& pos) {
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
}

// The text after the first '=', or none.
std::optional<std::string_view> ValueAfterEquals(std::string_view group) {
  const std::size_t at = group.find('=');
  if (at == std::string_view::npos) return std::nullopt;
  return group.substr(at + 1);
}

}  // namespace

std::string MissingIndexMessage(std::string_view indexName) {
  return Substitute("GTEX Error !\nThe index '%s' was not found.", {indexName});
}

// One parse: the cell, its loop variables and the depth of cell models.
class CellParser::Run {
 public:
  Run(const CellParser& parser, cmcCellObj& cell, LoopVariables* loops) : parser_(parser), cell_(cell), loops_(loops) {}

  void Format(std::string_view format, int depth) {
    bool negate = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
      const char c = format[i];
      if (c == '\\') {
        ++i;
      } else if (c == '(') {
        const std::size_t end = GroupEnd(format, i + 1);
        Group(format.substr(i + 1, end - i - 1), depth);
        i = end;
      } else if (c == '!') {
        negate = true;
        continue;
      } else {
        Prefix(c, negate);
      }
      negate = false;
    }
  }

  void DisplayText(std::string_view text) {
    while (!text.empty() && IsWhite(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsWhite(text.back())) text.remove_suffix(1);
    if (text.empty()) {
      cell_.displayText.reset();
      return;
    }
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] != '\\' || i + 1 == text.size()) {
        out += text[i];
        continue;
      }
      const char next = text[++i];
      if (next == 'n' || next == 'N') {
        out += '\n';
      } else if (next == '_') {
        out += ' ';
      } else if (next == '(' && LoopValueText(text, i, out)) {
        // i now stands on the closing ')'
      } else {
        out += next;
      }
    }
    cell_.displayText = std::move(out);
  }

 private:
  static std::size_t GroupEnd(std::string_view format, std::size_t pos) {
    for (; pos < format.size(); ++pos) {
      if (format[pos] == '\\') {
        ++pos;
      } else if (format[pos] == ')') {
        return pos;
      }
    }
    return format.size();
  }

  void Prefix(char c, bool negate) {
    switch (c) {
    case '<': cell_.hAlign = 0; break;
    case '^': cell_.hAlign = 1; break;
    case '>': cell_.hAlign = 2; break;
    case '~': cell_.vAlign = 0; break;
    case '-': cell_.vAlign = 1; break;
    case '_': cell_.vAlign = 2; break;
    case 'W': cell_.autoWidth = !negate; break;
    case 'H': cell_.autoHeight = !negate; break;
    case '+': cell_.joinedLeft = !negate; break;
    case 'B': cell_.bottomLine = !negate; break;
    case 'U': cell_.topLine = !negate; break;
    case 'X': cell_.rightLine = negate ? cmcCellObj::kNoRightLine : cmcCellObj::kFullRightLine; break;
    case 'Q': cell_.rightLine = negate ? cmcCellObj::kNoRightLine : cmcCellObj::kRightTick; break;
    case 'S': cell_.selectable = !negate; break;
    case 'T': cell_.extension = !negate; break;
    default: break;
    }
  }

  void Group(std::string_view group, int depth) {
    if (StartsWith(group, "$")) {
      Model(group.substr(1), depth);
    } else if (StartsWith(group, "Color")) {
      if (auto value = ValueAfterEquals(group)) ParseColour(*value, cell_.colour);
    } else if (StartsWith(group, "Font")) {
      if (auto value = ValueAfterEquals(group)) FontGroup(*value);
    } else if (StartsWith(group, "%")) {
      Reference(group.substr(1));
    } else if (StartsWith(group, "@ch")) {
      LoopAssignment(group);
    } else if (StartsWith(group, "ImageIndex")) {
      if (auto value = ValueAfterEquals(group)) cell_.imageIndex = SaturatingDecimal(*value);
    } else if (StartsWith(group, "PopupMenu")) {
      if (auto value = ValueAfterEquals(group)) cell_.popupMenu = std::string(*value);
    } else if (StartsWith(group, "Flag")) {
      FlagGroup(group);
    }
  }

  // A chain too deep or too wide is a model using itself: reported once, and
  // the rest of the parse applies no more models, so a model that names itself
  // several times cannot make the parse grow exponentially.
  void Model(std::string_view name, int depth) {
    if (modelsStopped_) return;
    const std::string indexName = "CellModel_" + std::string(name);
    if (depth >= kMaxModelDepth || ++modelUses_ > kMaxModelUses) {
      modelsStopped_ = true;
      return Fault(MissingIndexMessage(indexName));
    }
    std::optional<std::string> line = parser_.models_(indexName);
    if (!line) return Fault(MissingIndexMessage(indexName));
    Format(*line, depth + 1);
  }

  void FontGroup(std::string_view spec) {
    if (!cell_.font) cell_.font = cell_.parent && cell_.parent->font ? *cell_.parent->font : Font{};
    ParseFont(spec, *cell_.font);
  }

  // "Flag", digit D from 0 to 7, '=', digit V 0 or 1.
  void FlagGroup(std::string_view group) {
    if (group.size() != 7 || group[5] != '=') return;
    const char d = group[4];
    const char v = group[6];
    if (d < '0' || d > '7' || (v != '0' && v != '1')) return;
    cell_.SetStateFlag(d - '0', v == '1');
  }

  // "@chN++" or "@chN = number", blanks allowed around the operator.
  void LoopAssignment(std::string_view group) {
    std::size_t pos = 0;
    std::int32_t* variable = LoopVariableAt(group, pos);
    if (!variable) return;
    SkipBlanks(group, pos);
    if (StartsWith(group.substr(pos), "++")) {
      *variable = SaturatingAdd(*variable, 1);
    } else if (StartsWith(group.substr(pos), "=")) {
      *variable = SaturatingDecimal(group.substr(pos + 1));
    }
  }

  // [type "."] link ["[" index "]"] [":" argument]. The type's '.' is looked for
  // only before the link's '[' or ':', so a '.' inside an argument or index is
  // never taken for one.
  void Reference(std::string_view ref) {
    const std::size_t linkEnd = ref.find_first_of("[:");
    const std::string_view head = ref.substr(0, linkEnd);
    const std::size_t dot = TypeDot(head);
    std::size_t pos = 0;
    if (dot != std::string_view::npos) {
      const std::string_view typeName = head.substr(0, dot);
      std::optional<int> type = FindCellType(typeName);
      if (!type) Fault(UnknownTypeMessage(typeName));
      cell_.type = type.value_or(kNoCellType);
      pos = dot + 1;
    }
    const std::string_view linkName = head.substr(pos);
    std::optional<int> link = FindCellLink(linkName);
    if (!link) Fault(UnknownLinkMessage(linkName));
    cell_.link = link.value_or(kNoCellLink);
    pos = head.size();

    if (pos < ref.size() && ref[pos] == '[') {
      const std::size_t close = ref.find(']', pos + 1);
      const std::string_view index = ref.substr(pos + 1, close == std::string_view::npos ? close : close - pos - 1);
      cell_.parameter = IndexValue(index);
      pos = close == std::string_view::npos ? ref.size() : close + 1;
    }
    if (pos < ref.size() && ref[pos] == ':') {
      std::string argument;
      for (std::size_t i = pos + 1; i < ref.size(); ++i) {
        if (ref[i] == '\\' && i + 1 < ref.size()) ++i;
        argument += ref[i];
      }
      cell_.argument = std::move(argument);
    }
  }

  static std::size_t TypeDot(std::string_view head) {
    for (std::size_t i = 0; i < head.size(); ++i) {
      if (head[i] == '.' && (i == 0 || head[i - 1] != '\\')) return i;
    }
    return std::string_view::npos;
  }

  std::int32_t IndexValue(std::string_view index) {
    if (!StartsWith(index, "@ch")) return SaturatingDecimal(index);
    std::size_t pos = 0;
    const std::int32_t* variable = LoopVariableAt(index, pos);
    return variable ? *variable : 0;
  }

  // `text` holds "@ch" at `pos`: checks the digit and the array, and moves
  // `pos` past the digit. Null (after the fault) for a bad one.
  std::int32_t* LoopVariableAt(std::string_view text, std::size_t& pos) {
    pos += 3;
    const bool oneDigit = pos < text.size() && IsDigit(text[pos]) && !(pos + 1 < text.size() && IsDigit(text[pos + 1]));
    if (!loops_ || !oneDigit) {
      Fault(std::string(kLoopVariableFault));
      return nullptr;
    }
    return &(*loops_)[static_cast<std::size_t>(text[pos++] - '0')];
  }

  // At `i` on the '(' of "\(@chN)" or "\(@chN+K)": appends the value and leaves
  // `i` on the ')'. False, with nothing consumed, when the text is not of that form.
  bool LoopValueText(std::string_view text, std::size_t& i, std::string& out) {
    std::size_t pos = i + 1;
    SkipBlanks(text, pos);
    if (!StartsWith(text.substr(pos), "@ch")) return false;
    const std::int32_t* variable = LoopVariableAt(text, pos);
    std::int32_t value = variable ? *variable : 0;
    SkipBlanks(text, pos);
    if (pos < text.size() && text[pos] == '+') {
      std::size_t used = 0;
      const std::int32_t addend = SaturatingDecimal(text.substr(pos + 1), &used);
      if (used == 0) return false;
      value = SaturatingAdd(value, addend);
      pos += 1 + used;
      SkipBlanks(text, pos);
    }
    if (pos >= text.size() || text[pos] != ')') return false;
    out += std::to_string(value);
    i = pos;
    return true;
  }

  void Fault(const std::string& text) { parser_.onFault_(text); }

  const CellParser& parser_;
  cmcCellObj& cell_;
  LoopVariables* loops_;
  int modelUses_ = 0;
  bool modelsStopped_ = false;
};

CellParser::CellParser(ModelSource models, FaultHandler onFault)
    : models_(std::move(models)), onFault_(std::move(onFault)) {
  if (!onFault_) onFault_ = [](const std::string& text) { platform::Fatal(text); };
}

CellParser::CellParser(cmcGTex& mainOverlay)
    : CellParser([&mainOverlay](const std::string& indexName) -> std::optional<std::string> {
        return mainOverlay.GetLine(indexName, 0);
      }) {}

std::pair<std::string_view, std::string_view> CellParser::SplitCell(std::string_view line) {
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '\\') {
      ++i;
    } else if (line[i] == '|') {
      return {line.substr(0, i), line.substr(i + 1)};
    }
  }
  return {line, {}};
}

std::string_view CellParser::ParseCell(cmcCellObj& cell, std::string_view line, LoopVariables* loops,
                                       const cmcCellObj* parent, bool skip) const {
  auto [text, rest] = SplitCell(line);
  if (skip) return rest;

  // A parse starts from the defaults, or from the parent's settings; its own
  // font and pop-up menu are found through the parent when needed.
  cell = parent ? *parent : cmcCellObj{};
  cell.parent = parent;
  cell.font.reset();
  cell.popupMenu.reset();

  // Braces hold the format text; everything outside them is the display text.
  std::string format;
  std::string display;
  bool inBraces = false;
  for (char c : text) {
    if (c == '{' && !inBraces) {
      inBraces = true;
    } else if (c == '}' && inBraces) {
      inBraces = false;
    } else {
      (inBraces ? format : display) += c;
    }
  }
  Run run(*this, cell, loops);
  run.Format(format, 0);
  run.DisplayText(display);
  return rest;
}

void CellParser::ParseFormat(cmcCellObj& cell, std::string_view format, LoopVariables* loops) const {
  Run(*this, cell, loops).Format(format, 0);
}
