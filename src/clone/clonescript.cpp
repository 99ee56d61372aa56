#include "clone/clonescript.h"

std::optional<CloneScript::Segment> CloneScript::TakeSegment() {
  if (rest_.empty()) return std::nullopt;
  Segment segment;
  std::size_t length = 0;
  if (rest_.front() == '(') {
    const std::size_t close = rest_.find(')', 1);
    segment.kind = Segment::Kind::kSettings;
    segment.settings = rest_.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    length = segment.settings.size() + 2;
  } else {
    const std::size_t open = rest_.find('(');
    length = open == std::string::npos ? rest_.size() : open;
    segment.bytes = cmcBuff::FromHex(std::string_view(rest_).substr(0, length));
  }
  if (length >= rest_.size()) {
    rest_.clear();
  } else {
    rest_.erase(0, length);
  }
  return segment;
}
