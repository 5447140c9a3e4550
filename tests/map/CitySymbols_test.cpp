#include "map/CitySymbols.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace tq {
namespace {

// Where each row lies is checked against the artwork (MapArtwork_test); here
// only which city and state texts find a row.
TEST(FindCitySymbol, ExactPairsOnly) {
  for (const auto& [city, state, found] : std::vector<std::tuple<const char*, const char*, int>>{
           {"Springfield", "Illinois (IL)", 1}, {"Columbia", "Maryland (MD)", 0},
           {"jersey city", "New Jersey (NJ)", 0}, {"Jersey City ", "New Jersey (NJ)", 0},
           {"Jersey City", "NJ", 0}, {"Jersey", "New Jersey (NJ)", 0}, {"", "", 0},
           {"Halifax", "Nova Scotia (NS) and Prince Edward Island (PE)", 0},
           // Accented names need the code page 1252 byte, not UTF-8.
           {"Montr\xE9" "al", "Qu\xE9" "bec (QC)", 1}, {"Montreal", "Qu\xE9" "bec (QC)", 0},
           {"Montr\xC3\xA9" "al", "Qu\xC3\xA9" "bec (QC)", 0}}) {
    int x = -1, y = -1;
    EXPECT_EQ(FindCitySymbol(city, state, x, y), found) << city << " / " << state;
    if (!found) {
      EXPECT_EQ(x + y, 0) << city << " / " << state;
    }
  }
  int illinoisX = 0, missouriX = 0, y = 0;
  FindCitySymbol("Springfield", "Illinois (IL)", illinoisX, y);
  FindCitySymbol("Springfield", "Missouri (MO)", missouriX, y);
  EXPECT_NE(illinoisX, missouriX);  // the same name told apart by its state
}

using Entries = std::vector<std::string>;

TEST(CitySymbolToDraw, OnlyWhenEveryConditionHolds) {
  const Entries ohio = Entries({"Ohio (OH)"}), columbus = Entries({"Columbus"}), empty = Entries({});
  int x = 0, y = 0;
  FindCitySymbol("Columbus", "Ohio (OH)", x, y);
  const auto symbol = CitySymbolToDraw(false, "OH", ohio, columbus);
  ASSERT_TRUE(symbol.has_value());
  EXPECT_EQ(std::pair(symbol->x, symbol->y), std::pair(x, y));
  EXPECT_FALSE(CitySymbolToDraw(true, "OH", ohio, columbus));  // while initializing
  EXPECT_FALSE(CitySymbolToDraw(false, "", ohio, columbus));  // without a found state
  EXPECT_FALSE(CitySymbolToDraw(false, "OH", empty, columbus));
  EXPECT_FALSE(CitySymbolToDraw(false, "OH", ohio, empty));
  // Only the first entries count; the found state is only checked for being set.
  EXPECT_FALSE(CitySymbolToDraw(false, "OH", ohio, Entries({"Nowhere", "Columbus"})));
  const auto georgia =
      CitySymbolToDraw(false, "TX", Entries({"Georgia (GA)", "Ohio (OH)"}), columbus);
  ASSERT_TRUE(georgia.has_value());
  EXPECT_NE(georgia->x, x);  // Columbus, Georgia
}

}  // namespace
}  // namespace tq
