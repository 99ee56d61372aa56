#pragma once

// The explanation of a port that did not open, in the overlay's words.

#include <string>

#include "platform/serialdevice.h"

class cmcGTex;

// The lines that go below the message naming the port number: the device
// path, then for a permission failure what to ask for (membership of the group
// that owns the device), for a busy device that another program holds it, and
// for a port without a path (a user's port never given one) that it has none.
std::string PortFailureText(cmcGTex& overlay, const platform::SerialOpenFailure& failure);

// For a port given by its device path: the head line naming that path, and
// the reason lines alone (the path is already in the head).
std::string PortFailureHead(cmcGTex& overlay, const std::string& path);
std::string PortFailureReason(cmcGTex& overlay, const platform::SerialOpenFailure& failure);
