#include "map/CitySymbols.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lookup/ListBox.h"

namespace tq {
namespace {

TEST(FindCitySymbol, ExactPairsOnlyWithTheirPositions) {
  struct Case {
    const char* city;
    const char* state;
    int result, x, y;
  };
  for (const Case& c : std::vector<Case>{
           // Where each row lies is checked against the artwork (MapArtwork_test).
           {"Jersey City", "New Jersey (NJ)", 1, 700, 96},
           // The same city name is told apart by its state.
           {"Springfield", "Illinois (IL)", 1, 589, 127}, {"Springfield", "Missouri (MO)", 1, 564, 158},
           {"Kansas City", "Missouri (MO)", 1, 552, 140}, {"Kansas City", "Kansas (KS)", 1, 550, 140},
           {"Columbia", "South Carolina (SC)", 1, 668, 176}, {"Columbia", "Maryland (MD)", 0, 0, 0},
           // Exact and case-sensitive.
           {"jersey city", "New Jersey (NJ)", 0, 0, 0}, {"JERSEY CITY", "New Jersey (NJ)", 0, 0, 0},
           {"Jersey City", "New Jersey (NJ) ", 0, 0, 0}, {"Jersey City ", "New Jersey (NJ)", 0, 0, 0},
           {"Jersey City", "NJ", 0, 0, 0}, {"Jersey", "New Jersey (NJ)", 0, 0, 0},
           {"New Jersey (NJ)", "Jersey City", 0, 0, 0},  // arguments swapped
           {"", "", 0, 0, 0},
           // Combined state lines match nothing.
           {"Halifax", "Nova Scotia (NS) and Prince Edward Island (PE)", 0, 0, 0},
           {"Whitehorse", "Yukon (YT), Northwest Territories (NT) and Nunavut (NU)", 0, 0, 0},
           // Accented names need the code page 1252 byte; UTF-8 is not the stored form.
           {"Montr\xE9" "al", "Qu\xE9" "bec (QC)", 1, 692, 47},
           {"Qu\xE9" "bec City", "Qu\xE9" "bec (QC)", 1, 703, 31},
           {"Montreal", "Quebec (QC)", 0, 0, 0}, {"Montr\xE9" "al", "Quebec (QC)", 0, 0, 0},
           {"Montreal", "Qu\xE9" "bec (QC)", 0, 0, 0},
           {"Montr\xC3\xA9" "al", "Qu\xC3\xA9" "bec (QC)", 0, 0, 0}}) {
    int x = -1, y = -1;
    EXPECT_EQ(FindCitySymbol(c.city, c.state, x, y), c.result) << c.city << " / " << c.state;
    EXPECT_EQ(x, c.x) << c.city << " / " << c.state;
    EXPECT_EQ(y, c.y) << c.city << " / " << c.state;
  }
}

ListBox Entries(const std::vector<std::string>& texts) {
  ListBox list{ListBox::Order::kAdded};
  for (const std::string& text : texts) list.AddString(text);
  return list;
}

TEST(CitySymbolToDraw, OnlyWhenEveryConditionHolds) {
  const ListBox ohio = Entries({"Ohio (OH)"}), columbus = Entries({"Columbus"}), empty = Entries({});
  const auto symbol = CitySymbolToDraw(false, "OH", ohio, columbus);
  ASSERT_TRUE(symbol.has_value());
  EXPECT_EQ(symbol->x, 639);
  EXPECT_EQ(symbol->y, 117);
  EXPECT_FALSE(CitySymbolToDraw(true, "OH", ohio, columbus));  // while initializing
  EXPECT_FALSE(CitySymbolToDraw(false, "", ohio, columbus));  // without a found state
  EXPECT_FALSE(CitySymbolToDraw(false, "OH", empty, columbus));
  EXPECT_FALSE(CitySymbolToDraw(false, "OH", ohio, empty));
  EXPECT_FALSE(CitySymbolToDraw(false, "OH", ohio, Entries({"Dayton Heights"})));  // not tabled
  // Only the first entries count; the found state is only checked for being set.
  EXPECT_FALSE(CitySymbolToDraw(false, "OH", ohio, Entries({"Nowhere", "Columbus"})));
  const auto georgia =
      CitySymbolToDraw(false, "TX", Entries({"Georgia (GA)", "Ohio (OH)"}), columbus);
  ASSERT_TRUE(georgia.has_value());
  EXPECT_EQ(georgia->x, 636);  // Columbus, Georgia
  EXPECT_EQ(georgia->y, 196);
}

}  // namespace
}  // namespace tq
