// The map tables against the committed artwork of scale 1 in res/map:
// symbols in their state's red and exactly where symbol-facts.tsv (written by
// tools/map/check_map.py) puts them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/Text.h"
#include "map/CitySymbols.h"
#include "map/MapLayout.h"

namespace tq {
namespace {

const std::filesystem::path kArtwork = std::filesystem::path(TELQUEST_SOURCE_DIR) / "res" / "map";

// An uncompressed 4-bit BMP, each pixel as what it shows; no pixels when the
// file is not such an image.
struct Bitmap {
  int width = 0, height = 0;
  std::vector<const char*> under;  // "red", "line", "water" or "land"; top row first
  int redX0 = 1 << 30, redX1 = -1, redY0 = 1 << 30, redY1 = -1;

  std::string Under(int x, int y) const {
    return x >= 0 && y >= 0 && x < width && y < height ? under[y * width + x] : "off";
  }
};

Bitmap ReadBmp4(int id) {
  std::ifstream in(kArtwork / (std::to_string(id) + ".bmp"), std::ios::binary);
  const std::string d{std::istreambuf_iterator<char>(in), {}};
  auto le = [&d](std::size_t at) {  // 32 bits, little-endian
    std::uint32_t v = 0;
    for (std::size_t i = at + 4; i-- > at;) v = v << 8 | static_cast<unsigned char>(d[i]);
    return v;
  };
  Bitmap bmp;
  if (d.size() < 118 || le(14) != 40 || (le(28) & 0xFFFF) != 4 || le(30) != 0 || le(18) > 4096 ||
      le(22) > 4096) {
    return bmp;
  }
  const int width = static_cast<int>(le(18)), height = static_cast<int>(le(22));
  const std::size_t stride = (width * 4 + 31) / 32 * 4, start = le(10);
  if (start > d.size() || d.size() - start < stride * height) return bmp;
  bmp.width = width, bmp.height = height;
  bmp.under.reserve(static_cast<std::size_t>(width) * height);
  const char* shows[16];
  for (int i = 0; i < 16; ++i) {
    const std::uint32_t rgb = le(54 + 4 * i) & 0xFFFFFF;
    shows[i] = rgb == 0xFF0000   ? "red"
               : rgb == 0x808080 ? "line"
               : rgb == 0x0000FF ? "water"
                                 : "land";
  }
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const unsigned char two = d[start + stride * (height - 1 - y) + x / 2];
      bmp.under.push_back(shows[x % 2 == 0 ? two >> 4 : two & 15]);
      if (std::string_view(bmp.under.back()) != "red") continue;
      bmp.redX0 = std::min(bmp.redX0, x), bmp.redX1 = std::max(bmp.redX1, x);
      bmp.redY0 = std::min(bmp.redY0, y), bmp.redY1 = std::max(bmp.redY1, y);
    }
  }
  return bmp;
}

const Bitmap& Image(int id) {
  static std::map<int, Bitmap> loaded;
  if (!loaded.contains(id)) loaded[id] = ReadBmp4(id);
  return loaded[id];
}

// The click points against the artwork of every scale: tests/gui/map_test.cpp.
TEST(MapArtwork, PlainImagesHaveNoRed) {
  for (const int id : {kPlainMapImage, kAlaskaImage, kHawaiiImage}) {
    EXPECT_EQ(Image(id).redX1, -1) << id;
    EXPECT_GT(Image(id).width, 0) << id;
  }
}

// A symbol's row as the facts file writes it: position, what the image that
// the window draws it over shows there, state display form and city. Unless
// that image has no red (Nassau, "Bahamas", lies on the sea), the symbol must
// lie in the box round the red.
std::string FactsRow(const CitySymbolPosition& row) {
  const std::string form(row.stateDisplayForm);
  const std::string code = form.ends_with(')') && form.size() >= 4 && form[form.size() - 4] == '('
                               ? form.substr(form.size() - 3, 2)
                               : "";
  auto inside = [&row](const PixelRect& r) {
    return row.x >= r.x && row.x < r.x + r.width && row.y >= r.y && row.y < r.y + r.height;
  };
  const auto [at, id] = inside(kAlaskaInset)   ? std::pair{kAlaskaInset, AlaskaImageFor(code)}
                        : inside(kHawaiiInset) ? std::pair{kHawaiiInset, HawaiiImageFor(code)}
                                               : std::pair{kMainMap, MainMapImageFor(code)};
  const Bitmap& image = Image(id);
  const int x = row.x - at.x, y = row.y - at.y;
  EXPECT_TRUE(image.redX1 < 0 ||
              (x >= image.redX0 && x <= image.redX1 && y >= image.redY0 && y <= image.redY1))
      << form << " / " << row.city << " lies outside its state's red";
  return std::to_string(row.x) + '\t' + std::to_string(row.y) + '\t' + image.Under(x, y) + '\t' +
         Cp1252ToUtf8(form) + '\t' + Cp1252ToUtf8(row.city);
}

TEST(MapArtwork, SymbolsLieInTheirStatesRedExactlyWhereTheArtworkFactsPutThem) {
  std::ifstream facts(kArtwork / "symbol-facts.tsv");
  std::vector<std::string> rows;
  for (std::string line; std::getline(facts, line);) {
    if (!line.starts_with('#')) rows.push_back(line);
  }
  const auto table = CitySymbolTable();
  ASSERT_EQ(rows.size(), table.size()) << "rerun tools/map/check_map.py --write-facts";
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(FactsRow(table[i]), rows[i]) << "symbol row " << i << " against the artwork's facts";
  }
}

}  // namespace
}  // namespace tq
