// Checks on the data files we ship: every place can be typed, and the
// well-known lookups answer as a user expects.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "data/CitySet.h"
#include "data/Text.h"
#include "lookup/SearchFlow.h"
#include "names/CityNames.h"

namespace tq {
namespace {

const std::filesystem::path kShipped = std::filesystem::path(TELQUEST_SOURCE_DIR) / "res";

// What a user without accent keys types: lower case, plain letters.
std::string TypedPlainly(const std::string& name) {
  static const std::map<unsigned char, char> kPlain = {
      {0xE0, 'a'}, {0xE1, 'a'}, {0xE2, 'a'}, {0xE3, 'a'}, {0xE4, 'a'}, {0xE5, 'a'},
      {0xE7, 'c'}, {0xE8, 'e'}, {0xE9, 'e'}, {0xEA, 'e'}, {0xEB, 'e'}, {0xEC, 'i'},
      {0xED, 'i'}, {0xEE, 'i'}, {0xEF, 'i'}, {0xF1, 'n'}, {0xF2, 'o'}, {0xF3, 'o'},
      {0xF4, 'o'}, {0xF5, 'o'}, {0xF6, 'o'}, {0xF9, 'u'}, {0xFA, 'u'}, {0xFB, 'u'},
      {0xFC, 'u'}, {0xFD, 'y'}, {0xFF, 'y'}};
  std::string typed = Lowered(name);
  for (char& c : typed) {
    const auto it = kPlain.find(static_cast<unsigned char>(c));
    if (it != kPlain.end()) c = it->second;
  }
  return typed;
}

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

TEST_F(ShippedData, AlmostEveryPlaceCanBeTypedWithoutAccents) {
  const auto& names = flow_.setCities.CityNames();
  std::vector<std::string> untypable;
  for (const std::string& name : names) {
    std::string typed = TypedPlainly(name);
    NormalizeCityName(typed);
    std::string accented = typed;
    AccentCityName(accented);
    if (typed != name && accented != name) untypable.push_back(Cp1252ToUtf8(name));
  }
  EXPECT_LT(untypable.size() * 100, names.size()) << "more than 1% cannot be typed";
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
            "Yukon Territory (YT) and Northwest Territories (NT)");
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
