#pragma once

#include <QLineEdit>
#include <functional>

#include "sheet/inplaceedit.h"

// The in-place editor's box: frameless, one line, at most 1,024 characters.
// Its closing keys and its focus loss go to the grid, which commits or not.
class GridEditor : public QLineEdit {
  Q_OBJECT

 public:
  static constexpr int kMaxLength = 1024;
  // A closing key (its action and virtual key), or the focus lost.
  using KeyHandler = std::function<void(InPlaceEdit::KeyAction action, int virtualKey)>;
  using FocusLostHandler = std::function<void()>;

  GridEditor(QWidget* parent, KeyHandler onKey, FocusLostHandler onFocusLost);

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  KeyHandler onKey_;
  FocusLostHandler onFocusLost_;
};
