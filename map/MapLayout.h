#pragma once
// Where the map area lies in the lookup window, in fixed client pixels
// (origin top left, y downwards), and which image shows which state. The map
// generator in tools/map reads the image places and ids below.

#include <string>

namespace tq {

struct PixelRect {
  int x, y, width, height;
};

inline constexpr PixelRect kAlaskaInset{263, 16, 53, 53};
inline constexpr PixelRect kHawaiiInset{263, 76, 53, 40};
inline constexpr PixelRect kMainMap{324, 16, 423, 263};
// The legend square next to "Largest city symbol:", drawn on every painting.
inline constexpr int kLegendX = 730;
inline constexpr int kLegendY = 295;
// The city symbol covers x - 4 .. x + 3 and y - 4 .. y + 3.
inline constexpr int kSymbolHalf = 4;

// Client widths of the window with the maps shown and hidden.
inline constexpr int kClientWidthMapsShown = 758;
inline constexpr int kClientWidthMapsHidden = 327;

// Image resources: the plain main map and the insets, plain and red.
inline constexpr int kPlainMapImage = 136;
inline constexpr int kAlaskaImage = 141;
inline constexpr int kAlaskaRedImage = 144;
inline constexpr int kHawaiiImage = 142;
inline constexpr int kHawaiiRedImage = 143;

// The artwork is drawn at these scales (tools/map): scale 1 as
// ":/map/<id>.bmp", the others as ":/map/<id>@<scale>x.png", each the same
// map at that many device pixels per client pixel.
inline constexpr int kArtworkScales[] = {1, 2, 3};

// The scale of the artwork to paint on a screen of `devicePixelRatio`: the
// smallest one that needs no enlarging, else the largest (a ratio of 1.5
// takes scale 2, shrunk; anything below 1 or not a number takes 1).
int ArtworkScaleFor(double devicePixelRatio);

// The main-map image with `foundState` in red (exact, case-sensitive code),
// or the plain map for any other text, "" included.
int MainMapImageFor(const std::string& foundState);
int AlaskaImageFor(const std::string& foundState);
int HawaiiImageFor(const std::string& foundState);

}  // namespace tq
