#include "radiosim/transmitter.h"

#include <algorithm>
#include <array>

namespace {

// Line noise that cannot open a frame (FE) or pass for flow control (FB, FA).
constexpr std::array<std::uint8_t, 12> kNoise = {0x00, 0xFF, 0x55, 0xAA, 0xFD, 0x0D,
                                                 0x0A, 0x7F, 0x80, 0x13, 0x11, 0xEE};

}  // namespace

Transmitter::Transmitter(const FaultPlan& faults)
    : silenceAfter_(faults.Number(Fault::kSilenceAfter).value_or(-1)),
      hangupAfter_(faults.Number(Fault::kHangupAfter).value_or(-1)),
      noiseBytes_(faults.Number(Fault::kGarbage).value_or(0)) {
  silent_ = silenceAfter_ == 0;
  hungUp_ = hangupAfter_ == 0;
}

void Transmitter::SendMessage(std::span<const std::uint8_t> message) {
  if (Silent()) return;
  AppendNoise(noiseBytes_);
  queue_.insert(queue_.end(), message.begin(), message.end());
  ++messagesSent_;
  if (messagesSent_ == silenceAfter_) silent_ = true;
  if (messagesSent_ == hangupAfter_) hungUp_ = true;
}

void Transmitter::Echo(std::span<const std::uint8_t> bytes) {
  if (hungUp_) return;
  queue_.insert(queue_.end(), bytes.begin(), bytes.end());
}

std::vector<std::uint8_t> Transmitter::Take(std::size_t max) {
  std::size_t count = std::min(max, queue_.size());
  std::vector<std::uint8_t> bytes(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(count));
  queue_.erase(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(count));
  return bytes;
}

void Transmitter::AppendNoise(int count) {
  for (int i = 0; i < count; ++i) {
    queue_.push_back(kNoise[noiseIndex_]);
    noiseIndex_ = (noiseIndex_ + 1) % kNoise.size();
  }
}
