#pragma once
// The rows of an integer column grouped by value, each group in ascending row
// order, so that a lookup gives exactly what a scan of the column would.

#include <cstdint>
#include <span>
#include <vector>

namespace tq {

class KeyIndex {
 public:
  void Build(const std::vector<std::uint32_t>& column);
  std::span<const std::uint32_t> Find(std::uint32_t key) const;

 private:
  std::vector<std::uint32_t> keys_;  // sorted
  std::vector<std::uint32_t> rows_;  // rows_[i] holds keys_[i]
};

}  // namespace tq
