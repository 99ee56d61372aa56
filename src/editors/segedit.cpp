#include "editors/segedit.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "core/gtex.h"
#include "core/overlaynames.h"

namespace {

constexpr int kButtonWidth = 84;
constexpr int kButtonGap = 4;
constexpr int kBorder = 5;

}  // namespace

SegmentBox::SegmentBox(Segchar& segments, QWidget* parent)
    : QWidget(parent), segments_(segments), scale_(segments.Bounds(), kExtent, kMargin) {
  setFixedSize(kSide, kSide);
}

std::optional<QPoint> SegmentBox::CentreOf(int segment) const {
  if (segment < 0 || segment >= static_cast<int>(segments_.Segments().size())) return std::nullopt;
  const Segment& chosen = segments_.Segments()[static_cast<std::size_t>(segment)];
  if (chosen.triangles.empty()) return std::nullopt;
  double x = 0, y = 0;
  for (const SegPoint& point : chosen.triangles.front().points) {
    const auto [px, py] = scale_.ToBoxExact(point);
    x += px / 3;
    y += py / 3;
  }
  return QPoint(static_cast<int>(x), static_cast<int>(y));
}

void SegmentBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  for (const Segment& segment : segments_.Segments()) {
    if (!segment.editable) continue;
    const QColor colour = segment.on ? Qt::black : Qt::white;
    painter.setPen(colour);
    painter.setBrush(colour);
    for (const dataTriangle& triangle : segment.triangles) {
      QPolygon polygon;
      for (const SegPoint& point : triangle.points) {
        const auto [x, y] = scale_.ToBox(point);
        polygon << QPoint(x, y);
      }
      painter.drawPolygon(polygon);
    }
  }
}

void SegmentBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = event->position().toPoint();
  const std::optional<SegPoint> point = scale_.ToData(at.x(), at.y());
  if (point && segments_.ToggleAt(*point)) update();
}

cuiSegEdit::cuiSegEdit(EditorOpener opener, cmcGTex& mainOverlay, cmcEvMan* events, const Segchar& shapes,
                       std::uint16_t pattern)
    : FieldEditor(std::move(opener), events, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      segments_(shapes),
      box_(nullptr),
      ok_(new QPushButton(QString::fromStdString(mainOverlay.GetLine(gi::GI_AppInd_Button_OkCancel, 0)))),
      cancel_(new QPushButton(QString::fromStdString(mainOverlay.GetLine(gi::GI_AppInd_Button_OkCancel, 1)))) {
  segments_.SetPattern(pattern);
  box_ = new SegmentBox(segments_);
  setWindowTitle(QString::fromStdString(mainOverlay.GetLine(gi::GI_AppInd_CharacterEditorCaption, 0)));
  setWindowModality(Qt::WindowModal);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(kBorder, kBorder, kBorder, kBorder);
  layout->addWidget(box_);
  auto* buttons = new QVBoxLayout;
  buttons->setSpacing(kButtonGap);
  buttons->addStretch();
  ok_->setFixedWidth(kButtonWidth);
  cancel_->setFixedWidth(kButtonWidth);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  layout->addLayout(buttons);
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &FieldEditor::Commit);
  connect(cancel_, &QPushButton::clicked, this, &FieldEditor::Cancel);
  adjustSize();
  PlaceAtOpener();
  show();
  activateWindow();
  ok_->setFocus(Qt::ActiveWindowFocusReason);
}

cuiSegEdit::~cuiSegEdit() = default;
