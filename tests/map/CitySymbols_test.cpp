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

// The symbol marks the answer's largest place in its own state, by its code.
TEST(CitySymbolToDraw, TheLargestPlaceWhenTabledAndAStateIsFound) {
  int x = 0, y = 0;
  FindCitySymbol("Columbus", "Georgia (GA)", x, y);
  const auto symbol = CitySymbolToDraw(false, "GA", "Columbus", "GA");
  ASSERT_TRUE(symbol.has_value());
  EXPECT_EQ(std::pair(symbol->x, symbol->y), std::pair(x, y));
  EXPECT_FALSE(CitySymbolToDraw(true, "GA", "Columbus", "GA"));  // while initializing
  EXPECT_FALSE(CitySymbolToDraw(false, "", "Columbus", "GA"));   // without a found state
  EXPECT_FALSE(CitySymbolToDraw(false, "GA", "", ""));           // without a largest place
  EXPECT_FALSE(CitySymbolToDraw(false, "GA", "Columbus", "MD"));  // not tabled there
}

}  // namespace
}  // namespace tq
