#include "sheet/autorepeat.h"

#include <algorithm>

void AutoRepeat::Ask(std::int32_t key) {
  if (!key_) repetitions_ = 0;
  key_ = key;
}

std::optional<int> AutoRepeat::Next() {
  if (!key_) return std::nullopt;
  if (repetitions_ >= kMaxRepetitions) {
    Stop();
    return std::nullopt;
  }
  const int wait = std::max(kFirstDelayMs - kShrinkMs * repetitions_, 0);
  ++repetitions_;
  return wait;
}
