#include "app/schedulerdriver.h"

#include "runtime/taskscheduler.h"

SchedulerDriver::SchedulerDriver(TaskScheduler& scheduler, QObject* parent) : QObject(parent), scheduler_(scheduler) {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, &SchedulerDriver::RunDue);
  scheduler_.SetWakeHandler([this] { Rearm(); });
  Rearm();
}

SchedulerDriver::~SchedulerDriver() { scheduler_.SetWakeHandler(nullptr); }

void SchedulerDriver::Rearm() {
  if (const std::optional<std::uint32_t> wait = scheduler_.MsUntilNextDue()) {
    timer_.start(static_cast<int>(std::min<std::uint32_t>(*wait, 0x7FFFFFFF)));
  } else {
    timer_.stop();
  }
}

void SchedulerDriver::RunDue() {
  scheduler_.RunDue();
  Rearm();
}
