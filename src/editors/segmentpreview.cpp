#include "editors/segmentpreview.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "sheet/segchar.h"

namespace {
constexpr int kPadding = 3;
}

SegmentPreview::SegmentPreview(const Segchar* shapes, QWidget* parent) : QWidget(parent), shapes_(shapes) {}

void SegmentPreview::SetPatterns(std::vector<std::uint16_t> patterns) {
  patterns_ = std::move(patterns);
  update();
}

void SegmentPreview::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(Qt::black);
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  if (!shapes_ || shapes_->Bounds().Empty()) return;
  const double glyphHeight = std::max(QWidget::height() - 2.0 * kPadding, 1.0);
  const SegmentScale fit(shapes_->Bounds(), glyphHeight, 0);
  const double width = (static_cast<double>(shapes_->Bounds().maxX) - shapes_->Bounds().minX) * fit.Factor();
  const double advance = width + std::max(glyphHeight / 4, 1.0);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::black);
  Segchar glyph = *shapes_;
  double x = kPadding + 1;
  for (std::uint16_t pattern : patterns_) {
    glyph.SetPattern(pattern);
    QPainterPath path;
    for (const Segment& segment : glyph.Segments()) {
      if (!segment.on) continue;
      for (const dataTriangle& triangle : segment.triangles) {
        QPolygonF polygon;
        for (const SegPoint& point : triangle.points) {
          const auto [px, py] = fit.ToBoxExact(point);
          polygon << QPointF(x + px, kPadding + py);
        }
        path.addPolygon(polygon);
      }
    }
    painter.drawPath(path);
    x += advance;
  }
}
