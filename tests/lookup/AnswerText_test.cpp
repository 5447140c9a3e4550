#include "lookup/AnswerText.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace tq {
namespace {

TEST(ChoiceText, ChoiceDetailsGroupThePopulationAndJoinTheCodes) {
  const std::pair<CityChoice, std::string> cases[] = {
      {{"a", "a", "TX", 1434625, {210, 726}}, "1,434,625 \xB7 210/726"},
      {{"a", "a", "IL", 114394, {217}}, "114,394 \xB7 217"},
      {{"a", "a", "OH", 400, {}}, "400"},
      {{"a", "a", "MO", 0, {417}}, "417"},
      {{"a", "a", "MO", 0, {}}, ""},
  };
  for (const auto& [choice, details] : cases) EXPECT_EQ(ChoiceDetails(choice), details);
}

}  // namespace
}  // namespace tq
