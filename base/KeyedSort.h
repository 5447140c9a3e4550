#pragma once
// Sorting rows by a number each, in time linear in their count: a radix
// sort, one byte of the key at a time from the lowest. Each pass is stable,
// so rows of one key keep the order they came in; bytes that all keys share
// cost nothing.

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

}  // namespace tq
