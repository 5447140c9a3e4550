#include "desktop/DesktopSearch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/DesktopText.h"
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

TEST_F(DesktopSearchTest, AnAnswerOrTheMostPopulousNamesakesAsOneLineEach) {
  using Results = std::vector<DesktopResult>;
  EXPECT_EQ(Search({"937"}), (Results{{"937", "Dayton, OH \xC2\xB7 6:42 PM Eastern \xC2\xB7 937"}}));
  EXPECT_EQ(Search({"Dayton,", "OH"}),
            (Results{{"Dayton, OH", "Dayton, OH \xC2\xB7 6:42 PM Eastern \xC2\xB7 937"}}));
  EXPECT_EQ(Search({" springfield "}),
            (Results{{"Springfield, Missouri", "Springfield, MO \xC2\xB7 5:42 PM Central \xC2\xB7 417"},
                     {"Springfield, Massachusetts", "Springfield, MA \xC2\xB7 6:42 PM Eastern \xC2\xB7 413"},
                     {"Springfield, Illinois", "Springfield, IL \xC2\xB7 5:42 PM Central \xC2\xB7 217"}}));
  EXPECT_EQ(Search({"montr\xC3\xA9" "al"}),
            (Results{{"montr\xC3\xA9" "al", "Montr\xC3\xA9" "al, QC \xC2\xB7 6:42 PM Eastern \xC2\xB7 438/514"}}));
  // A place search tells the typed place, not the largest of its codes.
  EXPECT_EQ(Search({"Kettering, OH"}),
            (Results{{"Kettering, OH", "Kettering, OH \xC2\xB7 6:42 PM Eastern \xC2\xB7 937"}}));
  EXPECT_EQ(search_.SearchQuery("Springfield, MA", kSummerEvening), Search({"Springfield, MA"}));
}

// The line reads the answer's facts: an exchange that is not listed names no
// place of its code as if it were its own, and a split keeps its zones.
TEST_F(DesktopSearchTest, NoBorrowedPlaceAndNoHiddenSplit) {
  using Results = std::vector<DesktopResult>;
  EXPECT_EQ(Search({"(937) 999-1234"}),
            (Results{{"(937) 999-1234",
                      "937-999 not listed, Ohio (OH) \xC2\xB7 6:42 PM Eastern \xC2\xB7 937"}}));
  EXPECT_EQ(Search({"867"}),
            (Results{{"867", "Whitehorse, YT \xC2\xB7 Mountain Standard Time and Mountain "
                             "Daylight Time \xC2\xB7 867"}}));
}

// A ZIP or postal code gives its place's line, led by the code; one
// without a place gives nothing.
TEST_F(DesktopSearchTest, CodesGiveTheirPlace) {
  using Results = std::vector<DesktopResult>;
  test::WritePostalCodes(dir_.path());
  EXPECT_EQ(Search({"45424"}),
            (Results{{"45424", "ZIP 45424: Kettering, OH (most of it; shared with other places) "
                               "\xC2\xB7 6:42 PM Eastern \xC2\xB7 937"}}));
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

// Namesakes of one state are three results, each of its own place: its
// query finds that place again and no other. A planned code says when.
TEST(DesktopSearchNamesakes, EachResultIsItsOwnPlace) {
  test::TempDir dir;
  test::WriteNamesakeData(dir.path());
  DesktopSearch search(dir.path());
  const std::vector<DesktopResult> results = search.Search({"springfield"}, 0);
  ASSERT_EQ(results.size(), 3u);
  EXPECT_EQ(results[2].query, "Springfield, Pennsylvania (724)");
  for (const DesktopResult& result : results) {
    EXPECT_EQ(search.SearchQuery(result.query, 0), std::vector<DesktopResult>{result}) << result.query;
  }
  EXPECT_EQ(search.Search({"273"}, 0).at(0).line,
            "Area code 273 begins service on 2027-02-27, overlaying 418, 367 and 581");
}

TEST(DesktopSearchMissingData, NothingFoundAndTheProblemTold) {
  const test::TempDir empty;
  DesktopSearch search(empty.path());
  EXPECT_TRUE(search.Search({"937"}, 0).empty());
  EXPECT_FALSE(search.DataProblems().empty());
}

}  // namespace
}  // namespace tq
