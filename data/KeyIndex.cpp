#include "data/KeyIndex.h"

#include <algorithm>
#include <array>
#include <numeric>

namespace tq {

// Sorts the rows by key with a radix sort, one byte of the key at a time.
// Each pass is stable, so rows of one key stay in ascending order.
void KeyIndex::Build(const std::vector<std::uint32_t>& column) {
  keys_ = column;
  rows_.resize(column.size());
  std::iota(rows_.begin(), rows_.end(), 0u);
  if (std::is_sorted(column.begin(), column.end())) return;  // files often come in key order

  std::array<std::array<std::size_t, 256>, 4> start{};
  for (const std::uint32_t key : column) {
    for (int byte = 0; byte < 4; ++byte) ++start[byte][(key >> (8 * byte)) & 0xFF];
  }
  std::vector<std::uint32_t> spare(column.size());
  for (int byte = 0; byte < 4; ++byte) {
    auto& bucket = start[byte];
    // A byte that all keys share leaves the order as it is.
    if (std::find(bucket.begin(), bucket.end(), column.size()) != bucket.end()) continue;
    std::exclusive_scan(bucket.begin(), bucket.end(), bucket.begin(), std::size_t{0});
    for (const std::uint32_t row : rows_) {
      spare[bucket[(column[row] >> (8 * byte)) & 0xFF]++] = row;
    }
    rows_.swap(spare);
  }
  std::transform(rows_.begin(), rows_.end(), keys_.begin(),
                 [&](std::uint32_t row) { return column[row]; });
}

std::span<const std::uint32_t> KeyIndex::Find(std::uint32_t key) const {
  const auto [first, last] = std::equal_range(keys_.begin(), keys_.end(), key);
  return {rows_.data() + (first - keys_.begin()), static_cast<std::size_t>(last - first)};
}

}  // namespace tq
