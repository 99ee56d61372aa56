#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// The simulated radio (rw-m52-q-radiosim) as a child process, for tests and
// benchmarks of the clone driver: started with its options, it tells the
// terminal to use as the serial port; it ends with this object.
class RadioProcess {
 public:
  // program: the simulated radio's path; options as on its command line
  // (--stdin-exit is added). Its stderr goes to stderrPath when one is given.
  RadioProcess(const std::string& program, const std::vector<std::string>& options,
               const std::string& stderrPath = "/dev/null");
  ~RadioProcess();
  RadioProcess(const RadioProcess&) = delete;
  RadioProcess& operator=(const RadioProcess&) = delete;

  // The slave side of its pseudo-terminal; empty when it did not start.
  const std::string& TerminalPath() const { return terminal_; }

 private:
  pid_t pid_ = -1;
  int stdin_ = -1;
  int stdout_ = -1;
  std::string terminal_;
};
