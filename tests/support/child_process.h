#pragma once

#include <sys/types.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

// Runs one of the built programs as a child process, for tests of whole runs.
struct ChildResult {
  int status = -1;  // exit status, or 128 + signal number
  std::string out;
  std::string err;
};

struct ChildOptions {
  std::map<std::string, std::string> env;  // added to (or replacing in) the test's own
  std::string input;                       // written to the child's stdin
};

class ChildProcess {
 public:
  ChildProcess(const std::vector<std::string>& argv, const ChildOptions& options = {});
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  void Signal(int signal) const;
  // Waits (ten seconds at most) until the child has installed a handler for
  // `signal`; false when it did not.
  bool WaitUntilCatching(int signal) const;
  // The next line the child writes on stdout, without its end; nothing when
  // stdout closes or no whole line comes within `timeoutMs`.
  std::optional<std::string> ReadOutputLine(int timeoutMs = 10000);
  // Collects the output until the child closes it, then its status.
  ChildResult Finish();

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  int err_ = -1;
  std::string outRead_;  // stdout read by ReadOutputLine and not yet returned
};

ChildResult RunChild(const std::vector<std::string>& argv, const ChildOptions& options = {});

// A program of the build, by name ("rw-m52-q-cli").
std::string BuiltProgram(const std::string& name);
