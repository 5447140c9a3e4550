// Checks on the data files we ship: every place can be typed, and the
// well-known lookups answer as a user expects.
#include <gtest/gtest.h>

#include <filesystem>
#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>

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

// The stored time zone and population of a place, if there is one.
struct Record {
  float timeZone;
  std::uint32_t population;
};
std::optional<Record> FindRecord(const CCitySet& cities, const std::string& name,
                                 const std::string& state) {
  for (std::size_t row = 0; row < cities.RowCount(); ++row) {
    if (cities.CityNames()[row] == name && cities.States()[row] == state) {
      return Record{cities.TimeZones()[row], cities.Populations()[row]};
    }
  }
  return std::nullopt;
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
  for (const auto& place : kPlaces) {
    const auto found = FindRecord(flow_.setCities, place.name, place.state);
    ASSERT_TRUE(found) << place.name;
    EXPECT_EQ(found->timeZone, place.timeZone) << place.name;
    EXPECT_GE(found->population, place.minPopulation) << place.name;
    EXPECT_LE(found->population, place.maxPopulation) << place.name;
  }
}

TEST_F(ShippedData, AreaCodesNameTheirOwnLargestCity) {
  const struct {
    const char* code;
    const char* largest;
    bool is;
  } kCodes[] = {
      {"861", "Peoria", true},        {"624", "Buffalo", true},   {"686", "Richmond", true},
      {"564", "Seattle", true},       {"782", "Halifax", true},   {"909", "Riverside", false},
      {"952", "Minneapolis", false},  {"763", "Minneapolis", false}, {"301", "Columbia", false},
  };
  for (const auto& code : kCodes) {
    Search(code.code);
    EXPECT_EQ(flow_.listLargestCity.GetText(0) == code.largest, code.is) << code.code;
  }
}

TEST_F(ShippedData, WellKnownLookups) {
  Search("Dayton, OH");
  EXPECT_GE(flow_.listAreaCodes.FindString("937"), 0);
  EXPECT_EQ(flow_.listLargestCity.GetText(0), "Dayton");
  EXPECT_EQ(flow_.listStateOrProvince.GetText(0), "Ohio (OH)");

  Search("212");
  EXPECT_EQ(flow_.listLargestCity.GetText(0), "New York");

  Search("867");
  EXPECT_EQ(flow_.listStateOrProvince.GetText(0),
            "Yukon (YT), Northwest Territories (NT) and Nunavut (NU)");
  EXPECT_GE(flow_.listMajorCities.FindString("Whitehorse, YT"), 0);

  Search("902");
  EXPECT_EQ(flow_.listStateOrProvince.GetText(0), "Nova Scotia (NS) and Prince Edward Island (PE)");

  Search(", OH");
  for (const char* code : {"216", "330", "419", "513", "614", "937"}) {
    EXPECT_GE(flow_.listAreaCodes.FindString(code), 0) << code;
  }

  Search("springfield");
  std::set<std::string> states;
  for (const std::string& choice : chooser_.asked) states.insert(choice.substr(choice.find(',')));
  EXPECT_GE(states.size(), 5u);

  Search("montreal");
  EXPECT_EQ(flow_.listLargestCity.GetText(0), "Montr\xE9" "al");
  EXPECT_EQ(flow_.strFoundState, "QC");

  Search("800");
  EXPECT_EQ(flow_.listStateOrProvince.GetText(0), "Non-geographic area code");
  EXPECT_EQ(flow_.listTimeZone.GetText(0), "");
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
