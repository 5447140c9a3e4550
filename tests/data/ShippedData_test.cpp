// Checks on the data files we ship: every place can be typed, and the
// well-known lookups answer as a user expects.
#include <gtest/gtest.h>

#include <filesystem>
#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <tuple>

#include "data/CitySet.h"
#include "data/Text.h"
#include "lookup/SearchFlow.h"

namespace tq {
namespace {

const std::filesystem::path kShipped = std::filesystem::path(TELQUEST_SOURCE_DIR) / "res";

class FirstChoice : public CityChooser {
 public:
  std::optional<std::string> ChooseCity(const std::vector<std::string>& choices) override {
    asked = choices;
    return choices.front();
  }
  std::vector<std::string> asked;
};

class ShippedData : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kShipped / "cit.bin")) GTEST_SKIP() << "no shipped data";
    flow_.OpenData();
  }
  void Search(const std::string& text) {
    flow_.editQuery = text;
    flow_.OnOK();
  }
  FirstChoice chooser_;
  SearchFlow flow_{kShipped, chooser_};
};

TEST_F(ShippedData, LoadsCompletely) {
  EXPECT_GT(flow_.setCities.RowCount(), 10000u);
  EXPECT_GT(flow_.setAreaCodes.AreaCodes().size(), 15000u);
  std::set<std::uint32_t> ids(flow_.setCities.CityIds().begin(), flow_.setCities.CityIds().end());
  EXPECT_EQ(ids.size(), flow_.setCities.RowCount()) << "city ids are unique";
  for (const std::uint32_t id : flow_.setAreaCodes.CityIds()) {
    ASSERT_TRUE(ids.count(id)) << "every link names a city: " << id;
  }
}

// Typed in lower case without accents, every place is found by its full
// name, alone and with its state.
TEST_F(ShippedData, EveryPlaceIsFoundTypedPlainly) {
  CCitySet& cities = flow_.setCities;
  std::vector<std::string> missed;
  for (std::uint32_t row = 0; row < cities.RowCount(); ++row) {
    const std::string city = "strCity = '" + PlainLowered(cities.CityNames()[row]) + "'";
    for (const std::string& filter :
         {city, city + " and strStateOrProvince = '" + Lowered(cities.States()[row]) + "'"}) {
      cities.strFilter = filter;
      cities.Requery();
      const auto& found = cities.SelectedRows();
      if (!std::binary_search(found.begin(), found.end(), row)) missed.push_back(filter);
    }
  }
  std::string shown;
  for (std::size_t i = 0; i < missed.size() && i < 20; ++i) shown += Cp1252ToUtf8(missed[i]) + "\n";
  EXPECT_TRUE(missed.empty()) << missed.size() << " not found, among them:\n" << shown;
}

TEST_F(ShippedData, PlacesAreStoredAsTheyAre) {
  const struct {
    const char* name;
    const char* state;
    float timeZone;
    std::uint32_t minPopulation, maxPopulation;
  } kPlaces[] = {
      {"Pensacola", "FL", -1, 40000, 100000},     // Central, though most of Florida is Eastern
      {"Iqaluit", "NU", 0, 5000, 10000},          // Nunavut, Eastern time
      {"McAllen", "TX", -1, 130000, 160000},      // capitals as the city writes them
      {"Augusta", "GA", 0, 190000, 220000},       // the consolidated city, not the old town
      {"Louisville", "KY", 0, 600000, 700000},    // the metro government's balance
      {"Truth or Consequences", "NM", -2, 5000, 8000},  // written out, not "Truth Or Cnsqncs"
  };
  const CCitySet& cities = flow_.setCities;
  for (const auto& place : kPlaces) {
    std::size_t row = 0;
    while (row < cities.RowCount() &&
           (cities.CityNames()[row] != place.name || cities.States()[row] != place.state)) {
      ++row;
    }
    ASSERT_LT(row, cities.RowCount()) << place.name;
    EXPECT_EQ(cities.TimeZones()[row], place.timeZone) << place.name;
    EXPECT_GE(cities.Populations()[row], place.minPopulation) << place.name;
    EXPECT_LE(cities.Populations()[row], place.maxPopulation) << place.name;
  }
}

TEST_F(ShippedData, AreaCodesNameTheirOwnLargestCity) {
  for (const auto& [code, largest, is] : {std::tuple{"861", "Peoria", true}, {"624", "Buffalo", true},
           {"686", "Richmond", true}, {"564", "Seattle", true}, {"782", "Halifax", true},
           {"909", "Riverside", false}, {"952", "Minneapolis", false},
           {"763", "Minneapolis", false}, {"301", "Columbia", false}}) {
    Search(code);
    EXPECT_EQ(flow_.listLargestCity.GetText(0) == largest, is) << code;
  }
}

TEST_F(ShippedData, WellKnownLookups) {
  for (const auto& [typed, largest] : {std::pair{"Dayton, OH", "Dayton"}, {"212", "New York"},
                                       {"867", "Whitehorse"}, {"montreal", "Montr\xE9" "al"}}) {
    Search(typed);
    EXPECT_EQ(flow_.listLargestCity.GetText(0), largest) << typed;
  }
  Search(", OH");
  for (const char* code : {"216", "330", "419", "513", "614", "937"}) {
    EXPECT_GE(flow_.listAreaCodes.FindString(code), 0) << code;
  }
  Search("springfield");
  std::set<std::string> states;
  for (const std::string& choice : chooser_.asked) states.insert(choice.substr(choice.find(',')));
  EXPECT_GE(states.size(), 5u);
}

TEST_F(ShippedData, MapCitiesAreSpelledAsTheMapKnowsThem) {
  for (const char* place : {"Qu\xE9" "bec City, QC", "Saint Louis, MO", "Winston-Salem, NC",
                            "Saint Petersburg, FL", "East Saint Louis, IL", "Jersey City, NJ"}) {
    Search(place);
    EXPECT_NE(flow_.listLargestCity.GetText(0), kCityNotFound) << place;
    EXPECT_NE(flow_.strFoundState, "") << place;
  }
}

}  // namespace
}  // namespace tq
