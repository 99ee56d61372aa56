#pragma once

#include <array>
#include <string>

#include "model/modeltype.h"

// Watches the characters typed in the about box for the two access words: the
// maker word (from the settings, matched as it is typed) and the fixed
// extended word (matched over the last eight characters).
class AccessWordWatcher {
 public:
  enum class Request { None, MakerMode, ExtendedMode, Both };

  static constexpr char kExtendedWord[] = "vormelaq";

  // One typed character. `makerWord` is the stored maker access word; the
  // maker word is only watched while maker mode is off, the extended word only
  // while the model type is 3.
  Request OnKeyChar(char typed, const std::string& makerWord, bool makerModeOn, ModelType modelType);

  // The about box opened, or the maker caution was refused: start the maker
  // word again. The extended buffer keeps rolling.
  void ResetMakerMatch() { makerMatched_ = 0; }

  std::size_t makerMatched() const { return makerMatched_; }

 private:
  bool AdvanceMakerWord(char typed, const std::string& word);
  bool AdvanceExtendedWord(char typed);

  std::size_t makerMatched_ = 0;
  // Starts as zero bytes, so the word matches only after eight typed characters.
  std::array<char, sizeof kExtendedWord - 1> lastTyped_{};
};
