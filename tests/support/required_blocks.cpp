#include "support/required_blocks.h"

#include "core/overlaynames.h"

std::string RequiredMainBlocks(const std::set<std::string_view>& present) {
  std::string text;
  for (const RequiredBlock& block : RequiredBlocks()) {
    if (block.overlay == OverlayKind::kMain && !present.contains(block.name)) {
      text += "#" + std::string(block.name) + "\nx\n#\n";
    }
  }
  return text;
}
