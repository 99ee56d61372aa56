#include "grid/shortcuts.h"

#include <QStringList>
#include <array>
#include <utility>

namespace {

// The key names of the overlays that Qt spells otherwise.
constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kKeyNames = {{
    {"Enter", "Return"},
    {"Del", "Delete"},
    {"Ins", "Insert"},
    {"BkSp", "Backspace"},
    {"PgDn", "PgDown"},
    {"Esc", "Escape"},
}};

QString QtKeyName(const QString& name) {
  const QString trimmed = name.trimmed();
  for (const auto& [windows, qt] : kKeyNames) {
    if (trimmed.compare(QLatin1String(windows.data(), static_cast<qsizetype>(windows.size())), Qt::CaseInsensitive) ==
        0) {
      return QString::fromLatin1(qt.data(), static_cast<qsizetype>(qt.size()));
    }
  }
  return trimmed;
}

// One key combination, or an empty sequence when Qt does not know it.
QKeySequence OneShortcut(const QString& whole) {
  QStringList parts = whole.split(QLatin1Char('+'));
  // "Ctrl++" names the plus key: the last, empty part is that key.
  if (whole.endsWith(QLatin1Char('+')) && parts.size() >= 2 && parts.last().isEmpty()) {
    parts.removeLast();
    parts.last() = QStringLiteral("+");
  }
  for (QString& part : parts) part = QtKeyName(part);
  const QKeySequence sequence = QKeySequence::fromString(parts.join(QLatin1Char('+')), QKeySequence::PortableText);
  return sequence.count() == 1 && sequence[0].key() != Qt::Key_unknown ? sequence : QKeySequence();
}

}  // namespace

QList<QKeySequence> ShortcutsFromText(std::string_view text) {
  QList<QKeySequence> shortcuts;
  const QString all = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  for (const QString& alternative : all.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    const QKeySequence sequence = OneShortcut(alternative.trimmed());
    if (sequence.isEmpty()) continue;
    shortcuts.append(sequence);
    // The keypad's Enter does what the main Enter key does.
    const QKeyCombination combination = sequence[0];
    if (combination.key() == Qt::Key_Return)
      shortcuts.append(QKeySequence(combination.keyboardModifiers() | Qt::Key_Enter));
  }
  return shortcuts;
}
