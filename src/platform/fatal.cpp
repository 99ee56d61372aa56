#include "platform/fatal.h"

#include <unistd.h>

#include <cstdio>

#include "platform/messagebox.h"
#include "platform/paths.h"

namespace platform {

namespace {
FatalHandler& Handler() {
  static FatalHandler handler;
  return handler;
}
}  // namespace

void SetFatalHandler(FatalHandler handler) { Handler() = std::move(handler); }

void Fatal(const std::string& text) {
  if (Handler()) Handler()(text);
  MsgRequest request{ExecutableName(), text, MsgIcon::Error, MsgButtons::Ok, true};
  MessageBox& box = CurrentMessageBox();
  // The text always goes to stderr below; a stderr box would only repeat it.
  if (dynamic_cast<StderrMessageBox*>(&box) == nullptr) box.Show(request);
  std::fprintf(stderr, "%s\n", text.c_str());
  std::fflush(stderr);
  _exit(kFatalExitStatus);
}

}  // namespace platform
