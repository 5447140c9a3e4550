#include "lookup/SearchFlow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "data/Manifest.h"
#include "lookup/AnswerText.h"
#include "support/TestData.h"

namespace tq {
namespace {

using Entries = std::vector<std::string>;

// Answers the city choice from pre-set answers (then cancels) and remembers the questions.
struct ScriptedChooser : CityChooser {
  void SetNextAnswer(std::optional<std::string> answer) { answers.push_back(std::move(answer)); }
  CityChoiceReply ChooseCity(const std::vector<CityChoice>& choices) override {
    asked.emplace_back();
    for (const CityChoice& choice : choices) asked.back().push_back(choice.text);
    offered.push_back(choices);
    const std::optional<std::string> answer =
        asked.size() <= answers.size() ? answers[asked.size() - 1] : std::nullopt;
    if (!answer) return {};
    return {CityChoiceReply::Kind::kChosen, *answer};
  }
  std::vector<std::vector<CityChoice>> offered;
  std::vector<std::optional<std::string>> answers;
  std::vector<std::vector<std::string>> asked;
};

class CountingBusy : public BusyIndicator {
 public:
  void Begin() override { ++depth, ++begun; }
  void End() override { --depth; }
  int depth = 0;
  int begun = 0;
};

const std::int64_t kWinter = *ParseIsoInstant("2026-01-15T17:00Z");
const std::int64_t kSummer = *ParseIsoInstant("2026-07-15T17:00Z");

class SearchFlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteSampleData(dir_.path());
    flow_.SetNow([] { return kWinter; });
    flow_.OpenData();
  }
  void Search(const std::string& text) { flow_.Search(text); }
  const Answer& A() const { return flow_.GetAnswer(); }
  // The five lists as the window shows them: "codes|largest|major|state|zone",
  // the entries of a list joined by ";".
  std::string Shown() const {
    std::string shown;
    const Entries major = A().majorCities.entries.Texts();
    for (const Entries* list : {&A().areaCodes.entries, &A().largestCity.entries, &major,
                                &A().stateOrProvince, &A().times.zoneLine}) {
      if (list != &A().areaCodes.entries) shown += "|";
      for (const std::string& entry : *list) {
        shown += (&entry == &list->front() ? "" : ";") + entry;
      }
    }
    return shown;
  }
  std::string Headings() const {
    return A().areaCodes.heading + "|" + A().largestCity.heading + "|" + A().majorCities.heading;
  }
  const Entries& AreaCodes() const { return A().areaCodes.entries; }
  const Entries& Largest() const { return A().largestCity.entries; }

  test::TempDir dir_;
  ScriptedChooser chooser_;
  CountingBusy busy_;
  SearchFlow flow_{dir_.path(), chooser_, &busy_};
};

const std::string kNoCities = std::string("|") + kNoCitiesFound + "|||";
const std::string kDayton937 = "937|Dayton|Bellbrook;Dayton;Kettering|Ohio (OH)|Eastern Standard Time";
const std::string kSingular = "Area code:|Largest city in area code:|Major cities (3) in area code:";

