#pragma once

#include <optional>
#include <string_view>

#include "model/eeprom.h"

// The first step of a write, the same for the window and the command line:
// an image without a channel in use is never sent.
namespace writecheck {

// The overlay message block that refuses `image`, or none.
std::optional<std::string_view> Refusal(const cmcEeprom& image);

}  // namespace writecheck
