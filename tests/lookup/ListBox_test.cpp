#include "lookup/ListBox.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "data/Text.h"

namespace tq {
namespace {

using Entries = std::vector<std::string>;

TEST(ListBox, SortedListsOrderWithoutRegardToCase) {
  ListBox list(ListBox::Order::kSorted);
  for (const char* entry : {"springfield", "Dayton", "akron", "Zanesville", "\xC9" "cole"}) {
    list.AddString(entry);
  }
  EXPECT_EQ(list.Entries(), (Entries{"akron", "Dayton", "springfield", "Zanesville", "\xC9" "cole"}));
  list.AddString("ohio");
  EXPECT_EQ(list.FindString("OHIO"), 2);
}

TEST(ListBox, EqualTextsAreBothListedInAddingOrder) {
  ListBox list(ListBox::Order::kSorted);
  list.AddString("Troy");
  list.AddString("TROY");
  EXPECT_EQ(list.Entries(), (Entries{"Troy", "TROY"}));
}

TEST(ListBox, UnsortedListsKeepTheAddingOrder) {
  ListBox list(ListBox::Order::kAdded);
  list.AddString("b");
  list.AddString("a");
  list.AddString("");
  EXPECT_EQ(list.Entries(), (Entries{"b", "a", ""}));
}

TEST(ListBox, FindStringIsACaseInsensitivePrefixMatch) {
  for (const auto order : {ListBox::Order::kSorted, ListBox::Order::kAdded}) {
    ListBox list(order);
    list.AddString("Troy Hills");
    list.AddString("Dayton");
    EXPECT_GE(list.FindString("troy"), 0);
    EXPECT_GE(list.FindString("DAY"), 0);
    EXPECT_EQ(list.FindString("Troy Hills Park"), -1);
    EXPECT_EQ(list.FindString("ayton"), -1);
    EXPECT_EQ(list.FindString(""), 0);
    EXPECT_EQ(list.GetText(list.FindString("dayton")), "Dayton");
  }
}

TEST(ListBox, AddUnlessListedSkipsTextsThatBeginAnEntry) {
  ListBox list(ListBox::Order::kSorted);
  EXPECT_TRUE(list.AddUnlessListed("Troy Hills"));
  EXPECT_FALSE(list.AddUnlessListed("Troy"));
  EXPECT_FALSE(list.AddUnlessListed("troy hills"));
  EXPECT_TRUE(list.AddUnlessListed("Troy Hills East"));
  EXPECT_EQ(list.GetCount(), 2);
}

// The tree gives what inserting into a sorted vector one by one gave.
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
}

TEST(ListBox, ReadingOutOfRangeGivesEmptyText) {
  ListBox list(ListBox::Order::kSorted);
  EXPECT_EQ(list.GetText(0), "");
  EXPECT_EQ(list.GetText(-1), "");
  list.AddString("x");
  list.ResetContent();
  EXPECT_EQ(list.GetCount(), 0);
}

}  // namespace
}  // namespace tq
