#pragma once

#include <string>

namespace platform {

// The running executable's file name without its folder ("rw-m52-q").
std::string ExecutableName();

// The folder that holds overlays, initial files and help, with a trailing '/':
// RWQ_DATA_DIR when set, else the executable's own folder.
std::string DataDir();

}  // namespace platform
