#pragma once

#include <cstdint>

#include "platform/clock.h"

// A millisecond stopwatch for time-outs: Start(n), then Remaining() until it
// gives 0. The 32-bit counter's wrap is handled by unsigned subtraction.
class cmcTick {
 public:
  explicit cmcTick(const platform::Clock& clock = platform::SystemClock()) : clock_(clock) {}

  void Start(std::uint32_t ms);
  // Milliseconds left; 0 once the duration has passed (and from then on until
  // the next Start).
  std::uint32_t Remaining();
  bool IsRunning() const { return running_; }

 private:
  const platform::Clock& clock_;
  std::uint32_t duration_ = 0;
  std::uint32_t start_ = 0;
  bool running_ = false;
};
