#include "radiosim/linepacer.h"

#include <algorithm>

namespace {
constexpr int kLowestBaud = 50;
}

LinePacer::Clock::duration LinePacer::ByteTime(int baud) {
  using namespace std::chrono;
  auto perSecond = static_cast<long long>(std::max(baud, kLowestBaud));
  return duration_cast<Clock::duration>(nanoseconds(1'000'000'000LL * kBitsPerByte / perSecond));
}

void LinePacer::Start(Time now) {
  if (running_) return;
  running_ = true;
  lineFree_ = now;
}

std::size_t LinePacer::Allowance(Time now, int baud) const {
  if (!running_ || now < lineFree_) return 0;
  return static_cast<std::size_t>((now - lineFree_) / ByteTime(baud));
}

void LinePacer::Pass(std::size_t bytes, int baud) { lineFree_ += ByteTime(baud) * static_cast<long long>(bytes); }

LinePacer::Time LinePacer::NextByteDone(int baud) const { return lineFree_ + ByteTime(baud); }
