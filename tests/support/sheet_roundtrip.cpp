#include "support/sheet_roundtrip.h"

#include <memory>

#include "control/document.h"
#include "core/gtex.h"
#include "links/celllinks.h"
#include "markup/fcache.h"
#include "model/charset.h"
#include "sheet/headless.h"
#include "sheet/sheetfactory.h"
#include "sheet/sheetref.h"

namespace {

// Accepts every editor, so that a link goes as far as it would in the window.
class AcceptingEditors : public LinkHost {
 public:
  bool OpenChoiceList(cmcCellCapsule&, std::string_view, int, std::int32_t) override { return true; }
  bool OpenFlagEditor(cmcCellCapsule&, const FlagEditorForm&, std::uint32_t) override { return true; }
  bool OpenTextEditor(cmcCellCapsule&, const TextEditorForm&) override { return true; }
  bool OpenSegmentCharacterEditor(cmcCellCapsule&, std::uint16_t) override { return true; }
};

// A sheet over a document's edit image, built as the window builds it.
class OpenSheet {
 public:
  OpenSheet(const SheetRoundTrip& setup, Document& document, const std::string& ref)
      : setup_(setup), document_(document), ref_(ref) {
    environment_.modelType = setup.modelType;
    environment_.charset = &charset_;
    environment_.initialImage = &document.Initial();
    Rebuild();
  }

  // Builds the sheet again, as the window does after a change of its layout.
  void Rebuild() {
    SheetServices services{setup_.overlay, setup_.overlay, document_.Edit(), measurer_};
    services.links = &links_;
    services.modes.modelType = setup_.modelType;
    services.charset = &charset_;
    services.onFault = [this](const std::string& text) { fault_ = text; };
    sheet_ = CreateSheet(SheetRef::Parse(ref_), services);
    built_ = sheet_->Build();
  }
  bool Built() const { return built_; }
  const std::string& Fault() const { return fault_; }
  cuiSheet& Sheet() { return *sheet_; }

  // Every cell's text, row by row.
  std::vector<std::vector<std::string>> Texts() {
    std::vector<std::vector<std::string>> texts(static_cast<std::size_t>(sheet_->Rows()));
    for (int row = 0; row < sheet_->Rows(); ++row) {
      for (int column = 0; column < sheet_->Columns(); ++column) {
        texts[static_cast<std::size_t>(row)].push_back(sheet_->CellText(column, row));
      }
    }
    return texts;
  }

 private:
  const SheetRoundTrip& setup_;
  Document& document_;
  std::string ref_;
  cmcFCache choices_{setup_.overlay};
  AcceptingEditors editors_;
  Charset charset_ = Charset::LoadShipped();
  LinkEnvironment environment_{document_.Edit(), setup_.overlay, choices_, editors_};
  CellLinks links_{environment_, setup_.links};
  CharacterMeasurer measurer_;
  std::unique_ptr<cuiSheet> sheet_;
  bool built_ = false;
  std::string fault_;
};

std::string Where(int row, int column) { return "row " + std::to_string(row) + " column " + std::to_string(column); }

// Changes every editable cell once; the rows the sheet had when it was opened
// are visited, however a change rebuilds it.
void ChangeEveryCell(OpenSheet& open, const std::vector<std::string>& texts, SheetRoundTripResult& result) {
  const int rows = open.Sheet().Rows();
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < open.Sheet().Columns(); ++column) {
      if (row >= open.Sheet().Rows() || !open.Sheet().MayBecomeCurrent(column, row)) continue;
      const std::string before = open.Sheet().CellText(column, row);
      const cuiSheet::ActionResult stepped = open.Sheet().CellAction(column, row, cellkey::kSpace);
      // A cell that opens an editor on space takes the first of the texts that changes it.
      for (std::size_t t = 0; stepped.editor != kNoEditor && t < texts.size(); ++t) {
        open.Sheet().CellAction(column, row, cellkey::kEvaluate, kNoCellLink, texts[t]);
        if (open.Sheet().CellText(column, row) != before) break;
      }
      if (open.Sheet().RebuildPending()) open.Rebuild();
      if (open.Sheet().CellText(column, row) != before) {
        ++result.changed;
      } else {
        result.unchanged.push_back(Where(row, column));
      }
    }
  }
}

}  // namespace

SheetRoundTripResult ChangeSaveAndReopen(const SheetRoundTrip& setup, const std::string& sheetRef,
                                         const std::string& folder) {
  SheetRoundTripResult result;
  Document edited(setup.overlay);
  edited.LoadModel(setup.modelType);
  OpenSheet open(setup, edited, sheetRef);
  if (!open.Built()) {
    result.lost.push_back("the sheet " + sheetRef + " does not build: " + open.Fault());
    return result;
  }
  ChangeEveryCell(open, setup.texts, result);
  open.Rebuild();
  const std::vector<std::vector<std::string>> shown = open.Texts();

  const std::string path = folder + "/roundtrip.rwc";
  Document reopened(setup.overlay);
  if (edited.SaveAs(path) != Document::SaveResult::kSaved || reopened.Open(path) != Document::OpenResult::kOpened) {
    result.lost.push_back("the document was not saved and opened again");
    return result;
  }
  OpenSheet again(setup, reopened, sheetRef);
  const std::vector<std::vector<std::string>> read = again.Texts();
  if (read.size() != shown.size()) result.lost.push_back("the sheet has another number of rows");
  for (std::size_t row = 0; row < std::min(read.size(), shown.size()); ++row) {
    for (std::size_t column = 0; column < std::min(read[row].size(), shown[row].size()); ++column) {
      if (read[row][column] == shown[row][column]) continue;
      result.lost.push_back(Where(static_cast<int>(row), static_cast<int>(column)) + ": '" + shown[row][column] +
                            "' reopened as '" + read[row][column] + "'");
    }
  }
  return result;
}
