#pragma once

#include <cstdint>
#include <optional>

// When a repeated cell action runs again: 30 ms after the first, 6 ms less
// each time down to none, and never more than kMaxRepetitions times, so a
// link that never stops asking cannot hold the grid for ever.
class AutoRepeat {
 public:
  static constexpr int kFirstDelayMs = 30;
  static constexpr int kShrinkMs = 6;
  static constexpr int kMaxRepetitions = 1000;

  // The link asked to repeat with this key (again).
  void Ask(std::int32_t key);
  void Stop() { key_.reset(); }
  bool Active() const { return key_.has_value(); }
  std::int32_t Key() const { return key_.value_or(0); }
  // The wait before the next repetition, counting it; none when the repeat
  // stopped or reached its bound (it then stops).
  std::optional<int> Next();

 private:
  std::optional<std::int32_t> key_;
  int repetitions_ = 0;
};
