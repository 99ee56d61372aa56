#include "core/hash.h"

std::size_t HashBucket(std::string_view key, std::size_t buckets) {
  if (buckets == 0) buckets = StringHashTable<int>::kDefaultBuckets;
  const auto halfBuckets = static_cast<std::int32_t>(buckets / 2);
  std::uint32_t h = 0;
  std::int32_t step = halfBuckets;
  for (std::size_t i = 0; i < key.size(); ++i) {
    const auto c = static_cast<std::int8_t>(key[i]);
    h = 2 * h + static_cast<std::uint32_t>(step) + static_cast<std::uint32_t>(static_cast<std::int32_t>(c));
    // The byte after c (the terminator after the last one) decides the step.
    const char following = i + 1 < key.size() ? key[i + 1] : '\0';
    if ((following & 1) != 0) {
      step >>= 1;
      if (step == 0) step = halfBuckets;
    }
  }
  return h % buckets;
}