// What a search shows, with the input field and the state of the map after it.
TEST_F(SearchFlowTest, WhatSearchesShow) {
  const std::string ohio = "Ohio (OH)|Eastern Standard Time";
  const std::string central = "Central Standard Time (EST - 1.0 hours)";
  const std::string kTerritories = "Yukon (YT), Northwest Territories (NT) and Nunavut (NU)";
  const struct {
    const char* typed;
    std::string shown;
    const char* field = nullptr;  // the input field after the search; null: as typed
    const char* state = "";  // null: whichever state came last
  } kCases[] = {
      {kInitialQuery, kNoCities, nullptr, ""},  // the field before the first search
      {"937", kDayton937, nullptr, "OH"},
      {" 937-555-1234 ", kDayton937, nullptr, "OH"},  // a full number stays as typed
      {"Dayton, OH", kDayton937, nullptr, "OH"},
      {"dayton , texas", "936|Dayton|Dayton|Texas (TX)|" + central, nullptr, "TX"},
      // San Antonio is listed once, though it has both codes.
      {"San Antonio, TX", "210;726|San Antonio|San Antonio|Texas (TX)|" + central, nullptr, "TX"},
      {"555", std::string("555|") + kNoCitiesFound + "|||"},  // a code without cities
      // A state alone lists the codes of its cities above ten thousand: not Beallsville's 740.
      {"  ,  O H  ", "419;937|Dayton|Bellbrook;Dayton;Findlay;Kettering;Sandusky|" + ohio, nullptr, "OH"},
      {", Qu\xE9" "bec", "438;450;514|Montr\xE9" "al|Laval;Montr\xE9" "al|Qu\xE9" "bec (QC)|Eastern Standard Time",
       nullptr, "QC"},
      // A state without a city above ten thousand lists the codes of all its places.
      {", AK", "907|Nome|Nome|Alaska (AK)|Alaska Standard Time (EST - 4.0 hours)", nullptr, "AK"},
      {", n", "782;867;902|Halifax|Charlottetown, PE;Halifax, NS;Whitehorse, YT;Yellowknife, NT|" +
                   kTerritories + "|Atlantic Standard Time (EST + 1.0 hours)", nullptr, "NS"},
      {"867", "867|Whitehorse|Whitehorse, YT;Yellowknife, NT|" + kTerritories +
                  "|Mountain Standard Time (EST - 2.0 hours)", nullptr, nullptr},
      {"902", "902|Halifax|Charlottetown, PE;Halifax, NS|Nova Scotia (NS) and Prince Edward Island "
              "(PE)|Atlantic Standard Time (EST + 1.0 hours)", nullptr, nullptr},
      // No time zone line, but an entry.
      {"800", "800|Toll-Free Service|Toll-Free Service|Non-geographic area code|", nullptr,
       "Non-geographic area code"},
      {"242", "242|Nassau|Nassau|Bahamas|", nullptr, "Bahamas"},
      // Troy is listed beside Troy Hills, whose name it begins.
      {"973", "973|Troy Hills|Troy;Troy Hills|New Jersey (NJ)|Eastern Standard Time", nullptr, "NJ"},
      {"419", "419|Sandusky|Findlay;Sandusky|" + ohio, nullptr, "OH"},  // a tie keeps the city reached first
      {"kettering", kDayton937, "Kettering, Ohio", "OH"},  // one city of the name: no choice
      // A city and its state without the comma.
      {"dayton oh", kDayton937, nullptr, "OH"},
      {"Dayton  Ohio", kDayton937, nullptr, "OH"},
      {"san antonio texas", "210;726|San Antonio|San Antonio|Texas (TX)|" + central, nullptr, "TX"},
      {"Troy Hills New Jersey", "973|Troy Hills|Troy;Troy Hills|New Jersey (NJ)|Eastern Standard Time", nullptr, "NJ"},
      {"montreal", "438;514|Montr\xE9" "al|Montr\xE9" "al|Qu\xE9" "bec (QC)|Eastern Standard Time",
       "Montr\xE9" "al, Qu\xE9" "bec", "QC"},
  };
  for (const auto& c : kCases) {
    Search(c.typed);
    EXPECT_EQ(Shown(), c.shown) << c.typed;
    EXPECT_EQ(A().query, c.field ? c.field : c.typed);
    if (c.state) {
      EXPECT_EQ(A().foundState, c.state) << c.typed;
    }
  }
  EXPECT_TRUE(chooser_.asked.empty());
}

TEST_F(SearchFlowTest, HeadingsAndNumbersOutOfRange) {
  Search("937");
  EXPECT_EQ(Headings(), kSingular);
  Search("San Antonio, TX");
  EXPECT_EQ(Headings(), "Area codes:|Largest city in area codes:|Major cities (1) in area codes:");
  Search("555");
  EXPECT_EQ(A().majorCities.heading, "Major cities (0) in area code:");
  Search("937");  // numbers out of range find nothing and keep the map and the third heading
  for (const char* typed : {"99", "-212", "Dayton 45402", "000", "Dayton 0"}) {
    Search(typed);
    EXPECT_EQ(Shown(), kNoCities) << typed;
    EXPECT_EQ(A().foundState, "OH") << typed;
  }
  EXPECT_EQ(Headings(), kSingular);
}

TEST_F(SearchFlowTest, PlacesThatFindNothing) {
  for (const char* typed : {"Dayton Utah", "Dayton NJ", "   ", ", Nowhere", "Nowhere, OH", "Dayton, Ohio, USA"}) {
    Search("937");
    Search(typed);
    EXPECT_EQ(Largest(), Entries{kCityNotFound}) << typed;
    EXPECT_EQ(A().foundState, "") << typed;
  }
}

TEST_F(SearchFlowTest, TimeZoneLineFollowsTheInstant) {
  flow_.SetNow([] { return kSummer; });
  Search("Dayton, OH");
  EXPECT_EQ(A().times.zoneLine, Entries{"Eastern Daylight Time"});
  Search("867");
  EXPECT_EQ(A().times.zoneLine, Entries{"Mountain Standard Time (EDT - 3.0 hours)"});
}

// The clocks: of the place searched (a typed place, the exchange's place of
// a number), never a neighbour's; else one per kind of time in force, and
// a split said, not picked. Yellowknife keeps Mountain time until November
// 2026 and then Central time all year, so 867 splits only from then on.
TEST_F(SearchFlowTest, ClocksOfThePlaceSearchedOrOfEachZone) {
  const std::int64_t y2027 = *ParseIsoInstant("2027-01-15T17:00Z");
  const struct {
    const char* typed;
    std::int64_t at;
    const char* clocks;  // "place time;..." then "|split|callable"
  } cases[] = {
      {"Kettering, OH", kWinter, "Kettering, OH 12:00|||yes"},
      {"(937) 294-1234", kWinter, "Kettering, OH 12:00|||yes"},
      {"937", kWinter, "Dayton, OH 12:00|||yes"},
      {"(937) 999-1234", kWinter, "Dayton, OH 12:00|||yes"},
      {", Bahamas", kWinter, "|||-"},
      {"Troy, NJ", kWinter, "|||-"},  // not Troy Hills' time
      {"867", kWinter, "Whitehorse, YT 10:00|||yes"},
      {"867", y2027, "Whitehorse, YT 10:00;Yellowknife, NT 11:00||867: Mountain and Central|-"},
      {"902", kWinter, "Halifax, NS 13:00|||yes"},
      {"Nome, AK", kWinter, "Nome, AK 08:00|||yes"},
  };
  for (const auto& c : cases) {
    Search(c.typed);
    std::string clocks;
    for (const LocalTimeLine& line : LocalTimesAt(A().times, c.at)) {
      clocks += (clocks.empty() ? "" : ";") + line.place + " " + Clock24(line.clock);
    }
    const std::optional<bool> callable = CallableAt(A().times, c.at);
    clocks += "||" + SplitZonesText(A().times, c.at) + "|" +
              (!callable ? "-" : *callable ? "yes" : "no");
    EXPECT_EQ(clocks, c.clocks) << c.typed;
  }
}

