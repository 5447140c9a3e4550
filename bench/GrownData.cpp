#include "GrownData.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>
#include <vector>

#include "data/AreaCodeSet.h"
#include "data/CitySet.h"
#include "support/TestData.h"

namespace tq::bench {
namespace {

std::string FloatText(float value) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  return std::string(text, end);
}

}  // namespace

void WriteGrownData(const std::filesystem::path& from, const std::filesystem::path& to,
                    int copies) {
  CCitySet cities(from);
  cities.Open();
  CAreaCodeSet areaCodes(from);
  areaCodes.Open();
  const auto& ids = cities.CityIds();
  const std::uint32_t offset = ids.empty() ? 1 : *std::max_element(ids.begin(), ids.end()) + 1;

  std::vector<std::string> cityLines, linkLines;
  for (int copy = 0; copy < copies; ++copy) {
    const std::uint32_t shift = offset * static_cast<std::uint32_t>(copy);
    std::string suffix;
    if (copy > 0) suffix.append(" ").append(std::to_string(copy + 1));
    for (std::size_t row = 0; row < cities.RowCount(); ++row) {
      const test::CityFixture city{static_cast<std::int32_t>(ids[row] + shift),
                                   cities.CityNames()[row] + suffix,
                                   cities.States()[row],
                                   "USA",
                                   static_cast<std::int32_t>(cities.Populations()[row]),
                                   cities.DaylightFlags()[row],
                                   FloatText(cities.TimeZones()[row]),
                                   {}};
      for (std::string& line : test::EncodeCity(city)) cityLines.push_back(std::move(line));
    }
    for (std::size_t row = 0; row < areaCodes.CityIds().size(); ++row) {
      for (std::string& line :
           test::EncodeLink(static_cast<std::int32_t>(areaCodes.CityIds()[row] + shift),
                            static_cast<std::int32_t>(areaCodes.AreaCodes()[row]))) {
        linkLines.push_back(std::move(line));
      }
    }
  }
  test::WriteLines(to / CCitySet::kFileName, cityLines);
  test::WriteLines(to / CAreaCodeSet::kFileName, linkLines);
}

void WriteCrowdedCode(const std::filesystem::path& to, int places, std::int32_t areaCode) {
  std::vector<std::string> cityLines, linkLines;
  for (int id = 1; id <= places; ++id) {
    std::string name = std::to_string(places - id + 1);
    name = "Place " + std::string(8 - name.size(), '0') + name;
    const test::CityFixture city{id, name, "OH", "USA", 20000 + id, 1, "0", {}};
    for (std::string& line : test::EncodeCity(city)) cityLines.push_back(std::move(line));
    for (std::string& line : test::EncodeLink(id, areaCode)) linkLines.push_back(std::move(line));
  }
  test::WriteLines(to / CCitySet::kFileName, cityLines);
  test::WriteLines(to / CAreaCodeSet::kFileName, linkLines);
}

}  // namespace tq::bench
