#pragma once
// The windows are laid out in dialog units of an 8-point dialog: 1.5 pixels
// per horizontal and 1.625 pixels per vertical unit, each coordinate rounded
// to the nearest pixel on its own. The map's fixed client pixels agree with
// this layout.

#include <QRect>

namespace tq {

constexpr int DialogUnitsToPixelsX(int units) { return (units * 6 + 2) / 4; }
constexpr int DialogUnitsToPixelsY(int units) { return (units * 13 + 4) / 8; }

constexpr QRect DialogRect(int x, int y, int width, int height) {
  return QRect(DialogUnitsToPixelsX(x), DialogUnitsToPixelsY(y), DialogUnitsToPixelsX(width),
               DialogUnitsToPixelsY(height));
}

}  // namespace tq
