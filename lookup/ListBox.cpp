#include "lookup/ListBox.h"

#include <algorithm>

#include "base/Text.h"

namespace tq {

bool ListBox::NoCaseLess::operator()(std::string_view a, std::string_view b) const {
  return CompareNoCase(a, b) < 0;
}

void ListBox::AssignSorted(std::vector<std::string> entries) {
  ResetContent();
  count_ = entries.size();
  entries_ = std::move(entries);
  treeless_ = order_ == Order::kSorted && count_ > 0;
}

void ListBox::PlantTree() {
  if (!treeless_) return;
  sorted_.insert(entries_.begin(), entries_.end());
  treeless_ = false;
}

void ListBox::AddString(std::string entry) {
  PlantTree();
  ++count_;
  if (order_ == Order::kAdded) {
    entries_.push_back(std::move(entry));
    return;
  }
  // A multiset puts an entry after the equal ones already there.
  sorted_.insert(std::move(entry));
  stale_ = true;
}

void ListBox::ResetContent() {
  count_ = 0;
  sorted_.clear();
  entries_.clear();
  stale_ = false;
  treeless_ = false;
}

const std::vector<std::string>& ListBox::Entries() const {
  if (stale_) {
    entries_.assign(sorted_.begin(), sorted_.end());
    stale_ = false;
  }
  return entries_;
}

// Entries that begin with the prefix follow each other in the order, from
// the first entry not below it.
bool ListBox::Listed(std::string_view prefix) const {
  if (treeless_) {
    const auto at = std::lower_bound(entries_.begin(), entries_.end(), prefix, NoCaseLess{});
    return at != entries_.end() && StartsWithNoCase(*at, prefix);
  }
  const auto at = sorted_.lower_bound(prefix);
  return at != sorted_.end() && StartsWithNoCase(*at, prefix);
}

int ListBox::FindString(std::string_view prefix) const {
  const std::vector<std::string>& entries = Entries();
  if (order_ == Order::kSorted) {
    if (!Listed(prefix)) return -1;
    const auto at = std::lower_bound(entries.begin(), entries.end(), prefix, NoCaseLess{});
    return static_cast<int>(at - entries.begin());
  }
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (StartsWithNoCase(entries[i], prefix)) return static_cast<int>(i);
  }
  return -1;
}

bool ListBox::AddUnlessListed(std::string entry) {
  if (order_ == Order::kAdded) {
    if (FindString(entry) >= 0) return false;
    AddString(std::move(entry));
    return true;
  }
  PlantTree();
  const auto at = sorted_.lower_bound(entry);
  if (at != sorted_.end() && StartsWithNoCase(*at, entry)) return false;
  // No entry equals it, so its place is right before `at`: no second search.
  sorted_.emplace_hint(at, std::move(entry));
  ++count_;
  stale_ = true;
  return true;
}

const std::string& ListBox::GetText(int index) const {
  static const std::string kNone;
  if (index < 0 || index >= GetCount()) return kNone;
  return Entries()[static_cast<std::size_t>(index)];
}

}  // namespace tq
