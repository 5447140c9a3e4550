#pragma once
// Paints the map area of the lookup window at its own pixels (MapLayout.h):
// the Alaska and Hawaii insets and the main map, each with the found state
// or province in red, and the largest-city symbol; the legend's square is the
// window's. Where a map pixel covers more device pixels (the screen's ratio,
// times the painter's scale) the artwork drawn for that scale is painted
// into the same rectangles, so it stays sharp while positions, clicks and
// symbols keep their map pixels. The images are
// loaded from the resources for every painting; one that cannot be loaded
// falls back to scale 1, else leaves the window background in its place.

#include <QImage>
#include <optional>
#include <string>

#include "map/CitySymbols.h"

class QPainter;

namespace tq {

// Resource image ":/map/<id>.bmp" (scale 1) or ":/map/<id>@<scale>x.png",
// with `scale` as its device pixel ratio; a null image when it is not there.
QImage LoadMapImage(int id, int scale = 1);

void PaintMapArea(QPainter& painter, const std::string& foundState,
                  std::optional<SymbolPosition> symbol);

// The 8x8 square round (x, y): x - 4 .. x + 3 and y - 4 .. y + 3, a black
// outline one pixel wide round a white inside.
void DrawSymbolSquare(QPainter& painter, int x, int y);

}  // namespace tq
