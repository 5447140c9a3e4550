#include "lookup/ListBox.h"

#include <gtest/gtest.h>

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
