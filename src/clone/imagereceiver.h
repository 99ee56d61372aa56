#pragma once

#include <optional>

#include "clone/cloneresult.h"
#include "clone/frameassembler.h"
#include "core/buff.h"
#include "model/eeprom.h"

// The receiving side of a read: the radio's bytes become frames, each frame
// is checked, the data of an accepted record goes into the image and its
// addresses into the received map, and the end-of-data frame ends the read.
class ImageReceiver {
 public:
  struct Outcome {
    int records = 0;    // records accepted by this call
    int dataBytes = 0;  // their data bytes
    // Set when the read is over: kSuccess for a good end of data, else the error.
    std::optional<CloneCode> end;
  };

  // `image` and `receivedMap` must outlive the receiver's use; records are
  // accepted below min(imageSize, image size).
  ImageReceiver(cmcEeprom& image, cmcBuff& receivedMap, int imageSize, bool endCount)
      : image_(image), receivedMap_(receivedMap), imageSize_(imageSize), endCount_(endCount) {}

  // Takes bytes from the front of `bytes` until the read is over or they run
  // out. `frameCount` counts accepted records; the end-of-data frame is
  // checked against it.
  Outcome Take(cmcBuff& bytes, int& frameCount);

 private:
  // kRecordAccepted with the record's data length in `dataBytes`, or the code
  // that ends the read.
  CloneCode CheckFrame(std::span<const std::uint8_t> frame, int frameCount, int& dataBytes);

  cmcEeprom& image_;
  cmcBuff& receivedMap_;
  int imageSize_;
  bool endCount_;
  FrameAssembler assembler_;
};
