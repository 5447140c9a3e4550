#include "map/MapLayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

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

TEST(MapLayoutTest, ArtworkScaleNeedsNoEnlargingWhereThereIsOne) {
  const std::pair<double, int> cases[] = {{1, 1},   {0.75, 1}, {1.25, 2},        {1.5, 2},
                                          {2, 2},   {2.0000001, 2}, {2.5, 3},  {3, 3},
                                          {4.5, 3}, {0, 1},    {-2, 1},        {std::nan(""), 1}};
  for (const auto& [ratio, scale] : cases) EXPECT_EQ(ArtworkScaleFor(ratio), scale) << ratio;
}

}  // namespace
}  // namespace tq
