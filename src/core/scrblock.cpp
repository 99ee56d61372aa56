#include "core/scrblock.h"

#include "core/gtex.h"

cmcScrBlock::cmcScrBlock(std::string_view text) {
  const std::size_t space = text.find(' ');
  command_ = std::string(text.substr(0, space));
  cmcGTex::TrimBlanks(command_);
  if (space == std::string_view::npos) return;
  std::string rest(text.substr(space));
  cmcGTex::TrimBlanks(rest);
  if (rest.empty()) return;
  for (std::size_t i = 0;; ++i) {
    std::optional<std::string> arg = cmcGTex::GetField(rest, ',', i);
    if (!arg) break;
    cmcGTex::TrimBlanks(*arg);
    args_.push_back(std::move(*arg));
  }
}
