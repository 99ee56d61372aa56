// libFuzzer target: any bytes as what a radio sends, through the frame
// assembler, every frame check and the receiving side of a read with its
// coverage result; and as a pre-transfer script.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "clone/cloneframe.h"
#include "clone/clonescript.h"
#include "clone/frameassembler.h"
#include "clone/framecheck.h"
#include "clone/imagereceiver.h"
#include "clone/receivedmap.h"

namespace {

// An accepted record must be exactly what a sender writes for its data.
void CheckRecordRoundTrip(std::span<const std::uint8_t> frame) {
  framecheck::DataRecord record;
  if (framecheck::DecodeDataRecord(frame, record) != CloneCode::kSuccess) return;
  const cmcBuff rebuilt = cloneframe::DataRecord(record.address, record.Data(), 0);
  // Rebuilt: FE FE EE EF E4 text FD; received: FE EF EE E4 text.
  const std::span<const std::uint8_t> text = rebuilt.Bytes().subspan(5, rebuilt.Length() - 6);
  if (frame.size() != 4 + text.size() || !std::equal(text.begin(), text.end(), frame.begin() + 4)) __builtin_trap();
}

void CheckFrames(std::span<const std::uint8_t> bytes) {
  FrameAssembler assembler;
  for (std::uint8_t byte : bytes) {
    if (assembler.Push(byte) != FrameAssembler::Event::kFrame) continue;
    const std::span<const std::uint8_t> frame = assembler.Frame();
    if (frame.size() > cloneframe::kMaxFrame) __builtin_trap();
    framecheck::InformationReply reply;
    if (framecheck::DecodeInformationReply(frame, reply) == CloneCode::kSuccess &&
        reply.identification.size() + 8 != frame.size()) {
      __builtin_trap();
    }
    framecheck::IsWriteConfirmation(frame);
    framecheck::CheckEndOfData(frame, static_cast<int>(frame.size()));
    framecheck::CheckEndOfData(frame, std::nullopt);
    if (framecheck::IsReadFrame(frame)) framecheck::CommandOf(frame);
    CheckRecordRoundTrip(frame);
  }
}

void Receive(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 3) return;
  // The first bytes choose the image size and the end-count flag; the rest
  // arrives in reads of varying size.
  const int imageSize = 1 + ((bytes[0] << 8 | bytes[1]) % 0x8000);
  const bool endCount = (bytes[2] & 1) != 0;
  bytes = bytes.subspan(3);
  dst_CDrv_Result result;
  result.image.Resize(imageSize);
  ImageReceiver receiver(result.image, result.receivedMap, imageSize, endCount);
  cmcBuff pending;
  int frameCount = 0;
  std::size_t at = 0;
  for (std::size_t chunk = 1; at < bytes.size(); chunk = chunk % 300 + 37) {
    const std::size_t n = std::min(chunk, bytes.size() - at);
    pending.Append(bytes.subspan(at, n));
    at += n;
    const ImageReceiver::Outcome outcome = receiver.Take(pending, frameCount);
    if (outcome.end) {
      const receivedmap::Ranges ranges = {{0, imageSize / 2}, {imageSize / 2 + 1, imageSize - 1}};
      receivedmap::Coverage(result.receivedMap, ranges);
      break;
    }
  }
  if (result.receivedMap.Length() > static_cast<std::size_t>(imageSize + 7) / 8) __builtin_trap();
}

void RunScript(std::span<const std::uint8_t> bytes) {
  CloneScript script;
  script.Set(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  for (std::size_t segments = 0; script.TakeSegment(); ++segments) {
    if (segments > bytes.size()) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  CheckFrames(bytes);
  Receive(bytes);
  RunScript(bytes);
  return 0;
}
