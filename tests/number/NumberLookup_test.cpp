#include "number/NumberLookup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/AreaCodeSet.h"
#include "data/CitySet.h"
#include "data/ExchangeTable.h"
#include "support/TestData.h"

namespace tq {
namespace {

using Status = NumberResult::Status;
using Source = NumberResult::Source;

// The sample places with their exchanges, and one listed place that no
// place record names.
constexpr char kExchanges[] =
    "TQEXC 1\nplaces 4\nDayton\tOH\nKettering\tOH\nMontr\xC3\xA9" "al\tQC\nGhost Town\tOH\n"
    "exchanges 4\n514555 00003\n937222 00001\n937294 00002\n937300 00004\n";

class NumberLookupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A smaller namesake of Dayton, OH first: the exchange is the larger one's.
    std::vector<test::CityFixture> cities{{7, "Dayton", "OH", "USA", 500, 1, "0", {937}}};
    cities.insert(cities.end(), test::SampleCities().begin(), test::SampleCities().end());
    test::WriteDataFiles(dir_.path(), cities);
    test::WriteBytes(dir_ / "exc.bin", kExchanges);
    cities_.Open();
    areaCodes_.Open();
    ASSERT_EQ(exchanges_.Open(dir_.path()).text, "");
  }
  test::TempDir dir_;
  CCitySet cities_{dir_.path()};
  CAreaCodeSet areaCodes_{dir_.path()};
  ExchangeTable exchanges_;
};

TEST_F(NumberLookupTest, WhatEachNumberTells) {
  const NumberLookup numbers(cities_, areaCodes_, exchanges_);
  const struct {
    const char* typed;
    Status status;
    Source source;
    const char* place;
    const char* state;
    std::int32_t cityId;
    const char* e164;
    const char* number;
  } kCases[] = {
      {"(937) 222-1234", Status::kOk, Source::kExchange, "Dayton", "OH", 42, "+19372221234", "937-222"},
      {"937-222", Status::kOk, Source::kExchange, "Dayton", "OH", 42, "", "937-222"},
      {"+1 514 555 0009", Status::kOk, Source::kExchange, "Montr\xE9" "al", "QC", 70, "+15145550009", "514-555"},
      {"937-300-0000", Status::kOk, Source::kExchange, "Ghost Town", "OH", -1, "+19373000000", "937-300"},
      // Not listed: the code's only place, or the code's state.
      {"217-555-1234", Status::kOk, Source::kAreaCode, "Springfield", "IL", 60, "+12175551234", "217-555"},
      {"937-999-1234", Status::kUnknownExchange, Source::kNone, "", "OH", -1, "+19379991234", "937-999"},
      {"867-555-1234", Status::kUnknownExchange, Source::kNone, "", "YT", -1, "+18675551234", "867-555"},
      {"1-800-FLOWERS", Status::kNotGeographic, Source::kNone, "", "", -1, "+18003569377", "800-356"},
      {"555-555-1234", Status::kUnknownAreaCode, Source::kNone, "", "", -1, "+15555551234", "555-555"},
      {"199-555-1234", Status::kInvalid, Source::kNone, "", "", -1, "", "199-555"},
      {"937", Status::kInvalid, Source::kNone, "", "", -1, "", ""},
      {"Dayton, OH", Status::kInvalid, Source::kNone, "", "", -1, "", ""},
      {"+44 20 7946 0000", Status::kInvalid, Source::kNone, "", "", -1, "", ""},
  };
  for (const auto& c : kCases) {
    const NumberResult result = numbers.Lookup(c.typed);
    EXPECT_EQ(NumberStatusName(result.status), std::string(NumberStatusName(c.status))) << c.typed;
    EXPECT_EQ(result.source, c.source) << c.typed;
    EXPECT_EQ(result.place, c.place) << c.typed;
    EXPECT_EQ(result.state, c.state) << c.typed;
    EXPECT_EQ(result.cityId, c.cityId) << c.typed;
    EXPECT_EQ(result.E164(), c.e164) << c.typed;
    EXPECT_EQ(result.NumberText(), c.number) << c.typed;
  }
}

TEST_F(NumberLookupTest, WithoutExchangesNoPlaceIsGuessed) {
  const ExchangeTable none;
  const NumberLookup numbers(cities_, areaCodes_, none);
  for (const char* typed : {"937-222-1234", "217-555-1234"}) {
    EXPECT_EQ(numbers.Lookup(typed).status, Status::kNoExchangeData) << typed;
  }
}

}  // namespace
}  // namespace tq
