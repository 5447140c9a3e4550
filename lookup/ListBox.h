#pragma once
// The list boxes of the lookup as plain data: a sorted list keeps its entries
// in case-insensitive order whatever the order of adding, an unsorted one
// keeps the order of adding, and FindString looks for an entry that begins
// with the text, without regard to case. The window only shows these.

#include <string>
#include <string_view>
#include <vector>

namespace tq {

class ListBox {
 public:
  enum class Order { kSorted, kAdded };
  explicit ListBox(Order order) : order_(order) {}

  // Returns the index the entry got.
  int AddString(std::string entry);
  // Index of the first entry that begins with `prefix` (case-insensitive), or -1.
  int FindString(std::string_view prefix) const;
  // Adds the entry unless an entry beginning with it is there; true if added.
  bool AddUnlessListed(std::string entry);
  void ResetContent() { entries_.clear(); }

  int GetCount() const { return static_cast<int>(entries_.size()); }
  // The entry at `index`, or "" for an index out of range.
  const std::string& GetText(int index) const;
  const std::vector<std::string>& Entries() const { return entries_; }

 private:
  Order order_;
  std::vector<std::string> entries_;
};

}  // namespace tq
