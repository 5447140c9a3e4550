#include "lookup/ListBox.h"

#include <algorithm>

#include "data/Text.h"

namespace tq {

int ListBox::AddString(std::string entry) {
  auto at = entries_.end();
  if (order_ == Order::kSorted) {
    // After any equal entries, so equal texts keep the order of adding.
    at = std::upper_bound(entries_.begin(), entries_.end(), entry,
                          [](const std::string& a, const std::string& b) {
                            return CompareNoCase(a, b) < 0;
                          });
  }
  return static_cast<int>(entries_.insert(at, std::move(entry)) - entries_.begin());
}

int ListBox::FindString(std::string_view prefix) const {
  if (order_ == Order::kSorted) {
    // Entries that begin with the prefix follow each other in the order.
    const auto at = std::lower_bound(entries_.begin(), entries_.end(), prefix,
                                     [](const std::string& entry, std::string_view p) {
                                       return CompareNoCase(entry, p) < 0;
                                     });
    if (at != entries_.end() && StartsWithNoCase(*at, prefix)) {
      return static_cast<int>(at - entries_.begin());
    }
    return -1;
  }
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (StartsWithNoCase(entries_[i], prefix)) return static_cast<int>(i);
  }
  return -1;
}

bool ListBox::AddUnlessListed(std::string entry) {
  if (FindString(entry) >= 0) return false;
  AddString(std::move(entry));
  return true;
}

const std::string& ListBox::GetText(int index) const {
  static const std::string kNone;
  if (index < 0 || index >= GetCount()) return kNone;
  return entries_[static_cast<std::size_t>(index)];
}

}  // namespace tq
