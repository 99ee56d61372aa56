#include "editors/fbitsr.h"

#include <QFrame>
#include <QTimer>
#include <QVBoxLayout>

#include "core/gtex.h"
#include "core/overlaynames.h"
#include "grid/grid.h"
#include "links/cellcapsule.h"
#include "links/celllinks.h"
#include "markup/ids.h"
#include "sheet/sheet.h"
#include "sheet/sheetfactory.h"

namespace {

constexpr int kEscape = 27;
constexpr int kButtonGap = 8;
constexpr int kPanelBorder = 5;

}  // namespace

cuiFBitsR::cuiFBitsR(EditorOpener opener, const SheetServices& base, const FlagEditorForm& form, std::uint32_t value)
    : FieldEditor(std::move(opener), base.events, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      form_(form.firstOption, form.lastOption, form.labelStyle, value),
      drawTick_(form.drawTick),
      grid_(new cuiGrid),
      links_(base.links),
      ok_(new QPushButton(QString::fromStdString(base.mainOverlay.GetLine(gi::GI_AppInd_Button_OkCancel, 0)))),
      cancel_(new QPushButton(QString::fromStdString(base.mainOverlay.GetLine(gi::GI_AppInd_Button_OkCancel, 1)))) {
  auto* panel = new QFrame(this);
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setLineWidth(2);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(panel);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(kPanelBorder, kPanelBorder, kPanelBorder, kPanelBorder);
  layout->addWidget(grid_);
  layout->addLayout(OkCancelRow(ok_, cancel_, kButtonGap));

  const bool generated = form.sheet.empty();
  if (generated && !BitFieldForm::Fits(form.firstOption, form.lastOption)) {
    QTimer::singleShot(0, this, &FieldEditor::Cancel);
    return;
  }
  if (generated) {
    generated_ = std::make_unique<cmcGTex>();
    generated_->OpenLines(form_.OverlayLines());
  }
  SheetServices services{generated ? *generated_ : base.mainOverlay, base.mainOverlay, base.image, grid_->Measurer()};
  services.links = base.links;
  services.events = base.events;
  services.view = grid_;
  services.charset = base.charset;
  services.segchar = base.segchar;
  services.modes = base.modes;
  services.onFault = base.onFault;
  std::unique_ptr<cuiSheet> sheet =
      CreateSheet(SheetRef::Parse(generated ? std::string(BitFieldForm::kSheet) : std::string(form.sheet)), services);
  // A click on an option switches it, as on a drop-down's choices.
  sheet->SetDropDown(true);
  sheet->SetCallback([this](cmcCellCapsule& request, bool notify) { return Serve(request, notify); });
  sheet_ = ShowSheet(*grid_, std::move(sheet));
  if (!sheet_) return;
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  SizeToSheet();
  PlaceAtOpener();
  show();
  activateWindow();
  grid_->setFocus(Qt::ActiveWindowFocusReason);
}

cuiFBitsR::~cuiFBitsR() = default;

void cuiFBitsR::SizeToSheet() {
  const SheetGeometry& geometry = sheet_->Geometry();
  const int frame = 2 * grid_->frameWidth();
  grid_->setFixedSize(static_cast<int>(geometry.TotalWidth()) + frame,
                      static_cast<int>(geometry.TotalHeight()) + frame);
  adjustSize();
}

std::optional<std::string> cuiFBitsR::Reply() const {
  if (!form_.Acceptable()) return std::nullopt;
  return std::to_string(form_.Value());
}

int cuiFBitsR::Serve(cmcCellCapsule& request, bool notify) {
  const bool plainKey = request.editResult == kNoEdit && request.menuCommand == 0 && !request.reply;
  if (plainKey && request.key == kEscape) {
    QTimer::singleShot(0, this, &FieldEditor::Cancel);
    return kNoEditor;
  }
  if (request.cell->link != cl::CL_FBits) {
    if (plainKey && request.key == cellkey::kEnter) {
      Commit();
      return kNoEditor;
    }
    return links_ ? links_->Evaluate(request, notify) : kNoEditor;
  }
  const int n = request.cell->parameter;
  if (plainKey && (request.key == cellkey::kSpace || request.key == cellkey::kDoubleClick)) {
    form_.Toggle(n);
    ok_->setEnabled(form_.Acceptable());
    // The sentence-type rule marks every option while it is broken.
    grid_->InvalidateAll();
  } else if (plainKey && request.key == cellkey::kEnter) {
    if (form_.Acceptable()) QTimer::singleShot(0, this, &FieldEditor::Commit);
    return kNoEditor;
  }
  const bool on = form_.IsOn(n);
  request.displayText = on && !drawTick_ ? "o" : "";
  if (on && drawTick_) request.displayText = "\xE2\x9C\x93";  // ✓ in the font colour
  if (on && !form_.Acceptable()) request.marks |= cellmark::kError;
  return kNoEditor;
}
