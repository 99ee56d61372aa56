#pragma once

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <optional>

#include "platform/clock.h"
#include "runtime/task.h"

// Owns the tasks and ticks each one whose time has come. The user interface
// calls RunDue from its event loop and sleeps MsUntilNextDue in between; tests
// step a ManualClock. It must outlive every owner of one of its tasks.
class TaskScheduler {
 public:
  explicit TaskScheduler(const platform::Clock& clock = platform::SystemClock()) : clock_(clock) {}
  TaskScheduler(const TaskScheduler&) = delete;
  TaskScheduler& operator=(const TaskScheduler&) = delete;

  // A new, stopped task without a callback.
  cmcTask* NewTask();

  // Ticks every running task that is due, once each; may be re-entered from a
  // callback that runs a nested event loop.
  void RunDue();

  // Milliseconds until a task can next tick (0 when one is due now), or none
  // when no task runs. Busy tasks are left out: they cannot tick, and counting
  // them would spin a nested event loop.
  std::optional<std::uint32_t> MsUntilNextDue() const;

  // Called whenever a task's next tick time changes, so that a driver asleep
  // until the old time can wake sooner.
  void SetWakeHandler(std::function<void()> handler) { wake_ = std::move(handler); }
  void NotifyTimesChanged() const {
    if (wake_) wake_();
  }

  std::uint32_t NowMs() const { return clock_.NowMs(); }
  // The clock the tasks run by, for stopwatches that must agree with them.
  const platform::Clock& TimeSource() const { return clock_; }
  std::size_t TaskCount() const { return tasks_.size(); }

 private:
  const platform::Clock& clock_;
  // A list, so that tasks made or destroyed during a nested run leave the
  // position of the outer run valid.
  std::list<std::unique_ptr<cmcTask>> tasks_;
  std::function<void()> wake_;
};
