#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/buff.h"

// The pre-transfer script: settings segments in parentheses, such as
// "(38400,N,8,1)", after which the port is opened afresh with those settings,
// and hexadecimal segments between them, whose bytes are sent as they stand.
class CloneScript {
 public:
  struct Segment {
    enum class Kind { kSettings, kBytes };
    Kind kind = Kind::kBytes;
    std::string settings;  // kSettings
    cmcBuff bytes;         // kBytes
  };

  void Set(std::string_view text) { rest_ = text; }
  void Clear() { rest_.clear(); }
  bool Empty() const { return rest_.empty(); }
  // Removes the first segment from the script and returns it. A settings
  // segment without its closing parenthesis takes the rest of the script.
  std::optional<Segment> TakeSegment();

 private:
  std::string rest_;
};
