#include "support/radio_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

extern char** environ;

RadioProcess::RadioProcess(const std::string& program, const std::vector<std::string>& options,
                           const std::string& stderrPath) {
  int inPipe[2], outPipe[2];
  if (pipe2(inPipe, O_CLOEXEC) != 0) return;
  if (pipe2(outPipe, O_CLOEXEC) != 0) {
    close(inPipe[0]);
    close(inPipe[1]);
    return;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, inPipe[0], 0);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
  posix_spawn_file_actions_addopen(&actions, 2, stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<std::string> args = {program};
  args.insert(args.end(), options.begin(), options.end());
  args.push_back("--stdin-exit");
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
  posix_spawn_file_actions_destroy(&actions);
  close(inPipe[0]);
  close(outPipe[1]);
  stdin_ = inPipe[1];
  stdout_ = outPipe[0];
  if (pid_ < 0) return;
  // The first line names the terminal; ten seconds at most.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  std::string line;
  while (std::chrono::steady_clock::now() < deadline) {
    pollfd wait = {stdout_, POLLIN, 0};
    if (poll(&wait, 1, 100) <= 0) continue;
    char c = 0;
    if (read(stdout_, &c, 1) != 1) break;
    if (c == '\n') {
      terminal_ = line;
      break;
    }
    line += c;
  }
}

RadioProcess::~RadioProcess() {
  // The end of its standard input ends it; a radio that hangs is killed.
  if (stdin_ >= 0) close(stdin_);
  if (pid_ > 0) {
    int status = 0;
    bool ended = false;
    for (int i = 0; i < 500 && !ended; ++i) {
      ended = waitpid(pid_, &status, WNOHANG) == pid_;
      if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!ended) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &status, 0);
    }
  }
  if (stdout_ >= 0) close(stdout_);
}
