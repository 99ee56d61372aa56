#pragma once

// What the fuzz targets share: the fatal stop and a broken property end the run
// as a crash, so libFuzzer keeps the input; shipped files are read once at start
// from the data folder beside the executable (or RWQ_DATA_DIR).

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "control/startupchoices.h"
#include "platform/fatal.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace fuzz {

[[noreturn]] inline void Finding(const std::string& what) {
  std::fprintf(stderr, "finding: %s\n", what.c_str());
  std::abort();
}

inline void Require(bool holds, const char* property) {
  if (!holds) Finding(property);
}

// The targets feed only input where the fatal stop would be a fault.
inline void TreatFatalStopAsFinding() {
  platform::SetFatalHandler([](const std::string& text) { Finding("fatal stop: " + text); });
}

inline std::string ContentOrStop(const std::string& path) {
  std::optional<std::string> content = platform::ReadFileContent(path);
  if (!content) Finding("cannot read the shipped file " + path);
  return *content;
}

// The shipped main overlay, found as the command-line program finds it.
inline std::string MainOverlayText() { return ContentOrStop(FirstLanguageOverlayPath(platform::DataDir())); }

}  // namespace fuzz
