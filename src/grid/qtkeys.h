#pragma once

#include <optional>

#include "sheet/gridkeys.h"

class QKeyEvent;

// The sheet's codes for Qt's keys: the virtual key code of a key the grid or
// the editor knows, and the character code (1 to 255) of a typed character.
namespace qtkeys {

std::optional<int> VirtualKey(const QKeyEvent& event);
KeyModifiers Modifiers(const QKeyEvent& event);
std::optional<int> TypedCode(const QKeyEvent& event);

}  // namespace qtkeys
