#include "map/MapLayout.h"

#include <gtest/gtest.h>

#include <string>

namespace tq {
namespace {

TEST(MapLayoutTest, StatesAndProvincesHaveTheirOwnRedMap) {
  EXPECT_EQ(MainMapImageFor("AL"), 151);
  EXPECT_EQ(MainMapImageFor("OH"), 182);
  EXPECT_EQ(MainMapImageFor("WA"), 134);
  EXPECT_EQ(MainMapImageFor("CA"), 150);
  EXPECT_EQ(MainMapImageFor("ID"), 149);
  EXPECT_EQ(MainMapImageFor("OR"), 145);
  EXPECT_EQ(MainMapImageFor("QC"), 201);
  EXPECT_EQ(MainMapImageFor("NS"), 203);
  EXPECT_EQ(MainMapImageFor("DC"), 205);
}

TEST(MapLayoutTest, AnythingElseShowsThePlainMap) {
  for (const std::string state : {"", "AK", "HI", "PE", "NL", "YT", "oh", "Oh", "OH ", " OH", "Ohio (OH)"}) {
    EXPECT_EQ(MainMapImageFor(state), kPlainMapImage) << '"' << state << '"';
  }
  EXPECT_EQ(kPlainMapImage, 136);
}

TEST(MapLayoutTest, AlaskaInsetIsRedOnlyForAK) {
  EXPECT_EQ(AlaskaImageFor("AK"), 144);
  for (const std::string state : {"", "HI", "ak", "AK ", "WA"}) {
    EXPECT_EQ(AlaskaImageFor(state), 141) << '"' << state << '"';
  }
}

TEST(MapLayoutTest, HawaiiInsetIsRedOnlyForHI) {
  EXPECT_EQ(HawaiiImageFor("HI"), 143);
  for (const std::string state : {"", "AK", "hi", "HI ", "CA"}) {
    EXPECT_EQ(HawaiiImageFor(state), 142) << '"' << state << '"';
  }
}

}  // namespace
}  // namespace tq
