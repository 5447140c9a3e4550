#include "desktop/DesktopSearch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TestData.h"

namespace tq {
namespace {

class DesktopSearchTest : public ::testing::Test {
 protected:
  void SetUp() override { test::WriteSampleData(dir_.path()); }
  std::vector<DesktopResult> Search(const std::vector<std::string>& terms) {
    return search_.Search(terms, kSummerEvening);
  }
  static constexpr std::int64_t kSummerEvening = 1783291320;  // 2026-07-05 22:42 UTC
  test::TempDir dir_;
  DesktopSearch search_{dir_.path()};
};

// Each result: the place as its title, its codes, local time and verdict
// as its description (UTF-8).
TEST_F(DesktopSearchTest, AnAnswerOrTheMostPopulousNamesakesThePlaceAndItsFacts) {
  using Results = std::vector<DesktopResult>;
  const std::string dot = " \xC2\xB7 ";
  const std::string evening = dot + "6:42\xC2\xA0PM Eastern" + dot + "can call now";
  EXPECT_EQ(Search({"937"}), (Results{{"937", "Dayton, OH", "937" + evening}}));
  EXPECT_EQ(Search({"Dayton,", "OH"}), (Results{{"Dayton, OH", "Dayton, OH", "937" + evening}}));
  EXPECT_EQ(Search({" springfield "}),
            (Results{{"Springfield, Missouri", "Springfield, MO", "417" + dot + "5:42\xC2\xA0PM Central" + dot + "can call now"},
                     {"Springfield, Massachusetts", "Springfield, MA", "413" + evening},
                     {"Springfield, Illinois", "Springfield, IL", "217" + dot + "5:42\xC2\xA0PM Central" + dot + "can call now"}}));
  EXPECT_EQ(Search({"montr\xC3\xA9" "al"}),
            (Results{{"montr\xC3\xA9" "al", "Montr\xC3\xA9" "al, QC", "438/514" + evening}}));
  // A place search tells the typed place, not the largest of its codes.
  EXPECT_EQ(Search({"Kettering, OH"}), (Results{{"Kettering, OH", "Kettering, OH", "937" + evening}}));
  EXPECT_EQ(search_.SearchQuery("Springfield, MA", kSummerEvening), Search({"Springfield, MA"}));
  // An exchange that is not listed names no place of its code as if it were
  // its own, and a split keeps its zones and gives no verdict.
  EXPECT_EQ(Search({"(937) 999-1234"}),
            (Results{{"(937) 999-1234", "937-999 not listed, Ohio (OH)", "937" + evening}}));
  EXPECT_EQ(Search({"867"}),
            (Results{{"867", "Whitehorse, YT", "867" + dot + "Mountain Standard Time and Mountain Daylight Time"}}));
}

// Only what asks for a place answers: a number or code, a place with its
// state, or the whole name of a place of more than 10,000 people; never the
// beginning of a name, nor a small place's name alone.
TEST_F(DesktopSearchTest, EverydayWordsFindNothing) {
  const std::pair<std::vector<std::string>, std::vector<std::string>> cases[] = {
      {{"Laval"}, {"Laval, QC"}},
      {{"dayton"}, {"Dayton, OH"}},  // not Dayton, TX of 8,000 people
      {{"dayton", "tx"}, {"Dayton, TX"}},
      {{"Nome,", "AK"}, {"Nome, AK"}},
      {{"nome", "alaska"}, {"Nome, AK"}},
      {{"Nome"}, {}},
      {{"Troy"}, {}},
      {{"Lava"}, {}},
      {{"kett"}, {}},
      {{"spring"}, {}},
      {{"monitor"}, {}},
  };
  for (const auto& [terms, titles] : cases) {
    std::vector<std::string> found;
    for (const DesktopResult& result : Search(terms)) found.push_back(result.title);
    EXPECT_EQ(found, titles) << terms.front();
  }
}

// A ZIP or postal code gives its place's line, led by the code; one
// without a place gives nothing.
TEST_F(DesktopSearchTest, CodesGiveTheirPlace) {
  using Results = std::vector<DesktopResult>;
  test::WritePostalCodes(dir_.path());
  EXPECT_EQ(Search({"45424"}),
            (Results{{"45424", "ZIP 45424: Kettering, OH (most of it; shared with other places)",
                      "937 \xC2\xB7 6:42\xC2\xA0PM Eastern \xC2\xB7 can call now"}}));
  EXPECT_TRUE(Search({"45499"}).empty());
}

TEST_F(DesktopSearchTest, NothingForWhatFindsNoPlaceOrCannotBeTyped) {
  const std::vector<std::vector<std::string>> nothing = {
      {}, {""}, {"9"}, {"99"}, {"000"}, {"Zzyzx"}, {", ZZ"}, {std::string(10000, '9')},
      {std::string(10000, 'a')}, {"Day\x01ton"}, {"\x7F\x7F"}, {"\xE4\xB8\xAD\xE6\x96\x87"},
      {"\xFF\xFE"}, {"Dayton?"}};
  for (const auto& terms : nothing) {
    EXPECT_TRUE(Search(terms).empty()) << (terms.empty() ? "" : terms.front().substr(0, 20));
  }
  EXPECT_TRUE(search_.DataProblems().empty());
}

// Namesakes of one state are results, each of its own place: its query
// finds that place again and no other. A planned code says when.
TEST(DesktopSearchNamesakes, EachResultIsItsOwnPlace) {
  test::TempDir dir;
  test::WriteNamesakeData(dir.path());
  DesktopSearch search(dir.path());
  const std::vector<DesktopResult> results = search.Search({"springfield", "pa"}, 0);
  ASSERT_EQ(results.size(), 3u);
  EXPECT_EQ(results[2].query, "Springfield, Pennsylvania (724)");
  for (const DesktopResult& result : results) {
    EXPECT_EQ(search.SearchQuery(result.query, 0), std::vector<DesktopResult>{result}) << result.query;
  }
  EXPECT_EQ(search.Search({"273"}, 0).at(0).title,
            "Area code 273 begins service on 2027-02-27, overlaying 418, 367 and 581");
}

// A bare name answers a place of more than 10,000 people and four letters or
// more, and at most its three most populous namesakes.
TEST(DesktopSearchBounds, NamesakesPeopleAndLetters) {
  const test::TempDir dir;
  test::WriteDataFiles(dir.path(), {{1, "Springfield", "MO", "USA", 169176, 1, "-1", {417}},
                                    {2, "Springfield", "IL", "USA", 114394, 1, "-1", {217}},
                                    {3, "Springfield", "OR", "USA", 61000, 1, "-3", {541}},
                                    {4, "Springfield", "MA", "USA", 155929, 1, "0", {413}},
                                    {5, "Salem", "OR", "USA", 175000, 1, "-3", {503}},
                                    {6, "Salem", "NH", "USA", 30000, 1, "0", {603}},
                                    {7, "Salem", "MA", "USA", 44000, 1, "0", {978}},
                                    {8, "Lodi", "CA", "USA", 66000, 1, "-3", {209}},
                                    {9, "Ada", "OK", "USA", 16000, 1, "-1", {580}},
                                    {10, "Mayfield", "KY", "USA", 10000, 1, "-1", {270}},
                                    {11, "Newfield", "NJ", "USA", 10001, 1, "0", {856}}});
  DesktopSearch search(dir.path());
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"springfield", {"Springfield, MO", "Springfield, MA", "Springfield, IL"}},
      {"salem", {"Salem, OR", "Salem, MA", "Salem, NH"}},
      {"lodi", {"Lodi, CA"}},
      {"ada", {}},
      {"mayfield", {}},
      {"newfield", {"Newfield, NJ"}},
  };
  for (const auto& [typed, titles] : cases) {
    std::vector<std::string> found;
    for (const DesktopResult& result : search.Search({typed}, 0)) found.push_back(result.title);
    EXPECT_EQ(found, titles) << typed;
  }
}

TEST(DesktopSearchMissingData, NothingFoundAndTheProblemTold) {
  const test::TempDir empty;
  DesktopSearch search(empty.path());
  EXPECT_TRUE(search.Search({"937"}, 0).empty());
  EXPECT_FALSE(search.DataProblems().empty());
}

}  // namespace
}  // namespace tq
