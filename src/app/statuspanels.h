#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include "sheet/lookcolours.h"

// The status bar's message panel: its text in its own colours, drawn at the
// left edge and vertically centred. It never gets narrower than kMinimumWidth.
class MessagePanel : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kMinimumWidth = 100;

  explicit MessagePanel(QWidget* parent = nullptr);
  void SetMessage(CellColour text, CellColour background, const QString& message);
  const QString& Message() const { return message_; }
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  CellColour text_ = clWindowText;
  CellColour background_ = clBtnFace;
  QString message_;
};
