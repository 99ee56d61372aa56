#pragma once

// Copies of what a radio held and of what was written to it, kept as clone
// files in a folder of their own; nothing there is ever replaced or deleted.

#include <ctime>
#include <optional>
#include <string>

#include "model/eeprom.h"

class CloneBackup {
 public:
  // $XDG_DATA_HOME (else ~/.local/share) + "/Tarn/RW-M52-Q/backups/".
  static std::string DefaultFolder();

  explicit CloneBackup(std::string folder) : folder_(std::move(folder)) {}
  const std::string& Folder() const { return folder_; }

  // What the radio held, or what was sent to it: the name tells them apart.
  enum class Kind { kRead, kSent };

  // Saves the raw area as "<date>-<time>_<model code>_<serial>_<read|sent>[-n].rwc"
  // under a name no file holds yet; the path, or none when it could not be saved.
  std::optional<std::string> Save(const cmcEeprom& image, Kind kind, int modelCode, const std::string& serial,
                                  std::time_t when) const;

 private:
  std::string folder_;
};
