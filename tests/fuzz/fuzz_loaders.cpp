// Arbitrary bytes as "cit.bin" or "arc.bin" (the first byte chooses): the
// loaders must keep whole records only, with columns of one length, and the
// indexes built from them must select what a scan selects.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "support/TestData.h"

namespace {

void CheckCities(const std::filesystem::path& folder) {
  tq::CCitySet cities(folder);
  cities.Open();
  const std::size_t rows = cities.RowCount();
  tq::fuzz::Check(cities.CityNames().size() == rows && cities.States().size() == rows &&
                      cities.Populations().size() == rows &&
                      cities.DaylightFlags().size() == rows && cities.TimeZones().size() == rows,
                  "city columns of different lengths");
  tq::fuzz::Check(cities.SelectedRows().size() == rows, "empty filter misses rows");
  for (std::size_t row = 0; row < rows && row < 4; ++row) {
    const std::string& name = cities.CityNames()[row];
    tq::fuzz::CheckCitySelection(cities, "iCityId = " + std::to_string(cities.CityIds()[row]));
    tq::fuzz::CheckCitySelection(cities, "strCity = '" + name + "'");
    tq::fuzz::CheckCitySelection(cities, "strCity LIKE '" + name.substr(0, 2) + "%'");
    tq::fuzz::CheckCitySelection(cities, "strCity = '" + name + "' and strStateOrProvince = '" +
                                             cities.States()[row] + "'");
    tq::fuzz::CheckCitySelection(cities,
                                 "strStateOrProvince = '" + cities.States()[row].substr(0, 1) + "'");
  }
}

void CheckAreaCodes(const std::filesystem::path& folder) {
  tq::CAreaCodeSet areaCodes(folder);
  areaCodes.Open();
  tq::fuzz::Check(areaCodes.CityIds().size() == areaCodes.AreaCodes().size(),
                  "area code columns of different lengths");
  tq::fuzz::Check(areaCodes.SelectedRows().size() == areaCodes.CityIds().size(),
                  "empty filter misses pairs");
  for (std::size_t row = 0; row < areaCodes.CityIds().size() && row < 4; ++row) {
    tq::fuzz::CheckAreaCodeSelection(areaCodes,
                                     "iCityId = " + std::to_string(areaCodes.CityIds()[row]));
    tq::fuzz::CheckAreaCodeSelection(
        areaCodes, "iAreaCode = " + std::to_string(static_cast<std::int32_t>(areaCodes.AreaCodes()[row])));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const tq::test::TempDir folder;
  if (size == 0) return 0;
  const bool cityFile = data[0] & 1;
  const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  tq::test::WriteBytes(folder / (cityFile ? "cit.bin" : "arc.bin"), bytes);
  if (cityFile) {
    CheckCities(folder.path());
  } else {
    CheckAreaCodes(folder.path());
  }
  return 0;
}
