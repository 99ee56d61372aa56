#pragma once

#include <QObject>
#include <QTimer>

class TaskScheduler;

// Runs the engine's tasks from Qt's event loop: one single-shot timer sleeps
// until the next task is due and is re-armed whenever a task's time changes.
class SchedulerDriver : public QObject {
 public:
  explicit SchedulerDriver(TaskScheduler& scheduler, QObject* parent = nullptr);
  ~SchedulerDriver() override;

 private:
  void Rearm();
  void RunDue();

  TaskScheduler& scheduler_;
  QTimer timer_;
};
