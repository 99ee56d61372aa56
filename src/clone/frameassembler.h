#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "clone/cloneframe.h"

// Gathers one frame at a time from the bytes of the line. A preamble byte
// starts a frame afresh (and stays as its first byte), bytes outside a frame
// are dropped, the end byte closes the frame. The frame lives in fixed storage
// and never grows past cloneframe::kMaxFrame: one byte more drops it.
class FrameAssembler {
 public:
  enum class Event {
    kNone,      // the byte was stored or dropped
    kFrame,     // the end byte closed a frame; Frame() holds it until the next Push
    kOverlong,  // the frame outgrew the storage and was dropped
  };

  Event Push(std::uint8_t byte);
  // The frame closed by the last Push, without its end byte.
  std::span<const std::uint8_t> Frame() const { return {bytes_.data(), closedLength_}; }
  // Forgets a partial frame.
  void Clear();
  std::size_t PartialLength() const { return length_; }

 private:
  std::array<std::uint8_t, cloneframe::kMaxFrame> bytes_{};
  std::size_t length_ = 0;
  std::size_t closedLength_ = 0;
};
