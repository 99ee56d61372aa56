#pragma once

#include <functional>
#include <stdexcept>
#include <string>

#include "platform/fatal.h"

// Thrown in place of the fatal stop while a FatalTrap is alive.
struct FatalStop : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Makes the fatal configuration error throw FatalStop with its text.
class FatalTrap {
 public:
  FatalTrap() {
    platform::SetFatalHandler([](const std::string& text) { throw FatalStop(text); });
  }
  ~FatalTrap() { platform::SetFatalHandler(nullptr); }
  FatalTrap(const FatalTrap&) = delete;
  FatalTrap& operator=(const FatalTrap&) = delete;
};

// The text of the fatal error that `action` stops with, or "" when it returns.
inline std::string FatalTextOf(const std::function<void()>& action) {
  FatalTrap trap;
  try {
    action();
  } catch (const FatalStop& stop) {
    return stop.what();
  }
  return {};
}
