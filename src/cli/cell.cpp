#include <cstdio>
#include <ostream>
#include <string>

#include "cli/command.h"
#include "cli/escape.h"
#include "cli/workbench.h"
#include "core/decimal.h"
#include "core/gtex.h"
#include "core/overlaynames.h"
#include "links/celllinks.h"
#include "markup/cellparser.h"
#include "markup/fcache.h"
#include "model/charset.h"

namespace cli {

namespace {

std::string Hex(std::uint32_t value) {
  char text[11];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

std::string Named(std::string_view name, int id) {
  return (name.empty() ? std::string("none") : std::string(name)) + "(" + std::to_string(id) + ")";
}

std::string FontText(const std::optional<Font>& font) {
  if (!font) return "-";
  return std::to_string(font->charset) + "," + font->face + "," + Hex(font->colour) + "," +
         std::to_string(font->height) + "," + std::to_string(font->size) + "," + std::to_string(font->styles) + "," +
         std::to_string(font->pitch);
}

// A pop-up editor for a terminal: it only says what it would open; the reply
// is a second run with `cell choose`.
class TerminalEditors : public LinkHost {
 public:
  bool OpenChoiceList(cmcCellCapsule&, std::string_view list, int column, std::int32_t current) override {
    opened = "choice " + std::string(list) + " column=" + Named(LinkName(column), column) +
             " current=" + std::to_string(current);
    return true;
  }
  bool OpenFlagEditor(cmcCellCapsule&, std::string_view list, std::uint32_t bits) override {
    opened = "flags " + std::string(list) + " bits=" + std::to_string(bits);
    return true;
  }
  bool OpenTextEditor(cmcCellCapsule&, std::string_view text) override {
    opened = "text \"" + EscapeControls(text) + "\"";
    return true;
  }
  std::string opened;
};

std::string ColourText(const std::optional<CellColour>& colour) {
  if (!colour) return "none";
  return std::to_string(*colour & 0xFF) + "," + std::to_string((*colour >> 8) & 0xFF) + "," +
         std::to_string((*colour >> 16) & 0xFF);
}

// A whole decimal number, or nothing.
std::optional<std::int32_t> Number(std::string_view text) {
  std::size_t used = 0;
  std::int32_t value = SaturatingDecimal(text, &used);
  if (text.empty() || used != text.size()) return std::nullopt;
  return value;
}

// One evaluation of a cell of a clone file: `cell show|key|type|choose`.
class CellRun {
 public:
  CellRun(Context& context, Args args) : context_(context), args_(args) {}

  int Run() {
    std::string action = args_[0];
    std::size_t operands = action == "show" ? 4 : action == "choose" ? 6 : 5;
    std::vector<std::string> rest(args_.begin() + 1, args_.end());
    std::string out;
    if (rest.size() == operands + 2 && rest[operands] == "--out" && action != "show") {
      out = rest[operands + 1];
      rest.resize(operands);
    }
    if (rest.size() != operands) return Usage();
    std::optional<int> type = FindCellType(rest[1]);
    std::optional<int> link = FindCellLink(rest[2]);
    std::optional<std::int32_t> parameter = Number(rest[3]);
    if (!type || !link || !parameter) return Unknown(!type ? rest[1] : !link ? rest[2] : rest[3]);

    Workbench bench;
    if (!bench.Open(rest[0])) return kFailure;
    cmcGTex& overlay = bench.Overlay();
    cmcEeprom& image = bench.Doc().Edit();

    cmcCellObj cell;
    cell.type = *type;
    cell.link = *link;
    cell.parameter = *parameter;
    cmcCellCapsule request;
    request.cell = &cell;
    cmcCellObj replyCell;
    cmcCellCapsule reply;
    if (action == "key") {
      std::optional<std::int32_t> key = Number(rest[4]);
      if (!key) return Unknown(rest[4]);
      request.key = *key;
    } else if (action == "type") {
      request.editResult = kTextCommitted;
      request.editedText = rest[4];
    } else if (action == "choose") {
      std::optional<int> column = Number(rest[4]) ? Number(rest[4]) : FindCellLink(rest[4]);
      std::optional<std::int32_t> value = Number(rest[5]);
      if (!column || !value) return Unknown(!column ? rest[4] : rest[5]);
      replyCell.link = *column;
      replyCell.parameter = *value;
      reply.cell = &replyCell;
      request.reply = &reply;
      request.editResult = kPopupChoice;
    }

    cmcFCache choices(overlay);
    TerminalEditors editors;
    LinkEnvironment environment{image, overlay, choices, editors};
    environment.modelType = bench.Doc().Type();
    const Charset charset = Charset::LoadShipped();
    environment.charset = &charset;
    CellLinks links(environment);
    int editor = links.Evaluate(request, false);

    context_.out << EscapeControls(request.displayText) << '\n'
                 << "marks=" << request.marks << " colour=" << ColourText(request.fontColour) << '\n';
    if (action != "show") {
      context_.out << "changes=" << links.LastChangeBits() << " editor=" << editor;
      if (editor == kInCellEditor) context_.out << " caret=" << request.caretPosition;
      if (editor == kPopupEditor) context_.out << ' ' << editors.opened;
      if (request.redirect.active) context_.out << " redirect=" << LinkName(request.redirect.link);
      context_.out << '\n';
    }
    if (!out.empty() && !bench.SaveAs(out)) return kFailure;
    return kSuccess;
  }

 private:
  int Usage() { return UsageError(context_, CellCommand()); }
  int Unknown(const std::string& what) {
    context_.err << "rw-m52-q-cli cell: not a name or number here: " << what << '\n';
    return Usage();
  }

  Context& context_;
  Args args_;
};

int ParseMarkup(Context& context, std::string_view markup) {
  Workbench bench;
  const CellParser parser(bench.Overlay());
  LoopVariables loops{};
  std::string_view rest = markup;
  do {
    cmcCellObj cell;
    rest = parser.ParseCell(cell, rest, &loops, nullptr);
    context.out << Named(TypeName(cell.type), cell.type) << '\t' << Named(LinkName(cell.link), cell.link) << '\t'
                << cell.parameter << '\t' << FlagsText(cell) << '\t' << Hex(cell.colour) << '\t' << FontText(cell.font)
                << '\t' << PopupMenuOf(cell).value_or("-") << '\t'
                << (cell.argument ? EscapeControls(*cell.argument) : "-") << '\t' << EscapeControls(DisplayTextOf(cell))
                << '\n';
  } while (!rest.empty());
  return kSuccess;
}

// `cell parse MARKUP`: one line per cell, TAB-separated: type, link, parameter,
// flags, colour, font, pop-up menu, argument, display text. Models come from
// the shipped main overlay; an unknown name is the fatal error, as in the application.
// `cell show|key|type|choose FILE TYPE LINK PARAM ...`: one evaluation of a cell
// of a clone file, with its display text, marks, change bits and editor request.
int RunCell(Context& context, Args args) {
  if (args.size() == 2 && args[0] == "parse") return ParseMarkup(context, args[1]);
  if (!args.empty() && (args[0] == "show" || args[0] == "key" || args[0] == "type" || args[0] == "choose")) {
    return CellRun(context, args).Run();
  }
  return UsageError(context, CellCommand());
}

}  // namespace

const Command& CellCommand() {
  static const Command command{
      "cell",
      "parse MARKUP | show FILE TYPE LINK PARAM | key FILE TYPE LINK PARAM KEYCODE [--out OUT] | "
      "type FILE TYPE LINK PARAM TEXT [--out OUT] | choose FILE TYPE LINK PARAM COLUMN VALUE [--out OUT]",
      "parse cell mark-up; or evaluate one cell of a clone file: show it, press a key (decimal code), commit a "
      "typed text or a pop-up choice, and save the changed file",
      RunCell};
  return command;
}

}  // namespace cli
