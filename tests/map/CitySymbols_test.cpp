#include "map/CitySymbols.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "lookup/ListBox.h"

namespace tq {
namespace {

struct Found {
  int result;
  int x;
  int y;
  bool operator==(const Found&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Found& f) {
  return os << f.result << " (" << f.x << ", " << f.y << ")";
}

Found Find(const std::string& city, const std::string& state) {
  int x = -1;
  int y = -1;
  const int result = FindCitySymbol(city, state, x, y);
  return {result, x, y};
}

constexpr Found kNotFound{0, 0, 0};

TEST(CitySymbolTest, FirstAndLastRowsAndAFewBetween) {
  EXPECT_EQ(Find("Jersey City", "New Jersey (NJ)"), (Found{1, 700, 96}));
  EXPECT_EQ(Find("Elizabeth", "New Jersey (NJ)"), (Found{1, 701, 100}));
  EXPECT_EQ(Find("Washington", "District of Columbia (DC)"), (Found{1, 685, 121}));
  EXPECT_EQ(Find("Irvine", "California (CA)"), (Found{1, 366, 179}));
  EXPECT_EQ(Find("Nassau", "Bahamas"), (Found{1, 715, 253}));
  EXPECT_EQ(Find("Winston-Salem", "North Carolina (NC)"), (Found{1, 665, 153}));
  EXPECT_EQ(Find("Anchorage", "Alaska (AK)"), (Found{1, 295, 44}));
}

TEST(CitySymbolTest, SameCityNameIsToldApartByState) {
  EXPECT_EQ(Find("Springfield", "Illinois (IL)"), (Found{1, 589, 127}));
  EXPECT_EQ(Find("Springfield", "Missouri (MO)"), (Found{1, 564, 158}));
  EXPECT_EQ(Find("Springfield", "Massachusetts (MA)"), (Found{1, 707, 81}));
  EXPECT_EQ(Find("Portland", "Maine (ME)"), (Found{1, 720, 62}));
  EXPECT_EQ(Find("Portland", "Oregon (OR)"), (Found{1, 356, 60}));
  EXPECT_EQ(Find("Kansas City", "Missouri (MO)"), (Found{1, 552, 140}));
  EXPECT_EQ(Find("Kansas City", "Kansas (KS)"), (Found{1, 550, 140}));
}

TEST(CitySymbolTest, CityListedOnlyUnderOtherStatesIsNotFound) {
  EXPECT_EQ(Find("Columbia", "Missouri (MO)"), (Found{1, 567, 138}));
  EXPECT_EQ(Find("Columbia", "South Carolina (SC)"), (Found{1, 668, 176}));
  EXPECT_EQ(Find("Columbia", "Maryland (MD)"), kNotFound);
}

TEST(CitySymbolTest, MatchIsExactAndCaseSensitive) {
  EXPECT_EQ(Find("jersey city", "New Jersey (NJ)"), kNotFound);
  EXPECT_EQ(Find("JERSEY CITY", "New Jersey (NJ)"), kNotFound);
  EXPECT_EQ(Find("Jersey City", "New Jersey (NJ) "), kNotFound);
  EXPECT_EQ(Find("Jersey City ", "New Jersey (NJ)"), kNotFound);
  EXPECT_EQ(Find("Jersey City", "NJ"), kNotFound);
  EXPECT_EQ(Find("Jersey", "New Jersey (NJ)"), kNotFound);
  EXPECT_EQ(Find("New Jersey (NJ)", "Jersey City"), kNotFound);  // arguments swapped
  EXPECT_EQ(Find("", ""), kNotFound);
}

TEST(CitySymbolTest, CombinedStateLinesMatchNothing) {
  EXPECT_EQ(Find("Halifax", "Nova Scotia (NS) and Prince Edward Island (PE)"), kNotFound);
  EXPECT_EQ(Find("Whitehorse", "Yukon Territory (YT) and Northwest Territories (NT)"), kNotFound);
}

TEST(CitySymbolTest, AccentedNamesNeedTheCodePage1252Byte) {
  EXPECT_EQ(Find("Montr\xE9" "al", "Qu\xE9" "bec (QC)"), (Found{1, 692, 47}));
  EXPECT_EQ(Find("Qu\xE9" "bec City", "Qu\xE9" "bec (QC)"), (Found{1, 703, 31}));
  EXPECT_EQ(Find("Laval", "Qu\xE9" "bec (QC)"), (Found{1, 690, 52}));
  EXPECT_EQ(Find("Montreal", "Quebec (QC)"), kNotFound);
  EXPECT_EQ(Find("Montr\xE9" "al", "Quebec (QC)"), kNotFound);
  EXPECT_EQ(Find("Montreal", "Qu\xE9" "bec (QC)"), kNotFound);
  // UTF-8 is not the stored form.
  EXPECT_EQ(Find("Montr\xC3\xA9" "al", "Qu\xC3\xA9" "bec (QC)"), kNotFound);
}

TEST(CitySymbolTest, InsetCitiesLieInTheirInsets) {
  EXPECT_EQ(Find("Anchorage", "Alaska (AK)"), (Found{1, 295, 44}));
  EXPECT_EQ(Find("Honolulu", "Hawaii (HI)"), (Found{1, 284, 87}));
}

class CitySymbolToDrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    states_.AddString("Ohio (OH)");
    cities_.AddString("Columbus");
  }

