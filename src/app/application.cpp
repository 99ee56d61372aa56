#include "app/application.h"

#include "app/environ.h"
#include "app/guardedapplication.h"
#include "app/indmain.h"
#include "app/mainform.h"
#include "app/qtmessagebox.h"
#include "app/schedulerdriver.h"
#include "app/signalcloser.h"
#include "core/gtex.h"
#include "platform/loggingmessagebox.h"
#include "runtime/evman.h"
#include "runtime/taskscheduler.h"

namespace {

// The window and the message loop of the first instance.
int RunMainForm(cuiMain& controller, platform::MessageBox& box, std::span<const char* const> arguments) {
  TForm1 form(controller);
  if (auto* windowBox = dynamic_cast<QtMessageBox*>(&box)) windowBox->SetOwner(&form);
  SignalCloser closer;
  QObject::connect(&closer, &SignalCloser::closeRequested, &form, &QWidget::close);
  controller.Build(form, arguments);
  const int status = QApplication::exec();
  if (auto* windowBox = dynamic_cast<QtMessageBox*>(&box)) windowBox->SetOwner(nullptr);
  return status;
}

// The application-wide objects, made in this order and destroyed in reverse.
int RunInstance(platform::MessageBox& box, std::span<const char* const> arguments) {
  indEnviron settings;
  // A later copy leaves the running one alone: no window, no message, no save.
  if (!settings.IsFirstInstance()) return 0;
  cmcGTex mainOverlay;
  cmcGTex languageList;
  cmcHelpGTex helpOverlay;
  TaskScheduler scheduler;
  SchedulerDriver driver(scheduler);
  cmcEvMan events(scheduler);
  indMain controller({settings, mainOverlay, languageList, helpOverlay, events, scheduler});
  return RunMainForm(controller, box, arguments);
}

}  // namespace

int RunApplication(int argc, char** argv) {
  // Qt may take its own options out of argv; the maker switch is looked for in
  // what the program was really given.
  const std::vector<const char*> arguments(argv, argv + argc);
  GuardedApplication application(argc, argv);
  std::unique_ptr<platform::MessageBox> box = platform::ChooseMessageBox(std::make_unique<QtMessageBox>());
  platform::InstallMessageBox(box.get());
  int status = kStartupFailed;
  try {
    status = RunInstance(*box, arguments);
  } catch (...) {
    ShowEscapedException(std::current_exception());
  }
  platform::InstallMessageBox(nullptr);
  return status;
}
