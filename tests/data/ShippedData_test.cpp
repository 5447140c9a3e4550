// Checks on the data files we ship, through the lookup itself: every place
// can be typed, and stored facts that a generator fix once changed stay so.
// (tools/data/check_data.py checks the files' structure and known answers.)
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "base/Text.h"
#include "data/AreaCodeSet.h"
#include "data/CitySet.h"
#include "data/PlaceKinds.h"
#include "lookup/CodePlaces.h"
#include "lookup/SearchFlow.h"
#include "time/ZoneLaw.h"

namespace tq {
namespace {

const std::filesystem::path kShipped = std::filesystem::path(TELQUEST_SOURCE_DIR) / "res";

struct FirstChoice : CityChooser {
  CityChoiceReply ChooseCity(const std::vector<CityChoice>& choices) override {
    return {CityChoiceReply::Kind::kChosen, choices.front().text};
  }
};

class ShippedData : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kShipped / "cit.bin")) GTEST_SKIP() << "no shipped data";
    flow_.OpenData();
  }
  void Search(const std::string& text) { flow_.Search(text); }
  FirstChoice chooser_;
  SearchFlow flow_{kShipped, chooser_};
};

// Typed in lower case without accents, every place is found by its full
// name, alone and with its state.
TEST_F(ShippedData, EveryPlaceIsFoundTypedPlainly) {
  CCitySet cities(kShipped);
  cities.Open();
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

// ctz.bin and cit.bin are written by different steps: ctz.bin is made for
// this cit.bin, every geographic place has a zone, and no other place has one.
TEST_F(ShippedData, EveryGeographicPlaceAndNoOtherHasAZone) {
  const CCitySet& cities = flow_.Cities();
  ZoneLaw law;
  ASSERT_EQ(law.OpenFor(kShipped, cities).text, "");
  std::vector<std::uint32_t> wrong;
  for (std::uint32_t row = 0; row < cities.RowCount(); ++row) {
    const auto id = static_cast<std::int32_t>(cities.CityIds()[row]);
    if ((law.ZoneOfPlace(id) >= 0) != HasLocalClock(cities.TimeZones()[row])) {
      wrong.push_back(cities.CityIds()[row]);
    }
  }
  EXPECT_TRUE(wrong.empty()) << wrong.size() << " places, the first " << wrong.front();
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
      {"Boise", "ID", -2, 220000, 250000},        // the census's "Boise City"
      {"Honolulu", "HI", -5, 300000, 400000},     // the census's "Urban Honolulu"
      {"Lexington", "KY", 0, 300000, 350000},     // the census's "Lexington-Fayette"
      {"Mayag\xFC" "ez", "PR", 1, 60000, 80000},  // a municipio, as it writes itself
  };
  const CCitySet& cities = flow_.Cities();
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
           {"763", "Minneapolis", false}, {"301", "Columbia", false},
           {"516", "Hempstead", true}, {"208", "Boise", true},
           {"649", "Providenciales", true}}) {
    Search(code);
    EXPECT_EQ(flow_.GetAnswer().largestCity.entries.at(0) == largest, is) << code;
  }
}

// Each code is laid out at its first search: a code, and a search of places
// on several codes, answer the same whatever was searched before them.
TEST_F(ShippedData, AnswersDoNotDependOnWhatWasSearchedBefore) {
  FirstChoice chooser;
  SearchFlow backwards(kShipped, chooser);
  for (SearchFlow* flow : {&flow_, &backwards}) {
    flow->SetNow([] { return std::int64_t{1783166400}; });
    flow->OpenData();
  }
  // Each flow has its own zone law, which answers hold by pointer.
  const auto same = [](Answer a, Answer b) {
    a.times.law = b.times.law = nullptr;
    return a == b;
  };
  std::vector<std::shared_ptr<const Answer>> answers;
  for (int code = 100; code <= 999; ++code) answers.push_back(flow_.Search(std::to_string(code)));
  const std::shared_ptr<const Answer> state = flow_.Search(", TX");
  EXPECT_TRUE(same(*backwards.Search(", TX"), *state));
  for (int code = 999; code >= 100; --code) {
    EXPECT_TRUE(same(*backwards.Search(std::to_string(code)), *answers[static_cast<std::size_t>(code - 100)]))
        << code;
  }
}

