#include "runtime/taskscheduler.h"

cmcTask* TaskScheduler::NewTask() {
  tasks_.push_back(std::unique_ptr<cmcTask>(new cmcTask(clock_, wake_)));
  return tasks_.back().get();
}

void TaskScheduler::RunDue() {
  const std::uint32_t now = clock_.NowMs();
  for (auto it = tasks_.begin(); it != tasks_.end();) {
    if ((*it)->Tick(now)) {
      it = tasks_.erase(it);
    } else {
      ++it;
    }
  }
}

std::optional<std::uint32_t> TaskScheduler::MsUntilNextDue() const {
  const std::uint32_t now = clock_.NowMs();
  std::optional<std::uint32_t> soonest;
  for (const auto& task : tasks_) {
    if (task->IsStopped() || task->IsBusy()) continue;
    const auto ahead = static_cast<std::int32_t>(task->due_ - now);
    const std::uint32_t wait = ahead > 0 ? static_cast<std::uint32_t>(ahead) : 0;
    if (!soonest || wait < *soonest) soonest = wait;
  }
  return soonest;
}
