// The indexed record sets against a plain scan of their columns: every filter
// of every form that the data can produce must select the same rows, on the
// shipped data and on the sample data.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "data/Text.h"
#include "lookup/SearchFlow.h"
#include "support/LinearReference.h"
#include "support/TestData.h"

namespace tq::test {
namespace {

std::string Quoted(const std::string& value) { return "'" + value + "'"; }

const std::vector<std::string> kJunkFilters = {
    " iCityId = 42", "icityid = 42", "iCityId = ", "iCityId = -1", "iCityId = 4294967295",
    "iCityId = 99999999999", "iCityId = +42abc", "iAreaCode = 937", "iAreaCode = ",
    "iAreaCode = abc", "iAreaCode = -0", "strCity = ", "strCity = '", "strCity = ''",
    "strCity LIKE '", "strCity LIKE '%", "strCity LIKE '%'",
    "strCity = ' and strStateOrProvince = '", "strCity = 'Dayton' and strStateOrProvince = ",
    "strCity = '' and strStateOrProvince = 'OH'",
    "strCity = 'dayton' and strStateOrProvince = 'ohio'",
    "strCity = 'x' and strStateOrProvince = 'OH' and strStateOrProvince = 'TX'",
    "strCity='Dayton'", "strStateOrProvince = ", "strStateOrProvince = '",
    "strStateOrProvince = ''", "strStateOrProvince = 'oh'",
    "strStateOrProvince = 'Non-geographic area code'", "SELECT * FROM cities", "\xE9\xFF\x80",
};

std::vector<std::string> CityFilters(const CCitySet& cities) {
  std::set<std::string> filters(kJunkFilters.begin(), kJunkFilters.end());
  filters.insert("");
  for (std::size_t row = 0; row < cities.RowCount(); ++row) {
    const std::string& name = cities.CityNames()[row];
    const std::string& state = cities.States()[row];
    const std::string typed = Lowered(name);
    filters.insert("iCityId = " + std::to_string(cities.CityIds()[row]));
    filters.insert("strCity = " + Quoted(typed));
    filters.insert("strCity = " + Quoted(typed) + " and strStateOrProvince = " + Quoted(state));
    for (std::size_t length = 1; length <= 3 && length <= typed.size(); ++length) {
      filters.insert("strCity LIKE " + Quoted(typed.substr(0, length) + "%"));
    }
    for (std::size_t length = 0; length <= state.size(); ++length) {
      filters.insert("strStateOrProvince = " + Quoted(state.substr(0, length)));
    }
  }
  return {filters.begin(), filters.end()};
}

std::vector<std::string> AreaCodeFilters(const CAreaCodeSet& areaCodes) {
  std::set<std::string> filters(kJunkFilters.begin(), kJunkFilters.end());
  filters.insert("");
  for (std::size_t row = 0; row < areaCodes.CityIds().size(); ++row) {
    filters.insert("iCityId = " + std::to_string(areaCodes.CityIds()[row]));
    filters.insert("iAreaCode = " + std::to_string(areaCodes.AreaCodes()[row]));
  }
  return {filters.begin(), filters.end()};
}

// Names the filters whose selections differ (the first few of them).
template <class Set, class Scan>
std::vector<std::string> Differences(Set& set, const std::vector<std::string>& filters,
                                     Scan scan) {
  std::vector<std::string> differ;
  for (const std::string& filter : filters) {
    set.strFilter = filter;
    set.Requery();
    if (set.SelectedRows() != scan(set, filter) && differ.size() < 10) differ.push_back(filter);
  }
  return differ;
}

void ExpectSameSelections(const std::filesystem::path& folder) {
  CCitySet cities(folder);
  cities.Open();
  CAreaCodeSet areaCodes(folder);
  areaCodes.Open();
  ASSERT_GT(cities.RowCount(), 0u);
  ASSERT_GT(areaCodes.CityIds().size(), 0u);
  EXPECT_EQ(Differences(cities, CityFilters(cities), LinearSelectCities),
            std::vector<std::string>{});
  EXPECT_EQ(Differences(areaCodes, AreaCodeFilters(areaCodes), LinearSelectAreaCodes),
            std::vector<std::string>{});
}

class PickFirst : public CityChooser {
 public:
  std::optional<std::string> ChooseCity(const std::vector<std::string>& choices) override {
    return choices.front();
  }
};

// What the window shows after a search, in one text.
std::string Shown(const SearchFlow& flow) {
  std::string shown = flow.editQuery + "|" + flow.lblAreaCodes + "|" + flow.lblLargestCity + "|" +
                      flow.lblMajorCities + "|" + flow.strFoundState;
  for (const ListBox* list : {&flow.listAreaCodes, &flow.listLargestCity, &flow.listMajorCities,
                              &flow.listStateOrProvince, &flow.listTimeZone}) {
    for (const std::string& entry : list->Entries()) shown += "|" + entry;
  }
  return shown;
}

TEST(IndexEquivalenceTest, SampleSearchesShowWhatScanningSetsShow) {
  TempDir folder;
  WriteSampleData(folder.path());
  PickFirst chooser;
  CAreaCodeSet areaCodes(folder.path());
  CCitySet cities(folder.path());
  LinearAreaCodeSet linearAreaCodes(folder.path());
  LinearCitySet linearCities(folder.path());
  SearchFlow indexed(areaCodes, cities, chooser);
  SearchFlow linear(linearAreaCodes, linearCities, chooser);
  for (SearchFlow* flow : {&indexed, &linear}) {
    flow->today = [] { return CalendarDay{7, 4, 6}; };
    flow->OpenData();
  }
  std::set<std::string> inputs = {"san", "spr", "tro", "x", ", o", ", "};
  for (const CityFixture& city : SampleCities()) {
    inputs.insert(Lowered(city.name));
    inputs.insert(city.name + ", " + city.state);
    inputs.insert(", " + city.state);
    for (const std::int32_t code : city.areaCodes) inputs.insert(std::to_string(code));
  }
  for (const std::string& input : inputs) {
    indexed.editQuery = linear.editQuery = input;
    indexed.OnOK();
    linear.OnOK();
    EXPECT_EQ(Shown(indexed), Shown(linear)) << input;
  }
}

TEST(IndexEquivalenceTest, SampleDataSelectsAsTheScan) {
  TempDir folder;
  WriteSampleData(folder.path());
  ExpectSameSelections(folder.path());
}

TEST(IndexEquivalenceTest, ShippedDataSelectsAsTheScan) {
  const std::filesystem::path res = std::filesystem::path(TELQUEST_SOURCE_DIR) / "res";
  if (!std::filesystem::exists(res / "cit.bin") || !std::filesystem::exists(res / "arc.bin")) {
    GTEST_SKIP() << "the shipped data files are not there yet";
  }
  ExpectSameSelections(res);
}

}  // namespace
}  // namespace tq::test
