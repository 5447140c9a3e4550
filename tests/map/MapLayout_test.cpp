#include "map/MapLayout.h"

#include <gtest/gtest.h>

#include <string>

namespace tq {
namespace {

// Which image belongs to which state is checked against the artwork (MapArtwork_test).
TEST(MapLayoutTest, OnlyAnExactCodeWithAnImageShowsRed) {
  EXPECT_NE(MainMapImageFor("OH"), kPlainMapImage);
  for (const std::string state : {"", "AK", "HI", "PE", "oh", "OH ", "Ohio (OH)"}) {
    EXPECT_EQ(MainMapImageFor(state), kPlainMapImage) << '"' << state << '"';
  }
  EXPECT_EQ(AlaskaImageFor("AK"), kAlaskaRedImage);
  EXPECT_EQ(HawaiiImageFor("HI"), kHawaiiRedImage);
  for (const std::string state : {"", "ak", "AK ", "hi", "WA"}) {
    EXPECT_EQ(AlaskaImageFor(state), kAlaskaImage) << '"' << state << '"';
    EXPECT_EQ(HawaiiImageFor(state), kHawaiiImage) << '"' << state << '"';
  }
  EXPECT_EQ(AlaskaImageFor("HI") + HawaiiImageFor("AK"), kAlaskaImage + kHawaiiImage);
}

}  // namespace
}  // namespace tq
