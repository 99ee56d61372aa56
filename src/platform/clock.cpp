#include "platform/clock.h"

#include <chrono>

namespace platform {

std::uint32_t SteadyClock::NowMs() const {
  const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
  // Truncation to 32 bits is the intended wrap of the counter.
  return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}

Clock& SystemClock() {
  static SteadyClock clock;
  return clock;
}

}  // namespace platform
