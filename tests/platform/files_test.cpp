#include "platform/files.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "support/temp_dir.h"

namespace {

// Runs `body` in a child that may write at most `limit` bytes to any file;
// returns its exit status.
template <typename Body>
int WithFileSizeLimit(rlim_t limit, Body body) {
  pid_t pid = fork();
  if (pid == 0) {
    std::signal(SIGXFSZ, SIG_IGN);  // an oversized write then fails instead of killing
    rlimit rl{limit, limit};
    setrlimit(RLIMIT_FSIZE, &rl);
    _exit(body());
  }
  int status = -1;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::size_t FilesIn(const std::filesystem::path& folder) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

}  // namespace

TEST(Files, AtomicWriteReplacesAndKeepsPermissions) {
  TempDir dir;
  std::string path = dir.Write("a.rwc", "old");
  std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  ASSERT_EQ(platform::WriteFileAtomically(path, "new content"), platform::FileWriteResult::kOk);
  EXPECT_EQ(ReadWholeFile(path), "new content");
  EXPECT_EQ(std::filesystem::status(path).permissions(),
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  EXPECT_EQ(FilesIn(dir.path()), 1u);

  EXPECT_EQ(platform::WriteFileAtomically(dir.File("missing/b.rwc"), "x"), platform::FileWriteResult::kOpenFailed);
  EXPECT_EQ(*platform::ReadFileContent(path), "new content");
  EXPECT_FALSE(platform::ReadFileContent(dir.File("none")).has_value());
  EXPECT_FALSE(platform::ReadFileContent(dir.path().string()).has_value());
}

TEST(Files, AReadStopsAtTheSizeLimitInsteadOfFillingMemory) {
  TempDir dir;
  const std::string path = dir.Write("big.rwc", "");
  std::filesystem::resize_file(path, platform::kMaxReadBytes);
  EXPECT_EQ(platform::ReadFileContent(path).value_or("").size(), platform::kMaxReadBytes);
  std::filesystem::resize_file(path, platform::kMaxReadBytes + 1);
  EXPECT_FALSE(platform::ReadFileContent(path).has_value());
  // An endless source, as a clone file name pointing at a device gives.
  EXPECT_FALSE(platform::ReadFileContent("/dev/zero").has_value());
}

TEST(Files, AWriteThatFailsPartWayLeavesTheOldFileAsItWas) {
  TempDir dir;
  std::string old(5000, 'o');
  std::string path = dir.Write("a.rwc", old);
  std::string big(100000, 'n');
  int status = WithFileSizeLimit(20000, [&] {
    return platform::WriteFileAtomically(path, big) == platform::FileWriteResult::kWriteFailed ? 0 : 1;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadWholeFile(path), old);
  EXPECT_EQ(FilesIn(dir.path()), 1u) << "the temporary file was left behind";
}