  ListBox states_{ListBox::Order::kAdded};
  ListBox cities_{ListBox::Order::kAdded};
  const ListBox empty_{ListBox::Order::kAdded};
};

TEST_F(CitySymbolToDrawTest, DrawnWhenEveryConditionHolds) {
  const auto symbol = CitySymbolToDraw(false, "OH", states_, cities_);
  ASSERT_TRUE(symbol.has_value());
  EXPECT_EQ(symbol->x, 639);
  EXPECT_EQ(symbol->y, 117);
}

TEST_F(CitySymbolToDrawTest, NotWhileInitializing) {
  EXPECT_FALSE(CitySymbolToDraw(true, "OH", states_, cities_).has_value());
}

TEST_F(CitySymbolToDrawTest, NotWithoutAFoundState) {
  EXPECT_FALSE(CitySymbolToDraw(false, "", states_, cities_).has_value());
}

TEST_F(CitySymbolToDrawTest, FoundStateIsOnlyCheckedForBeingSet) {
  // The position comes from the lists, whatever the found state says.
  const auto symbol = CitySymbolToDraw(false, "TX", states_, cities_);
  ASSERT_TRUE(symbol.has_value());
  EXPECT_EQ(symbol->x, 639);
}

TEST_F(CitySymbolToDrawTest, NotWithAnEmptyStateList) {
  EXPECT_FALSE(CitySymbolToDraw(false, "OH", empty_, cities_).has_value());
}

TEST_F(CitySymbolToDrawTest, NotWithAnEmptyLargestCityList) {
  EXPECT_FALSE(CitySymbolToDraw(false, "OH", states_, empty_).has_value());
}

TEST_F(CitySymbolToDrawTest, NotWhenTheCityIsNotTabled) {
  ListBox untabled{ListBox::Order::kAdded};
  untabled.AddString("Dayton Heights");
  EXPECT_FALSE(CitySymbolToDraw(false, "OH", states_, untabled).has_value());
}

TEST_F(CitySymbolToDrawTest, OnlyTheFirstEntriesCount) {
  ListBox cities{ListBox::Order::kAdded};
  cities.AddString("Nowhere");
  cities.AddString("Columbus");
  EXPECT_FALSE(CitySymbolToDraw(false, "OH", states_, cities).has_value());

  ListBox states{ListBox::Order::kAdded};
  states.AddString("Georgia (GA)");
  states.AddString("Ohio (OH)");
  const auto symbol = CitySymbolToDraw(false, "GA", states, cities_);
  ASSERT_TRUE(symbol.has_value());
  EXPECT_EQ(symbol->x, 636);  // Columbus, Georgia
  EXPECT_EQ(symbol->y, 196);
}

}  // namespace
}  // namespace tq
