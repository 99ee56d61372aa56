#include "grid/qtkeys.h"

#include <QKeyEvent>
#include <array>
#include <utility>

namespace {

constexpr int kReturn = 0x0D;
constexpr int kEscape = 0x1B;

constexpr std::array<std::pair<int, int>, 11> kVirtualKeys = {{
    {Qt::Key_PageUp, vkey::kPageUp},
    {Qt::Key_PageDown, vkey::kPageDown},
    {Qt::Key_End, vkey::kEnd},
    {Qt::Key_Home, vkey::kHome},
    {Qt::Key_Left, vkey::kLeft},
    {Qt::Key_Up, vkey::kUp},
    {Qt::Key_Right, vkey::kRight},
    {Qt::Key_Down, vkey::kDown},
    {Qt::Key_Return, kReturn},
    {Qt::Key_Enter, kReturn},
    {Qt::Key_Escape, kEscape},
}};

}  // namespace

namespace qtkeys {

std::optional<int> VirtualKey(const QKeyEvent& event) {
  const int key = event.key();
  if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return vkey::kF1 + (key - Qt::Key_F1);
  for (const auto& [qt, virtualKey] : kVirtualKeys) {
    if (qt == key) return virtualKey;
  }
  return std::nullopt;
}

KeyModifiers Modifiers(const QKeyEvent& event) {
  const Qt::KeyboardModifiers held = event.modifiers();
  return {held.testFlag(Qt::ShiftModifier), held.testFlag(Qt::ControlModifier), held.testFlag(Qt::AltModifier)};
}

// Enter, backspace and the other control keys come as their ASCII codes;
// characters beyond Latin-1 have no code a cell knows.
std::optional<int> TypedCode(const QKeyEvent& event) {
  switch (event.key()) {
  case Qt::Key_Return:
  case Qt::Key_Enter: return 13;
  case Qt::Key_Backspace: return 8;
  case Qt::Key_Escape: return 27;
  default: break;
  }
  const QString text = event.text();
  if (text.size() != 1) return std::nullopt;
  const int code = text.at(0).unicode();
  if (code < 1 || code > 255) return std::nullopt;
  return code;
}

}  // namespace qtkeys
