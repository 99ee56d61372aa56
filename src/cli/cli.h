#pragma once

#include <iosfwd>

namespace cli {

// The whole command-line program: parses the global options, installs the
// message box and runs one subcommand. Returns the exit status.
int Run(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace cli
