#include "data/KeyIndex.h"

#include <algorithm>
#include <array>
#include <numeric>

#include "base/HugePages.h"

namespace tq {

// Small keys (against the number of rows) are counted: where each key's
// rows begin follows from the counts, and one more pass lays the rows out in
// ascending order, so the table of beginnings is the index. Other keys are
// sorted by rows with a radix sort, one byte of the key at a time; each pass
// is stable, so rows of one key stay in ascending order.
void KeyIndex::Build(const std::vector<std::uint32_t>& column) {
  const std::uint32_t most =
      column.empty() ? 0 : *std::max_element(column.begin(), column.end());
  ResizeLarge(rows_, column.size());
  first_.clear();
  if (!column.empty() && most <= 4 * column.size() + 1024) {
    keys_.clear();
    // Counted two places up, summed, first_[k + 1] is where the rows of key k
    // begin; each row laid out moves it on, to where the rows of k + 1 begin.
    first_.assign(std::size_t{most} + 3, 0);
    for (const std::uint32_t key : column) ++first_[key + 2];
    std::inclusive_scan(first_.begin(), first_.end(), first_.begin());
    first_.pop_back();
    if (std::is_sorted(column.begin(), column.end())) {  // files often come in key order
      std::iota(rows_.begin(), rows_.end(), 0u);
      std::copy(first_.begin() + 1, first_.end(), first_.begin());
      first_.back() = static_cast<std::uint32_t>(column.size());
      return;
    }
    for (std::uint32_t row = 0; row < column.size(); ++row) rows_[first_[column[row] + 1]++] = row;
    return;
  }
  keys_ = column;
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
  if (!first_.empty()) {
    if (key >= first_.size() - 1) return {};
    return {rows_.data() + first_[key], std::size_t{first_[key + 1] - first_[key]}};
  }
  const auto [first, last] = std::equal_range(keys_.begin(), keys_.end(), key);
  return {rows_.data() + (first - keys_.begin()), static_cast<std::size_t>(last - first)};
}

}  // namespace tq
