#pragma once

#include <cstdint>
#include <functional>

#include "platform/clock.h"

class TaskScheduler;

// A timer that calls one callback at a chosen interval on the one thread that
// runs the scheduler. A tick does nothing while the callback is still running
// (a callback that runs a nested message loop cannot re-enter itself), and a
// task released from inside its own callback finishes that callback first.
//
// Tasks are made and owned by a TaskScheduler. An owner that is done with its
// task calls Release() (after Stop() when the task may be running) and forgets
// it: the scheduler destroys it at its next tick.
class cmcTask {
 public:
  using Callback = std::function<void(cmcTask& task)>;

  cmcTask(const cmcTask&) = delete;
  cmcTask& operator=(const cmcTask&) = delete;

  void SetCallback(Callback callback) { callback_ = std::move(callback); }
  // Below 0 stops the timer; otherwise it runs every ms milliseconds, where 0
  // counts as 1. Returns whether the timer ended up stopped.
  bool SetInterval(int ms);
  // Clears the callback and stops the timer.
  void Stop();
  // Marks the task for destruction at its next tick.
  void Release();
  // The non-blocking form of a wait inside a step: the next tick comes ms from
  // now, and ticks go on at the interval after it. A step that must wait ends
  // with Pause and continues in its next state, so nothing of this task runs
  // during the wait while every other task and the event pump keep running.
  void Pause(std::uint32_t ms);

  bool IsStopped() const { return interval_ < 0; }
  bool IsBusy() const { return busy_; }
  int Interval() const { return interval_; }

 private:
  friend class TaskScheduler;
  // The scheduler's clock, and its wake handler: called when the next tick time changes.
  cmcTask(const platform::Clock& clock, const std::function<void()>& wake) : clock_(clock), wake_(wake) {}
  void TimesChanged() const {
    if (wake_) wake_();
  }

  // One timer tick at time now; returns true when the task is to be destroyed.
  bool Tick(std::uint32_t now);

  const platform::Clock& clock_;
  const std::function<void()>& wake_;
  Callback callback_;
  int interval_ = -1;
  std::uint32_t due_ = 0;
  bool busy_ = false;
  bool releasePending_ = false;
};
