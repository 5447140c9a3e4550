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
  // The five lists as the window shows them: "codes|largest|major|state|zone",
  // the entries of a list joined by ";".
  std::string Shown() const {
    std::string shown;
    for (const ListBox* list : {&flow_.listAreaCodes, &flow_.listLargestCity,
                                &flow_.listMajorCities, &flow_.listStateOrProvince,
                                &flow_.listTimeZone}) {
      if (list != &flow_.listAreaCodes) shown += "|";
      for (const std::string& entry : list->Entries()) {
        shown += (&entry == &list->Entries().front() ? "" : ";") + entry;
      }
    }
    return shown;
  }
  std::string Headings() const {
    return flow_.lblAreaCodes + "|" + flow_.lblLargestCity + "|" + flow_.lblMajorCities;
  }
  const Entries& AreaCodes() const { return flow_.listAreaCodes.Entries(); }
  const Entries& Largest() const { return flow_.listLargestCity.Entries(); }

  test::TempDir dir_;
  ScriptedChooser chooser_;
  CountingBusy busy_;
  SearchFlow flow_{dir_.path(), chooser_, &busy_};
};

const std::string kNoCities = std::string("|") + kNoCitiesFound + "|||";
const std::string kDayton937 = "937|Dayton|Bellbrook;Dayton;Kettering|Ohio (OH)|Eastern Standard Time";
const std::string kSingular = "Area code:|Largest city in area code:|Major cities (3) in area code:";

TEST_F(SearchFlowTest, StartsWithZerosThatFindNothing) {
  EXPECT_EQ(flow_.editQuery, "000");
  flow_.OnOK();
  EXPECT_EQ(Shown(), kNoCities);
}

TEST_F(SearchFlowTest, AreaCodeInputs) {
  for (const char* typed : {"937", " 937 ", "937 555 1234", "937-555-1234"}) {
    Search(typed);
    EXPECT_EQ(flow_.editQuery, "937") << typed;
    EXPECT_EQ(Shown(), kDayton937) << typed;
    EXPECT_EQ(flow_.strFoundState, "OH");
  }
  EXPECT_EQ(Headings(), kSingular);
}

TEST_F(SearchFlowTest, NumbersOutOfRangeOrZeroFindNothingAndKeepTheMap) {
  Search("937");
  for (const char* typed : {"99", "1000", "-212", "000", "0", "Dayton, OH 45402"}) {
    Search(typed);
    EXPECT_EQ(Shown(), kNoCities) << typed;
    EXPECT_EQ(flow_.editQuery, typed);
    EXPECT_EQ(flow_.strFoundState, "OH") << typed;
  }
  // Only the first two headings are reset.
  EXPECT_EQ(Headings(), kSingular);
}

TEST_F(SearchFlowTest, AreaCodeWithoutCities) {
  Search("555");
  EXPECT_EQ(Shown(), std::string("555|") + kNoCitiesFound + "||" + "|");
  EXPECT_EQ(flow_.listStateOrProvince.GetCount(), 1);  // one empty entry
  EXPECT_EQ(flow_.lblMajorCities, "Major cities (0) in area code:");
  EXPECT_EQ(flow_.strFoundState, "");
}

TEST_F(SearchFlowTest, CityAndState) {
  Search("Dayton, OH");
  EXPECT_EQ(Shown(), kDayton937);
  Search("dayton , texas");
  EXPECT_EQ(Shown(), "936|Dayton|Dayton|Texas (TX)|Central Standard Time (EST - 1.0 hours)");
  EXPECT_EQ(flow_.strFoundState, "TX");
  EXPECT_TRUE(chooser_.asked.empty());
}

TEST_F(SearchFlowTest, SeveralAreaCodesUsePluralHeadings) {
  Search("San Antonio, TX");
  // San Antonio is listed once, though it has both codes.
  EXPECT_EQ(Shown(), "210;726|San Antonio|San Antonio|Texas (TX)|"
                     "Central Standard Time (EST - 1.0 hours)");
  EXPECT_EQ(Headings(), "Area codes:|Largest city in area codes:|Major cities (1) in area codes:");
}

TEST_F(SearchFlowTest, PlacesThatFindNothing) {
  for (const char* typed : {"Dayton,", "Dayton OH", "", "   ", ", NewYork", ", Nowhere",
                            "Nowhere, OH", "Dayton, Ohio, USA"}) {
    Search("937");
    Search(typed);
    EXPECT_EQ(Largest(), Entries{kCityNotFound}) << typed;
    EXPECT_EQ(flow_.strFoundState, "") << typed;
  }
}

