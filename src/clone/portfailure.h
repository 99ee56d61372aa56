#pragma once

// The explanation of a port that did not open, in the overlay's words.

#include <string>

#include "platform/serialdevice.h"

class cmcGTex;

// The lines that go below the message naming the port number: the device
// path, then for a permission failure what to ask for (membership of the group
// that owns the device), and for a busy device that another program holds it.
std::string PortFailureText(cmcGTex& overlay, const platform::SerialOpenFailure& failure);
