#include "map/HitTest.h"

#include <cstddef>
#include <iterator>

#include "map/MapLayout.h"

namespace tq {

namespace {

// The hit areas, inclusive, inside the images of the map (MapLayout.h):
// `inset` pixels in from each edge of the image.
struct HitArea {
  int left, top, right, bottom;
  bool Contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};
constexpr HitArea Inside(const PixelRect& image, int left, int top, int right, int bottom) {
  return {image.x + left, image.y + top, image.x + image.width - 1 - right,
          image.y + image.height - 1 - bottom};
}
// One pixel in on every edge, but the Hawaii inset takes its top row and the
// main map leaves two pixels on its right and bottom edges.
constexpr HitArea kAlaskaHit = Inside(kAlaskaInset, 1, 1, 1, 1);
constexpr HitArea kHawaiiHit = Inside(kHawaiiInset, 1, 0, 1, 1);
constexpr HitArea kMainMapHit = Inside(kMainMap, 1, 1, 2, 2);

// Squared distance as an unsigned 32-bit value: unsigned arithmetic wraps
// instead of overflowing, whatever coordinates come in.
std::uint32_t SquaredDistance(int x, int y, const MapClickPoint& point) {
  const std::uint32_t dx = static_cast<std::uint32_t>(x) - static_cast<std::uint32_t>(point.x);
  const std::uint32_t dy = static_cast<std::uint32_t>(y) - static_cast<std::uint32_t>(point.y);
  return dx * dx + dy * dy;
}

}  // namespace

ClickPointTable MakeClickPoints() {
  ClickPointTable points{};
  // Centre points of the states and provinces; large or oddly shaped ones
  // get several. No point for DC, PE, NL or the territories. The map
  // generator reads this list (one row per line) and keeps every point on
  // the red of its state's image; the tests check that against res/map.
  const MapClickPoint filled[] = {
      {376, 44, "WA"},  // 0
      {365, 76, "OR"},  // 1
      {349, 110, "CA"},  // 2
      {355, 139, "CA"},  // 3
      {372, 165, "CA"},  // 4
      {411, 86, "ID"},  // 5
      {385, 124, "NV"},  // 6
      {418, 178, "AZ"},  // 7
      {447, 58, "MT"},  // 8
      {454, 96, "WY"},  // 9
      {428, 135, "UT"},  // 10
      {470, 139, "CO"},  // 11
      {462, 182, "NM"},  // 12
      {499, 177, "TX"},  // 13
      {520, 214, "TX"},  // 14
      {509, 57, "ND"},  // 15
      {509, 87, "SD"},  // 16
      {513, 117, "NE"},  // 17
      {525, 144, "KS"},  // 18
      {533, 172, "OK"},  // 19
      {576, 213, "LA"},  // 20
      {549, 69, "MN"},  // 21
      {559, 109, "IA"},  // 22
      {569, 143, "MO"},  // 23
      {583, 82, "WI"},  // 24
      {592, 124, "IL"},  // 25
      {614, 122, "IN"},  // 26
      {619, 88, "MI"},  // 27
      {639, 116, "OH"},  // 28
      {631, 144, "KY"},  // 29
      {620, 165, "TN"},  // 30
      {571, 179, "AR"},  // 31
      {598, 199, "MS"},  // 32
      {620, 192, "AL"},  // 33
      {651, 189, "GA"},  // 34
      {671, 233, "FL"},  // 35
      {668, 174, "SC"},  // 36
      {682, 156, "NC"},  // 37
      {679, 131, "VA"},  // 38
      {656, 129, "WV"},  // 39
      {688, 119, "MD"},  // 40
      {676, 103, "PA"},  // 41
      {683, 80, "NY"},  // 42
      {696, 118, "DE"},  // 43
      {700, 105, "NJ"},  // 44
      {701, 64, "VT"},  // 45
      {710, 64, "NH"},  // 46
      {710, 78, "MA"},  // 47
      {721, 44, "ME"},  // 48
      {716, 83, "RI"},  // 49
      {708, 86, "CT"},  // 50
      {392, 20, "BC"},  // 51
      {432, 24, "AB"},  // 52
      {475, 25, "SK"},  // 53
      {521, 26, "MB"},  // 54
      {571, 28, "ON"},  // 55
      {628, 31, "ON"},  // 56
      {656, 66, "ON"},  // 57
      {679, 33, "QC"},  // 58
      {736, 26, "NB"},  // 59
      {745, 45, "NS"},  // 60
  };
  static_assert(std::size(filled) <= kClickPointSlots);
  std::size_t slot = 0;
  for (const MapClickPoint& point : filled) points[slot++] = point;
  return points;
}

std::string MapClickQuery(const ClickPointTable& clickPoints, int x, int y) {
  std::string state;
  HitTestMap(clickPoints, x, y, state);
  return state.empty() ? state : ", " + state;
}

void HitTestMap(const ClickPointTable& clickPoints, int x, int y, std::string& result) {
  result.clear();

  if (kAlaskaHit.Contains(x, y)) {
    result = "AK";
    return;
  }
  if (kHawaiiHit.Contains(x, y)) {
    result = "HI";
    return;
  }
  if (!kMainMapHit.Contains(x, y)) return;

  // Nearest point wins; strictly less keeps the lower slot on a tie.
  std::uint32_t best = 4294967295u;
  const MapClickPoint* chosen = nullptr;
  for (const MapClickPoint& point : clickPoints) {
    if (point.x <= 0) continue;
    const std::uint32_t d = SquaredDistance(x, y, point);
    if (d < best) {
      best = d;
      chosen = &point;
    }
  }
  if (chosen != nullptr) result = chosen->abbreviation;
}

}  // namespace tq
