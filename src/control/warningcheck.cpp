#include "control/warningcheck.h"

#include "control/document.h"
#include "core/gtex.h"
#include "core/overlaynames.h"
#include "core/substitute.h"
#include "links/celllinks.h"
#include "markup/cellparser.h"
#include "markup/fcache.h"
#include "markup/ids.h"
#include "model/charset.h"
#include "model/memorymap.h"
#include "sheet/headless.h"

namespace {

// A list longer than this is a damaged overlay, not a list of checks.
constexpr std::size_t kMaxCheckLines = 1024;

std::string NameOf(const cmcCellObj& cell) {
  std::string name = DisplayTextOf(cell);
  if (name.empty() && cell.argument) name = *cell.argument;
  return name;
}

void Check(cmcCellObj& cell, CellLinks& links, WarningMarks& marks) {
  if (cell.type == kNoCellType) cell.type = ct::CT_Null;
  const int found = links.FlagsOf(cell.type, cell.link, cell.parameter);
  if (found & cellmark::kError) marks.errors.push_back(NameOf(cell));
  if (found & cellmark::kWarning) marks.warnings.push_back(NameOf(cell));
}

}  // namespace

std::string BankCheckCell(ModelType modelType, int bank) {
  return Substitute("{(%%CL_Check_Mch:[St_ChBank]GI_Sheet_Mch_%s,Bank %d)}",
                    {ModelWord(modelType), std::int64_t{bank}});
}

WarningMarks RunWarningCheck(cmcGTex& overlay, CellLinks& links, ModelType modelType) {
  WarningMarks marks;
  const CellParser parser(overlay);
  if (overlay.HasBlock(gi::GI_WarningCheckList)) {
    for (std::size_t n = 0; n < kMaxCheckLines; ++n) {
      const std::string line = overlay.GetLine(gi::GI_WarningCheckList, n);
      if (line.empty() || line[0] == '#') break;
      cmcCellObj cell;
      parser.ParseCell(cell, line, nullptr, nullptr);
      Check(cell, links, marks);
    }
  }
  for (int bank = 0; bank < memmap::kBankCount; ++bank) {
    cmcCellObj cell;
    parser.ParseCell(cell, BankCheckCell(modelType, bank), nullptr, nullptr);
    cell.parameter = bank;
    Check(cell, links, marks);
  }
  return marks;
}

WarningMarks CheckDocument(Document& document, cmcGTex& overlay, const LinkTable& table) {
  cmcFCache choices(overlay);
  NoEditors editors;
  LinkEnvironment environment{document.Edit(), overlay, choices, editors};
  environment.modelType = document.Type();
  const Charset charset = Charset::LoadShipped();
  environment.charset = &charset;
  environment.initialImage = &document.Initial();
  CellLinks links(environment, table);
  return RunWarningCheck(overlay, links, document.Type());
}