// Of places of one zone with as many people, the clock is of the one
// reached first: in one code, by its pair that comes first in arc.bin; over
// several codes, in the code the search met first (", OH" meets 222 through
// Aurora, the first place of the file, before 111).
TEST(SearchFlowClocks, EqualPlacesOfAZoneTheFirstReached) {
  test::TempDir dir;
  test::WriteDataFiles(dir.path(), {{1, "Aurora", "OH", "USA", 5000, 1, "0", {222}},
                                    {2, "Bexley", "OH", "USA", 5000, 1, "0", {111}},
                                    {3, "Canton", "OH", "USA", 5000, 1, "0", {222}}});
  ScriptedChooser chooser;
  SearchFlow flow(dir.path(), chooser);
  flow.OpenData();
  for (const auto& [typed, place] : {std::pair{"222", "Aurora, OH"}, {", OH", "Aurora, OH"}}) {
    const std::vector<LocalTimeLine> clocks = LocalTimesAt(flow.Search(typed)->times, kWinter);
    ASSERT_EQ(clocks.size(), 1u) << typed;
    EXPECT_EQ(clocks[0].place, place) << typed;
  }
}

// An answer stays whole however long it is held, whatever is searched after
// it: the window, the desktop search and tqlookup hold theirs.
TEST_F(SearchFlowTest, AnAnswerStaysWholeWhileHeld) {
  const std::shared_ptr<const Answer> first = flow_.Search("937");
  flow_.Search("Dayton, OH");
  flow_.Search(", OH");
  EXPECT_EQ(first->areaCodes.entries, Entries{"937"});
  EXPECT_EQ(first->largestCity.entries, Entries{"Dayton"});
}

// Without a readable zone law the answer has no clocks and no time zone
// line, and says why; never a time from elsewhere.
TEST(SearchFlowZoneLaw, DamagedTableIsTold) {
  test::TempDir dir;
  test::WriteSampleData(dir.path());
  std::filesystem::resize_file(dir / "tzl.bin", 4000);
  ScriptedChooser chooser;
  SearchFlow flow(dir.path(), chooser);
  flow.OpenData();
  const Answer& answer = *flow.Search("Dayton, OH");
  ASSERT_EQ(answer.problems.size(), 1u);
  EXPECT_EQ(answer.problems[0].file, "tzl.bin");
  EXPECT_EQ(answer.problems[0].problem, FileProblem::kDamaged);
  EXPECT_NE(answer.problems[0].text.find("tzl.bin"), std::string::npos) << answer.problems[0].text;
  EXPECT_TRUE(LocalTimesAt(answer.times, kWinter).empty());
  EXPECT_EQ(ZoneLineAt(answer.times, kWinter), Entries{""});
}

// A zone law that reads but that its manifest does not vouch for is told
// as damage and still tells the times.
TEST(SearchFlowZoneLaw, ALawItsManifestDoesNotListIsToldAndUsed) {
  test::TempDir dir;
  test::WriteSampleData(dir.path());
  test::WriteBytes(dir / kManifestFileName, "TQMANIFEST 9\n");
  ScriptedChooser chooser;
  SearchFlow flow(dir.path(), chooser);
  flow.OpenData();
  const Answer& answer = *flow.Search("Dayton, OH");
  EXPECT_EQ(flow.ZoneLawOutcome().problem, FileProblem::kDamaged);
  EXPECT_EQ(ZoneLineAt(answer.times, kWinter), Entries{"Eastern Standard Time"});
}

TEST_F(SearchFlowTest, SeveralMatchesOrABeginningAsk) {
  chooser_.SetNextAnswer("Springfield, Missouri");
  Search("springfield");
  ASSERT_EQ(chooser_.asked.size(), 1u);
  // Offered the most populous first, each with what tells it from its namesakes.
  const CityChoice missouri{"Springfield, Missouri", "Springfield", "MO", 169176, {417}, 61};
  EXPECT_EQ(chooser_.asked[0], (Entries{"Springfield, Missouri", "Springfield, Massachusetts",
                                        "Springfield, Illinois"}));
  EXPECT_EQ(chooser_.offered[0].at(0), missouri);
  EXPECT_EQ(A().query, "Springfield, Missouri");
  EXPECT_EQ(Shown(), "417|Springfield|Springfield|Missouri (MO)|"
                     "Central Standard Time (EST - 1.0 hours)");
  chooser_.SetNextAnswer("Kettering, Ohio");
  Search("ketter");  // the beginning of a name asks even for one city
  ASSERT_EQ(chooser_.asked.size(), 2u);
  EXPECT_EQ(chooser_.asked[1], Entries{"Kettering, Ohio"});
  EXPECT_EQ(Largest(), Entries{"Dayton"});
  chooser_.SetNextAnswer("San Antonio, Texas");
  Search("san");
  EXPECT_EQ(chooser_.asked[2], (Entries{"San Antonio, Texas", "Sandusky, Ohio"}));
  EXPECT_EQ(chooser_.offered[2].at(0).areaCodes, (std::vector<std::int32_t>{210, 726}));
  EXPECT_EQ(AreaCodes(), (Entries{"210", "726"}));
}

