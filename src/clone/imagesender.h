#pragma once

#include <cstddef>

#include "clone/receivedmap.h"
#include "core/buff.h"
#include "model/eeprom.h"

// The sending side of a write: data records built one at a time from the
// image, range by range, never across a 16-byte boundary of the address, and
// the flow-control points after which the radio's go-on byte is awaited.
// At most one record waits to be handed to the line.
class ImageSender {
 public:
  struct FlowControl {
    int interval = 0;  // 0: never
    int offset = 0;
  };
  enum class Build { kBuilt, kEnd, kOutsideImage };

  void Begin(receivedmap::Ranges ranges, int firstPreamble, int laterPreamble, FlowControl flow);

  // Builds the next record as the waiting one (there must be none waiting).
  // kEnd when every range is sent; kOutsideImage when the record would read
  // outside the image.
  Build BuildNext(const cmcEeprom& image);
  bool HasWaiting() const { return waiting_.Length() > 0; }
  const cmcBuff& Waiting() const { return waiting_; }
  // The waiting record was handed over. True when it ended at a flow-control
  // point: the radio's go-on byte comes next.
  bool Handed();
  // Image bytes in the record built last.
  int LastLength() const { return lastLength_; }

 private:
  bool AtFlowControlPoint() const;

  receivedmap::Ranges ranges_;
  std::size_t range_ = 0;
  long long address_ = 0;
  int firstPreamble_ = 0;
  int laterPreamble_ = 0;
  bool firstRecord_ = true;
  FlowControl flow_;
  cmcBuff waiting_;
  bool waitingEndsAtFlowPoint_ = false;
  int lastLength_ = 0;
};
