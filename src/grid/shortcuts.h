#pragma once

#include <QKeySequence>
#include <QList>
#include <string_view>

// The shortcuts of a menu item as the overlays write them ("Ctrl+Enter",
// "Shift+Del", "PgDn"), with the key names that differ turned into Qt's.
// Alternatives are separated by ';' ("Ctrl+Shift+Z;Ctrl+Y"), and Enter
// stands for both the main and the keypad key. An empty or unknown text
// gives no shortcut.
QList<QKeySequence> ShortcutsFromText(std::string_view text);
