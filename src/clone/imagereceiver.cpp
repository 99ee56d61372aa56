#include "clone/imagereceiver.h"

#include <algorithm>

#include "clone/cloneframe.h"
#include "clone/framecheck.h"
#include "clone/receivedmap.h"

ImageReceiver::Outcome ImageReceiver::Take(cmcBuff& bytes, int& frameCount) {
  Outcome outcome;
  for (int byte = bytes.PopFront(); byte >= 0; byte = bytes.PopFront()) {
    switch (assembler_.Push(static_cast<std::uint8_t>(byte))) {
    case FrameAssembler::Event::kNone: break;
    case FrameAssembler::Event::kOverlong: outcome.end = CloneCode::kBadFrame; return outcome;
    case FrameAssembler::Event::kFrame: {
      const std::span<const std::uint8_t> frame = assembler_.Frame();
      int dataBytes = 0;
      const CloneCode code = CheckFrame(frame, frameCount, dataBytes);
      if (code != CloneCode::kRecordAccepted) {
        outcome.end = code;
        return outcome;
      }
      ++frameCount;
      ++outcome.records;
      outcome.dataBytes += dataBytes;
      break;
    }
    }
  }
  return outcome;
}

CloneCode ImageReceiver::CheckFrame(std::span<const std::uint8_t> frame, int frameCount, int& dataBytes) {
  if (!framecheck::IsReadFrame(frame)) return CloneCode::kBadFrame;
  switch (static_cast<cloneframe::Command>(framecheck::CommandOf(frame))) {
  case cloneframe::Command::kDataRecord: {
    framecheck::DataRecord record;
    const CloneCode decoded = framecheck::DecodeDataRecord(frame, record);
    if (decoded != CloneCode::kSuccess) return decoded;
    const long long limit = std::min(imageSize_, image_.Size());
    if (record.address + static_cast<long long>(record.length) > limit) return CloneCode::kAddressOutside;
    const int length = static_cast<int>(record.length);
    image_.WriteBlock(record.address, record.bytes.data(), length);
    receivedmap::Mark(receivedMap_, record.address, length);
    dataBytes = length;
    return CloneCode::kRecordAccepted;
  }
  case cloneframe::Command::kEndOfData:
    return framecheck::CheckEndOfData(frame, endCount_ ? std::optional<int>(frameCount) : std::nullopt);
  default: return CloneCode::kBadFrame;
  }
}
