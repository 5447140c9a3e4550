// Numbers in every form, searched as the window searches them: what the
// input field then shows, the largest city and the exchange's place; and the
// local times and status line of an answer.
#include "lookup/PhoneNumber.h"

#include <gtest/gtest.h>

#include <string>

#include "lookup/AnswerText.h"
#include "lookup/SearchFlow.h"
#include "support/TestData.h"

namespace tq {
namespace {

class NoChoice : public CityChooser {
 public:
  std::optional<std::string> ChooseCity(const std::vector<std::string>&) override { return {}; }
};

class NumberSearch : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<test::CityFixture> cities = test::SampleCities();
    cities.push_back({200, "100 Mile House", "BC", "Canada", 2000, 1, "-3", {250}});
    cities.push_back({201, "Tallahassee", "FL", "USA", 196000, 1, "0", {850}});
    cities.push_back({202, "Pensacola", "FL", "USA", 54000, 1, "-1", {850}});
    test::WriteDataFiles(dir_.path(), cities);
    test::WriteBytes(dir_ / "exc.bin", test::kSampleExchanges);
    flow_.nowUtc = [] { return *ParseUtcInstant("2026-07-05T17:42Z"); };
    flow_.OpenData();
  }
  // "shown input|largest city|exchange".
  std::string Search(const std::string& text) {
    flow_.editQuery = text;
    flow_.OnOK();
    const auto& largest = flow_.listLargestCity.Entries();
    return flow_.editQuery + "|" + (largest.empty() ? "" : largest.front()) + "|" +
           (flow_.exchangeNumber.empty() ? "" : flow_.StatusText().substr(
                                                    flow_.StatusText().find("exchange")));
  }
  test::TempDir dir_;
  NoChoice chooser_;
  SearchFlow flow_{dir_.path(), chooser_};
};

TEST_F(NumberSearch, EveryForm) {
  const std::string dayton = "937|Dayton|exchange 937-222: Dayton, OH";
  const std::string areaCode = "937|Dayton|";
  const std::pair<const char*, std::string> cases[] = {
      {"937", areaCode}, {"0937", areaCode},
      {"937-22", areaCode}, {"937-222-12345", areaCode},  // too few digits, too many
      {"9372221234", dayton}, {"937.222.1234", dayton}, {"(937) 222-1234", dayton},
      {"+1 937 222 1234", dayton}, {"19372221234", dayton}, {"937-222", dayton},
      {"937-222-1234 x12", dayton}, {"937-222-1234 ext. 12", dayton}, {"937-CAB-1234", dayton},
      // An extension marker without digits, leading zeros: the number stands.
      {"937 222 1234 ext", dayton}, {"937-222-1234 x", dayton}, {"937 x", areaCode},
      {"937x", areaCode}, {"00937", areaCode},
      // As pasted (in code page 1252): dashes, no-break spaces, a link.
      {"937\x96" "222\x97" "1234", dayton}, {"\xA0" "937\xA0" "222 1234\xA0", dayton},
      {"tel:+1-937-222-1234", dayton}, {"TEL:937.222.1234", dayton},
      {"937-294-0000", "937|Dayton|exchange 937-294: Kettering, OH"},
      {"937-999-1234", "937|Dayton|exchange 937-999: place not known"},
      {"1-800-FLOWERS", "800|Toll-Free Service|exchange 800-356: place not known"},
      {"1-800-PIZZA-99", "800|Toll-Free Service|exchange 800-749: place not known"},
      {"+44 20 7946 0000", "+44 20 7946 0000|No cities found|"},
      {"93a7", "93a7|City not found in database|"},
      {"100 Mile House, BC", "100 Mile House, BC|100 Mile House|"},
      {"100 Mile House", "100 Mile House, British Columbia|100 Mile House|"},
  };
  for (const auto& [input, expected] : cases) EXPECT_EQ(Search(input), expected) << input;
  EXPECT_EQ(JsonString("a\"\x01\xE9"), "\"a\\\"\\u0001\xC3\xA9\"");
}

TEST_F(NumberSearch, LocalTimesOfTheTypedPlaceOrOfEachZone) {
  Search("850");
  EXPECT_EQ(flow_.StatusText(),
            "Tallahassee, FL \xB7 1:42 PM Sunday \xB7 Pensacola, FL \xB7 12:42 PM Sunday");
  Search("Pensacola, FL");
  EXPECT_EQ(flow_.StatusText(), "Pensacola, FL \xB7 12:42 PM Sunday");
  Search("937-294-1234");
  EXPECT_EQ(flow_.ExchangeRowInMajorCities(), 2);
  EXPECT_EQ(AnswerText(flow_).substr(AnswerText(flow_).find("Local")),
            "Local time:\n  13:42 Eastern Daylight Time, Dayton, OH\nExchange:\n  Kettering, OH\n");
}

TEST_F(NumberSearch, DamagedExchangeFileIsToldAndSkipped) {
  test::WriteBytes(dir_ / "exc.bin", "TQEXC 2\n");
  SearchFlow flow(dir_.path(), chooser_);
  flow.nowUtc = flow_.nowUtc;
  flow.OpenData();
  flow.editQuery = "937-222-1234";
  flow.OnOK();
  EXPECT_EQ(flow.StatusText(), "Data file exc.bin in " + dir_.path().string() +
                                   " is damaged: it is not a file of the format TQEXC 1. Numbers "
                                   "are answered without their exchange. \xB7 Dayton, OH \xB7 1:42 PM Sunday");
}

}  // namespace
}  // namespace tq
