#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <vector>

#include "radiosim/faults.h"

// The radio's side of the line: queues the messages the radio sends and the
// cable's echo, and applies the faults that belong to the line rather than the
// protocol: silence, hang-up and noise between messages.
class Transmitter {
 public:
  explicit Transmitter(const FaultPlan& faults);

  // One message of the radio (a frame or a flow-control byte).
  void SendMessage(std::span<const std::uint8_t> message);
  // Bytes the cable gives back; no message of the radio.
  void Echo(std::span<const std::uint8_t> bytes);

  // Up to `max` queued bytes, oldest first, taken off the queue.
  std::vector<std::uint8_t> Take(std::size_t max);
  std::size_t Pending() const { return queue_.size(); }

  // The radio has stopped talking (it may still echo).
  bool Silent() const { return silent_ || hungUp_; }
  // The line is gone: nothing more goes either way once the queue is empty.
  bool HungUp() const { return hungUp_; }

 private:
  void AppendNoise(int count);

  std::deque<std::uint8_t> queue_;
  int messagesSent_ = 0;
  int silenceAfter_;  // -1: never
  int hangupAfter_;   // -1: never
  int noiseBytes_;
  std::size_t noiseIndex_ = 0;
  bool silent_ = false;
  bool hungUp_ = false;
};
