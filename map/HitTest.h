#pragma once
// Turns a click on the map into a state or province: the two insets by their
// rectangles, the main map by the nearest of a fixed table of centre points.

#include <array>
#include <cstdint>
#include <string>

namespace tq {

struct MapClickPoint {
  std::int32_t x = 0;  // 0 or less: an empty slot
  std::int32_t y = 0;
  std::string abbreviation;
};

inline constexpr int kClickPointSlots = 150;
using ClickPointTable = std::array<MapClickPoint, kClickPointSlots>;

// The table as the window holds it: slots 0..60 filled, the rest empty.
ClickPointTable MakeClickPoints();

// The code of the state or province at client pixel (x, y), into `result`;
// empty when the point hits nothing.
void HitTestMap(const ClickPointTable& clickPoints, int x, int y, std::string& result);

// What a click at client pixel (x, y) searches: a comma, a blank and the
// code of the state or province hit (", OH"), or "" when it hits nothing.
std::string MapClickQuery(const ClickPointTable& clickPoints, int x, int y);

}  // namespace tq
