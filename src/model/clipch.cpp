#include "model/clipch.h"

#include <algorithm>

#include "model/memorymap.h"

namespace {

// A record kind kept as the bytes of one entry of a block's table.
struct EntryKind {
  int kind;
  int block;
};
constexpr EntryKind kEntryKinds[] = {{recordkind::kAlias, memmap::kAliasBlock}};

const memmap::Block* EntryBlock(int kind) {
  for (const EntryKind& entry : kEntryKinds) {
    if (entry.kind == kind) return memmap::FindBlock(entry.block);
  }
  return nullptr;
}

// The entry's first byte, or nothing when `index` is not an entry of the kind.
std::uint8_t* EntryAt(cmcEeprom& image, int kind, int index) {
  const memmap::Block* block = EntryBlock(kind);
  if (!block || index < 0 || index >= block->slots) return nullptr;
  const int address = block->workAddress + block->slotSize * index;
  if (!image.IsValidRange(address, block->slotSize)) return nullptr;
  return image.Data() + address;
}

// Attribute bits that go with a channel record; the rest belong to its position.
constexpr int kMarkerBits = datCh::kAtrA | datCh::kAtrB | datCh::kAtrE;

}  // namespace

namespace recordkind {
bool IsChannel(int kind) { return kind >= datCh::kFirstChannelKind && kind <= datCh::kLastChannelKind; }
bool IsListed(int kind) { return IsChannel(kind) || EntryBlock(kind) != nullptr; }
}  // namespace recordkind

void cmcClipCh::clear() {
  records_.clear();
  kind_ = 0;
  first_ = 0;
}

bool cmcClipCh::copy(cmcEeprom& image, int kind, int first, int count) {
  clear();
  // No list holds more records than there are channels.
  if (count <= 0 || count > memmap::kMaxChannels) return false;
  std::vector<ClipRecord> records(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    if (!loadOne(image, kind, first + i, records[i])) return false;
  }
  records_ = std::move(records);
  kind_ = kind;
  first_ = first;
  return true;
}

bool cmcClipCh::loadOne(cmcEeprom& image, int kind, int index, ClipRecord& record) {
  const std::uint8_t* entry = EntryAt(image, kind, index);
  if (!entry) return false;
  record.bytes.assign(entry, entry + EntryBlock(kind)->slotSize);
  return true;
}

bool cmcClipCh::canPaste(int kind) const { return kind_ != 0 && kind_ == kind && !records_.empty(); }

int cmcClipCh::paste(cmcEeprom& image, int kind, int first, int count) {
  if (!canPaste(kind)) return 0;
  int stored = 0;
  for (int i = 0; i < std::min(count, this->count()); ++i) {
    if (!storeOne(image, kind, first + i, records_[i])) break;
    ++stored;
  }
  return stored;
}

bool cmcClipCh::storeOne(cmcEeprom& image, int kind, int index, const ClipRecord& record) {
  std::uint8_t* entry = EntryAt(image, kind, index);
  if (!entry || record.bytes.size() != static_cast<std::size_t>(EntryBlock(kind)->slotSize)) return false;
  std::copy(record.bytes.begin(), record.bytes.end(), entry);
  return true;
}

bool datClipCh::loadOne(cmcEeprom& image, int kind, int index, ClipRecord& record) {
  if (!recordkind::IsChannel(kind)) return cmcClipCh::loadOne(image, kind, index, record);
  datCh channel(image);
  if (!channel.load(kind, index)) return false;
  record.channel = channel;
  return true;
}

bool datClipCh::storeOne(cmcEeprom& image, int kind, int index, const ClipRecord& record) {
  if (!recordkind::IsChannel(kind)) return cmcClipCh::storeOne(image, kind, index, record);
  datCh target(image);
  if (!target.load(kind, index)) return false;
  const int targetAtr = target.atr;
  static_cast<ChannelContents&>(target) = record.channel;
  target.atr = keepTargetAttributes_ ? targetAtr : (record.channel.atr & kMarkerBits) | (targetAtr & ~kMarkerBits);
  target.modified = true;
  return target.store();
}
