#include "map/MapLayout.h"

#include <iterator>
#include <string_view>

namespace tq {

namespace {

struct StateImage {
  std::string_view abbreviation;
  int image;
};

// One main-map image per state or province that the map shows in red.
// Alaska and Hawaii have none: they are drawn in the insets only. The map
// generator reads this list (one row per line) to name the images it draws.
constexpr StateImage kStateImages[] = {
    {"AL", 151},
    {"AZ", 153},
    {"AR", 154},
    {"CA", 150},
    {"CO", 155},
    {"CT", 156},
    {"DC", 205},
    {"DE", 157},
    {"FL", 158},
    {"GA", 159},
    {"IA", 160},
    {"ID", 149},
    {"IL", 161},
    {"IN", 162},
    {"KS", 163},
    {"KY", 164},
    {"LA", 165},
    {"MA", 166},
    {"MD", 167},
    {"ME", 168},
    {"MI", 169},
    {"MN", 170},
    {"MO", 171},
    {"MS", 172},
    {"MT", 173},
    {"NC", 174},
    {"ND", 175},
    {"NE", 176},
    {"NH", 177},
    {"NJ", 178},
    {"NM", 179},
    {"NV", 180},
    {"NY", 181},
    {"OH", 182},
    {"OK", 183},
    {"OR", 145},
    {"PA", 184},
    {"RI", 185},
    {"SC", 186},
    {"SD", 187},
    {"TN", 188},
    {"TX", 189},
    {"UT", 190},
    {"VT", 191},
    {"VA", 192},
    {"WA", 134},
    {"WI", 193},
    {"WV", 194},
    {"WY", 195},
    {"BC", 196},
    {"AB", 197},
    {"SK", 198},
    {"MB", 199},
    {"ON", 200},
    {"QC", 201},
    {"NB", 202},
    {"NS", 203},
};

}  // namespace

int MainMapImageFor(const std::string& foundState) {
  for (const StateImage& row : kStateImages) {
    if (row.abbreviation == foundState) return row.image;
  }
  return kPlainMapImage;
}

int AlaskaImageFor(const std::string& foundState) {
  return foundState == "AK" ? kAlaskaRedImage : kAlaskaImage;
}

int HawaiiImageFor(const std::string& foundState) {
  return foundState == "HI" ? kHawaiiRedImage : kHawaiiImage;
}

int ArtworkScaleFor(double devicePixelRatio) {
  for (const int scale : kArtworkScales) {
    // A hair of tolerance: 2.0000001 from a rounded ratio still takes scale 2.
    if (devicePixelRatio <= scale + 1e-6) return scale;
  }
  return devicePixelRatio > 0 ? std::end(kArtworkScales)[-1] : kArtworkScales[0];
}

}  // namespace tq
