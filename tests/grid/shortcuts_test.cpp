// Overlay shortcut texts become Qt key sequences.

#include "grid/shortcuts.h"

#include <gtest/gtest.h>

#include <QKeySequence>

namespace {

TEST(Shortcuts, WindowsKeyNamesBecomeQtKeys) {
  struct Case {
    const char* text;
    QKeySequence expected;
    QKeySequence alternative = {};
  };
  const Case cases[] = {
      {"Enter", QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)},
      {"Ctrl+Enter", QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)},
      {"Ctrl+Shift+Z;Ctrl+Y", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
      {"Ctrl+Y; Nonsense", QKeySequence(Qt::CTRL | Qt::Key_Y)},
      {"Del", QKeySequence(Qt::Key_Delete)},
      {"Shift+Del", QKeySequence(Qt::SHIFT | Qt::Key_Delete)},
      {"Ins", QKeySequence(Qt::Key_Insert)},
      {"BkSp", QKeySequence(Qt::Key_Backspace)},
      {"PgDn", QKeySequence(Qt::Key_PageDown)},
      {"PgUp", QKeySequence(Qt::Key_PageUp)},
      {"Ctrl+O", QKeySequence(Qt::CTRL | Qt::Key_O)},
      {"Shift+F1", QKeySequence(Qt::SHIFT | Qt::Key_F1)},
      {"Ctrl+Up", QKeySequence(Qt::CTRL | Qt::Key_Up)},
      {"", QKeySequence()},
      {"Nonsense+Key", QKeySequence()},
  };
  for (const Case& c : cases) {
    QList<QKeySequence> expected;
    for (const QKeySequence& sequence : {c.expected, c.alternative}) {
      if (!sequence.isEmpty()) expected.append(sequence);
    }
    EXPECT_EQ(ShortcutsFromText(c.text), expected) << c.text;
  }
}

}  // namespace
