#include "app/cloneprogress.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "clone/cloneman.h"

namespace {

constexpr int kSideMargin = 16;
constexpr int kTopMargin = 8;

}  // namespace

ProgressSegmentsBox::ProgressSegmentsBox(QWidget* parent) : QWidget(parent) { setFixedSize(kWidth, kHeight); }

void ProgressSegmentsBox::SetFilled(int segments) {
  segments = std::clamp(segments, 0, indCloneMan::kProgressSegments);
  if (segments == filled_) return;
  filled_ = segments;
  update();
}

void ProgressSegmentsBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QPalette& colours = palette();
  painter.fillRect(rect(), colours.color(QPalette::Base));
  constexpr int kSegments = indCloneMan::kProgressSegments;
  const int step = width() / kSegments;
  for (int i = 0; i < filled_; ++i) {
    painter.fillRect(QRect(i * step, 0, step - 1, height()), colours.color(QPalette::Highlight));
  }
  painter.setPen(colours.color(QPalette::Mid));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

CloneProgressWindow::CloneProgressWindow(QWidget* owner, const QString& cancelText, std::function<void()> cancel)
    : QDialog(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      box_(new ProgressSegmentsBox(this)),
      cancelButton_(new QPushButton(cancelText, this)),
      cancel_(std::move(cancel)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kSideMargin, kTopMargin, kSideMargin, kTopMargin);
  layout->addWidget(box_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cancelButton_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  connect(cancelButton_, &QPushButton::clicked, this, [this] {
    if (cancel_) cancel_();
  });
}

void CloneProgressWindow::Open(const std::string& caption) {
  setWindowTitle(QString::fromStdString(caption));
  box_->SetFilled(0);
  adjustSize();
  if (QWidget* owner = parentWidget()) {
    const QRect area = owner->frameGeometry();
    move(area.center() - rect().center());
  }
  show();
  raise();
}

void CloneProgressWindow::Finish() { hide(); }

void CloneProgressWindow::closeEvent(QCloseEvent* event) {
  // Only the end of the transfer hides the window.
  event->ignore();
}

// Escape is the Cancel button.
void CloneProgressWindow::reject() {
  if (cancel_) cancel_();
}
