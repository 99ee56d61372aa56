#include "editors/fsegtext.h"

#include <QFontMetrics>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "core/gtex.h"
#include "core/overlaynames.h"
#include "editors/segmentpreview.h"
#include "grid/grid.h"
#include "links/cellcapsule.h"
#include "markup/ids.h"
#include "model/charset.h"
#include "sheet/sheet.h"
#include "sheet/sheetfactory.h"

namespace {

constexpr int kEscape = 27;
constexpr int kButtonGap = 8;
constexpr int kBorder = 5;

}  // namespace

cuiFSegText::cuiFSegText(EditorOpener opener, const SheetServices& base, const TextEditorForm& form)
    : FieldEditor(std::move(opener), base.events, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      box_(new QLineEdit),
      preview_(new SegmentPreview(base.segchar)),
      palette_(new cuiGrid),
      ok_(new QPushButton(QString::fromStdString(base.mainOverlay.GetLine(gi::GI_AppInd_Button_OkCancel, 0)))),
      cancel_(new QPushButton(QString::fromStdString(base.mainOverlay.GetLine(gi::GI_AppInd_Button_OkCancel, 1)))) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kBorder, kBorder, kBorder, kBorder);
  layout->addWidget(box_);
  layout->addWidget(preview_);
  layout->addWidget(palette_);
  layout->addLayout(OkCancelRow(ok_, cancel_, kButtonGap));
  if (!base.charset) {
    QTimer::singleShot(0, this, &FieldEditor::Cancel);
    return;
  }
  charset_ = base.charset;
  const std::vector<std::uint8_t> codes = base.charset->Codes(form.text).value_or(std::vector<std::uint8_t>{});
  text_.emplace(*base.charset, codes, form.maximum, form.caretAtEnd);

  if (Opener().grid) box_->setFont(Opener().grid->font());
  box_->setFixedHeight(QFontMetrics(box_->font()).height() * 3 / 2 +
                       2 * box_->style()->pixelMetric(QStyle::PM_DefaultFrameWidth));
  preview_->setFixedHeight(box_->height());
  connect(box_, &QLineEdit::textEdited, this, &cuiFSegText::TakeBoxText);
  connect(box_, &QLineEdit::returnPressed, this, &FieldEditor::Commit);

  SheetServices services{base.mainOverlay, base.mainOverlay, base.image, palette_->Measurer()};
  services.events = base.events;
  services.view = palette_;
  services.charset = base.charset;
  services.segchar = base.segchar;
  services.modes = base.modes;
  services.onFault = base.onFault;
  std::unique_ptr<cuiSheet> sheet = CreateSheet(SheetRef::Parse(kPalette), services);
  sheet->SetDropDown(true);
  sheet->SetCallback([this](cmcCellCapsule& request, bool) { return Serve(request); });
  sheet_ = ShowSheet(*palette_, std::move(sheet));
  if (!sheet_) return;
  palette_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  palette_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  const SheetGeometry& geometry = sheet_->Geometry();
  const int frame = 2 * palette_->frameWidth();
  palette_->setFixedSize(
      static_cast<int>(geometry.TotalWidth()) + frame + palette_->verticalScrollBar()->sizeHint().width(),
      static_cast<int>(geometry.TotalHeight()) * 5 / 8 + frame);
  ShowText();
  adjustSize();
  PlaceAtOpener();
  show();
  activateWindow();
  box_->setFocus(Qt::ActiveWindowFocusReason);
}

cuiFSegText::~cuiFSegText() = default;

std::optional<std::string> cuiFSegText::Reply() const {
  if (!text_) return std::nullopt;
  return text_->Text();
}

// A text box edit the field cannot hold is undone: the text stays as it was.
void cuiFSegText::TakeBoxText() {
  if (!text_) return;
  const int caret = box_->cursorPosition();
  if (!text_->SetText(box_->text().toStdString(), static_cast<std::size_t>(caret))) {
    const int kept = std::max(0, caret - 1);
    ShowText();
    box_->setCursorPosition(std::min(kept, static_cast<int>(text_->Codes().size())));
    return;
  }
  preview_->SetPatterns(text_->Patterns());
}

void cuiFSegText::ShowText() {
  box_->setText(QString::fromStdString(text_->Text()));
  const int start = static_cast<int>(text_->SelectionStart());
  const int length = static_cast<int>(text_->SelectionLength());
  if (length > 0 && text_->Caret() == text_->SelectionStart()) {
    box_->setSelection(start + length, -length);
  } else if (length > 0) {
    box_->setSelection(start, length);
  } else {
    box_->setCursorPosition(static_cast<int>(text_->Caret()));
  }
  preview_->SetPatterns(text_->Patterns());
}

int cuiFSegText::Serve(cmcCellCapsule& request) {
  if (request.cell->link != cl::Flex0 || !text_) return kNoEditor;
  const std::int32_t code = request.cell->parameter;
  const bool isCode = code >= 0 && code <= 0xFF;
  const bool plainKey = request.editResult == kNoEdit && request.menuCommand == 0 && !request.reply;
  if (plainKey && isCode && (request.key == cellkey::kSpace || request.key == cellkey::kDoubleClick)) {
    // The text box's own caret and selection are where the character goes.
    const int selected = box_->selectionLength();
    const int caret = box_->cursorPosition();
    const int anchor =
        selected > 0 ? (box_->selectionStart() == caret ? caret + selected : box_->selectionStart()) : caret;
    text_->Select(static_cast<std::size_t>(anchor), static_cast<std::size_t>(caret));
    text_->Insert(static_cast<std::uint8_t>(code));
    ShowText();
    if (request.key == cellkey::kDoubleClick) box_->setFocus(Qt::MouseFocusReason);
  } else if (plainKey && request.key == cellkey::kEnter) {
    QTimer::singleShot(0, this, &FieldEditor::Commit);
  } else if (plainKey && (request.key == cellkey::kBackspace || request.key == kEscape)) {
    box_->setFocus(Qt::OtherFocusReason);
  } else if (plainKey && request.key > cellkey::kSpace && request.key < 127) {
    text_->Select(static_cast<std::size_t>(box_->cursorPosition()), static_cast<std::size_t>(box_->cursorPosition()));
    if (text_->Type(static_cast<char>(request.key))) ShowText();
    box_->setFocus(Qt::OtherFocusReason);
  }
  if (isCode) {
    const std::optional<std::string_view> shown = charset_->DisplayOf(static_cast<std::uint8_t>(code));
    request.displayText = shown ? std::string(*shown) : std::string();
    if (request.painting)
      request.glyphs = std::vector<std::uint16_t>{charset_->PatternOf(static_cast<std::uint8_t>(code))};
  }
  return kNoEditor;
}
