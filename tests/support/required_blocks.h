#pragma once

#include <string>
#include <string_view>

#include "core/overlaynames.h"

// Every block the program asks for of one overlay, each with a harmless line,
// except `skipped`: lets a test overlay meet the required list as it grows.
inline std::string RequiredBlocksText(OverlayKind kind, std::string_view skipped = {}) {
  std::string text;
  for (const RequiredBlock& block : RequiredBlocks()) {
    if (block.overlay != kind || block.name == skipped) continue;
    const bool isCell = std::string_view(block.name).ends_with("_BasicCell");
    text += "#" + std::string(block.name) + "\n" + (isCell ? "{(Color=clWindow)}" : "x") + "\n#\n";
  }
  return text;
}

// The number of lines RequiredBlocksText adds.
inline int RequiredBlocksLines(OverlayKind kind, std::string_view skipped = {}) {
  int lines = 0;
  for (const RequiredBlock& block : RequiredBlocks()) {
    if (block.overlay == kind && block.name != skipped) lines += 3;
  }
  return lines;
}