// Codes merged in one answer compare their places' states by number: one
// number for each state text, over every code, whichever is laid out first.
TEST_F(ShippedData, EveryCodeNumbersTheStatesAlike) {
  CCitySet cities(kShipped);
  CAreaCodeSet areaCodes(kShipped);
  cities.Open();
  areaCodes.Open();
  const PlaceKinds kinds;
  CodePlaces layout;
  layout.Build(cities, areaCodes, nullptr, kinds);
  std::map<std::uint32_t, std::string> textOf;
  std::map<std::string, std::uint32_t> numberOf;
  for (int code = 999; code >= 100; --code) {
    const CodePlaces::Code* found = layout.Find(code);
    if (!found) continue;
    for (const CodePlaces::Place& place : layout.PlacesOf(*found)) {
      const std::string state(cities.States()[place.row]);
      EXPECT_EQ(textOf.try_emplace(place.state, state).first->second, state) << code;
      EXPECT_EQ(numberOf.try_emplace(state, place.state).first->second, place.state) << code;
    }
  }
  EXPECT_GT(numberOf.size(), 60u);
}

// Places people live, typed as they write them, answer with their codes;
// codes in service since the last report answer too.
TEST_F(ShippedData, PlacesAreFoundAsResidentsWriteThem) {
  for (const auto& [query, code] : {std::pair{"lakewood, nj", "732"}, {"port st lucie, fl", "772"},
           {"Port Saint Lucie, FL", "772"}, {"fort st. john, bc", "250"},
           {"east st louis, il", "618"}, {"quebec, qc", "418"}, {"mayaguez, pr", "787"},
           {"surprise, az", "623"}, {"sault sainte marie, on", "705"},
           {"val-des-sources, qc", "819"}, {"utqiagvik, ak", "907"}, {"saanich, bc", "250"},
           {"hempstead, ny", "516"}, {"471", "471"}, {"465", "465"}, {"483", "483"},
           {"georgina, on", "905"}, {"clarington, on", "905"}, {"dayton ohio", "937"},
           {"adak, ak", "907"}, {"providenciales", "649"}, {"Clinton Township, MI", "586"},
           {"lakewood twp, nj", "732"}, {"lincoln, on", "905"}, {"montreal-est, qc", "514"},
           {"burbank, ca", "818"}, {"rochester, ny", "585"}, {"los angeles, ca", "310"},
           {"wilkes barre, pa", "570"}, {"st johns, nl", "709"}, {"ofallon, mo", "636"},
           {"saint georges, nl", "709"}, {"saint georges, qc", "418"}, {"queens, ny", "718"},
           {"bronx, ny", "718"}, {"manhattan, ny", "212"}, {"new york, ny", "718"},
           {"dollard-des-ormeaux, qc", "514"}, {"hollywood, ca", "323"}, {"methuen, ma", "978"},
           {"christiansted, vi", "340"}, {"tinian, mp", "670"}, {"dededo, gu", "671"},
           {"saint-alexandre, qc", "450"}, {"kuujjuaq, qc", "819"}, {"britannia no. 502, sk", "306"},
           {"Smoky River No. 130, AB", "780"}, {"coeur d\x92" "alene, id", "208"}}) {
    Search(query);
    const Answer& answer = flow_.GetAnswer();
    bool found = false;
    for (const std::string& entry : answer.areaCodes.entries) {
      found = found || entry.starts_with(code);
    }
    EXPECT_TRUE(found && answer.outcome == AnswerOutcome::kFound) << query;
  }
}

}  // namespace
}  // namespace tq
