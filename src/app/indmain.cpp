#include "app/indmain.h"

#include "app/commandline.h"
#include "control/startupchoices.h"
#include "core/gtex.h"
#include "core/overlaynames.h"
#include "model/cloneio.h"
#include "platform/messagebox.h"

indMain::indMain(const ControllerServices& services) : cuiMain(services, kBaseName, cmcEeprom::kImageSize) {
  // A base constructor reaches only its own version of a virtual operation, so
  // the product's codes are set here.
  InitModelCodes();
}

void indMain::InitModelCodes() {
  modelCodes_.main = memmap::kMainModelCode;
  modelCodes_.further[0] = memmap::kFurtherModelCodes[0];
  modelCodes_.further[1] = memmap::kFurtherModelCodes[1];
  modelCodes_.extra = cloneio::kExtraCode;
}

void indMain::Build(MainView& view, std::span<const char* const> arguments) {
  cuiMain::Build(view, arguments);
  ShowBetaNotice();
  // After the form is shown, so the caution appears over it. Each switch asks
  // again until maker mode is on.
  for (int n = CountMakerSwitches(arguments); n > 0; --n) RequestMakerMode();
}

void indMain::ShowBetaNotice() {
  if (!WantsBetaNotice(MainOverlay().GetLine(gi::GI_Sys_BRC, 0))) return;
  const std::string title = MainOverlay().GetLine(gi::GI_Sys_AppTitle, 0);
  platform::CurrentMessageBox().Show(
      {title + "(Beta)", title + " Beta Version", platform::MsgIcon::Warning, platform::MsgButtons::Ok, true});
}
