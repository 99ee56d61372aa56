#include "support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>
#include <utility>

extern char** environ;

namespace {

std::vector<std::string> MergedEnvironment(const std::map<std::string, std::string>& extra) {
  std::vector<std::string> merged;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    std::string line = *entry;
    std::string name = line.substr(0, line.find('='));
    if (!extra.contains(name)) merged.push_back(line);
  }
  for (const auto& [name, value] : extra) merged.push_back(name + "=" + value);
  return merged;
}

std::vector<char*> Pointers(std::vector<std::string>& words) {
  std::vector<char*> pointers;
  for (std::string& word : words) pointers.push_back(word.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

std::string BuiltProgram(const std::string& name) { return std::string(RWQ_BIN_DIR) + "/" + name; }

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const ChildOptions& options) {
  int inPipe[2], outPipe[2], errPipe[2];
  if (pipe2(inPipe, O_CLOEXEC) != 0 || pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0)
    throw std::runtime_error("pipe failed");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, inPipe[0], 0);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
  std::vector<std::string> args = argv;
  std::vector<std::string> env = MergedEnvironment(options.env);
  std::vector<char*> argPointers = Pointers(args);
  std::vector<char*> envPointers = Pointers(env);
  int spawned = posix_spawn(&pid_, argPointers[0], &actions, nullptr, argPointers.data(), envPointers.data());
  posix_spawn_file_actions_destroy(&actions);
  close(inPipe[0]);
  close(outPipe[1]);
  close(errPipe[1]);
  out_ = outPipe[0];
  err_ = errPipe[0];
  if (spawned != 0) {
    close(inPipe[1]);
    pid_ = -1;
    throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(spawned));
  }
  // Test input is small: it fits in the pipe without the child reading it yet.
  [[maybe_unused]] ssize_t written = write(inPipe[1], options.input.data(), options.input.size());
  close(inPipe[1]);
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    Finish();
  }
}

void ChildProcess::Signal(int signal) const {
  if (pid_ > 0) kill(pid_, signal);
}

bool ChildProcess::WaitUntilCatching(int signal) const {
  const std::string statusFile = "/proc/" + std::to_string(pid_) + "/status";
  for (int attempt = 0; attempt < 1000; ++attempt) {
    std::ifstream status(statusFile);
    std::string line;
    while (std::getline(status, line)) {
      if (!line.starts_with("SigCgt:")) continue;
      const unsigned long long caught = std::stoull(line.substr(7), nullptr, 16);
      if (caught & (1ULL << (signal - 1))) return true;
    }
    usleep(10000);
  }
  return false;
}

std::optional<std::string> ChildProcess::ReadOutputLine(int timeoutMs) {
  for (;;) {
    std::size_t end = outRead_.find('\n');
    if (end != std::string::npos) {
      std::string line = outRead_.substr(0, end);
      outRead_.erase(0, end + 1);
      return line;
    }
    pollfd fd = {out_, POLLIN, 0};
    if (out_ < 0 || poll(&fd, 1, timeoutMs) <= 0) return std::nullopt;
    char buffer[4096];
    ssize_t n = read(out_, buffer, sizeof buffer);
    if (n <= 0) return std::nullopt;
    outRead_.append(buffer, static_cast<std::size_t>(n));
  }
}

ChildResult ChildProcess::Finish() {
  ChildResult result;
  result.out = std::exchange(outRead_, {});
  pollfd fds[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
  std::string* sinks[2] = {&result.out, &result.err};
  int open = 0;
  for (const pollfd& fd : fds) open += fd.fd >= 0 ? 1 : 0;
  while (open > 0 && poll(fds, 2, -1) >= 0) {
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      char buffer[4096];
      ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(n));
      } else {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
  out_ = err_ = -1;
  if (pid_ > 0) {
    int status = 0;
    waitpid(pid_, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    pid_ = -1;
  }
  return result;
}

ChildResult RunChild(const std::vector<std::string>& argv, const ChildOptions& options) {
  return ChildProcess(argv, options).Finish();
}
