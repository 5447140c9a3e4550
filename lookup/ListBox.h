#pragma once
// The list boxes of the lookup as plain data: a sorted list keeps its entries
// in case-insensitive order whatever the order of adding (equal texts in the
// order of adding), an unsorted one keeps the order of adding, and FindString
// looks for an entry that begins with the text, without regard to case. The
// window only shows these.
//
// A sorted list holds its entries in a balanced tree, so adding n entries
// (and AddUnlessListed's check before each) takes O(n log n); the entries as
// one vector are laid out again only when read after a change. Unsorted
// lists hold one or two entries and are searched entry by entry.

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tq {

class ListBox {
 public:
  enum class Order { kSorted, kAdded };
  explicit ListBox(Order order) : order_(order) {}

  void AddString(std::string entry);
  // Index of the first entry that begins with `prefix` (case-insensitive), or -1.
  int FindString(std::string_view prefix) const;
  // Adds the entry unless an entry beginning with it is there; true if added.
  bool AddUnlessListed(std::string entry);
  void ResetContent();
  // Replaces the content of a sorted list with entries already in its order,
  // none beginning with another; the tree is built only if entries are added.
  void AssignSorted(std::vector<std::string> entries);

  int GetCount() const { return static_cast<int>(count_); }
  // The entry at `index`, or "" for an index out of range.
  const std::string& GetText(int index) const;
  const std::vector<std::string>& Entries() const;

 private:
  struct NoCaseLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  bool Listed(std::string_view prefix) const;
  void PlantTree();

  Order order_;
  std::size_t count_ = 0;
  std::multiset<std::string, NoCaseLess> sorted_;  // sorted lists only
  mutable std::vector<std::string> entries_;       // the entries in order
  mutable bool stale_ = false;                      // entries_ lags behind sorted_
  bool treeless_ = false;                           // sorted_ not built for entries_
};

}  // namespace tq
