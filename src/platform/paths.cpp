#include "platform/paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace platform {

namespace {

std::filesystem::path ExecutablePath() {
  std::error_code error;
  std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path("rw-m52-q") : path;
}

std::string WithTrailingSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace

std::string ExecutableName() { return ExecutablePath().filename().string(); }

std::string DataDir() {
  const char* overridden = std::getenv("RWQ_DATA_DIR");
  if (overridden != nullptr && *overridden != '\0') return WithTrailingSlash(overridden);
  return WithTrailingSlash(ExecutablePath().parent_path().string());
}

}  // namespace platform
