#pragma once

#include <chrono>
#include <cstddef>

// One direction of a serial line at its real rate: a byte of 10 bits (start,
// 8 data, stop) takes 10 / baud seconds. The line starts when bytes are
// waiting and stops when none are; while it runs, time not used (a late
// wake-up) is made up, so the average rate stays the line's rate.
class LinePacer {
 public:
  using Clock = std::chrono::steady_clock;
  using Time = Clock::time_point;

  static constexpr int kBitsPerByte = 10;

  bool Running() const { return running_; }
  // Bytes are waiting from `now` on; nothing happens if the line runs.
  void Start(Time now);
  void Stop() { running_ = false; }
  // How many bytes have had the time to cross the line by `now`.
  std::size_t Allowance(Time now, int baud) const;
  void Pass(std::size_t bytes, int baud);
  // When the next byte will have crossed.
  Time NextByteDone(int baud) const;

  static Clock::duration ByteTime(int baud);

 private:
  bool running_ = false;
  Time lineFree_{};  // the end of the last byte passed
};
