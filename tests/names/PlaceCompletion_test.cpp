#include "names/PlaceCompletion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tq {
namespace {

PlaceCompletion SamplePlaces() {
  PlaceCompletion completion;
  // Dayton, OH repeats smaller, Dayville, CT larger.
  completion.Build({"Dayton", "Daytona Beach", "Dayton", "Montr\xE9" "al", "Springfield",
                    "Springfield", "Springfield", "Dayton", "Bell\x07town", "Dayville", "Daysland",
                    "Dayburg", "Dayville"},
                   {"OH", "FL", "KY", "QC", "IL", "MO", "MA", "OH", "OH", "CT", "AB", "WA", "CT"},
                   {137644, 72647, 5338, 1704694, 114394, 169176, 155929, 12, 900, 900, 900, 900,
                    1000});
  return completion;
}

TEST(PlaceCompletionTest, SuggestsPlacesByTheBeginningOfWhatIsTyped) {
  const PlaceCompletion places = SamplePlaces();
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"dayt", {"Dayton, OH", "Daytona Beach, FL", "Dayton, KY"}},
      {"DAYTON, o", {"Dayton, OH"}},
      {"  dayton  ,oh ", {"Dayton, OH"}},
      {"dayton,", {"Dayton, OH", "Dayton, KY"}},
      {"springfield, ill", {"Springfield, IL"}},  // the state's name
      {"springfield, mass", {"Springfield, MA"}},
      {"montreal", {"Montr\xE9" "al, QC"}},
      {"MONTR\xC9", {"Montr\xE9" "al, QC"}},
      {"day", {"Dayton, OH", "Daytona Beach, FL", "Dayton, KY", "Dayville, CT", "Dayburg, WA",
               "Daysland, AB"}},
      {"bell", {}},  // a control character in the name
      {"dayton, ohx", {}},
      {"937", {}},
      {"(937) 222-1234", {}},
      {", OH", {}},
      {"", {}},
      {"   ", {}},
  };
  for (const auto& [typed, expected] : cases) EXPECT_EQ(places.Suggest(typed), expected) << typed;
  // A limit of none, one, fewer than the places found, all of them and more.
  const std::vector<std::string> springs = {"Springfield, MO", "Springfield, MA", "Springfield, IL"};
  for (const std::size_t limit : {0u, 1u, 2u, 3u, 4u}) {
    EXPECT_EQ(places.Suggest("spring", limit),
              std::vector(springs.begin(), springs.begin() + std::min(limit, springs.size())))
        << limit;
  }
  EXPECT_EQ(places.PlaceCount(), 10u);  // Dayton, OH and Dayville, CT once; Belltown left out
}

TEST(PlaceCompletionTest, UnevenColumnsAndALongTextAreHarmless) {
  PlaceCompletion places;
  places.Build({"Dayton", "Kettering"}, {"OH"}, {10, 20, 30});
  EXPECT_EQ(places.Suggest("k"), std::vector<std::string>{});
  EXPECT_EQ(places.Suggest("d"), std::vector<std::string>{"Dayton, OH"});
  EXPECT_EQ(places.Suggest(std::string(10000, 'd')), std::vector<std::string>{});
}

}  // namespace
}  // namespace tq
