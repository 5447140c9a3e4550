#include "lookup/SearchFlow.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "support/TestData.h"

namespace tq {
namespace {

using Entries = std::vector<std::string>;

// Answers the city choice from pre-set answers and remembers the questions.
class ScriptedChooser : public CityChooser {
 public:
  void SetNextAnswer(std::optional<std::string> answer) { answers_.push_back(std::move(answer)); }
  std::optional<std::string> ChooseCity(const std::vector<std::string>& choices) override {
    asked.push_back(choices);
    if (answers_.empty()) return std::nullopt;
    auto answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  std::vector<std::vector<std::string>> asked;

 private:
  std::deque<std::optional<std::string>> answers_;
};

class CountingBusy : public BusyIndicator {
 public:
  void Begin() override { ++depth, ++begun; }
  void End() override { --depth; }
  int depth = 0;
  int begun = 0;
};

constexpr CalendarDay kWinterDay{1, 15, 5};
constexpr CalendarDay kSummerDay{7, 15, 4};

class SearchFlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteSampleData(dir_.path());
    flow_.today = [] { return kWinterDay; };
    flow_.OpenData();
  }
  void Search(const std::string& text) {
    flow_.editQuery = text;
    flow_.OnOK();
  }
  const Entries& AreaCodes() const { return flow_.listAreaCodes.Entries(); }
  const Entries& Largest() const { return flow_.listLargestCity.Entries(); }
  const Entries& Major() const { return flow_.listMajorCities.Entries(); }
  const Entries& State() const { return flow_.listStateOrProvince.Entries(); }
  const Entries& Zone() const { return flow_.listTimeZone.Entries(); }

