#include "lookup/ListBox.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/Text.h"

namespace tq {
namespace {

using Entries = std::vector<std::string>;

ListBox Filled(ListBox::Order order, const Entries& entries) {
  ListBox list(order);
  for (const std::string& entry : entries) list.AddString(entry);
  return list;
}

TEST(ListBox, SortedListsOrderWithoutRegardToCaseAndKeepEqualTexts) {
  const ListBox list = Filled(ListBox::Order::kSorted,
                              {"springfield", "Troy", "Dayton", "akron", "TROY", "\xC9" "cole"});
  EXPECT_EQ(list.Entries(), (Entries{"akron", "Dayton", "springfield", "Troy", "TROY", "\xC9" "cole"}));
  EXPECT_EQ(Filled(ListBox::Order::kAdded, {"b", "a", ""}).Entries(), (Entries{"b", "a", ""}));
}

TEST(ListBox, FindStringIsACaseInsensitivePrefixMatch) {
  for (const auto order : {ListBox::Order::kSorted, ListBox::Order::kAdded}) {
    const ListBox list = Filled(order, {"Troy Hills", "Dayton"});
    EXPECT_GE(list.FindString("troy"), 0);
    EXPECT_EQ(list.FindString("Troy Hills Park"), -1);
    EXPECT_EQ(list.FindString("ayton"), -1);
    EXPECT_EQ(list.GetText(list.FindString("DAY")), "Dayton");
    EXPECT_EQ(list.GetText(-1) + list.GetText(2), "");
  }
}

// The tree gives what inserting into a sorted vector one by one gave; an
// entry that begins a listed one is not added again.
TEST(ListBox, ManyEntriesListAsOneByOneInsertion) {
  const auto less = [](const std::string& a, const std::string& b) {
    return CompareNoCase(a, b) < 0;
  };
  ListBox list(ListBox::Order::kSorted), unless(ListBox::Order::kSorted);
  Entries reference, referenceUnless;
  for (unsigned i = 0, seed = 7; i < 3000; ++i) {
    seed = seed * 1103515245 + 12345;
    const std::string entry = std::string(1 + seed % 3, "aAbB"[(seed >> 8) % 4]) +
                              std::to_string((seed >> 12) % 50);
    list.AddString(entry);
    reference.insert(std::upper_bound(reference.begin(), reference.end(), entry, less), entry);
    const bool listed = std::any_of(referenceUnless.begin(), referenceUnless.end(),
                                    [&](const auto& e) { return StartsWithNoCase(e, entry); });
    EXPECT_EQ(unless.AddUnlessListed(entry), !listed);
    if (!listed) {
      referenceUnless.insert(
          std::upper_bound(referenceUnless.begin(), referenceUnless.end(), entry, less), entry);
    }
    if (i % 500 == 0) {
      EXPECT_EQ(list.Entries(), reference);  // reading between adds
    }
  }
  EXPECT_EQ(list.Entries(), reference);
  EXPECT_EQ(unless.Entries(), referenceUnless);
  list.ResetContent();
  EXPECT_EQ(list.GetCount(), 0);
}

}  // namespace
}  // namespace tq
