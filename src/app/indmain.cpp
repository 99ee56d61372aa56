#include "app/indmain.h"

#include "app/commandline.h"
#include "control/startupchoices.h"
#include "core/gtex.h"
#include "core/overlaynames.h"
#include "model/cloneio.h"
#include "platform/messagebox.h"
#include "runtime/events.h"
#include "runtime/evman.h"

namespace {

// A tool window's request answered by another event: by the argument, the
// event sent. The windows themselves listen for the answers.
struct WindowRoute {
  std::uint32_t code;
  std::intptr_t argument;  // kAnyOther: every argument not listed before
  std::uint32_t answer;    // 0: the request is the window's own (it creates itself)
};
constexpr std::intptr_t kAnyOther = -1;
constexpr WindowRoute kWindowRoutes[] = {
    {ev::kMchWindow, ev::window::kCreate, 0},
    {ev::kMchWindow, kAnyOther, ev::kCloseMchWindow},
    {ev::kMchWindowVisible, ev::window::kHide, ev::kHideMchWindow},
    {ev::kMchWindowVisible, kAnyOther, ev::kShowMchWindow},
    {ev::kHelpWindow, ev::window::kCreate, 0},
    {ev::kHelpWindow, kAnyOther, ev::kCloseHelpWindow},
    {ev::kHelpWindowState, ev::window::kHelpHidden, ev::kHideHelpWindow},
    {ev::kHelpWindowState, ev::window::kHelpDocked, ev::kDockHelpWindow},
    {ev::kHelpWindowState, ev::window::kHelpShown, ev::kShowHelpWindow},
};

std::uint32_t AnswerTo(const Event& event) {
  for (const WindowRoute& route : kWindowRoutes) {
    if (route.code == event.code && (route.argument == event.argument || route.argument == kAnyOther)) {
      return route.answer;
    }
  }
  return 0;
}

}  // namespace

indMain::indMain(const ControllerServices& services)
    : cuiMain(services, kBaseName, cmcEeprom::kImageSize), events_(services.events) {
  // A base constructor reaches only its own version of a virtual operation, so
  // the product's codes are set here.
  InitModelCodes();
  // Added after the base's listener, so heard first.
  events_.AddListener(&indMain::OnEvent, this);
}

indMain::~indMain() { events_.RemoveListener(&indMain::OnEvent, this); }

void indMain::InitModelCodes() {
  modelCodes_.main = memmap::kMainModelCode;
  modelCodes_.further[0] = memmap::kFurtherModelCodes[0];
  modelCodes_.further[1] = memmap::kFurtherModelCodes[1];
  modelCodes_.extra = cloneio::kExtraCode;
}

void indMain::Build(MainView& view, std::span<const char* const> arguments) {
  cuiMain::Build(view, arguments);
  ShowBetaNotice();
  // A file named on the command line opens as File > Open opens it; one that
  // cannot be read leaves the initial image.
  if (const std::optional<std::string> file = FileArgument(arguments)) Documents().OpenFile(*file);
  // After the form is shown, so the caution appears over it. Each switch asks
  // again until maker mode is on.
  for (int n = CountMakerSwitches(arguments); n > 0; --n) RequestMakerMode();
}

WarningMarks indMain::RunWarningCheck() {
  WarningMarks marks = cuiMain::RunWarningCheck();
  events_.Post(ev::kBankImages, nullptr, 0);
  events_.Post(ev::kTreeRefresh, nullptr, 0);
  return marks;
}

void indMain::OnEvent(void* self, const Event& event) {
  auto& controller = *static_cast<indMain*>(self);
  if (const std::uint32_t answer = AnswerTo(event); answer != 0) controller.events_.Send(answer, nullptr, 0);
}

void indMain::ShowBetaNotice() {
  if (!WantsBetaNotice(MainOverlay().GetLine(gi::GI_Sys_BRC, 0))) return;
  const std::string title = MainOverlay().GetLine(gi::GI_Sys_AppTitle, 0);
  platform::CurrentMessageBox().Show(
      {title + "(Beta)", title + " Beta Version", platform::MsgIcon::Warning, platform::MsgButtons::Ok, true});
}
