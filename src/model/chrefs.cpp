#include "model/chrefs.h"

#include <cstdint>
#include <functional>
#include <vector>

#include "model/chlayout.h"
#include "model/memorymap.h"

namespace chrefs {

namespace {

constexpr int kLastChannel = memmap::kMaxChannels - 1;

bool IsChannel(int value) { return value >= 0 && value <= kLastChannel; }

// Gives each channel-number reference the number `renumber` returns for it.
void Renumber(cmcEeprom& image, const std::function<int(int)>& renumber) {
  for (const Place& place : Places()) {
    const int value = image.GetByte(place.address);
    if (IsChannel(value)) image.SetByte(place.address, static_cast<std::uint8_t>(renumber(value)));
  }
}

// A reference of a scan entry that named a deleted channel: a mode that
// named the channel falls back.
void FallBack(cmcEeprom& image, const Place& place) {
  if (ModeOf(image, place) != chlayout::kChannelMode) return;
  const chlayout::ScanReference& rule = *place.scan;
  const int entry = place.address - rule.offset;
  const int modeAddress = entry + rule.modeByte;
  const int mask = 0x0F << rule.modeShift;
  image.SetByte(modeAddress,
                static_cast<std::uint8_t>((image.GetByte(modeAddress) & ~mask) | rule.fallbackMode << rule.modeShift));
  if (rule.flagByte >= 0) {
    const int flagAddress = entry + rule.flagByte;
    const int flags = image.GetByte(flagAddress);
    image.SetByte(flagAddress,
                  static_cast<std::uint8_t>(rule.fallbackMode != 0 ? flags | rule.flagMask : flags & ~rule.flagMask));
  }
}

}  // namespace

std::vector<Place> Places() {
  std::vector<Place> places;
  const memmap::Block* entries = memmap::FindBlock(chlayout::kScanEntryBlock);
  for (int entry = 0; entry < entries->slots; ++entry) {
    for (const chlayout::ScanReference& rule : chlayout::kScanReferences) {
      places.push_back({entries->workAddress + entries->slotSize * entry + rule.offset, &rule, entry});
    }
  }
  for (int i = 0; i < chlayout::kFavouriteCount; ++i) places.push_back({chlayout::kFavouriteChannels + i, nullptr, i});
  return places;
}

std::optional<int> ModeOf(const cmcEeprom& image, const Place& place) {
  if (!place.scan) return std::nullopt;
  const int byte = image.GetByte(place.address - place.scan->offset + place.scan->modeByte);
  return (byte >> place.scan->modeShift) & 0x0F;
}

void Carry(cmcEeprom& image, int first, int last, bool down) {
  const int length = last - first + 1;
  Renumber(image, [&](int value) {
    if (value >= first && value <= last) return down ? value + 1 : value - 1;
    if (down && value == last + 1) return value - length;
    if (!down && value == first - 1) return value + length;
    return value;
  });
}

void Insert(cmcEeprom& image, int position) {
  // The last slot has no place to move to: a reference to it stays.
  Renumber(image, [&](int value) { return value >= position && value < kLastChannel ? value + 1 : value; });
}

void Delete(cmcEeprom& image, const cmcEeprom& initial, int deleted) {
  for (const Place& place : Places()) {
    const int value = image.GetByte(place.address);
    if (!IsChannel(value)) continue;
    if (value > deleted) {
      image.SetByte(place.address, static_cast<std::uint8_t>(value - 1));
    } else if (value == deleted && place.scan) {
      image.SetByte(place.address, 0);
      FallBack(image, place);
    } else if (value == deleted) {
      image.SetByte(place.address, initial.IsValidAddress(place.address) ? initial.GetByte(place.address) : 0);
    }
  }
}

}  // namespace chrefs
