#pragma once
// The windows are laid out in dialog units of an 8-point dialog: 1.5 pixels
// per horizontal and 1.625 pixels per vertical unit, each coordinate rounded
// to the nearest pixel on its own. The map's fixed client pixels agree with
// this layout. The windows follow the size of the user's font: every
// coordinate, text and map is WindowScale() times its size here.

#include <QRect>

namespace tq {

constexpr int DialogUnitsToPixelsX(int units) { return (units * 6 + 2) / 4; }
constexpr int DialogUnitsToPixelsY(int units) { return (units * 13 + 4) / 8; }

// The scale of the windows: 1 for the layout's own 10-pixel text, else the
// user's font size over 10 pixels, in tenths (1.2 for a 12-pixel font).
double WindowScale();
void SetWindowScale(double scale);

// `pixels` at the window scale, rounded to the nearest pixel.
int Scaled(int pixels);
// Each coordinate of `rect` (left, top, width, height) scaled on its own.
QRect Scaled(const QRect& rect);

// A rectangle in dialog units as pixels at the window scale.
QRect DialogRect(int x, int y, int width, int height);

}  // namespace tq
