#include "map/HitTest.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace tq {
namespace {

class HitTestMapTest : public ::testing::Test {
 protected:
  std::string Hit(int x, int y) {
    std::string result = "stale";
    HitTestMap(points_, x, y, result);
    return result;
  }

  ClickPointTable points_ = MakeClickPoints();
};

TEST_F(HitTestMapTest, TableHoldsSixtyOneFilledSlots) {
  int filled = 0;
  for (int slot = 0; slot < kClickPointSlots; ++slot) {
    const MapClickPoint& point = points_[slot];
    if (slot <= 60) {
      EXPECT_GT(point.x, 0) << slot;
      EXPECT_EQ(point.abbreviation.size(), 2u) << slot;
      ++filled;
    } else {
      EXPECT_EQ(point.x, 0) << slot;
      EXPECT_EQ(point.y, 0) << slot;
      EXPECT_TRUE(point.abbreviation.empty()) << slot;
    }
  }
  EXPECT_EQ(filled, 61);
}

TEST_F(HitTestMapTest, SpotRows) {
  EXPECT_EQ(points_[0].x, 376);
  EXPECT_EQ(points_[0].y, 44);
  EXPECT_EQ(points_[0].abbreviation, "WA");
  EXPECT_EQ(points_[35].abbreviation, "FL");
  EXPECT_EQ(points_[57].x, 656);
  EXPECT_EQ(points_[57].y, 66);
  EXPECT_EQ(points_[57].abbreviation, "ON");
  EXPECT_EQ(points_[60].x, 745);
  EXPECT_EQ(points_[60].y, 45);
  EXPECT_EQ(points_[60].abbreviation, "NS");
}

TEST_F(HitTestMapTest, EveryFilledPointHitsItsOwnState) {
  for (int slot = 0; slot <= 59; ++slot) {
    const MapClickPoint& point = points_[slot];
    EXPECT_EQ(Hit(point.x, point.y), point.abbreviation) << "slot " << slot;
  }
  // Nova Scotia's point lies one pixel right of the map; the edge next to it still goes there.
  EXPECT_EQ(Hit(745, 45), "");
  EXPECT_EQ(Hit(744, 45), "NS");
}

TEST_F(HitTestMapTest, AlaskaInsetBounds) {
  EXPECT_EQ(Hit(264, 17), "AK");
  EXPECT_EQ(Hit(314, 67), "AK");
  EXPECT_EQ(Hit(314, 17), "AK");
  EXPECT_EQ(Hit(264, 67), "AK");
  EXPECT_EQ(Hit(290, 30), "AK");
  EXPECT_EQ(Hit(263, 40), "");
  EXPECT_EQ(Hit(315, 40), "");
  EXPECT_EQ(Hit(290, 16), "");
  EXPECT_EQ(Hit(290, 68), "");
}

TEST_F(HitTestMapTest, HawaiiInsetBounds) {
  EXPECT_EQ(Hit(290, 76), "HI");
  EXPECT_EQ(Hit(290, 114), "HI");
  EXPECT_EQ(Hit(264, 76), "HI");
  EXPECT_EQ(Hit(314, 114), "HI");
  EXPECT_EQ(Hit(290, 70), "");
  EXPECT_EQ(Hit(290, 75), "");
  EXPECT_EQ(Hit(290, 115), "");
  EXPECT_EQ(Hit(263, 90), "");
  EXPECT_EQ(Hit(315, 90), "");
}

TEST_F(HitTestMapTest, GapAndOutsideOfTheMapHitNothing) {
  EXPECT_EQ(Hit(320, 100), "");
  EXPECT_EQ(Hit(315, 100), "");
  EXPECT_EQ(Hit(324, 100), "");
  EXPECT_EQ(Hit(745, 100), "");
  EXPECT_EQ(Hit(400, 277), "");
  EXPECT_EQ(Hit(400, 16), "");
  EXPECT_EQ(Hit(0, 0), "");
  EXPECT_EQ(Hit(-1, -1), "");
  EXPECT_EQ(Hit(std::numeric_limits<int>::min(), std::numeric_limits<int>::min()), "");
  EXPECT_EQ(Hit(std::numeric_limits<int>::max(), std::numeric_limits<int>::max()), "");
}

TEST_F(HitTestMapTest, CornersOfTheMapRectangle) {
  EXPECT_EQ(Hit(325, 17), "WA");
  EXPECT_EQ(Hit(744, 17), "NB");
  EXPECT_EQ(Hit(325, 276), "CA");
  EXPECT_EQ(Hit(744, 276), "FL");
}

TEST_F(HitTestMapTest, EqualDistancesGoToTheLowerSlot) {
  // 845 from Washington (slot 0) and British Columbia (slot 51).
  EXPECT_EQ(Hit(363, 18), "WA");
  // 225 from North Dakota (slot 15) and South Dakota (slot 16).
  EXPECT_EQ(Hit(509, 72), "ND");
}

TEST_F(HitTestMapTest, SeaAndMexicoGoToTheNearestPoint) {
  EXPECT_EQ(Hit(340, 250), "CA");
  EXPECT_EQ(Hit(480, 270), "TX");
  EXPECT_EQ(Hit(730, 250), "FL");
}

TEST_F(HitTestMapTest, ResultIsClearedFirst) {
  std::string result = "TX";
  HitTestMap(points_, 320, 100, result);
  EXPECT_TRUE(result.empty());
  result = "TX";
  HitTestMap(points_, 376, 44, result);
  EXPECT_EQ(result, "WA");
}

TEST(HitTestMapTableTest, EmptyTableHitsNothingOnTheMapButInsetsStillAnswer) {
  const ClickPointTable empty{};
  std::string result = "stale";
  HitTestMap(empty, 500, 100, result);
  EXPECT_EQ(result, "");
  HitTestMap(empty, 290, 30, result);
  EXPECT_EQ(result, "AK");
}

TEST(HitTestMapTableTest, SlotsWithXZeroOrLessAreSkipped) {
  ClickPointTable table{};
  table[0] = {0, 100, "XA"};
  table[1] = {-5, 100, "XB"};
  table[2] = {700, 200, "FA"};
  table[149] = {400, 100, "LA"};
  std::string result;
  HitTestMap(table, 330, 100, result);
  EXPECT_EQ(result, "LA");  // the last slot takes part too
  table[149].x = 0;
  HitTestMap(table, 330, 100, result);
  EXPECT_EQ(result, "FA");
}

TEST(HitTestMapTableTest, DistanceIsAWrappingUnsigned32BitValue) {
  // From (325, 17) the far point's squared distance wraps round to
  // 326² + 18² = 106600: nearer than a point 400 pixels away, farther than 300.
  constexpr std::int32_t kFar = std::numeric_limits<std::int32_t>::max();
  ClickPointTable table{};
  table[0] = {725, 17, "NA"};
  table[1] = {kFar, kFar, "FF"};
  std::string result;
  HitTestMap(table, 325, 17, result);
  EXPECT_EQ(result, "FF");
  table[0].x = 625;
  HitTestMap(table, 325, 17, result);
  EXPECT_EQ(result, "NA");
}

}  // namespace
}  // namespace tq
