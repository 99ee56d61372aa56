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
#include "links/linktable.h"
#include "markup/cellparser.h"
#include "markup/fcache.h"
#include "markup/ids.h"
#include "model/charset.h"
#include "model/clipch.h"

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
  bool OpenFlagEditor(cmcCellCapsule&, const FlagEditorForm& form, std::uint32_t bits) override {
    opened = "flags " + FormName(form) + " bits=" + std::to_string(bits);
    return true;
  }
  bool OpenSegmentCharacterEditor(cmcCellCapsule&, std::uint16_t pattern) override {
    opened = "segments pattern=" + std::to_string(pattern);
    return true;
  }
  bool OpenTextEditor(cmcCellCapsule&, const TextEditorForm& form) override {
    opened = "text \"" + EscapeControls(form.text) + "\" max=" + std::to_string(form.maximum) +
             (form.caretAtEnd ? " caret=end" : " caret=all");
    return true;
  }
  std::string opened;

 private:
  // A named sheet, or the generated form's options and label style.
  static std::string FormName(const FlagEditorForm& form) {
    if (!form.sheet.empty()) return std::string(form.sheet);
    return "options=" + std::to_string(form.firstOption) + "-" + std::to_string(form.lastOption) +
           " style=" + std::to_string(form.labelStyle);
  }
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

// "FIRST-LAST" or a single record number.
std::optional<RowRange> Rows(std::string_view text) {
  const std::size_t dash = text.find('-', 1);
  std::optional<std::int32_t> first = Number(text.substr(0, dash));
  std::optional<std::int32_t> last = dash == std::string_view::npos ? first : Number(text.substr(dash + 1));
  if (!first || !last || *first < 0 || *last < *first) return std::nullopt;
  return RowRange{*first, *last};
}

const char* ResultName(ListResult result) {
  switch (result) {
  case ListResult::kDone: return "done";
  case ListResult::kCancelled: return "cancelled";
  case ListResult::kRefused: return "refused";
  case ListResult::kNotApplicable: return "none";
  }
  return "none";
}

// The options after the operands: "--out OUT" (all but show), "--rows" and
// "--from" (menu only), each at most once.
struct RunOptions {
  std::string out;
  std::optional<RowRange> rows;
  std::optional<RowRange> from;
};

// One evaluation of a cell of a clone file: `cell show|key|type|choose|menu`.
class CellRun {
 public:
  CellRun(Context& context, Args args) : context_(context), args_(args) {}

  int Run() {
    const std::string action = args_[0];
    const std::size_t operands = action == "show" ? 4 : action == "choose" ? 6 : 5;
    const std::vector<std::string> rest(args_.begin() + 1, args_.end());
    RunOptions options;
    if (rest.size() < operands || !ParseOptions(action, Args(rest).subspan(operands), options)) return Usage();
    std::optional<int> type = FindCellType(rest[1]);
    std::optional<int> link = FindCellLink(rest[2]);
    std::optional<std::int32_t> parameter = Number(rest[3]);
    if (!type || !link || !parameter) return Unknown(!type ? rest[1] : !link ? rest[2] : rest[3]);

    Workbench bench;
    if (!bench.Open(rest[0])) return kFailure;
    cmcGTex& overlay = bench.Overlay();
    Document& document = bench.Doc();

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
    } else if (action == "reply") {
      // An editor's text reply: a cell of link Flex0 showing the text.
      replyCell.link = cl::Flex0;
      replyCell.displayText = rest[4];
      reply.cell = &replyCell;
      request.reply = &reply;
      request.editResult = kPopupChoice;
    } else if (action == "choose") {
      std::optional<int> column = Number(rest[4]) ? Number(rest[4]) : FindCellLink(rest[4]);
      std::optional<std::int32_t> value = Number(rest[5]);
      if (!column || !value) return Unknown(!column ? rest[4] : rest[5]);
      replyCell.link = *column;
      replyCell.parameter = *value;
      reply.cell = &replyCell;
      request.reply = &reply;
      request.editResult = kPopupChoice;
    } else if (action == "menu") {
      std::optional<int> command = FindCellLink(rest[4]);
      if (!command || !listlinks::IsListCommand(*command)) return Unknown(rest[4]);
      request.menuCommand = *command;
      if (options.rows)
        request.rowSelection = {0, cmcCellCapsule::RowSelection::kExists, options.rows->first, options.rows->last};
    }

    cmcFCache choices(overlay);
    TerminalEditors editors;
    LinkEnvironment environment{document.Edit(), overlay, choices, editors};
    environment.modelType = document.Type();
    const Charset charset = Charset::LoadShipped();
    environment.charset = &charset;
    datClipCh clipboard;
    environment.clipboard = &clipboard;
    environment.initialImage = &document.Initial();
    environment.showStatus = [this](const std::string& text) { context_.err << text << '\n'; };
    CellLinks links(environment);
    if (action == "menu") {
      if (options.from && !CopyFirst(links, cell, *options.from)) return kFailure;
      if (!ItemEnabled(links, cell, request)) return kFailure;
    }
    int editor = links.Evaluate(request, false);

