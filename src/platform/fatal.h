#pragma once

#include <functional>
#include <string>

namespace platform {

// The fatal configuration error: a topmost error box captioned with the
// executable's file name, the text on stderr, then the process ends at once with
// status 3, skipping every destructor and every settings save.
[[noreturn]] void Fatal(const std::string& text);

// Tests replace the stop with a handler that throws, so fatal paths can be
// exercised in-process. A handler that returns still ends the process.
using FatalHandler = std::function<void(const std::string& text)>;
void SetFatalHandler(FatalHandler handler);

constexpr int kFatalExitStatus = 3;

}  // namespace platform
