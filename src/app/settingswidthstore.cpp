#include "app/settingswidthstore.h"

#include <QString>

#include "app/environ.h"

namespace {

QString KeyPath(const std::string& subKey) { return QString::fromStdString(subKey); }

}  // namespace

ColumnWidthStore::Widths SettingsWidthStore::Load(const std::string& subKey) {
  Widths widths;
  for (const auto& [name, width] : settings_.ReadIntegers(KeyPath(subKey))) {
    bool ok = false;
    const int column = name.toInt(&ok);
    // Names other than a column number are not ours; the sheet checks the widths.
    if (ok && column >= 0) widths[column] = width;
  }
  written_[subKey] = widths;
  return widths;
}

void SettingsWidthStore::Save(const std::string& subKey, const Widths& widths) {
  const auto known = written_.find(subKey);
  if (known != written_.end() && known->second == widths) return;
  std::map<QString, int> values;
  for (const auto& [column, width] : widths) values[QString::number(column)] = width;
  if (settings_.ReplaceIntegers(KeyPath(subKey), values)) written_[subKey] = widths;
}

void SettingsWidthStore::Remove(const std::string& subKey) {
  written_.erase(subKey);
  settings_.DeleteKey(KeyPath(subKey));
}
