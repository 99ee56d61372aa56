#include "model/chrefs.h"

#include <cstdint>
#include <functional>

#include "model/chlayout.h"
#include "model/memorymap.h"

namespace chrefs {

namespace {

constexpr int kLastChannel = memmap::kMaxChannels - 1;

bool IsChannel(int value) { return value >= 0 && value <= kLastChannel; }

// Every reference byte: the scan entries' (with the rule it belongs to) and the favourites'.
void ForEachReference(const std::function<void(int address, const chlayout::ScanReference* rule)>& visit) {
  const memmap::Block* entries = memmap::FindBlock(chlayout::kScanEntryBlock);
  for (int entry = 0; entry < entries->slots; ++entry) {
    for (const chlayout::ScanReference& rule : chlayout::kScanReferences) {
      visit(entries->workAddress + entries->slotSize * entry + rule.offset, &rule);
    }
  }
  for (int i = 0; i < chlayout::kFavouriteCount; ++i) visit(chlayout::kFavouriteChannels + i, nullptr);
}

// Gives each channel-number reference the number `renumber` returns for it.
void Renumber(cmcEeprom& image, const std::function<int(int)>& renumber) {
  ForEachReference([&](int address, const chlayout::ScanReference*) {
    const int value = image.GetByte(address);
    if (IsChannel(value)) image.SetByte(address, static_cast<std::uint8_t>(renumber(value)));
  });
}

// A reference of a scan entry at `entry` that named a deleted channel.
void FallBack(cmcEeprom& image, int entry, const chlayout::ScanReference& rule) {
  const int modeAddress = entry + rule.modeByte;
  const int byte = image.GetByte(modeAddress);
  const int mask = 0x0F << rule.modeShift;
  if (((byte & mask) >> rule.modeShift) != chlayout::kChannelMode) return;
  image.SetByte(modeAddress, static_cast<std::uint8_t>((byte & ~mask) | rule.fallbackMode << rule.modeShift));
  if (rule.flagByte >= 0) {
    const int flagAddress = entry + rule.flagByte;
    const int flags = image.GetByte(flagAddress);
    image.SetByte(flagAddress,
                  static_cast<std::uint8_t>(rule.fallbackMode != 0 ? flags | rule.flagMask : flags & ~rule.flagMask));
  }
}

}  // namespace

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
  ForEachReference([&](int address, const chlayout::ScanReference* rule) {
    const int value = image.GetByte(address);
    if (!IsChannel(value)) return;
    if (value > deleted) {
      image.SetByte(address, static_cast<std::uint8_t>(value - 1));
    } else if (value == deleted && rule) {
      image.SetByte(address, 0);
      FallBack(image, address - rule->offset, *rule);
    } else if (value == deleted) {
      image.SetByte(address, initial.IsValidAddress(address) ? initial.GetByte(address) : 0);
    }
  });
}

}  // namespace chrefs
