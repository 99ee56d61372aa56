#include "grid/cellpainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygonF>
#include <QString>
#include <algorithm>

#include "grid/qtcolours.h"
#include "grid/qttextmeasurer.h"

namespace {

constexpr double kTickFrom = 0.7;  // a right tick runs from 70 % of the height down

void PaintLines(QPainter& painter, const CellLook& look, const QPalette& palette) {
  const CellRect& r = look.rect;
  painter.setPen(ToQColor(look.border, palette));
  if (look.bottomLine) painter.drawLine(r.left, r.bottom, r.right, r.bottom);
  if (look.topLine) painter.drawLine(r.left, r.top, r.right, r.top);
  if (look.rightLine == CellLook::RightLine::kFull) painter.drawLine(r.right, r.top, r.right, r.bottom);
  if (look.rightLine == CellLook::RightLine::kTick) {
    painter.drawLine(r.right, r.top + static_cast<int>(r.Height() * kTickFrom), r.right, r.bottom);
  }
}

void PaintText(QPainter& painter, const CellLook& look, const QPalette& palette, const QtTextMeasurer& fonts) {
  const QFont& font = fonts.QtFont(look.font);
  painter.setFont(font);
  painter.setPen(ToQColor(look.text, palette));
  const int ascent = QFontMetrics(font).ascent();
  for (const CellLook::Line& line : look.lines) {
    if (line.text.empty()) continue;
    painter.drawText(line.x, line.y + ascent, QString::fromStdString(line.text));
  }
}

void PaintGlyphs(QPainter& painter, const CellLook& look, const QPalette& palette) {
  if (look.glyphs.empty()) return;
  const QColor colour = ToQColor(look.text, palette);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(colour, 0.5));
  painter.setBrush(colour);
  for (const CellLook::Triangle& triangle : look.glyphs) {
    const QPointF corners[] = {
        {triangle[0].x, triangle[0].y}, {triangle[1].x, triangle[1].y}, {triangle[2].x, triangle[2].y}};
    painter.drawPolygon(corners, 3);
  }
  painter.restore();
}

// A cross (error) or a triangle with an exclamation mark (warning) in the
// mark's square; black and white when printed.
void PaintMark(QPainter& painter, const CellLook& look) {
  if (look.mark == CellLook::Mark::kNone) return;
  const QRectF box(look.markRect.left, look.markRect.top, look.markRect.Width(), look.markRect.Height());
  const double unit = box.width() / 8;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  if (look.mark == CellLook::Mark::kCross) {
    painter.setPen(
        QPen(look.printed ? Qt::black : QColor(0xD0, 0, 0), std::max(unit * 1.5, 1.0), Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(box.topLeft() + QPointF(unit, unit), box.bottomRight() - QPointF(unit, unit));
    painter.drawLine(box.topRight() + QPointF(-unit, unit), box.bottomLeft() + QPointF(unit, -unit));
  } else {
    const QPolygonF triangle({QPointF(box.center().x(), box.top() + unit / 2), box.bottomRight() - QPointF(0, unit / 2),
                              box.bottomLeft() - QPointF(0, unit / 2)});
    painter.setPen(QPen(Qt::black, std::max(unit / 2, 1.0)));
    painter.setBrush(look.printed ? QColor(Qt::white) : QColor(0xFF, 0xD0, 0x00));
    painter.drawPolygon(triangle);
    painter.drawLine(QPointF(box.center().x(), box.top() + unit * 3), QPointF(box.center().x(), box.top() + unit * 5));
    painter.drawPoint(QPointF(box.center().x(), box.top() + unit * 6.3));
  }
  painter.restore();
}

}  // namespace

QRect ToQRect(const CellRect& rect) { return QRect(rect.left, rect.top, rect.Width(), rect.Height()); }

void PaintCell(QPainter& painter, const CellLook& look, const QRect& clip, const QPalette& palette,
               const QtTextMeasurer& fonts) {
  const QRect cell = ToQRect(look.rect).intersected(clip);
  if (cell.isEmpty()) return;
  painter.save();
  painter.setClipRect(cell);
  painter.fillRect(ToQRect(look.rect), ToQColor(look.background, palette));
  PaintText(painter, look, palette, fonts);
  PaintGlyphs(painter, look, palette);
  PaintLines(painter, look, palette);
  PaintMark(painter, look);
  painter.restore();
}
