#include "sheet/sheetchecker.h"

#include <filesystem>
#include <set>

#include "core/gtex.h"
#include "core/overlaynames.h"
#include "core/substitute.h"
#include "links/celllinks.h"
#include "markup/cellparser.h"
#include "markup/fcache.h"
#include "markup/ids.h"
#include "model/cloneio.h"
#include "model/memorymap.h"
#include "sheet/headless.h"
#include "sheet/segchar.h"
#include "sheet/sheetfactory.h"
#include "sheet/sheettext.h"

namespace {

constexpr std::string_view kTreeBankBranch = "GI_Tree_Branch_Mch_Bank";
constexpr std::string_view kTreeBasicCell = "GI_Tree_Main_BasicCell";

// The sheet a bank node of the tree opens: the branch's item line for the
// model word and the bank, and the CallSheet argument of its cell.
std::optional<std::string> BankNodeSheet(cmcGTex& overlay, ModelType type, int bank) {
  if (!overlay.HasBlock(kTreeBankBranch)) return std::nullopt;
  const std::string line = Substitute(overlay.GetLine(kTreeBankBranch, 0), {ModelWord(type), std::int64_t{bank}});
  const std::size_t plus = line.find('+');
  if (plus == std::string::npos) return std::nullopt;
  const CellParser parser(
      [&overlay](const std::string& name) -> std::optional<std::string> {
        if (!overlay.HasBlock(name)) return std::nullopt;
        return overlay.GetLine(name, 0);
      },
      [](const std::string&) {});
  cmcCellObj basic;
  if (overlay.HasBlock(kTreeBasicCell)) parser.ParseCell(basic, overlay.GetLine(kTreeBasicCell, 0), nullptr, nullptr);
  cmcCellObj cell;
  LoopVariables loops{};
  parser.ParseCell(cell, std::string_view(line).substr(plus + 1), &loops, &basic);
  if (cell.link != cl::CallSheet || !cell.argument) return std::nullopt;
  return cell.argument;
}

}  // namespace

std::vector<SheetRef> SheetChecker::NamedSheets(const OverlayFile& file, cmcGTex& overlay, ModelType type) {
  std::vector<std::string> texts(RequiredSheets().begin(), RequiredSheets().end());
  for (std::string& text : OverlayChecker().NamedSheets(file)) texts.push_back(std::move(text));
  for (int bank = 0; bank < memmap::kBankCount; ++bank) {
    texts.push_back(ChannelBankSheet(type, bank).Text());
    if (std::optional<std::string> node = BankNodeSheet(overlay, type, bank)) texts.push_back(*node);
  }
  std::vector<SheetRef> refs;
  std::set<std::string> seen;
  for (const std::string& text : texts) {
    if (seen.insert(text).second) refs.push_back(SheetRef::Parse(text));
  }
  return refs;
}

std::vector<OverlayProblem> SheetChecker::Check(const OverlayFile& file) const {
  std::vector<OverlayProblem> problems;
  cmcGTex overlay;
  overlay.Open(file.path);
  // A pattern has a bit for 16 segments: lines past the 16th would never light.
  if (overlay.HasBlock(Segchar::kBlock)) {
    const int lines = Segchar::CountLines(overlay.GetBlockText(Segchar::kBlock));
    if (lines > Segchar::kMaxSegments) {
      problems.push_back({file.path, 0,
                          Substitute("block '%s' has %d segment lines; only the first %d are read",
                                     {Segchar::kBlock, std::int64_t{lines}, std::int64_t{Segchar::kMaxSegments}})});
    }
  }
  const CharacterMeasurer measurer;
  NoEditors editors;
  for (ModelType type : kAllModelTypes) {
    const std::string onImage = " on the " + std::string(ModelWord(type)) + " initial image: ";
    const std::string initialFile = cloneio::InitialFilePath(overlay, type);
    if (!std::filesystem::is_regular_file(initialFile)) {
      problems.push_back({file.path, 0,
                          "the initial file of the " + std::string(ModelWord(type)) + " model, '" + initialFile +
                              "', is missing: its sheets were not built"});
      continue;
    }
    cmcEeprom image;
    cloneio::LoadInitialImage(overlay, type, image);
    cmcFCache choices(overlay);
    LinkEnvironment environment{image, overlay, choices, editors};
    environment.modelType = type;
    CellLinks links(environment);
    for (const SheetRef& ref : NamedSheets(file, overlay, type)) {
      const auto report = [&](const std::string& text) {
        problems.push_back({file.path, 0, "sheet '" + ref.Text() + "'" + onImage + text});
      };
      if (std::optional<std::string> problem = SheetRefProblem(ref, overlay)) {
        report(*problem);
        continue;
      }
      SheetServices services{overlay, overlay, image, measurer};
      services.links = &links;
      services.modes.modelType = type;
      services.onFault = report;
      std::unique_ptr<cuiSheet> sheet = CreateSheet(ref, services);
      if (!sheet->Build()) continue;
      for (int row = 0; row < sheet->Rows(); ++row) RowTexts(*sheet, row);
    }
  }
  return problems;
}
