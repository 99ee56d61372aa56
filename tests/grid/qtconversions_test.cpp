#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QPalette>

#include "grid/qtcolours.h"
#include "grid/qtkeys.h"
#include "grid_fixture.h"
#include "markup/colours.h"

namespace {

TEST(QtColoursTest, StoredColoursAreBlueGreenRedAndSystemColoursFollowThePalette) {
  QPalette palette;
  palette.setColor(QPalette::Active, QPalette::Base, QColor(250, 240, 230));
  palette.setColor(QPalette::Active, QPalette::Text, QColor(10, 20, 30));
  palette.setColor(QPalette::Active, QPalette::Highlight, QColor(1, 2, 3));
  palette.setColor(QPalette::Active, QPalette::HighlightedText, QColor(4, 5, 6));
  palette.setColor(QPalette::Active, QPalette::Button, QColor(7, 8, 9));
  const std::pair<CellColour, QColor> cases[] = {
      {0x000000FF, QColor(255, 0, 0)},    {0x00FF0000, QColor(0, 0, 255)},    {0x00123456, QColor(0x56, 0x34, 0x12)},
      {clWindow, QColor(250, 240, 230)},  {clWindowText, QColor(10, 20, 30)}, {clHighlight, QColor(1, 2, 3)},
      {clHighlightText, QColor(4, 5, 6)}, {clBtnFace, QColor(7, 8, 9)},
  };
  for (const auto& [stored, shown] : cases) EXPECT_EQ(ToQColor(stored, palette), shown) << std::hex << stored;
  const LookColours colours = LookColoursOf(palette);
  EXPECT_EQ(colours.window, 0x00E6F0FAu);
  EXPECT_EQ(colours.windowText, 0x001E140Au);
}

TEST(QtKeysTest, KeysAndCharactersGetTheSheetsCodes) {
  GridTestApplication();  // key events need the application's keyboard
  struct Case {
    int key;
    Qt::KeyboardModifiers modifiers;
    QString text;
    std::optional<int> virtualKey;
    std::optional<int> typed;
  };
  const Case cases[] = {
      {Qt::Key_Left, Qt::NoModifier, "", 0x25, std::nullopt},
      {Qt::Key_PageDown, Qt::NoModifier, "", 0x22, std::nullopt},
      {Qt::Key_F1, Qt::NoModifier, "", 0x70, std::nullopt},
      {Qt::Key_F12, Qt::NoModifier, "", 0x7B, std::nullopt},
      {Qt::Key_Return, Qt::NoModifier, "\r", 0x0D, 13},
      {Qt::Key_Enter, Qt::KeypadModifier, "\r", 0x0D, 13},
      {Qt::Key_Escape, Qt::NoModifier, "\x1b", 0x1B, 27},
      {Qt::Key_Backspace, Qt::NoModifier, "\b", std::nullopt, 8},
      {Qt::Key_Space, Qt::NoModifier, " ", std::nullopt, 32},
      {Qt::Key_A, Qt::ShiftModifier, "A", std::nullopt, 'A'},
      {Qt::Key_E, Qt::NoModifier, QString(QChar(0xE9)), std::nullopt, 0xE9},
      {Qt::Key_unknown, Qt::NoModifier, QString(QChar(0x20AC)), std::nullopt, std::nullopt},  // beyond Latin-1
  };
  for (const Case& c : cases) {
    const QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers, c.text);
    EXPECT_EQ(qtkeys::VirtualKey(event), c.virtualKey) << c.key;
    EXPECT_EQ(qtkeys::TypedCode(event), c.typed) << c.key;
  }
  const QKeyEvent shifted(QEvent::KeyPress, Qt::Key_Down, Qt::ShiftModifier | Qt::ControlModifier);
  const KeyModifiers held = qtkeys::Modifiers(shifted);
  EXPECT_TRUE(held.shift);
  EXPECT_TRUE(held.ctrl);
  EXPECT_FALSE(held.alt);
}

}  // namespace