  test::TempDir dir_;
  ScriptedChooser chooser_;
  CountingBusy busy_;
  SearchFlow flow_{dir_.path(), chooser_, &busy_};
};

TEST_F(SearchFlowTest, StartsWithZerosThatFindNothing) {
  EXPECT_EQ(flow_.editQuery, "000");
  flow_.OnOK();
  EXPECT_EQ(Largest(), Entries{kNoCitiesFound});
  EXPECT_TRUE(AreaCodes().empty());
}

TEST_F(SearchFlowTest, AreaCodeInputs) {
  for (const char* typed : {"937", " 937 ", "937 555 1234", "937-555-1234"}) {
    Search(typed);
    EXPECT_EQ(flow_.editQuery, "937") << typed;
    EXPECT_EQ(AreaCodes(), Entries{"937"}) << typed;
    EXPECT_EQ(Largest(), Entries{"Dayton"}) << typed;
    EXPECT_EQ(Major(), (Entries{"Bellbrook", "Dayton", "Kettering"})) << typed;
    EXPECT_EQ(State(), Entries{"Ohio (OH)"}) << typed;
    EXPECT_EQ(Zone(), Entries{"Eastern Standard Time"}) << typed;
    EXPECT_EQ(flow_.strFoundState, "OH");
  }
  EXPECT_EQ(flow_.lblAreaCodes, "Area code:");
  EXPECT_EQ(flow_.lblLargestCity, "Largest city in area code:");
  EXPECT_EQ(flow_.lblMajorCities, "Major cities (3) in area code:");
}

TEST_F(SearchFlowTest, NumbersOutOfRangeOrZeroFindNothingAndKeepTheMap) {
  Search("937");
  for (const char* typed : {"99", "1000", "-212", "000", "0", "Dayton, OH 45402"}) {
    Search(typed);
    EXPECT_EQ(Largest(), Entries{kNoCitiesFound}) << typed;
    EXPECT_TRUE(AreaCodes().empty() && Major().empty() && State().empty() && Zone().empty());
    EXPECT_EQ(flow_.editQuery, typed);
    EXPECT_EQ(flow_.strFoundState, "OH") << typed;
  }
  // Only the first two headings are reset.
  EXPECT_EQ(flow_.lblAreaCodes, "Area code:");
  EXPECT_EQ(flow_.lblMajorCities, "Major cities (3) in area code:");
}

TEST_F(SearchFlowTest, AreaCodeWithoutCities) {
  Search("555");
  EXPECT_EQ(AreaCodes(), Entries{"555"});
  EXPECT_EQ(Largest(), Entries{kNoCitiesFound});
  EXPECT_EQ(State(), Entries{""});
  EXPECT_EQ(flow_.lblMajorCities, "Major cities (0) in area code:");
  EXPECT_EQ(flow_.strFoundState, "");
}

TEST_F(SearchFlowTest, CityAndState) {
  Search("Dayton, OH");
  EXPECT_EQ(AreaCodes(), Entries{"937"});
  EXPECT_EQ(Largest(), Entries{"Dayton"});
  EXPECT_EQ(State(), Entries{"Ohio (OH)"});
  Search("dayton , texas");
  EXPECT_EQ(Largest(), Entries{"Dayton"});
  EXPECT_EQ(State(), Entries{"Texas (TX)"});
  EXPECT_EQ(Zone(), Entries{"Central Standard Time (EST - 1.0 hours)"});
  EXPECT_EQ(flow_.strFoundState, "TX");
  EXPECT_TRUE(chooser_.asked.empty());
}

TEST_F(SearchFlowTest, SeveralAreaCodesUsePluralHeadings) {
  Search("San Antonio, TX");
  EXPECT_EQ(AreaCodes(), (Entries{"210", "726"}));
  EXPECT_EQ(flow_.lblAreaCodes, "Area codes:");
  EXPECT_EQ(flow_.lblLargestCity, "Largest city in area codes:");
  EXPECT_EQ(flow_.lblMajorCities, "Major cities (1) in area codes:");
  EXPECT_EQ(Major(), Entries{"San Antonio"});  // once, though it has both codes
}

TEST_F(SearchFlowTest, PlacesThatFindNothing) {
  for (const char* typed : {"Dayton,", "Dayton OH", "", "   ", ", ohio", ", New York",
                            "Nowhere, OH", ", AK", "Dayton, Ohio, USA"}) {
    Search("937");
    Search(typed);
    EXPECT_EQ(Largest(), Entries{kCityNotFound}) << typed;
    EXPECT_EQ(flow_.strFoundState, "") << typed;
  }
}

TEST_F(SearchFlowTest, StateOnlyListsCodesOfCitiesAboveTenThousand) {
  for (const char* typed : {", OH", ", oh", ",OH", "  ,  O H  "}) {
    Search(typed);
    EXPECT_EQ(AreaCodes(), (Entries{"419", "937"})) << typed;  // not Beallsville's 740
    EXPECT_EQ(Largest(), Entries{"Dayton"});
    EXPECT_EQ(State(), Entries{"Ohio (OH)"});
  }
  EXPECT_EQ(flow_.lblMajorCities, "Major cities (5) in area codes:");
}

TEST_F(SearchFlowTest, StateLetterListsEveryMatchingProvince) {
  Search(", n");
  EXPECT_EQ(AreaCodes(), (Entries{"867", "902"}));
}

TEST_F(SearchFlowTest, SharedTerritoryLines) {
  Search("867");
  EXPECT_EQ(State(), Entries{"Yukon Territory (YT) and Northwest Territories (NT)"});
  EXPECT_EQ(Major(), (Entries{"Whitehorse, YT", "Yellowknife, NT"}));
  EXPECT_EQ(Zone(), Entries{"Mountain Standard Time (EST - 2.0 hours)"});
  Search("902");
  EXPECT_EQ(State(), Entries{"Nova Scotia (NS) and Prince Edward Island (PE)"});
  EXPECT_EQ(Major(), (Entries{"Charlottetown, PE", "Halifax, NS"}));
  EXPECT_EQ(Largest(), Entries{"Halifax"});
}

TEST_F(SearchFlowTest, TextStatesStandAlone) {
  Search("800");
  EXPECT_EQ(State(), Entries{"Non-geographic area code"});
  EXPECT_EQ(Largest(), Entries{"Toll-Free Service"});
  EXPECT_EQ(Zone(), Entries{""});  // no time zone line, but an entry
  Search("242");
  EXPECT_EQ(State(), Entries{"Bahamas"});
}

TEST_F(SearchFlowTest, DeDuplicationByPrefix) {
  Search("973");
  EXPECT_EQ(Major(), Entries{"Troy Hills"});  // Troy begins Troy Hills
  EXPECT_EQ(Largest(), Entries{"Troy Hills"});
}

TEST_F(SearchFlowTest, TiesKeepTheCityReachedFirst) {
  Search("419");
  EXPECT_EQ(Largest(), Entries{"Sandusky"});
}

TEST_F(SearchFlowTest, DaylightTimeFollowsTheDay) {
  flow_.today = [] { return kSummerDay; };
  Search("Dayton, OH");
  EXPECT_EQ(Zone(), Entries{"Eastern Daylight Time"});
  Search("867");
  EXPECT_EQ(Zone(), Entries{"Mountain Standard Time (EDT - 3.0 hours)"});
}

TEST_F(SearchFlowTest, CityAloneWithOneMatchIsLookedUpAtOnce) {
  Search("kettering");
  EXPECT_TRUE(chooser_.asked.empty());
  EXPECT_EQ(flow_.editQuery, "Kettering, Ohio");
  EXPECT_EQ(AreaCodes(), Entries{"937"});
  EXPECT_EQ(Largest(), Entries{"Dayton"});
  Search("montreal");
  EXPECT_EQ(flow_.editQuery, "Montr\xE9" "al, Qu\xE9" "bec");
  EXPECT_EQ(flow_.strFoundState, "QC");
}

TEST_F(SearchFlowTest, CityAloneWithSeveralMatchesAsks) {
  chooser_.SetNextAnswer("Springfield, Missouri");
  Search("springfield");
  ASSERT_EQ(chooser_.asked.size(), 1u);
  EXPECT_EQ(chooser_.asked[0], (Entries{"Springfield, Illinois", "Springfield, Missouri",
                                        "Springfield, Massachusetts"}));
  EXPECT_EQ(flow_.editQuery, "Springfield, Missouri");
  EXPECT_EQ(AreaCodes(), Entries{"417"});
  EXPECT_EQ(State(), Entries{"Missouri (MO)"});
}

TEST_F(SearchFlowTest, PrefixOnlyMatchesAskEvenForOne) {
  chooser_.SetNextAnswer("Kettering, Ohio");
  Search("ketter");
  ASSERT_EQ(chooser_.asked.size(), 1u);
  EXPECT_EQ(chooser_.asked[0], Entries{"Kettering, Ohio"});
  EXPECT_EQ(Largest(), Entries{"Dayton"});
  chooser_.SetNextAnswer("San Antonio, Texas");
  Search("san");
  EXPECT_EQ(chooser_.asked[1], (Entries{"Sandusky, Ohio", "San Antonio, Texas"}));
  EXPECT_EQ(AreaCodes(), (Entries{"210", "726"}));
}

TEST_F(SearchFlowTest, CancelledChoiceShowsNothingAndKeepsTheMap) {
  Search("Dayton, OH");
  chooser_.SetNextAnswer(std::nullopt);
  flow_.lblMajorCities = "unchanged";
  Search("springfield");
  EXPECT_TRUE(Largest().empty() && AreaCodes().empty() && State().empty());
  EXPECT_EQ(flow_.strFoundState, "OH");
  EXPECT_EQ(flow_.lblAreaCodes, "Area code:");
  EXPECT_EQ(flow_.lblLargestCity, "Largest city in area code:");
  EXPECT_EQ(flow_.lblMajorCities, "unchanged");
  EXPECT_EQ(flow_.editQuery, "springfield");
}

TEST_F(SearchFlowTest, ChoiceOfATextStateFindsItAgain) {
  chooser_.SetNextAnswer("Toll-Free Service, Non-geographic area code");
  Search("toll");
  EXPECT_EQ(AreaCodes(), Entries{"800"});
}

TEST_F(SearchFlowTest, DoubleClickOnAnAreaCode) {
  Search("San Antonio, TX");
  EXPECT_TRUE(flow_.OnDblclkAreaCodes(1));
  EXPECT_EQ(flow_.editQuery, "726");
  EXPECT_EQ(AreaCodes(), Entries{"726"});
  EXPECT_FALSE(flow_.OnDblclkAreaCodes(0));  // the field already holds it
  EXPECT_FALSE(flow_.OnDblclkAreaCodes(-1));
  EXPECT_FALSE(flow_.OnDblclkAreaCodes(5));
}

TEST_F(SearchFlowTest, DoubleClickOnACity) {
  Search("937");
  const int kettering = flow_.listMajorCities.FindString("Kettering");
  EXPECT_TRUE(flow_.OnDblclkMajorCities(kettering));
  EXPECT_EQ(flow_.editQuery, "Kettering, Ohio ");
  EXPECT_EQ(Largest(), Entries{"Dayton"});
  EXPECT_TRUE(flow_.OnDblclkLargestCity(0));
  EXPECT_EQ(flow_.editQuery, "Dayton, Ohio ");
  EXPECT_FALSE(flow_.OnDblclkLargestCity(0));  // same text again: no search
}

TEST_F(SearchFlowTest, DoubleClickOnATerritoryEntryUsesItsOwnCode) {
  Search("867");
  EXPECT_TRUE(flow_.OnDblclkMajorCities(1));
  EXPECT_EQ(flow_.editQuery, "Yellowknife, NT");
  EXPECT_EQ(AreaCodes(), Entries{"867"});
  EXPECT_EQ(Largest(), Entries{"Whitehorse"});  // the largest of 867, which it shares
  EXPECT_EQ(flow_.strFoundState, "YT");
}

TEST_F(SearchFlowTest, DoubleClickOnAMessageSearchesItAsACity) {
  Search("Nowhere, OH");
  EXPECT_TRUE(flow_.OnDblclkLargestCity(0));
  EXPECT_EQ(flow_.editQuery, std::string(kCityNotFound) + ", ");
  EXPECT_EQ(Largest(), Entries{kCityNotFound});
  Search("99");
  EXPECT_TRUE(flow_.OnDblclkLargestCity(0));
  EXPECT_EQ(Largest(), Entries{kCityNotFound});
}

TEST_F(SearchFlowTest, WaitCursorIsShownAndAlwaysHiddenAgain) {
  chooser_.SetNextAnswer("Springfield, Illinois");
  for (const char* typed : {"937", "Dayton, OH", ", OH", "springfield"}) {
    const int before = busy_.begun;
    Search(typed);
    EXPECT_GT(busy_.begun, before) << typed;
    EXPECT_EQ(busy_.depth, 0) << typed;
  }
}

TEST(SearchFlowWithoutData, EveryInputEndsInAMessage) {
  test::TempDir empty;
  ScriptedChooser chooser;
  SearchFlow flow(empty.path(), chooser);
  flow.OpenData();
  for (const char* typed : {"937", "Dayton, OH", ", OH", "springfield", "000", ""}) {
    flow.editQuery = typed;
    flow.OnOK();
    ASSERT_EQ(flow.listLargestCity.GetCount(), 1) << typed;
    EXPECT_TRUE(flow.listLargestCity.GetText(0) == kNoCitiesFound ||
                flow.listLargestCity.GetText(0) == kCityNotFound);
  }
  EXPECT_TRUE(chooser.asked.empty());
}

TEST(SplitCityState, Forms) {
  struct Case {
    const char* typed;
    bool split;
    const char* city;
    const char* state;
  };
  for (const Case& c : std::vector<Case>{
           {"Dayton, OH", true, "Dayton", "OH"},
           {"Dayton  ,  OH", true, "Dayton", "OH"},
           {"Dayton , oh", true, "Dayton", "oh"},
           {"Dayton, Ohio", true, "Dayton", "OH"},
           {"Dayton, Ohio ", true, "Dayton", "OH"},
           {"Dayton, Nowhere", true, "Dayton", "Nowhere"},
           {"Dayton,", true, "Dayton", ""},
           {"Dayton,OH", true, "Dayton", "OH"},
           {"Dayton", false, "Dayton", ""},
           {"  Dayton  Ohio ", false, "Dayton Ohio", ""},
           {", OH", false, "", "OH"},
           {", New York", false, "", "NewYork"},
           {",", false, "", ""},
           {"", false, "", ""},
           {"a, b, c", true, "a", "b, c"},
       }) {
    std::string city = "old", state;
    EXPECT_EQ(SplitCityState(c.typed, city, state), c.split) << c.typed;
    EXPECT_EQ(city, c.city) << c.typed;
    EXPECT_EQ(state, c.state) << c.typed;
  }
}

TEST(SplitCityState, AppendsToTheGivenState) {
  std::string city, state = "O";
  EXPECT_TRUE(SplitCityState("Dayton, H", city, state));
  EXPECT_EQ(state, "OH");
}

TEST(CollapseSpaces, OnlyBlanksCollapse) {
  for (const auto& [typed, collapsed] : std::vector<std::pair<std::string, std::string>>{
           {"", ""}, {"   ", ""}, {" a  b ", "a b"}, {"a\t\tb", "a\t\tb"}, {"a  ", "a"}}) {
    std::string text = typed;
    CollapseSpaces(text);
    EXPECT_EQ(text, collapsed) << typed;
  }
}

}  // namespace
}  // namespace tq