TEST_F(SearchFlowTest, CancelledChoiceShowsNothingAndKeepsTheMap) {
  Search(", OH");
  chooser_.SetNextAnswer(std::nullopt);
  Search("springfield");
  EXPECT_EQ(Shown(), "||||");
  EXPECT_EQ(A().outcome, AnswerOutcome::kCancelled);
  EXPECT_EQ(A().foundState, "OH");
  EXPECT_EQ(Headings(), "Area code:|Largest city in area code:|Major cities (5) in area codes:");
  EXPECT_EQ(A().query, "springfield");
  chooser_.SetNextAnswer("Toll-Free Service, Non-geographic area code");
  Search("toll");  // the choice of a text state finds it again
  EXPECT_EQ(AreaCodes(), Entries{"800"});
}

TEST_F(SearchFlowTest, DoubleClicks) {
  Search("San Antonio, TX");
  EXPECT_TRUE(flow_.OnDblclkAreaCodes(1));
  EXPECT_EQ(A().query, "726");
  EXPECT_EQ(AreaCodes(), Entries{"726"});
  EXPECT_FALSE(flow_.OnDblclkAreaCodes(0));  // the field already holds it
  EXPECT_FALSE(flow_.OnDblclkAreaCodes(-1));
  EXPECT_FALSE(flow_.OnDblclkAreaCodes(1));  // one past the last entry
  Search("937");
  EXPECT_TRUE(flow_.OnDblclkMajorCities(2));  // Kettering
  EXPECT_EQ(A().query, "Kettering, Ohio");
  EXPECT_EQ(Largest(), Entries{"Dayton"});
  EXPECT_TRUE(flow_.OnDblclkLargestCity(0));
  EXPECT_EQ(A().query, "Dayton, Ohio");
  EXPECT_FALSE(flow_.OnDblclkLargestCity(0));  // same text again: no search
  // A territory entry carries its own code; 867 keeps its shared largest city.
  Search("867");
  EXPECT_TRUE(flow_.OnDblclkMajorCities(1));
  EXPECT_EQ(A().query, "Yellowknife, Northwest Territories");
  EXPECT_EQ(Shown().substr(0, 15), "867|Whitehorse|");
  EXPECT_EQ(A().foundState, "YT");
  Search("Nowhere, OH");  // a message is searched as a city
  EXPECT_TRUE(flow_.OnDblclkLargestCity(0));
  EXPECT_EQ(A().query, std::string(kCityNotFound) + ", ");
  EXPECT_EQ(Largest(), Entries{kCityNotFound});
}

TEST_F(SearchFlowTest, WaitCursorIsShownAndAlwaysHiddenAgain) {
  chooser_.SetNextAnswer("Springfield, Illinois");
  for (const char* typed : {"937", ", OH", "springfield"}) {
    const int before = busy_.begun;
    Search(typed);
    EXPECT_GT(busy_.begun, before) << typed;
    EXPECT_EQ(busy_.depth, 0) << typed;
  }
}

// Codes that share their places list each once, and the state line is that
// of the last place of the last code even when it was listed before.
TEST(SearchFlowSharedPlaces, ListedOnceAndTheLastPlaceGivesTheState) {
  test::TempDir dir;
  test::WriteDataFiles(dir.path(), {{1, "Texarkana", "AR", "USA", 29000, 1, "-1", {903, 870}},
                                    {2, "Tyler", "TX", "USA", 105000, 1, "-1", {903}},
                                    {3, "Texarkana", "TX", "USA", 36000, 1, "-1", {903}}});
  ScriptedChooser chooser;
  SearchFlow flow(dir.path(), chooser);
  flow.OpenData();
  const Answer& answer = *flow.Search("Texarkana, AR");
  EXPECT_EQ(answer.areaCodes.entries, (Entries{"870", "903"}));
  EXPECT_EQ(answer.majorCities.entries, (Entries{"Texarkana", "Tyler"}));
  EXPECT_EQ(answer.stateOrProvince, Entries{"Arkansas (AR)"});
  EXPECT_EQ(answer.largestCity.entries, Entries{"Tyler"});
}

