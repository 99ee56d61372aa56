#include <cstdio>
#include <ostream>
#include <string>

#include "cli/command.h"
#include "core/gtex.h"
#include "core/overlaynames.h"
#include "markup/cellparser.h"
#include "platform/paths.h"

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

std::string FontText(const std::optional<cmcFont>& font) {
  if (!font) return "-";
  return std::to_string(font->charset) + "," + font->face + "," + Hex(font->colour) + "," +
         std::to_string(font->height) + "," + std::to_string(font->size) + "," + std::to_string(font->styles) + "," +
         std::to_string(font->pitch);
}

// Line feeds and TABs shown as escapes, so each cell stays on one line.
std::string Escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else {
      out += c;
    }
  }
  return out;
}

// The main overlay of the first language of the shipped language list.
std::string MainOverlayPath() {
  cmcGTex list;
  list.Open(platform::DataDir() + LanguageListFileName());
  return platform::DataDir() + cmcGTex::GetField(list.GetLine(gi::GI_Sys_Language, 0), '\t', 1).value_or("");
}

}  // namespace

// `cell parse MARKUP`: one line per cell, TAB-separated: type, link, parameter,
// flags, colour, font, pop-up menu, argument, display text. Models come from
// the shipped main overlay; an unknown name is the fatal error, as in the application.
int RunCell(Context& context, Args args) {
  if (args.size() != 2 || args[0] != "parse") {
    const auto& commands = Commands();
    for (const Command& command : commands) {
      if (command.name == "cell") return UsageError(context, command);
    }
    return kUsage;
  }
  cmcGTex mainOverlay;
  mainOverlay.Open(MainOverlayPath());
  const cmcCellParser parser(mainOverlay);
  LoopVariables loops{};
  std::string_view rest = args[1];
  do {
    cmcCellObj cell;
    rest = parser.ParseCell(cell, rest, &loops, nullptr);
    context.out << Named(TypeName(cell.type), cell.type) << '\t' << Named(LinkName(cell.link), cell.link) << '\t'
                << cell.parameter << '\t' << FlagsText(cell) << '\t' << Hex(cell.colour) << '\t' << FontText(cell.font)
                << '\t' << PopupMenuOf(cell).value_or("-") << '\t' << (cell.argument ? Escaped(*cell.argument) : "-")
                << '\t' << Escaped(DisplayTextOf(cell)) << '\n';
  } while (!rest.empty());
  return kSuccess;
}

}  // namespace cli
