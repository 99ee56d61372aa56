#include "support/pseudo_terminal.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>

PseudoTerminal::PseudoTerminal() {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) throw std::runtime_error("no pseudo-terminal");
  const char* name = ptsname(master_);
  if (name == nullptr) throw std::runtime_error("no pseudo-terminal name");
  slavePath_ = name;
}

PseudoTerminal::~PseudoTerminal() { CloseMaster(); }

void PseudoTerminal::CloseMaster() {
  if (master_ >= 0) close(master_);
  master_ = -1;
}

void PseudoTerminal::Send(const std::vector<std::uint8_t>& bytes) const {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t count = write(master_, bytes.data() + sent, bytes.size() - sent);
    if (count > 0) {
      sent += static_cast<std::size_t>(count);
    } else if (count < 0 && errno != EAGAIN && errno != EINTR) {
      throw std::runtime_error("pseudo-terminal write failed");
    }
  }
}

std::vector<std::uint8_t> PseudoTerminal::ReceiveAvailable() const {
  std::vector<std::uint8_t> bytes;
  std::uint8_t buffer[4096];
  for (;;) {
    const ssize_t count = read(master_, buffer, sizeof buffer);
    if (count <= 0) return bytes;
    bytes.insert(bytes.end(), buffer, buffer + count);
  }
}

bool WaitFor(const std::function<bool()>& condition) {
  for (int i = 0; i < 2000; ++i) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return condition();
}