// Entries that carry their state are ordered without regard to case too, and
// namesakes differing only in case are listed once, as the one people mean,
// the others following in the order read.
TEST(SearchFlowSharedPlaces, EntriesWithTheirStateInListOrder) {
  test::TempDir dir;
  test::WriteDataFiles(dir.path(), {{1, "FORT SMITH", "NT", "Canada", 50, 0, "-2", {867}},
                                    {2, "Fort Liard", "NT", "Canada", 500, 0, "-2", {867}},
                                    {3, "fort good hope", "NT", "Canada", 550, 0, "-2", {867}},
                                    {4, "Fort smith", "NT", "Canada", 2500, 0, "-2", {867}},
                                    {5, "Fort Smith", "NT", "Canada", 90, 0, "-2", {867}}});
  ScriptedChooser chooser;
  SearchFlow flow(dir.path(), chooser);
  flow.OpenData();
  const std::shared_ptr<const Answer> answer = flow.Search("867");
  EXPECT_EQ(answer->majorCities.entries,
            (Entries{"fort good hope, NT", "Fort Liard, NT", "Fort smith, NT"}));
  std::vector<std::int32_t> ids;
  for (const PlaceFacts place : answer->places) ids.push_back(place.cityId);
  EXPECT_EQ(ids, (std::vector<std::int32_t>{3, 2, 4, 1, 5}));
}

// The places and major cities of answers read from different loaded data
// are equal when every figure and text reads the same.
TEST(SearchFlowSharedPlaces, PlacesEqualWhenTheyReadTheSame) {
  const auto answer = [](const std::string& name) {
    test::TempDir dir;
    test::WriteDataFiles(dir.path(), {{1, name, "NT", "Canada", 50, 0, "-2", {867}},
                                      {2, "Inuvik", "NT", "Canada", 3000, 0, "-2", {867}}});
    ScriptedChooser chooser;
    SearchFlow flow(dir.path(), chooser);
    flow.OpenData();
    return flow.Search("867");  // held after the flow and its data are gone
  };
  EXPECT_EQ(answer("Aklavik")->places, answer("Aklavik")->places);
  EXPECT_NE(answer("Aklavik")->places, answer("Aklavic")->places);
  EXPECT_EQ(answer("Aklavik")->majorCities, answer("Aklavik")->majorCities);
  EXPECT_NE(answer("Aklavik")->majorCities, answer("Aklavic")->majorCities);
  EXPECT_EQ(answer("Aklavik")->majorCities.entries, (Entries{"Aklavik, NT", "Inuvik, NT"}));
}

// Places that share a name in one state: the one that stands out is
// answered, the others told; else the chooser offers each, told apart by its
// text, and the choice (by its place, or by its text typed again) answers
// that place alone.
class NamesakeFlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteNamesakeData(dir_.path());
    flow_.SetNow([] { return kWinter; });
  }
  const Answer& Search(const std::string& text) {
    flow_.OpenData();
    flow_.Search(text);
    return flow_.GetAnswer();
  }
  const Answer& A() const { return flow_.GetAnswer(); }
  // "codes|largest city|namesakes|input field|the place searched"
  std::string Told(const Answer& a) const {
    std::string told;
    for (const std::string& code : a.areaCodes.entries) told += (told.empty() ? "" : ";") + code;
    told += "|" + (a.largestCity.entries.empty() ? "" : a.largestCity.entries[0]) + "|" +
            (a.namesakes ? NamesakesText(*a.namesakes) : "") + "|" + a.query + "|";
    if (a.times.searchedPlace && !a.times.clockPlaces.empty()) {
      told += std::to_string(a.times.clockPlaces[0].cityId);
    }
    return told;
  }
  test::TempDir dir_;
  ScriptedChooser chooser_;
  SearchFlow flow_{dir_.path(), chooser_};
};

TEST_F(NamesakeFlowTest, ThePlaceMeantOrAChoiceOfPlaces) {
  const std::string washington = "724|Greensburg|also 2 other places named Washington in Pennsylvania|";
  const std::string springfield = "|also 2 other places named Springfield in Pennsylvania|";
  const struct {
    const char* typed;
    std::optional<std::string> answer;  // of the chooser, when it is asked
    std::string told;
  } cases[] = {
      // Three times the people of the next stands out; a lower rank does.
      {"Rochester, NY", {}, "585|Rochester|also 1 other place named Rochester in New York|Rochester, NY|220"},
      {"Washington, PA", {}, washington + "Washington, PA|210"},
      {"washington township, pa", {}, washington + "washington township, pa|211"},
      {"Springfield, PA", "Springfield, Pennsylvania (724)",
       "724|Greensburg" + springfield + "Springfield, Pennsylvania (724)|203"},
      {"springfield", "Springfield, Pennsylvania (484/610, 21,000 people)",
       "484;610|Springfield" + springfield + "Springfield, Pennsylvania (484/610, 21,000 people)|202"},
      // The text a choice leaves in the field finds that place again.
      {"Springfield, Pennsylvania (724)", {}, "724|Greensburg" + springfield + "Springfield, Pennsylvania (724)|203"},
      {"springfield, pa (484/610, 24,000 people)", {}, "484;610|Springfield" + springfield + "springfield, pa (484/610, 24,000 people)|201"},
      {"Springfield, Pennsylvania (999)", {}, "|City not found in database||Springfield, Pennsylvania (999)|"},
      // A city alone takes the place of a state that stands out among its namesakes.
      {"rochester", {}, "585|Rochester|also 1 other place named Rochester in New York|Rochester, New York|220"},
      // Places stored under Newfoundland's old code.
      {"St. John's, Newfoundland", {}, "709|St. John's||St. John's, Newfoundland|230"},
  };
  for (const auto& c : cases) {
    const std::size_t asked = chooser_.asked.size();
    chooser_.answers.resize(asked);
    chooser_.SetNextAnswer(c.answer);
    EXPECT_EQ(Told(Search(c.typed)), c.told) << c.typed;
    EXPECT_EQ(chooser_.asked.size(), asked + (c.answer ? 1 : 0)) << c.typed;
  }
  EXPECT_EQ(chooser_.asked[0], (Entries{"Springfield, Pennsylvania (484/610, 24,000 people)",
                                        "Springfield, Pennsylvania (484/610, 21,000 people)",
                                        "Springfield, Pennsylvania (724)"}));
  EXPECT_EQ(chooser_.asked[1].size(), 3u);
  EXPECT_EQ(A().stateOrProvince, Entries{"Newfoundland (NF)"});
}

