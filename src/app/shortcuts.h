#pragma once

#include <QKeySequence>
#include <string_view>

// A shortcut written as the overlays write it ("Ctrl+Enter", "Shift+Del",
// "PgDn"), with the key names that differ turned into Qt's. An empty or
// unknown text gives no shortcut.
QKeySequence ShortcutFromText(std::string_view text);