TEST_F(SearchFlowTest, StateOnlyListsCodesOfCitiesAboveTenThousand) {
  for (const char* typed : {", OH", ", oh", ",OH", "  ,  O H  ", ", Ohio", ", ohio"}) {
    Search(typed);
    EXPECT_EQ(Shown(), "419;937|Dayton|Bellbrook;Dayton;Findlay;Kettering;Sandusky|Ohio (OH)|"
                       "Eastern Standard Time") << typed;  // not Beallsville's 740
  }
  EXPECT_EQ(flow_.lblMajorCities, "Major cities (5) in area codes:");
  Search(", AK");  // no place above 10000: every place counts
  EXPECT_EQ(AreaCodes(), (Entries{"907"}));
  Search(", n");  // a state letter lists every matching province
  EXPECT_EQ(AreaCodes(), (Entries{"782", "867", "902"}));
  for (const char* typed : {", Qu\xE9" "bec", ", quebec", ", QC"}) {
    Search(typed);
    EXPECT_EQ(AreaCodes(), (Entries{"438", "450", "514"})) << typed;
  }
}

TEST_F(SearchFlowTest, SharedTerritoryLinesAndTextStates) {
  Search("867");
  EXPECT_EQ(Shown(), "867|Whitehorse|Whitehorse, YT;Yellowknife, NT|"
                     "Yukon (YT), Northwest Territories (NT) and Nunavut (NU)|"
                     "Mountain Standard Time (EST - 2.0 hours)");
  Search("902");
  EXPECT_EQ(Shown(), "902|Halifax|Charlottetown, PE;Halifax, NS|"
                     "Nova Scotia (NS) and Prince Edward Island (PE)|"
                     "Atlantic Standard Time (EST + 1.0 hours)");
  Search("782");
  EXPECT_EQ(Shown(), "782|Halifax|Halifax, NS|Nova Scotia (NS) and Prince Edward Island (PE)|"
                     "Atlantic Standard Time (EST + 1.0 hours)");
  Search("800");  // no time zone line, but an entry
  EXPECT_EQ(Shown(), "800|Toll-Free Service|Toll-Free Service|Non-geographic area code|");
  EXPECT_EQ(flow_.listTimeZone.GetCount(), 1);
  Search("242");
  EXPECT_EQ(flow_.listStateOrProvince.Entries(), Entries{"Bahamas"});
}

TEST_F(SearchFlowTest, DeDuplicationByPrefixAndTies) {
  Search("973");
  EXPECT_EQ(Shown().substr(0, 26), "973|Troy Hills|Troy Hills|");  // Troy begins Troy Hills
  Search("419");
  EXPECT_EQ(Largest(), Entries{"Sandusky"});  // a tie keeps the city reached first
}

TEST_F(SearchFlowTest, DaylightTimeFollowsTheDay) {
  flow_.today = [] { return kSummerDay; };
  Search("Dayton, OH");
  EXPECT_EQ(flow_.listTimeZone.Entries(), Entries{"Eastern Daylight Time"});
  Search("867");
  EXPECT_EQ(flow_.listTimeZone.Entries(), Entries{"Mountain Standard Time (EDT - 3.0 hours)"});
}

TEST_F(SearchFlowTest, CityAloneWithOneMatchIsLookedUpAtOnce) {
  Search("kettering");
  EXPECT_TRUE(chooser_.asked.empty());
  EXPECT_EQ(flow_.editQuery, "Kettering, Ohio");
  EXPECT_EQ(Shown(), kDayton937);
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
  EXPECT_EQ(Shown(), "417|Springfield|Springfield|Missouri (MO)|"
                     "Central Standard Time (EST - 1.0 hours)");
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
  EXPECT_EQ(Shown(), "||||");
  EXPECT_EQ(flow_.strFoundState, "OH");
  EXPECT_EQ(Headings(), "Area code:|Largest city in area code:|unchanged");
  EXPECT_EQ(flow_.editQuery, "springfield");
  chooser_.SetNextAnswer("Toll-Free Service, Non-geographic area code");
  Search("toll");  // the choice of a text state finds it again
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
  EXPECT_TRUE(flow_.OnDblclkMajorCities(flow_.listMajorCities.FindString("Kettering")));
  EXPECT_EQ(flow_.editQuery, "Kettering, Ohio ");
  EXPECT_EQ(Largest(), Entries{"Dayton"});
  EXPECT_TRUE(flow_.OnDblclkLargestCity(0));
  EXPECT_EQ(flow_.editQuery, "Dayton, Ohio ");
  EXPECT_FALSE(flow_.OnDblclkLargestCity(0));  // same text again: no search
  // A territory entry carries its own code; 867 keeps its shared largest city.
  Search("867");
  EXPECT_TRUE(flow_.OnDblclkMajorCities(1));
  EXPECT_EQ(flow_.editQuery, "Yellowknife, NT");
  EXPECT_EQ(Shown().substr(0, 15), "867|Whitehorse|");
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
           {", New York", false, "", "NY"},
           {", Qu\xE9" "bec", false, "", "QC"},
           {", newfoundland", false, "", "NL"},
           {",  O h ", false, "", "Oh"},  // no name: the letters only
           {", NewYork", false, "", "NewYork"},
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
