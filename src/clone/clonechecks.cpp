#include "clone/clonechecks.h"

#include <algorithm>
#include <cctype>

#include "model/memorymap.h"

namespace clonechecks {

namespace {

constexpr std::size_t kTopAddress = 62;
constexpr std::size_t kSerial = 37;
constexpr std::size_t kSerialSize = 12;
constexpr std::uint8_t kHighestHeaderValue = 7;
constexpr int kRevisionLowBytes[] = {0, 5, 6};
constexpr int kLowestWriteEnd = 0x0200;

bool IsHexDigit(std::uint8_t c) { return std::isxdigit(c) != 0; }

}  // namespace

std::optional<int> Identification::TopAddress() const {
  int value = 0;
  for (std::size_t i = kTopAddress; i < kTopAddress + 4; ++i) {
    const std::uint8_t c = record_[i];
    if (!IsHexDigit(c)) return std::nullopt;
    value = value * 16 + (std::isdigit(c) != 0 ? c - '0' : std::toupper(c) - 'A' + 10);
  }
  return value;
}

std::string Identification::SerialText() const {
  std::string text;
  for (std::size_t i = kSerial; i < kSerial + kSerialSize; ++i) {
    text += IsHexDigit(record_[i]) ? static_cast<char>(record_[i]) : '_';
  }
  return text;
}

CloneCode CheckInformation(const dst_CDrv_Result& result, std::span<const int> acceptedModels) {
  const cmcBuff& id = result.identification;
  const bool modelAccepted = result.a != 0 && std::ranges::find(acceptedModels, result.a) != acceptedModels.end();
  const bool revisionAccepted = std::ranges::find(kRevisionLowBytes, result.b & 0xFF) != std::end(kRevisionLowBytes);
  if (!modelAccepted || !revisionAccepted || id.Length() != kIdentificationSize ||
      id.Data()[0] != kIdentificationSize) {
    return CloneCode::kIdentificationRefused;
  }
  if (id.Data()[35] > kHighestHeaderValue) return CloneCode::kIdentificationValue;
  return CloneCode::kSuccess;
}

CloneCode CheckReadImage(const cmcEeprom& image, bool lockoutNewerData) {
  if (image.Size() < cmcEeprom::kRawSize || memmap::IdentityCheck(image, memmap::IdentityLevel::kFull) != 0) {
    return CloneCode::kImageCheckFirst;
  }
  if (memmap::IsNewerData(image, lockoutNewerData)) return CloneCode::kImageCheckSecond;
  return CloneCode::kSuccess;
}

bool WriteEndAllowed(int end) { return end >= kLowestWriteEnd && end < cmcEeprom::kRawSize; }

int ReadEnd(int topAddress) { return std::min(topAddress - topAddress % 16 + 15, cmcEeprom::kRawSize - 1); }

}  // namespace clonechecks