    context_.out << EscapeControls(request.displayText) << '\n'
                 << "marks=" << request.marks << " colour=" << ColourText(request.fontColour) << '\n';
    if (action != "show") {
      context_.out << "changes=" << links.LastChangeBits() << " editor=" << editor;
      if (editor == kInCellEditor) context_.out << " caret=" << request.caretPosition;
      if (editor == kPopupEditor) context_.out << ' ' << editors.opened;
      if (request.redirect.active && action != "menu") context_.out << " redirect=" << LinkName(request.redirect.link);
      if (action == "menu") PrintMenuOutcome(links, request);
      context_.out << '\n';
    }
    const bool done = !links.LastListResult() || *links.LastListResult() == ListResult::kDone;
    if (!done) return kFailure;
    if (!options.out.empty() && !bench.SaveAs(options.out)) return kFailure;
    return kSuccess;
  }

 private:
  bool ParseOptions(const std::string& action, Args words, RunOptions& options) {
    for (std::size_t i = 0; i < words.size(); i += 2) {
      if (i + 1 >= words.size()) return false;
      const std::string& name = words[i];
      const std::string& value = words[i + 1];
      if (name == "--out" && action != "show" && options.out.empty()) {
        options.out = value;
      } else if (name == "--rows" && action == "menu" && !options.rows) {
        options.rows = Rows(value);
        if (!options.rows) return false;
      } else if (name == "--from" && action == "menu" && !options.from) {
        options.from = Rows(value);
        if (!options.from) return false;
      } else {
        return false;
      }
    }
    return true;
  }

  // `--from`: copies those records of the same list first, as the menu's Copy would.
  bool CopyFirst(CellLinks& links, const cmcCellObj& cell, RowRange from) {
    cmcCellObj source = cell;
    source.parameter = from.first;
    cmcCellCapsule copy;
    copy.cell = &source;
    copy.menuCommand = cl::CL_PMenu_Copy;
    copy.rowSelection = {0, cmcCellCapsule::RowSelection::kExists, from.first, from.last};
    links.Evaluate(copy, false);
    if (links.LastListResult() == ListResult::kDone) return true;
    context_.err << "rw-m52-q-cli cell menu: records " << from.first << '-' << from.last
                 << " cannot be copied from this list\n";
    return false;
  }

  // A disabled menu item cannot be chosen.
  bool ItemEnabled(CellLinks& links, const cmcCellObj& cell, const cmcCellCapsule& command) {
    cmcCellObj item = cell;
    item.link = command.menuCommand;
    cmcCellCapsule state;
    state.cell = &item;
    state.rowSelection = command.rowSelection;
    links.Evaluate(state, false);
    if (!item.StateFlag(cmcCellObj::kDisabledFlag)) return true;
    context_.err << "rw-m52-q-cli cell menu: " << LinkName(command.menuCommand) << " is disabled on this row\n";
    return false;
  }

  void PrintMenuOutcome(const CellLinks& links, const cmcCellCapsule& request) {
    context_.out << " result=" << ResultName(links.LastListResult().value_or(ListResult::kNotApplicable));
    if (request.rowSelection.flags & cmcCellCapsule::RowSelection::kChanged) {
      context_.out << " selection=";
      if (request.rowSelection.flags & cmcCellCapsule::RowSelection::kExists) {
        context_.out << request.rowSelection.first << '-' << request.rowSelection.last;
      } else {
        context_.out << "none";
      }
    }
    if (request.redirect.active) context_.out << " cursor=" << request.redirect.number;
  }

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
// `cell show|key|type|choose|menu FILE TYPE LINK PARAM ...`: one evaluation of
// a cell of a clone file, with its display text, marks, change bits and editor
// request; `menu` runs a record-list command of the cell's pop-up menu and
// tells its result, the selection and where the cursor goes.
int RunCell(Context& context, Args args) {
  if (args.size() == 2 && args[0] == "parse") return ParseMarkup(context, args[1]);
  if (!args.empty() && (args[0] == "show" || args[0] == "key" || args[0] == "type" || args[0] == "reply" ||
                        args[0] == "choose" || args[0] == "menu")) {
    return CellRun(context, args).Run();
  }
  return UsageError(context, CellCommand());
}

}  // namespace

const Command& CellCommand() {
  static const Command command{
      "cell",
      "parse MARKUP | show FILE TYPE LINK PARAM | key FILE TYPE LINK PARAM KEYCODE [--out OUT] | "
      "type FILE TYPE LINK PARAM TEXT [--out OUT] | reply FILE TYPE LINK PARAM TEXT [--out OUT] | choose FILE TYPE "
      "LINK PARAM COLUMN VALUE [--out OUT] | "
      "menu FILE TYPE LINK PARAM COMMAND [--rows FIRST-LAST] [--from FIRST-LAST] [--out OUT]",
      "parse cell mark-up; or evaluate one cell of a clone file: show it, press a key (decimal code), commit a "
      "typed text, an editor's text reply or a pop-up choice, or run a pop-up menu command (CL_PMenu_Copy to "
      "CL_PMenu_Insert) on the "
      "records FIRST to LAST, pasting the records copied --from; and save the changed file",
      RunCell};
  return command;
}

}  // namespace cli
