#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A pseudo-terminal for serial tests: the code under test opens the slave by
// its path, the test plays the other end on the master.
class PseudoTerminal {
 public:
  PseudoTerminal();
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  const std::string& SlavePath() const { return slavePath_; }
  int MasterFd() const { return master_; }

  // Writes all bytes to the slave's input.
  void Send(const std::vector<std::uint8_t>& bytes) const;
  // Whatever the slave has sent so far, without waiting.
  std::vector<std::uint8_t> ReceiveAvailable() const;
  // The peer goes away: the slave then reads end-of-line errors.
  void CloseMaster();

 private:
  int master_ = -1;
  std::string slavePath_;
};

// Calls condition every millisecond until it holds or about two seconds have
// passed; whether it held. The kernel moves pseudo-terminal data on its own
// schedule, so a test that needs data to have crossed waits for it this way.
bool WaitFor(const std::function<bool()>& condition);
