#pragma once
// Sorting rows by a number each, in time linear in their count: a radix
// sort, one byte of the key at a time from the lowest. Each pass is stable,
// so rows of one key keep the order they came in; bytes that all keys share
// cost nothing.

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tq {

struct KeyedRow {
  std::uint64_t key;
  std::uint32_t row;
};

void SortByKey(std::vector<KeyedRow>& items);
// The same with `spare` as its scratch (any content on entry, kept for the
// next sort), so that sorts repeated on lists of one size allocate nothing.
void SortByKey(std::vector<KeyedRow>& items, std::vector<KeyedRow>& spare);

// SortByKey, then each run of equal keys in the order `less` gives it
// (stable): a sort in time linear in the rows where keys are mostly apart.
template <class Less>
void SortByKeyThen(std::vector<KeyedRow>& items, const Less& less) {
  SortByKey(items);
  for (auto run = items.begin(); run != items.end();) {
    const auto end = std::find_if(run, items.end(), [&](const KeyedRow& k) { return k.key != run->key; });
    if (end - run > 1) std::stable_sort(run, end, less);
    run = end;
  }
}

}  // namespace tq
