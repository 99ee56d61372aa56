#include "app/accesswords.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

}  // namespace

bool AccessWordWatcher::AdvanceMakerWord(char typed, const std::string& word) {
  if (makerMatched_ < word.size()) {
    if (typed == word[makerMatched_]) {
      ++makerMatched_;
    } else {
      // A wrong character may still be the start of a new attempt.
      makerMatched_ = (!word.empty() && typed == word.front()) ? 1 : 0;
    }
  }
  return makerMatched_ >= word.size();
}

bool AccessWordWatcher::AdvanceExtendedWord(char typed) {
  std::shift_left(lastTyped_.begin(), lastTyped_.end(), 1);
  lastTyped_.back() = typed;
  return std::string_view(lastTyped_.data(), lastTyped_.size()) == kExtendedWord;
}

AccessWordWatcher::Request AccessWordWatcher::OnKeyChar(char typed, const std::string& makerWord, bool makerModeOn,
                                                        ModelType modelType) {
  const char k = Lower(typed);
  const bool maker = !makerModeOn && AdvanceMakerWord(k, makerWord);
  const bool extended = IsDpmr446(modelType) && AdvanceExtendedWord(k);
  if (maker && extended) return Request::Both;
  if (maker) return Request::MakerMode;
  return extended ? Request::ExtendedMode : Request::None;
}
