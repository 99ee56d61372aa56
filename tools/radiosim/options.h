#pragma once

#include <span>
#include <string>

#include "radiosim/simradio.h"

// The command line of the simulated radio.
struct SimOptions {
  std::string file;            // the clone file the radio holds
  std::string link;            // a symbolic link made to the slave side
  std::string saveAfterWrite;  // where each finished write is saved
  bool pace = false;           // move bytes at the line rate the program set
  bool stdinExit = false;      // end when stdin reaches its end
  bool verbose = false;        // tell on stderr what the radio does
  RadioSettings radio;
};

struct CommandLine {
  enum class Outcome { kRun, kHelp, kUsageError };
  Outcome outcome = Outcome::kRun;
  SimOptions options;
  std::string error;
};

// The arguments after the program name.
CommandLine ParseCommandLine(std::span<const std::string> args);
std::string HelpText();
