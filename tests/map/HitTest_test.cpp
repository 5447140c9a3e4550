#include "map/HitTest.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace tq {
namespace {

std::string Hit(const ClickPointTable& table, int x, int y) {
  std::string result = "stale";  // cleared first
  HitTestMap(table, x, y, result);
  return result;
}

TEST(HitTestMap, InsetsMapAndWhatLiesAround) {
  const ClickPointTable points = MakeClickPoints();
  constexpr int kMin = std::numeric_limits<int>::min(), kMax = std::numeric_limits<int>::max();
  struct Case {
    int x, y;
    const char* expected;
  };
  for (const Case& c : std::vector<Case>{
           // The insets: corners, and one pixel beyond each edge; the gap between them.
           {264, 17, "AK"}, {314, 67, "AK"}, {263, 40, ""}, {315, 40, ""}, {290, 16, ""},
           {290, 68, ""}, {290, 76, "HI"}, {314, 114, "HI"}, {290, 75, ""}, {290, 115, ""},
           // The gap to the main map, and outside the map.
           {320, 100, ""}, {324, 100, ""}, {745, 100, ""}, {400, 277, ""}, {400, 16, ""},
           {-1, -1, ""}, {kMin, kMin, ""}, {kMax, kMax, ""},
           // The corners of the main map and its edge next to Nova Scotia.
           {325, 17, "WA"}, {744, 17, "NB"}, {325, 276, "CA"}, {744, 276, "FL"}, {744, 45, "NS"},
           // Equal distances go to the lower slot: 845 from Washington (slot 0) and
           // British Columbia (51), 225 from North (15) and South Dakota (16).
           {363, 18, "WA"}, {509, 72, "ND"},
           // Sea and Mexico go to the nearest point.
           {340, 250, "CA"}, {480, 270, "TX"}}) {
    EXPECT_EQ(Hit(points, c.x, c.y), c.expected) << "(" << c.x << ", " << c.y << ")";
  }
}

TEST(HitTestMap, EmptySlotsAreSkippedAndInsetsAnswerWithoutTheTable) {
  ClickPointTable table{};
  EXPECT_EQ(Hit(table, 500, 100), "");
  EXPECT_EQ(Hit(table, 290, 30), "AK");
  table[0] = {0, 100, "XA"};
  table[1] = {-5, 100, "XB"};
  table[2] = {700, 200, "FA"};
  table[149] = {400, 100, "LA"};
  EXPECT_EQ(Hit(table, 330, 100), "LA");  // the last slot takes part too
  table[149].x = 0;
  EXPECT_EQ(Hit(table, 330, 100), "FA");
}

}  // namespace
}  // namespace tq