// The text of each place finds that place and no other, and so do the
// follow-ups from its lists.
TEST_F(NamesakeFlowTest, EveryPlaceHasATextThatFindsIt) {
  flow_.OpenData();
  for (const test::CityFixture& city : test::NamesakeCities()) {
    const std::string query = flow_.QueryOfPlace(city.id);
    const std::string told = Told(Search(query));
    EXPECT_EQ(told.substr(told.rfind('|') + 1), std::to_string(city.id)) << query;
  }
  EXPECT_TRUE(chooser_.asked.empty());
  EXPECT_EQ(flow_.QueryOfPlace(221), "Rochester, New York (845)");
  EXPECT_EQ(flow_.QueryOfPlace(999), "");
  Search("724");
  const Entries major = A().majorCities.entries.Texts();
  const auto row = std::find(major.begin(), major.end(), "Springfield") - major.begin();
  EXPECT_TRUE(flow_.OnDblclkMajorCities(static_cast<int>(row)));
  EXPECT_EQ(Told(A()), "724|Greensburg|also 2 other places named Springfield in Pennsylvania|"
                       "Springfield, Pennsylvania (724)|203");
  Search("570");
  EXPECT_TRUE(flow_.OnDblclkAllPlaces(2));  // Hamlet A: not a major city
  EXPECT_EQ(A().query, "Hamlet A, Pennsylvania");
  EXPECT_FALSE(flow_.OnDblclkAllPlaces(30));
}

// Every place of the codes is in the full list once (Franklin beside
// Franklin Park); the major cities are those above ten thousand and at
// least the 25 most populous, and the place searched or the exchange's
// place of a number.
TEST_F(NamesakeFlowTest, MajorCitiesAndEveryPlace) {
  const struct {
    const char* typed;
    const char* heading;
    std::size_t listed;
    int exchangeRow, exchangeRowInAll;
  } cases[] = {
      {"570", "Major cities (25 of 30) in area code:", 25, -1, -1},
      {"570-555-1234", "Major cities (26 of 30) in area code:", 26, 2, 2},
      {"724", "Major cities (6) in area code:", 6, -1, -1},
      {"Hamlet B, PA", "Major cities (26 of 30) in area code:", 26, -1, -1},  // the place searched
  };
  for (const auto& c : cases) {
    const Answer& a = Search(c.typed);
    EXPECT_EQ(a.majorCities.heading, c.heading) << c.typed;
    EXPECT_EQ(a.majorCities.entries.size(), c.listed) << c.typed;
    EXPECT_EQ(std::count_if(a.places.begin(), a.places.end(), [](const PlaceFacts& p) { return p.listed; }),
              static_cast<long>(c.listed));
    EXPECT_EQ(AllPlaceEntries(a).size(), a.places.size()) << c.typed;
    EXPECT_EQ(a.exchangeRow, c.exchangeRow) << c.typed;
    EXPECT_EQ(a.exchangeRowInAll, c.exchangeRowInAll) << c.typed;
  }
  const Answer& a = Search("570");
  const Entries all = AllPlaceEntries(a);
  EXPECT_EQ(Entries(all.begin(), all.begin() + 4),
            (Entries{"Franklin", "Franklin Park", "Hamlet A", "Hamlet AA"}));
  EXPECT_EQ(a.allPlacesHeading, "All places (30) in area code:");
  // The least five are not major cities, and not above the line.
  EXPECT_EQ(a.majorCities.entries[a.majorCities.entries.size() - 1], "Hamlet Z");
  EXPECT_EQ(a.majorCities.entries[2], "Hamlet AA");
  EXPECT_EQ(a.majorCities.entries[4], "Hamlet F");
}

// Every place above the line is a major city, beyond the 25 most populous.
TEST(SearchFlowMajorCities, EveryPlaceAboveTheLine) {
  test::TempDir dir;
  std::vector<test::CityFixture> places;
  for (int i = 0; i < 30; ++i) {
    places.push_back({i + 1, "Town " + std::to_string(i), "OH", "USA", i < 27 ? 10001 + i : 10000,
                      1, "0", {330}});
  }
  test::WriteDataFiles(dir.path(), places);
  ScriptedChooser chooser;
  SearchFlow flow(dir.path(), chooser);
  flow.OpenData();
  EXPECT_EQ(flow.Search("330")->majorCities.heading, "Major cities (27 of 30) in area code:");
}

