#pragma once

#include "core/hash.h"

// Names to owned entries (the selection cache's entries).
template <typename Value>
class cmcHash2 : public StringHashTable<Value> {
 public:
  explicit cmcHash2(std::size_t buckets = 0) : StringHashTable<Value>(buckets, "Overlapped Hash2 table.") {}
};
