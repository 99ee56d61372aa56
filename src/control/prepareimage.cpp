#include "control/prepareimage.h"

#include "model/eeprom.h"
#include "model/memorymap.h"

namespace {

constexpr int kKeyPositions = 16;
constexpr int kEmergencyKey = 67;
constexpr int kSilentBit = 0x20;

// The old emergency key codes: whether each counts as silent and as repeated.
struct OldEmergencyKey {
  int code;
  int silent;  // +1 silent, -1 audible
  int repeat;  // +1 repeated, -1 once
};
constexpr OldEmergencyKey kOldEmergencyKeys[] = {{27, -1, +1}, {28, -1, -1}, {37, +1, +1}, {38, +1, -1}};

const OldEmergencyKey* FindOldKey(int code) {
  for (const OldEmergencyKey& key : kOldEmergencyKeys) {
    if (key.code == code) return &key;
  }
  return nullptr;
}

void ConvertOldEmergencyKeys(cmcEeprom& image) {
  using namespace memmap::addr;
  if (!image.IsValidRange(kKeyFunctions, kKeyPositions) || !image.IsValidAddress(kEmergencySettings) ||
      !image.IsValidAddress(kEmergencyRepeatCycle)) {
    return;
  }
  int silent = 0;
  int repeat = 0;
  for (int position = 0; position < kKeyPositions; ++position) {
    const OldEmergencyKey* old = FindOldKey(image.GetByte(kKeyFunctions + position));
    if (old == nullptr) continue;
    silent += old->silent;
    repeat += old->repeat;
    image.SetByte(kKeyFunctions + position, kEmergencyKey);
  }
  if (silent > 0) image.SetByte(kEmergencySettings, image.GetByte(kEmergencySettings) | kSilentBit);
  if (repeat > 0) image.SetByte(kEmergencyRepeatCycle, 1);
}

}  // namespace

void PrepareImage(cmcEeprom& image) {
  ConvertOldEmergencyKeys(image);
  if (image.IsValidAddress(memmap::addr::kDataFormatMarker)) image.SetByte(memmap::addr::kDataFormatMarker, 1);
}
