#pragma once
// The rows of an integer column grouped by value, each group in ascending row
// order, so that a lookup gives exactly what a scan of the column would.
// Columns of small keys (city ids, area codes) are found by direct address,
// others by binary search.

#include <cstdint>
#include <span>
#include <vector>

namespace tq {

class KeyIndex {
 public:
  void Build(const std::vector<std::uint32_t>& column);
  std::span<const std::uint32_t> Find(std::uint32_t key) const;
  // Every row, by key, then by row.
  const std::vector<std::uint32_t>& Rows() const { return rows_; }

 private:
  std::vector<std::uint32_t> keys_;   // sorted (large keys only)
  std::vector<std::uint32_t> rows_;   // rows_[i] holds keys_[i]
  std::vector<std::uint32_t> first_;  // small keys: rows of key k are rows_[first_[k]..first_[k+1])
};

}  // namespace tq
