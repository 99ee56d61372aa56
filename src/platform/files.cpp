#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

namespace {

// A name beside the target that no other writer of this process uses.
std::string TemporaryName(const std::string& path, int attempt) {
  static unsigned counter = 0;
  return path + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(++counter) + "-" + std::to_string(attempt);
}

bool WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    ssize_t written = write(fd, content.data(), content.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    content.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

FileWriteResult WriteFileAtomically(const std::string& path, std::string_view content) {
  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary = TemporaryName(path, attempt);
    fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return FileWriteResult::kOpenFailed;
  }
  if (fd < 0) return FileWriteResult::kOpenFailed;

  struct stat existing;
  bool ok = true;
  if (stat(path.c_str(), &existing) == 0) ok = fchmod(fd, existing.st_mode & 07777) == 0;
  ok = ok && WriteAll(fd, content) && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  ok = ok && rename(temporary.c_str(), path.c_str()) == 0;
  if (!ok) {
    unlink(temporary.c_str());
    return FileWriteResult::kWriteFailed;
  }
  return FileWriteResult::kOk;
}

std::optional<std::string> ReadFileContent(const std::string& path) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat info;
  std::optional<std::string> content;
  if (fstat(fd, &info) == 0 && !S_ISDIR(info.st_mode)) {
    content.emplace();
    char buffer[65536];
    for (;;) {
      ssize_t got = read(fd, buffer, sizeof buffer);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) content.reset();
      if (got <= 0) break;
      if (content->size() + static_cast<std::size_t>(got) > kMaxReadBytes) {
        content.reset();
        break;
      }
      content->append(buffer, static_cast<std::size_t>(got));
    }
  }
  close(fd);
  return content;
}

}  // namespace platform