// Without knd.bin, namesakes share their stored name, rank by their people
// alone, and the largest city is the most populous place.
TEST_F(NamesakeFlowTest, WithoutKindsPeopleAloneDecide) {
  std::filesystem::remove(dir_ / "knd.bin");
  EXPECT_EQ(Told(Search("Washington, PA")), "724|Hempfield Township||Washington, PA|210");
}

// 273 is announced: it says when it begins and what it overlays.
TEST_F(NamesakeFlowTest, APlannedCodeSaysWhenItBegins) {
  const Answer& a = Search("273");
  EXPECT_EQ(a.outcome, AnswerOutcome::kPlanned);
  EXPECT_EQ(a.largestCity.entries,
            Entries{"Area code 273 begins service on 2027-02-27, overlaying 418, 367 and 581"});
  EXPECT_EQ(Search("274").outcome, AnswerOutcome::kNoCities);
}

// A data folder of cit.bin and arc.bin alone: the places' own zones and the
// daylight rule give the line and the clocks; the missing files are a note.
TEST(SearchFlowTwoFileData, OwnZonesGiveTheTimes) {
  test::TempDir dir;
  test::WriteRecordFiles(dir.path(), test::SampleCities());
  ScriptedChooser chooser;
  SearchFlow flow(dir.path(), chooser);
  flow.SetNow([] { return kSummer; });
  flow.OpenData();
  EXPECT_EQ(flow.ZoneLawOutcome().problem, FileProblem::kNone);
  EXPECT_NE(flow.ZoneLawOutcome().text.find("ctz.bin and tzl.bin are missing"), std::string::npos);
  const std::shared_ptr<const Answer> kept = flow.Search("Kettering, OH");
  const Answer& answer = *kept;
  EXPECT_EQ(answer.times.zoneLine, Entries{"Eastern Daylight Time"});
  EXPECT_EQ(Clock24(LocalTimesAt(answer.times, kSummer).at(0).clock), "13:00");
  EXPECT_EQ(flow.Search("Nome, AK")->times.zoneLine,
            Entries{"Alaska Daylight Time (EDT - 4.0 hours)"});
}

// Names as people type them reach the places stored under them.
TEST(SearchFlowNames, MembersWithBlanksAndBoroughs) {
  test::TempDir dir;
  test::WriteDataFiles(dir.path(), {{1, "George Town", "Cayman Islands", "Cayman Islands", 34000, 0, "0", {345}},
                                    {2, "Queens", "NY", "USA", 2405000, 1, "0", {718, 347}},
                                    {3, "The Bronx", "NY", "USA", 1472000, 1, "0", {718}}});
  ScriptedChooser chooser;
  SearchFlow flow(dir.path(), chooser);
  flow.OpenData();
  for (const auto& [typed, codes] : {std::pair{", Cayman Islands", Entries{"345"}},
                                     {", cayman  islands", Entries{"345"}},
                                     {"Queens, NY", Entries{"347", "718"}},
                                     {"the bronx, new york", Entries{"718"}}}) {
    EXPECT_EQ(flow.Search(typed)->areaCodes.entries, codes) << typed;
  }
}

TEST(SearchFlowWithoutData, EveryInputEndsInAMessage) {
  test::TempDir empty;
  ScriptedChooser chooser;
  SearchFlow flow(empty.path(), chooser);
  flow.OpenData();
  for (const char* typed : {"937", "Dayton, OH", ", OH", "springfield", ""}) {
    EXPECT_EQ(flow.Search(typed)->largestCity.entries.at(0),
              *typed == '9' ? kNoCitiesFound : kCityNotFound);
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
           {"Dayton  ,  OH", true, "Dayton", "OH"}, {"Dayton , oh", true, "Dayton", "oh"},
           {"Dayton, Ohio ", true, "Dayton", "OH"}, {"Dayton, Nowhere", true, "Dayton", "Nowhere"},
           {"Dayton,", true, "Dayton", ""}, {"Dayton,OH", true, "Dayton", "OH"},
           {"  Dayton  Ohio ", false, "Dayton Ohio", ""}, {", New York", false, "", "NY"},
           {", Qu\xE9" "bec", false, "", "QC"}, {",  O h ", false, "", "Oh"},  // no name: letters only
           {", NewYork", false, "", "NewYork"}, {",", false, "", ""}, {"a, b, c", true, "a", "b, c"}}) {
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

}  // namespace
}  // namespace tq

