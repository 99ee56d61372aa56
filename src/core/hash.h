#pragma once

#include <cstddef>
#include <cstdint>
#include <forward_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/fatal.h"

// The bucket of a key in a table of `buckets` buckets (0 means 1,031).
std::size_t HashBucket(std::string_view key, std::size_t buckets);

// A fixed-size string hash table that refuses a second entry for a key: a
// duplicate key in the name tables is a configuration fault.
template <typename Value>
class StringHashTable {
 public:
  StringHashTable(std::size_t buckets, std::string overlapText)
      : buckets_(buckets == 0 ? kDefaultBuckets : buckets), overlapText_(std::move(overlapText)) {}

  void Insert(std::string_view key, Value value) {
    auto& bucket = buckets_[HashBucket(key, buckets_.size())];
    for (const Entry& entry : bucket) {
      if (entry.first == key) platform::Fatal(overlapText_);
    }
    bucket.emplace_front(std::string(key), std::move(value));
  }

  // The value stored under the key, or nullptr.
  Value* Find(std::string_view key) {
    for (Entry& entry : buckets_[HashBucket(key, buckets_.size())]) {
      if (entry.first == key) return &entry.second;
    }
    return nullptr;
  }
  const Value* Find(std::string_view key) const { return const_cast<StringHashTable*>(this)->Find(key); }

  std::size_t BucketCount() const { return buckets_.size(); }

  static constexpr std::size_t kDefaultBuckets = 1031;

 private:
  using Entry = std::pair<std::string, Value>;
  std::vector<std::forward_list<Entry>> buckets_;
  std::string overlapText_;
};

// Names to 32-bit numbers (colour names, cell type and cell link names).
class cmcHash : public StringHashTable<std::int32_t> {
 public:
  explicit cmcHash(std::size_t buckets = 0) : StringHashTable(buckets, "Overlapped Hash table.") {}
};
