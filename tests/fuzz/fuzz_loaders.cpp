// Arbitrary bytes as "cit.bin" or "arc.bin" (the first byte chooses, the
// other file is the sample's): the loaders must keep whole records only, with
// columns of one length, and tell every problem; searches then run on what
// was loaded. (fuzz_filter holds the indexes to the scan.)
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "lookup/SearchFlow.h"
#include "support/TestData.h"

namespace {

struct PickFirst : tq::CityChooser {
  tq::CityChoiceReply ChooseCity(const std::vector<tq::CityChoice>& choices) override {
    return {tq::CityChoiceReply::Kind::kChosen, choices.front().text};
  }
};

void CheckOutcome(const tq::LoadOutcome& outcome) {
  tq::fuzz::Check((outcome.problem == tq::FileProblem::kNone) == outcome.text.empty(),
                  "a problem without a text, or a text without a problem");
}

// Searches for the place, its state and the area code of the first rows.
void CheckSearches(const std::filesystem::path& folder) {
  PickFirst chooser;
  tq::SearchFlow flow(folder, chooser);
  flow.SetNow([] { return std::int64_t{1783166400}; });  // 2026-07-04T12:00Z
  flow.OpenData();
  std::vector<std::string> queries;
  const tq::CCitySet& cities = flow.Cities();
  if (cities.RowCount() > 0) {
    queries = {std::string(cities.CityNames()[0]), cities.PlaceText(0), ", " + std::string(cities.States()[0])};
  }
  const auto& codes = flow.AreaCodes().AreaCodes();
  if (!codes.empty()) queries.push_back(std::to_string(codes[0]));
  for (const std::string& query : queries) {
    tq::fuzz::Check(flow.Search(query)->largestCity.entries.size() <= 1,
                    "more than one largest city");
  }
}

void CheckCities(const std::filesystem::path& folder) {
  tq::CCitySet cities(folder);
  cities.Open();
  CheckOutcome(cities.Outcome());
  const std::size_t rows = cities.RowCount();
  tq::fuzz::Check(cities.CityNames().size() == rows && cities.States().size() == rows &&
                      cities.Populations().size() == rows &&
                      cities.DaylightFlags().size() == rows && cities.TimeZones().size() == rows,
                  "city columns of different lengths");
  tq::fuzz::Check(cities.SelectedRows().size() == rows, "empty filter misses rows");
}

void CheckAreaCodes(const std::filesystem::path& folder) {
  tq::CAreaCodeSet areaCodes(folder);
  areaCodes.Open();
  CheckOutcome(areaCodes.Outcome());
  tq::fuzz::Check(areaCodes.CityIds().size() == areaCodes.AreaCodes().size(),
                  "area code columns of different lengths");
  tq::fuzz::Check(areaCodes.SelectedRows().size() == areaCodes.CityIds().size(),
                  "empty filter misses pairs");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const tq::test::TempDir sample, folder;
  [[maybe_unused]] static const bool written = (tq::test::WriteSampleData(sample.path()), true);
  if (size == 0) return 0;
  const bool cityFile = data[0] & 1;
  const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  const char* fuzzed = cityFile ? tq::CCitySet::kFileName : tq::CAreaCodeSet::kFileName;
  const char* other = cityFile ? tq::CAreaCodeSet::kFileName : tq::CCitySet::kFileName;
  tq::test::WriteBytes(folder / fuzzed, bytes);
  std::filesystem::copy_file(sample / other, folder / other,
                             std::filesystem::copy_options::overwrite_existing);
  if (cityFile) {
    CheckCities(folder.path());
  } else {
    CheckAreaCodes(folder.path());
  }
  CheckSearches(folder.path());
  return 0;
}
