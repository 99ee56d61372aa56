#pragma once

// The message a user reads for a clone result code: the head line for the
// code, then the lines that say what to check.

#include <string>

#include "clone/cloneresult.h"
#include "platform/serialdevice.h"

class cmcGTex;

namespace clonemessage {

// Empty for success and for a chain the user stopped. For a port that did not
// open, the head line names the port number, and the device path and the
// reason (permission, busy) follow it.
std::string Text(cmcGTex& overlay, CloneCode code, int portNumber, const platform::SerialOpenFailure& failure);

// Whether the code leaves the radio's line speed unknown.
bool LosesSpeedState(CloneCode code);

// Shows the text, if any, as an error box with the application's caption.
void Show(cmcGTex& overlay, const std::string& text);

}  // namespace clonemessage
