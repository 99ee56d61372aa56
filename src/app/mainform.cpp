#include "app/mainform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QScreen>
#include <QStatusBar>

#include "app/cuimain.h"
#include "app/environ.h"
#include "grid/qtfont.h"
#include "app/windowbounds.h"
#include "core/gtex.h"
#include "core/overlaynames.h"
#include "markup/cellparser.h"

TForm1::TForm1(cuiMain& controller, QWidget* parent) : QMainWindow(parent), controller_(controller) {
  SetTitle(controller_.MainOverlay().GetLine(gi::GI_Sys_AppTitle, 0));
  ApplyOverlayFont();
  ApplyStoredBounds();
  setMinimumSize(kMinimumWidth, kMinimumHeight);
  setCentralWidget(new QWidget(this));
  BuildStatusBar();
}

void TForm1::SetTitle(const std::string& title) {
  const QString text = QString::fromStdString(title);
  setWindowTitle(text);
  QGuiApplication::setApplicationDisplayName(text);
}

void TForm1::SetStatusMessage(const std::string& text) { messagePanel_->setText(QString::fromStdString(text)); }

void TForm1::ApplyOverlayFont() {
  cmcGTex& overlay = controller_.MainOverlay();
  const CellParser parser(overlay);
  cmcCellObj cell;
  parser.ParseCell(cell, overlay.GetLine(gi::GI_Form_Main_BasicCell, 0), nullptr, nullptr);
  if (cell.font) setFont(ToQFont(*cell.font, font()));
}

void TForm1::ApplyStoredBounds() {
  const indEnviron& settings = controller_.Settings();
  const QRect stored(settings.left, settings.top, settings.width, settings.height);
  const QScreen* screen = QGuiApplication::primaryScreen();
  setGeometry(screen != nullptr ? FitToWorkArea(stored, screen->availableGeometry()) : stored);
}

void TForm1::BuildStatusBar() {
  messagePanel_ = new QLabel(this);
  statusBar()->addWidget(messagePanel_, 1);
}

void TForm1::ShowMakerPanel(const std::string& panelText) {
  if (makerPanel_ != nullptr) return;
  const QString text = QString::fromStdString(panelText);
  makerPanel_ = new QLabel(text, this);
  makerPanel_->setAlignment(Qt::AlignCenter);
  makerPanel_->setAutoFillBackground(true);
  QPalette colours = makerPanel_->palette();
  colours.setColor(QPalette::Window, QColor(128, 0, 0));
  colours.setColor(QPalette::WindowText, Qt::white);
  makerPanel_->setPalette(colours);
  const QFontMetrics metrics(statusBar()->font());
  makerPanel_->setFixedWidth(metrics.horizontalAdvance(text) + metrics.horizontalAdvance(QStringLiteral("XX")));
  statusBar()->addPermanentWidget(makerPanel_);
}

void TForm1::StoreBounds() {
  const QRect bounds = isMaximized() || isFullScreen() ? normalGeometry() : geometry();
  indEnviron& settings = controller_.Settings();
  settings.left = bounds.x();
  settings.top = bounds.y();
  settings.width = bounds.width();
  settings.height = bounds.height();
}

void TForm1::closeEvent(QCloseEvent* event) {
  StoreBounds();
  controller_.OnFormClosing();
  QMainWindow::closeEvent(event);
}