namespace tq {
namespace {

// A ZIP or postal code answers its place exactly as the place typed, with a
// line naming the code; a code without a place is told, the map staying.
TEST_F(SearchFlowTest, CodesAnswerTheirPlaceAsTyped) {
  test::WritePostalCodes(dir_.path());
  flow_.OpenData();
  ASSERT_TRUE(flow_.DataProblems().empty());
  const struct {
    const char* typed;
    const char* asPlace;  // the same answer as this place typed; null: a message
    const char* field;
    const char* line;     // PostalText, or the message in the largest city list
  } cases[] = {
      {"45402-1234", "Dayton, OH", "45402-1234", "ZIP 45402-1234: Dayton, OH"},
      {"45424", "Kettering, OH", "45424", "ZIP 45424: Kettering, OH (most of it; shared with other places)"},
      {"h2x1y4", "Montr\xE9" "al, QC", "H2X 1Y4", "Postal code H2X 1Y4: Montr\xE9" "al, QC"},
      {"Nowhere, OH 45402", "Dayton, OH", "Nowhere, OH 45402", "ZIP 45402: Dayton, OH"},
      {"45499", nullptr, "45499", "No place known for ZIP code 45499"},
      {"00000", nullptr, "00000", "No ZIP code 00000"},
      {"45403", nullptr, "45403", "No place known for ZIP code 45403"},  // beside 45402
      {"K1A", nullptr, "K1A", "No postal code K1A"},
      {"D1A 0B1", nullptr, "D1A 0B1", "No postal code D1A 0B1"},
  };
  for (const auto& c : cases) {
    Search("937");
    Search(c.typed);
    const Answer code = A();
    EXPECT_EQ(code.query, c.field) << c.typed;
    ASSERT_TRUE(code.postal) << c.typed;
    if (!c.asPlace) {
      EXPECT_EQ(Largest(), Entries{c.line}) << c.typed;
      EXPECT_EQ(code.outcome, AnswerOutcome::kNoCities);
      EXPECT_EQ(code.foundState, "OH") << c.typed;  // the map stays on the last state
      EXPECT_EQ(code.majorCities.heading, "Major cities (3) in area code:") << c.typed;
      continue;
    }
    EXPECT_EQ(PostalText(*code.postal), c.line);
    Search(c.asPlace);
    Answer place = A();
    place.queryGiven = code.queryGiven;
    place.query = code.query;
    place.postal = code.postal;
    EXPECT_EQ(code, place) << c.typed;
  }
  // The suggestion for a code is its place.
  EXPECT_EQ(flow_.PlaceOfCode(" h2x 1y4"), "Montr\xE9" "al, QC");
  EXPECT_EQ(flow_.PlaceOfCode("45499"), "");
  EXPECT_EQ(flow_.PlaceOfCode("Dayton"), "");
  // A place with its code is the place; only the code's line is not said.
  Search("Kettering, OH 45402");
  EXPECT_EQ(Largest(), Entries{"Dayton"});  // Kettering's codes' largest city
  EXPECT_FALSE(A().postal);
}

// Without pst.bin a code's text answers as it always did and says why;
// every other answer is the same as before.
TEST_F(SearchFlowTest, WithoutTheCodesFileCodesAnswerAsBefore) {
  Search("45402");
  EXPECT_EQ(Shown(), kNoCities);
  ASSERT_EQ(A().problems.size(), 1u);
  EXPECT_EQ(A().problems[0].file, "pst.bin");
  EXPECT_EQ(A().problems[0].problem, FileProblem::kMissing);
  Search("00937");
  EXPECT_EQ(Shown(), kDayton937);  // leading zeros count for nothing, as before
  Search("937");
  EXPECT_EQ(Shown(), kDayton937);
  EXPECT_TRUE(A().problems.empty());
  // A damaged file is told with every answer, which stays as it was.
  test::WriteBytes(dir_ / "pst.bin", "TQPOST 1\ngenerated\nzips 1\n45402 000042 w\nfsas 0\nxx\n");
  flow_.OpenData();
  Search("937");
  EXPECT_EQ(Shown(), kDayton937);
  ASSERT_EQ(A().problems.size(), 1u);
  EXPECT_EQ(A().problems[0].problem, FileProblem::kDamaged);
  EXPECT_TRUE(flow_.OptionalFilesDamaged());
  Search("45402");
  EXPECT_EQ(Largest(), Entries{"Dayton"});
}

// The state line of a code is the state of most of its places, whatever
// record comes last; a place or a state searched gives its own.
TEST_F(SearchFlowTest, StateLineOfMostPlacesOrOfThePlaceSearched) {
  test::TempDir dir;
  test::WriteDataFiles(dir.path(), {{1, "Ottawa", "ON", "Canada", 1017449, 1, "0", {613}},
                                    {2, "Kingston", "ON", "Canada", 132485, 1, "0", {613}},
                                    {3, "Saint-R\xE9gis", "QC", "Canada", 300, 1, "0", {613}},
                                    {4, "Gatineau", "QC", "Canada", 291041, 1, "0", {819}},
                                    {5, "Hull", "QC", "Canada", 9000, 1, "0", {819}},
                                    {6, "Pembroke", "ON", "Canada", 14000, 1, "0", {819}}});
  SearchFlow flow(dir.path(), chooser_);
  flow.OpenData();
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"613", "Ontario (ON)"},        {"Kingston, ON", "Ontario (ON)"},
      {"Saint-R\xE9gis, QC", "Qu\xE9" "bec (QC)"}, {"819", "Qu\xE9" "bec (QC)"},
      {"Pembroke, ON", "Ontario (ON)"}, {", on", "Ontario (ON)"}};
  for (const auto& [query, state] : cases) {
    EXPECT_EQ(flow.Search(query)->stateOrProvince, Entries{state}) << query;
  }
}

}  // namespace
}  // namespace tq
