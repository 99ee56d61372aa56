#include "model/listshift.h"

#include <algorithm>

#include "model/ch.h"
#include "model/chrefs.h"
#include "model/memorymap.h"

int ListShifter::ChannelLimit(bool growing) const {
  if (banksInUse_) return memmap::kMaxChannels;
  return std::min(datCh::ChannelsInUse(image_) + (growing ? 1 : 0), memmap::kMaxChannels);
}

void ListShifter::Move(int kind, int from, int to) {
  ClipRecord record;
  clip_.setKeepTargetAttributes(false);
  if (clip_.loadOne(image_, kind, from, record)) clip_.storeOne(image_, kind, to, record);
}

void ListShifter::TakeInitial(int kind, int index) {
  ClipRecord record;
  clip_.setKeepTargetAttributes(true);
  if (clip_.loadOne(initial_, kind, index, record)) clip_.storeOne(image_, kind, index, record);
}

void ListShifter::Insert(const RecordList& list, int position) {
  if (recordkind::IsChannel(list.kind)) {
    const int limit = ChannelLimit(true);
    if (position < 0 || position >= limit) return;
    chrefs::Insert(image_, position);
    for (int to = limit - 1; to > position; --to) Move(list.kind, to - 1, to);
    TakeInitial(list.kind, position);
    datCh::SetBankSize(image_, list.bank, datCh::BankSize(image_, list.bank) + 1);
    return;
  }
  const int count = memmap::AliasCount(image_);
  if (position < 0 || position > count) return;
  for (int to = std::min(count, memmap::FindBlock(memmap::kAliasBlock)->slots - 1); to > position; --to) {
    Move(list.kind, to - 1, to);
  }
  TakeInitial(list.kind, position);
  memmap::SetAliasCount(image_, count + 1);
}

void ListShifter::Delete(const RecordList& list, int index) {
  if (recordkind::IsChannel(list.kind)) {
    const int limit = ChannelLimit(false);
    if (index < 0 || index >= limit) return;
    chrefs::Delete(image_, initial_, index);
    for (int to = index; to < limit - 1; ++to) Move(list.kind, to + 1, to);
    TakeInitial(list.kind, limit - 1);
    if (banksInUse_) datCh::SetBankSize(image_, list.bank, datCh::BankSize(image_, list.bank) - 1);
    return;
  }
  const int count = memmap::AliasCount(image_);
  if (index < 0 || index >= count) return;
  for (int to = index; to < count - 1; ++to) Move(list.kind, to + 1, to);
  TakeInitial(list.kind, count - 1);
  memmap::SetAliasCount(image_, count - 1);
}
