#pragma once

#include <iosfwd>
#include <span>
#include <string>

// The whole simulated-radio program: parses the arguments (those after the
// program name), loads the memory, opens the pseudo-terminal, prints the
// slave path as the first line of `out` and serves the line until a signal,
// the end of stdin (when asked) or a hang-up. Returns the exit status.
int RunRadioSim(std::span<const std::string> args, std::ostream& out, std::ostream& err);
