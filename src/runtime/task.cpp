#include "runtime/task.h"

namespace {

// Whether the wrapping counter has reached the time due.
bool Reached(std::uint32_t now, std::uint32_t due) { return static_cast<std::int32_t>(now - due) >= 0; }

}  // namespace

bool cmcTask::SetInterval(int ms) {
  if (ms < 0) {
    interval_ = -1;
    return true;
  }
  interval_ = ms == 0 ? 1 : ms;
  due_ = clock_.NowMs() + static_cast<std::uint32_t>(interval_);
  TimesChanged();
  return false;
}

void cmcTask::Stop() {
  callback_ = nullptr;
  interval_ = -1;
}

void cmcTask::Release() {
  releasePending_ = true;
  SetInterval(1);
}

void cmcTask::Pause(std::uint32_t ms) {
  if (IsStopped()) return;
  due_ = clock_.NowMs() + ms;
  TimesChanged();
}

bool cmcTask::Tick(std::uint32_t now) {
  if (IsStopped() || busy_ || !Reached(now, due_)) return false;
  if (releasePending_) return true;
  // Periodic without drift; a late tick is not made up by a burst.
  due_ += static_cast<std::uint32_t>(interval_);
  if (Reached(now, due_)) due_ = now + static_cast<std::uint32_t>(interval_);
  if (!callback_) return false;
  busy_ = true;
  // A copy, so that the callback may replace or clear itself while it runs.
  Callback callback = callback_;
  callback(*this);
  busy_ = false;
  return false;
}
