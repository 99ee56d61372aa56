#include "app/settingspaths.h"

#include <QStandardPaths>

namespace {

constexpr char kBaseName[] = "RW-M52-Q";

}  // namespace

QString SettingsFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Tarn");
}

QString SettingsIniPath() { return SettingsFolder() + "/" + kBaseName + ".ini"; }

QString InstanceLockPath() { return SettingsFolder() + "/" + kBaseName + ".lock"; }
