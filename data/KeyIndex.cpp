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
  if (std::is_sorted(column.begin(), column.end())) {  // files often come in key order
    BuildDirectAddresses();
    return;
  }

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
  BuildDirectAddresses();
}

// Where the keys are small against the number of rows, a table of where each
// key's rows begin answers without a search.
void KeyIndex::BuildDirectAddresses() {
  first_.clear();
  if (keys_.empty() || keys_.back() > 4 * keys_.size() + 1024) return;
  first_.resize(std::size_t{keys_.back()} + 2);
  std::size_t at = 0;
  for (std::uint32_t key = 0; key <= keys_.back() + 1; ++key) {
    while (at < keys_.size() && keys_[at] < key) ++at;
    first_[key] = static_cast<std::uint32_t>(at);
  }
}

std::span<const std::uint32_t> KeyIndex::Find(std::uint32_t key) const {
  if (!first_.empty()) {
    if (key >= first_.size() - 1) return {};
    return {rows_.data() + first_[key], std::size_t{first_[key + 1] - first_[key]}};
  }
  const auto [first, last] = std::equal_range(keys_.begin(), keys_.end(), key);
  return {rows_.data() + (first - keys_.begin()), static_cast<std::size_t>(last - first)};
}

}  // namespace tq
