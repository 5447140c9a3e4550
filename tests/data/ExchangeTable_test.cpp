#include "data/ExchangeTable.h"

#include <gtest/gtest.h>

#include <string>

#include "support/TestData.h"

namespace tq {
namespace {

std::string Place(const ExchangeTable& table, int areaCode, int exchange) {
  const std::optional<ExchangePlace> place = table.Find(areaCode, exchange);
  return place ? place->city + ", " + place->state : "-";
}

TEST(ExchangeTable, FindsListedExchangesOnly) {
  ExchangeTable table;
  ASSERT_EQ(table.Load(test::kSampleExchanges), "");
  EXPECT_EQ(Place(table, 514, 555), "Montr\xE9" "al, QC");
  EXPECT_EQ(Place(table, 937, 222), "Dayton, OH");
  EXPECT_EQ(Place(table, 937, 294), "Kettering, OH");
  for (const auto& [areaCode, exchange] : {std::pair{201, 0}, {937, 223}, {999, 999}, {-1, 5}}) {
    EXPECT_EQ(Place(table, areaCode, exchange), "-") << areaCode << exchange;
  }
}

// Version 2 marks the place named for exchanges no source names: the city
// the area code is known by.
TEST(ExchangeTable, Version2MarksTheCityACodeIsKnownBy) {
  ExchangeTable table;
  ASSERT_EQ(table.Load("TQEXC 2\nplaces 2\nDayton\tOH\nDayton\tOH\tarea\nexchanges 2\n"
                       "937222 00001\n937999 00002\n"),
            "");
  EXPECT_EQ(Place(table, 937, 999), "Dayton, OH");
  EXPECT_TRUE(table.Find(937, 999)->area);
  EXPECT_FALSE(table.Find(937, 222)->area);
}

// Each damage is told, and the sound records still answer: the rows give
// which of 514-555, 937-222 and 937-294 are found afterwards.
TEST(ExchangeTable, DamageIsToldAndSoundRecordsAnswer) {
  const std::string good = test::kSampleExchanges;
  const auto changed = [&](const std::string& from, const std::string& to) {
    return std::string(good).replace(good.find(from), from.size(), to);
  };
  const struct {
    std::string bytes, told, found;
  } cases[] = {
      {"\xEF\xBB\xBF" + good, "begins with a UTF-8 byte-order mark", "YYY"},
      {changed("00002", "00004"), "line 9 has a place number that names no usable place", "YY-"},
      {changed("00002", "0 002"), "line 9 has an exchange record that is not six", "YY-"},
      {changed("Kettering\t", "Kett\x01ring\t"), "line 4 has a place line that is not", "YY-"},
      {changed("937222", "999222"), "line 8 has an exchange out of order", "Y--"},
      {changed("514555", "999555"), "line 7 has an exchange out of order", "--Y"},
      {good + "937294 00001\n", "line 10 repeats the exchange", "YYY"},
      {good.substr(0, good.size() - 1), "line 9 has an exchange record", "YY-"},
      {good + "x", "line 10 has an exchange record", "YYY"},
      {changed("exchanges 3", "exchanges 4"), "holds 3 exchange records where its header says 4",
       "YYY"},
      {good.substr(0, good.find("514555")), "it holds no usable record", "---"},
      // Nothing can be trusted when the header is not whole.
      {"TQEXC 3" + good.substr(7), "not a file of the format TQEXC 1 or 2", "---"},
      // A third field only in version 2, and only "area".
      {changed("Kettering\tOH", "Kettering\tOH\tarea"), "line 4 has a place line that is not", "YY-"},
      {"TQEXC 2" + changed("Kettering\tOH", "Kettering\tOH\tareas").substr(7),
       "line 4 has a place line that is not", "YY-"},
      {changed("places 3", "places x"), "second line is not a count of places", "---"},
      {changed("\nDayton\tOH", ""), "line 6 is not the count of exchanges after 3 places", "---"},
      {good.substr(0, 20), "ends inside its list of places", "---"},
  };
  for (const auto& [bytes, told, found] : cases) {
    ExchangeTable table;
    const std::string text = table.Load(bytes);
    EXPECT_NE(text.find(told), std::string::npos) << told << " | " << text;
    std::string answers;
    for (const auto& [areaCode, exchange] : {std::pair{514, 555}, {937, 222}, {937, 294}}) {
      answers += Place(table, areaCode, exchange) == "-" ? '-' : 'Y';
    }
    EXPECT_EQ(answers, found) << told;
  }
}

}  // namespace
}  // namespace tq
