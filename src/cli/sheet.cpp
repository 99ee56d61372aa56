// rw-m52-q-cli sheet show FILE SHEETREF [--print]: a sheet of a clone file as
// the grid shows it, one line per grid row, the cells' texts separated by TABs.

#include <ostream>
#include <string>

#include "cli/command.h"
#include "cli/escape.h"
#include "cli/workbench.h"
#include "control/startupchoices.h"
#include "core/overlaynames.h"
#include "links/celllinks.h"
#include "markup/fcache.h"
#include "model/charset.h"
#include "platform/paths.h"
#include "sheet/headless.h"
#include "sheet/sheetfactory.h"
#include "sheet/sheettext.h"

namespace cli {

namespace {

int LanguageCount() {
  cmcGTex list;
  list.Open(platform::DataDir() + LanguageListFileName());
  return CountLanguages(list);
}

int RunSheet(Context& context, Args args) {
  const bool printing = args.size() == 4 && args[3] == "--print";
  if (args.size() != (printing ? 4u : 3u) || args[0] != "show") return UsageError(context, SheetCommand());

  Workbench bench;
  if (!bench.Open(args[1])) return kFailure;
  cmcGTex& overlay = bench.Overlay();
  const SheetRef ref = SheetRef::Parse(args[2]);
  if (std::optional<std::string> problem = SheetRefProblem(ref, overlay)) {
    context.err << "rw-m52-q-cli sheet: " << args[2] << ": " << *problem << '\n';
    return kFailure;
  }

  cmcFCache choices(overlay);
  NoEditors editors;
  LinkEnvironment environment{bench.Doc().Edit(), overlay, choices, editors};
  environment.modelType = bench.Doc().Type();
  const Charset charset = Charset::LoadShipped();
  environment.charset = &charset;
  CellLinks links(environment);

  const CharacterMeasurer measurer;
  SheetServices services{overlay, overlay, bench.Doc().Edit(), measurer};
  services.links = &links;
  services.modes.modelType = bench.Doc().Type();
  services.modes.languageCount = LanguageCount();
  std::unique_ptr<cuiSheet> sheet = CreateSheet(ref, services);
  if (printing) sheet->SetPrintTarget(PrintTarget{});
  // A sheet that does not build is the fatal configuration error, as in the application.
  sheet->Build();
  for (int row = 0; row < sheet->Rows(); ++row) {
    const std::vector<std::string> texts = RowTexts(*sheet, row);
    for (std::size_t column = 0; column < texts.size(); ++column) {
      context.out << (column == 0 ? "" : "\t") << EscapeControls(texts[column]);
    }
    context.out << '\n';
  }
  return kSuccess;
}

}  // namespace

const Command& SheetCommand() {
  static const Command command{"sheet", "show FILE SHEETREF [--print]",
                               "print a sheet of a clone file as the grid shows it: one line per row, the cells' "
                               "texts separated by TABs; SHEETREF is \"[Style]IndexName,Kind\", banks count from 0; "
                               "--print builds it as for the printer",
                               RunSheet};
  return command;
}

}  // namespace cli
