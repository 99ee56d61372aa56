#pragma once

#include <cstdint>

namespace platform {

// A monotonic millisecond counter. It is 32 bits wide and wraps, so every user
// compares times by unsigned (or signed) difference, never by magnitude.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint32_t NowMs() const = 0;
};

// The system's monotonic clock.
class SteadyClock : public Clock {
 public:
  std::uint32_t NowMs() const override;
};

// A clock that moves only when told; tests and simulations step it.
class ManualClock : public Clock {
 public:
  explicit ManualClock(std::uint32_t start = 0) : now_(start) {}
  std::uint32_t NowMs() const override { return now_; }
  void Advance(std::uint32_t ms) { now_ += ms; }

 private:
  std::uint32_t now_;
};

// The process's real clock, for code that is given no other.
Clock& SystemClock();

}  // namespace platform
