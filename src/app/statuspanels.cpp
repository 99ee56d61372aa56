#include "app/statuspanels.h"

#include <QPainter>

#include "grid/qtcolours.h"

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
