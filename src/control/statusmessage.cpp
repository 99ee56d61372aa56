#include "control/statusmessage.h"

#include <cstring>
#include <vector>

#include "runtime/event.h"
#include "runtime/events.h"
#include "runtime/evman.h"

namespace {

constexpr std::size_t kColourBytes = sizeof(CellColour);

}  // namespace

void PostStatusMessage(cmcEvMan& events, const StatusMessage& status) {
  // Two colours, then the text.
  std::vector<char> bytes(2 * kColourBytes + status.message.size());
  std::memcpy(bytes.data(), &status.text, kColourBytes);
  std::memcpy(bytes.data() + kColourBytes, &status.background, kColourBytes);
  std::memcpy(bytes.data() + 2 * kColourBytes, status.message.data(), status.message.size());
  events.PostData(ev::kStatusMessage, bytes.data(), bytes.size());
}

std::optional<StatusMessage> DecodeStatusMessage(const Event& event) {
  if (!event.payload || event.payload->size() < 2 * kColourBytes) return std::nullopt;
  const std::vector<char>& bytes = *event.payload;
  StatusMessage status;
  std::memcpy(&status.text, bytes.data(), kColourBytes);
  std::memcpy(&status.background, bytes.data() + kColourBytes, kColourBytes);
  status.message.assign(bytes.begin() + 2 * kColourBytes, bytes.end());
  // A text sent with its terminating zero ends there.
  status.message.resize(std::strlen(status.message.c_str()));
  return status;
}
