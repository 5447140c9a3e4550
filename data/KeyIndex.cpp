#include "data/KeyIndex.h"

#include <algorithm>
#include <numeric>

namespace tq {

void KeyIndex::Build(const std::vector<std::uint32_t>& column) {
  rows_.resize(column.size());
  std::iota(rows_.begin(), rows_.end(), 0u);
  std::stable_sort(rows_.begin(), rows_.end(),
                   [&](std::uint32_t a, std::uint32_t b) { return column[a] < column[b]; });
  keys_.resize(column.size());
  std::transform(rows_.begin(), rows_.end(), keys_.begin(),
                 [&](std::uint32_t row) { return column[row]; });
}

std::span<const std::uint32_t> KeyIndex::Find(std::uint32_t key) const {
  const auto [first, last] = std::equal_range(keys_.begin(), keys_.end(), key);
  return {rows_.data() + (first - keys_.begin()), static_cast<std::size_t>(last - first)};
}

}  // namespace tq
