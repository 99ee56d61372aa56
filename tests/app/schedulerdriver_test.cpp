#include "app/schedulerdriver.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>

#include "app/qt_application.h"
#include "runtime/events.h"
#include "runtime/evman.h"
#include "runtime/task.h"
#include "runtime/taskscheduler.h"

namespace {

// Runs Qt's event loop until done() or the time limit (a guard against a hang,
// not a timing assertion).
template <typename Done>
bool SpinUntil(Done done, int limitMs = 5000) {
  QElapsedTimer elapsed;
  elapsed.start();
  while (!done() && elapsed.elapsed() < limitMs) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  return done();
}

TEST(SchedulerDriverTest, QtsEventLoopRunsTasksAndDeliversPostedEvents) {
  TestApplication();
  TaskScheduler scheduler;
  SchedulerDriver driver(scheduler);
  cmcEvMan events(scheduler);
  int heard = 0;
  events.AddListener([](void* data, const Event&) { ++*static_cast<int*>(data); }, &heard);
  events.Post(ev::kAboutBox, nullptr, 0);
  EXPECT_TRUE(SpinUntil([&] { return heard == 1; }));
}

TEST(SchedulerDriverTest, ATaskStartedWhileTheDriverSleepsIsWokenForAndAPauseIsHonoured) {
  TestApplication();
  TaskScheduler scheduler;
  SchedulerDriver driver(scheduler);  // nothing runs yet: the driver sleeps
  std::vector<int> steps;
  cmcTask* task = scheduler.NewTask();
  task->SetCallback([&](cmcTask& self) {
    steps.push_back(static_cast<int>(steps.size()));
    if (steps.size() == 1) self.Pause(30);
    if (steps.size() == 2) self.SetInterval(-1);
  });
  task->SetInterval(1);
  EXPECT_TRUE(SpinUntil([&] { return steps.size() == 2; }));
  task->Release();
  EXPECT_TRUE(SpinUntil([&] { return scheduler.TaskCount() == 0; }));
}

}  // namespace
