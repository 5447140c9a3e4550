#include "base/KeyedSort.h"

#include <array>
#include <numeric>

namespace tq {

void SortByKey(std::vector<KeyedRow>& items) {
  std::vector<KeyedRow> spare;
  SortByKey(items, spare);
}

void SortByKey(std::vector<KeyedRow>& items, std::vector<KeyedRow>& spare) {
  // A byte that all keys share leaves the order as it is: only the bytes
  // that differ somewhere are counted and passed over.
  std::uint64_t all = ~std::uint64_t{0}, any = 0;
  for (const KeyedRow& item : items) {
    all &= item.key;
    any |= item.key;
  }
  spare.resize(items.size());
  for (int shift = 0; shift < 64; shift += 8) {
    if (((all ^ any) >> shift & 0xFF) == 0) continue;
    std::array<std::size_t, 256> start{};
    for (const KeyedRow& item : items) ++start[(item.key >> shift) & 0xFF];
    std::exclusive_scan(start.begin(), start.end(), start.begin(), std::size_t{0});
    for (const KeyedRow& item : items) spare[start[(item.key >> shift) & 0xFF]++] = item;
    items.swap(spare);
  }
}

}  // namespace tq
