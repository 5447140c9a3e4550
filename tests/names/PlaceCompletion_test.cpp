#include "names/PlaceCompletion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tq {
namespace {

PlaceCompletion SamplePlaces() {
  PlaceCompletion completion;
  completion.Build({"Dayton", "Daytona Beach", "Dayton", "Montr\xE9" "al", "Springfield",
                    "Springfield", "Springfield", "Dayton", "Bell\x07town", "Dayville", "Daysland"},
                   {"OH", "FL", "KY", "QC", "IL", "MO", "MA", "OH", "OH", "CT", "AB"},
                   {137644, 72647, 5338, 1704694, 114394, 169176, 155929, 12, 900, 900, 900});
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
      {"day", {"Dayton, OH", "Daytona Beach, FL", "Dayton, KY", "Daysland, AB", "Dayville, CT"}},
      {"bell", {}},  // a control character in the name
      {"dayton, ohx", {}},
      {"937", {}},
      {"(937) 222-1234", {}},
      {", OH", {}},
      {"", {}},
      {"   ", {}},
  };
  for (const auto& [typed, expected] : cases) EXPECT_EQ(places.Suggest(typed), expected) << typed;
  EXPECT_EQ(places.Suggest("spring", 2),
            (std::vector<std::string>{"Springfield, MO", "Springfield, MA"}));
  EXPECT_EQ(places.PlaceCount(), 9u);  // Dayton, OH once; Belltown left out
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
