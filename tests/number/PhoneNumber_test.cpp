// Numbers in every form, searched as the window searches them: what the
// input field then shows, the largest city and the exchange's place; and the
// local times and status line of an answer.
#include "number/PhoneNumber.h"

#include <gtest/gtest.h>

#include <string>

#include "lookup/AnswerText.h"
#include "lookup/SearchFlow.h"
#include "support/TestData.h"

namespace tq {
namespace {

class NoChoice : public CityChooser {
 public:
  CityChoiceReply ChooseCity(const std::vector<CityChoice>&) override { return {}; }
};

class NumberSearch : public ::testing::Test {
 protected:
  void SetUp() override {
    // This computer keeps Eastern time, by a rule that needs no zone files.
    setenv("TZ", "EST5EDT,M3.2.0,M11.1.0", 1);
    tzset();
    std::vector<test::CityFixture> cities = test::SampleCities();
    cities.push_back({200, "100 Mile House", "BC", "Canada", 2000, 1, "-3", {250}});
    cities.push_back({201, "Tallahassee", "FL", "USA", 196000, 1, "0", {850}});
    cities.push_back({202, "Pensacola", "FL", "USA", 54000, 1, "-1", {850}});
    test::WriteDataFiles(dir_.path(), cities);
    test::WriteBytes(dir_ / "exc.bin", test::kSampleExchanges);
    flow_.OpenData();
  }
  // "shown input|largest city|exchange", the input "=" when it stays as typed.
  std::string Search(const std::string& text) {
    const Answer& answer = *flow_.Search(text);
    const auto& largest = answer.largestCity.entries;
    const std::string status = Status();
    return (answer.query == text ? "=" : answer.query) + "|" + (largest.empty() ? "" : largest.front()) + "|" +
           (answer.exchange ? status.substr(status.find("exchange")) : "");
  }
  std::string Status() const { return StatusText(flow_.GetAnswer(), kNow); }
  const std::int64_t kNow = *ParseIsoInstant("2026-07-05T17:42Z");
  test::TempDir dir_;
  NoChoice chooser_;
  SearchFlow flow_{dir_.path(), chooser_};
};

TEST_F(NumberSearch, EveryForm) {
  // A full number stays in the field as typed; an area code is shown alone.
  const std::string dayton = "=|Dayton|exchange 937-222: Dayton, OH";
  const std::string areaCode = "937|Dayton|";
  const std::pair<const char*, std::string> cases[] = {
      {"937", "=|Dayton|"}, {"0937", areaCode},
      {"937-22", areaCode}, {"937-222-12345", areaCode},  // too few digits, too many
      {"9372221234", dayton}, {"937.222.1234", dayton}, {"(937) 222-1234", dayton},
      {"+1 937 222 1234", dayton}, {"19372221234", dayton}, {"937-222", dayton},
      {"937-222-1234 x12", dayton}, {"937-222-1234 ext. 12", dayton}, {"937-CAB-1234", dayton},
      // An extension marker without digits, leading zeros: the number stands.
      {"937 222 1234 ext", dayton}, {"937-222-1234 x", dayton}, {"937 x", areaCode},
      {"937x", areaCode}, {"00937", areaCode},
      // A country code 1 alone or run into the area code: the code is the rest.
      {"+1937", areaCode}, {"+1 937", areaCode}, {"1 937 222", dayton},
      // As pasted (in code page 1252): dashes, no-break spaces, a link.
      {"937\x96" "222\x97" "1234", dayton}, {"\xA0" "937\xA0" "222 1234\xA0", dayton},
      {"tel:+1-937-222-1234", dayton}, {"TEL:937.222.1234", dayton},
      // A link's parameters: the extension and any other are left aside.
      {"tel:+1-937-222-1234;ext=12", dayton}, {"tel:+19372221234;isub=3;phone-context=x.com", dayton},
      {"937-222-1234;", areaCode},  // no parameter: not a link, read as its number value
      // A word's last letter is not an extension's marker.
      {"1-800-GO-FEDEX", "=|Toll-Free Service|exchange 800-463: not geographic"},
      {"937-294-0000", "=|Dayton|exchange 937-294: Kettering, OH"},
      {"937-999-1234", "=|Dayton|exchange 937-999: not listed, area code 937 is in Ohio (OH)"},
      {"1-800-FLOWERS", "=|Toll-Free Service|exchange 800-356: not geographic"},
      {"1-800-PIZZA-99", "=|Toll-Free Service|exchange 800-749: not geographic"},
      {"1-800-MATTRESS", "=|Toll-Free Service|exchange 800-628: not geographic"},  // 11 after the 1
      {"+44 20 7946 0000", "=|No cities found|"},
      {"93a7", "=|City not found in database|"}, {"93A7", "=|City not found in database|"},
      {"100 Mile House, BC", "=|100 Mile House|"},
      {"100 Mile House", "100 Mile House, British Columbia|100 Mile House|"},
  };
  for (const auto& [input, expected] : cases) EXPECT_EQ(Search(input), expected) << input;
}

TEST_F(NumberSearch, LocalTimesOfTheTypedPlaceOrOfEachZone) {
  Search("850");
  EXPECT_EQ(Status(),
            "Tallahassee, FL, 1:42\xA0PM Sunday, Eastern Daylight Time (UTC-04:00), same time as you "
            "\xB7 Pensacola, FL, 12:42\xA0PM Sunday, Central Daylight Time (UTC-05:00), 1\xA0h behind "
            "you \xB7 850: Eastern and Central");
  Search("Pensacola, FL");
  EXPECT_EQ(Status(),
            "Pensacola, FL, 12:42\xA0PM Sunday, Central Daylight Time (UTC-05:00), 1\xA0h behind you "
            "\xB7 can call now (8:00\xA0" "AM\x96" "9:00\xA0PM)");
  Search("937-294-1234");
  EXPECT_EQ(flow_.GetAnswer().exchangeRow, 2);
  const std::string text = AnswerText(flow_.GetAnswer(), kNow);
  EXPECT_EQ(text.substr(0, text.find("Area code:")),
            "Input: 937-294-1234\nExchange:\n  Kettering, OH\n"
            "Local time:\n  13:42 Eastern Daylight Time (UTC-04:00), Kettering, OH\n"
            "Callable now (08:00-21:00):\n  yes\n");
}

// An exchange that no source names answers the city its area code is known
// by, told as that city's area in the text, the status line and the JSON.
TEST_F(NumberSearch, AreaExchangeIsToldAsTheCodesArea) {
  test::WriteBytes(dir_ / "exc.bin", "TQEXC 2\nplaces 2\nDayton\tOH\nDayton\tOH\tarea\nexchanges 2\n"
                                     "937222 00001\n937999 00002\n");
  SearchFlow flow(dir_.path(), chooser_);
  flow.OpenData();
  flow.Search("937-999-1234");
  const std::string json = AnswerJson(flow.GetAnswer(), kNow);
  EXPECT_NE(AnswerText(flow.GetAnswer(), kNow).find("Exchange:\n  Dayton area, OH\n"), std::string::npos);
  EXPECT_NE(StatusText(flow.GetAnswer(), kNow).find("exchange 937-999: Dayton area, OH"), std::string::npos);
  EXPECT_EQ(BriefOf(flow.GetAnswer(), kNow).place, "Dayton area, OH");
  EXPECT_NE(json.find("\"place\": \"Dayton, OH\", \"status\": \"ok\", \"state\": \"OH\", \"area\": true}"),
            std::string::npos) << json;
  flow.Search("937-222-1234");
  EXPECT_EQ(AnswerJson(flow.GetAnswer(), kNow).find("\"area\""), std::string::npos);
}

TEST_F(NumberSearch, DamagedExchangeFileIsToldAndSkipped) {
  test::WriteBytes(dir_ / "exc.bin", "TQEXC 3\n");
  SearchFlow flow(dir_.path(), chooser_);
  flow.OpenData();
  EXPECT_EQ(StatusText(*flow.Search("937-222-1234"), kNow),
            "Data file exc.bin in " + dir_.path().string() +
                " is damaged: it is not a file of the format TQEXC 1 or 2. Numbers "
                "are answered without their exchange. \xB7 Dayton, OH, 1:42\xA0PM "
                "Sunday, Eastern Daylight Time (UTC-04:00), same time as you \xB7 can call now "
                "(8:00\xA0" "AM\x96" "9:00\xA0PM)");
}

}  // namespace
}  // namespace tq
