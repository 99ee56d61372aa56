#include "grid/grideditor.h"

#include <QKeyEvent>

#include "grid/qtkeys.h"

GridEditor::GridEditor(QWidget* parent, KeyHandler onKey, FocusLostHandler onFocusLost)
    : QLineEdit(parent), onKey_(std::move(onKey)), onFocusLost_(std::move(onFocusLost)) {
  setFrame(false);
  setMaxLength(kMaxLength);
  hide();
}

// Every key belongs to the editor while it is open: the grid's pop-up menu
// shortcuts (Enter, Ctrl+C ...) must not act on the cell meanwhile.
bool GridEditor::event(QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    event->accept();
    return true;
  }
  return QLineEdit::event(event);
}

void GridEditor::keyPressEvent(QKeyEvent* event) {
  const std::optional<int> key = qtkeys::VirtualKey(*event);
  const InPlaceEdit::KeyAction action = key ? InPlaceEdit::ActionFor(*key) : InPlaceEdit::KeyAction::kEdit;
  if (action == InPlaceEdit::KeyAction::kEdit) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  event->accept();
  onKey_(action, *key);
}

void GridEditor::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // A pop-up of the editor's own (its context menu) is no focus loss.
  if (event->reason() != Qt::PopupFocusReason && isVisible()) onFocusLost_();
}
