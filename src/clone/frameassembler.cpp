#include "clone/frameassembler.h"

FrameAssembler::Event FrameAssembler::Push(std::uint8_t byte) {
  closedLength_ = 0;
  if (byte == cloneframe::kPreamble) {
    bytes_[0] = byte;
    length_ = 1;
    return Event::kNone;
  }
  if (length_ == 0) return Event::kNone;
  if (byte == cloneframe::kEnd) {
    closedLength_ = length_;
    length_ = 0;
    return Event::kFrame;
  }
  if (length_ == bytes_.size()) {
    length_ = 0;
    return Event::kOverlong;
  }
  bytes_[length_++] = byte;
  return Event::kNone;
}

void FrameAssembler::Clear() {
  length_ = 0;
  closedLength_ = 0;
}
