#include "clone/clonebackup.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "model/clonefile.h"
#include "model/cloneio.h"
#include "model/memorymap.h"

namespace {

constexpr int kMostCopiesPerName = 1000;

std::string BaseName(CloneBackup::Kind kind, int modelCode, const std::string& serial, std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  char code[8];
  std::snprintf(code, sizeof code, "%04X", static_cast<unsigned>(modelCode) & 0xFFFFu);
  return std::string(stamp) + "_" + code + "_" + serial + (kind == CloneBackup::Kind::kRead ? "_read" : "_sent");
}

}  // namespace

std::string CloneBackup::DefaultFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  std::string base;
  if (data != nullptr && data[0] == '/') {
    base = data;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home != nullptr ? home : ".") + "/.local/share";
  }
  return base + "/Tarn/RW-M52-Q/backups/";
}

std::optional<std::string> CloneBackup::Save(const cmcEeprom& image, Kind kind, int modelCode,
                                             const std::string& serial, std::time_t when) const {
  std::error_code error;
  std::filesystem::create_directories(folder_, error);
  if (error || image.Size() < cmcEeprom::kRawSize) return std::nullopt;
  const std::string base = (std::filesystem::path(folder_) / BaseName(kind, modelCode, serial, when)).string();
  for (int n = 1; n <= kMostCopiesPerName; ++n) {
    std::string path = base;
    if (n > 1) path.append("-").append(std::to_string(n));
    path.append(".rwc");
    if (std::filesystem::exists(path, error) || error) continue;
    cmcEeprom copy = image;
    cmcCloneFile file;
    file.AttachImage(&copy);
    file.SetModelCode(memmap::kMainModelCode);
    file.SetExtraCode(cloneio::kExtraCode);
    file.SetMapRevision(cloneio::kSavedMapRevision);
    if (file.Write(path, memmap::RangeList(1)) != cmcCloneFile::kOk) return std::nullopt;
    return path;
  }
  return std::nullopt;
}
