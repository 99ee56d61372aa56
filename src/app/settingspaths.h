#pragma once

#include <QString>

// Where the per-user settings live: $XDG_CONFIG_HOME/Tarn (default ~/.config/Tarn).
QString SettingsFolder();
// The settings file and the single-instance lock beside it.
QString SettingsIniPath();
QString InstanceLockPath();
