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

// The record of a row of `cities`, its id moved by `shift` and `suffix`
// after its name, as cit.bin lines.
std::vector<std::string> CityLines(const CCitySet& cities, std::size_t row, std::uint32_t shift,
                                   const std::string& suffix) {
  return test::EncodeCity({static_cast<std::int32_t>(cities.CityIds()[row] + shift),
                           std::string(cities.CityNames()[row]) + suffix, std::string(cities.States()[row]), "USA",
                           static_cast<std::int32_t>(cities.Populations()[row]),
                           cities.DaylightFlags()[row], FloatText(cities.TimeZones()[row]), {}});
}

}  // namespace

void WriteGrownData(const std::filesystem::path& from, const std::filesystem::path& to,
                    int copies, GrownOrder order) {
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
      for (std::string& line : CityLines(cities, row, shift, suffix)) cityLines.push_back(std::move(line));
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
  if (order == GrownOrder::kJoined) return;
  // The joined records again, in the order the set reads their names in.
  CCitySet joined(to);
  joined.Open();
  cityLines.clear();
  for (std::uint32_t position = 0; position < joined.RowCount(); ++position) {
    for (std::string& line : CityLines(joined, joined.RowAtNamePosition(position), 0, "")) {
      cityLines.push_back(std::move(line));
    }
  }
  test::WriteLines(to / CCitySet::kFileName, cityLines);
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
