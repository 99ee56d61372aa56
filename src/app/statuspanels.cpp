#include "app/statuspanels.h"

#include <QPainter>

namespace {

struct SystemColour {
  CellColour colour;
  QPalette::ColorRole role;
};
constexpr SystemColour kSystemColours[] = {
    {clWindow, QPalette::Base},
    {clWindowText, QPalette::WindowText},
    {clBtnFace, QPalette::Button},
    {clGrayText, QPalette::PlaceholderText},
};

}  // namespace

QColor ToQColor(CellColour colour, const QPalette& palette) {
  for (const SystemColour& system : kSystemColours) {
    if (system.colour == colour) return palette.color(system.role);
  }
  if (colour & kSystemColour) return palette.color(QPalette::WindowText);
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

MessagePanel::MessagePanel(QWidget* parent) : QWidget(parent) {
  setObjectName("messagePanel");
  setMinimumWidth(kMinimumWidth);
}

void MessagePanel::SetMessage(CellColour text, CellColour background, const QString& message) {
  text_ = text;
  background_ = background;
  message_ = message;
  update();
}

QSize MessagePanel::sizeHint() const { return {kMinimumWidth, fontMetrics().height() + 4}; }

QSize MessagePanel::minimumSizeHint() const { return sizeHint(); }

void MessagePanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), ToQColor(background_, palette()));
  painter.setPen(ToQColor(text_, palette()));
  painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, message_);
}
