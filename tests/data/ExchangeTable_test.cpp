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
  const std::string notARecord = "the record at line 9 has an exchange record that is not six digits, a blank and "
                                  "five, so it is left out; records read and used: 2";
  const std::string oneMore = ", and 1 more damaged stretches are left out; records read and used: ";
  const struct {
    std::string bytes, told, found;
  } cases[] = {
      {"\xEF\xBB\xBF" + good, "it begins with a UTF-8 byte-order mark, which is skipped; records read and used: 3", "YYY"},
      {changed("00002", "00004"), "the record at line 9 has a place number that names no usable place, so it is left out; records read and used: 2", "YY-"},
      {changed("00002", "0 002"), notARecord, "YY-"},
      {changed("Kettering\t", "Kett\x01ring\t"), "the record at line 4 has a place line that is not a name, a tab and a state" + oneMore + "2", "YY-"},
      {changed("937222", "999222"), "the record at line 8 has an exchange out of order" + oneMore + "1", "Y--"},
      {changed("514555", "999555"), "the record at line 7 has an exchange out of order" + oneMore + "1", "--Y"},
      {good + "937294 00001\n", "it holds 4 exchange records where its header says 3; the record at line 10 repeats the exchange of an earlier one (the first is used); records read and used: 3", "YYY"},
      {good.substr(0, good.size() - 1), notARecord, "YY-"},
      {good + "x", "it holds 4 exchange records where its header says 3; the record at line 10 has an exchange record that is not six digits, a blank and five, so it is left out; records read and used: 3", "YYY"},
      {changed("exchanges 3", "exchanges 4"), "it holds 3 exchange records where its header says 4; records read and used: 3",
       "YYY"},
      {changed("exchanges 3", "exchanges 2"), "it holds 3 exchange records where its header says 2; records read and used: 3", "YYY"},
      {good.substr(0, good.find("514555")), "it holds 0 exchange records where its header says 3; it holds no usable record", "---"},
      // Nothing can be trusted when the header is not whole.
      {"TQEXC 3" + good.substr(7), "it is not a file of the format TQEXC 1 or 2", "---"},
      // A third field only in version 2, and only "area".
      {changed("Kettering\tOH", "Kettering\tOH\tarea"), "the record at line 4 has a place line that is not a name, a tab and a state" + oneMore + "2", "YY-"},
      {"TQEXC 2" + changed("Kettering\tOH", "Kettering\tOH\tareas").substr(7),
       "the record at line 4 has a place line that is not a name, a tab, a state and perhaps a tab and \"area\"" + oneMore + "2", "YY-"},
      {changed("places 3", "places x"), "its second line is not a count of places", "---"},
      {changed("\nDayton\tOH", ""), "line 6 is not the count of exchanges after 3 places", "---"},
      {good.substr(0, 20), "it ends inside its list of places", "---"},
  };
  for (const auto& [bytes, told, found] : cases) {
    ExchangeTable table;
    const std::string text = table.Load(bytes);
    EXPECT_EQ(text, told);
    std::string answers;
    for (const auto& [areaCode, exchange] : {std::pair{514, 555}, {937, 222}, {937, 294}}) {
      answers += Place(table, areaCode, exchange) == "-" ? '-' : 'Y';
    }
    EXPECT_EQ(answers, found) << told;
  }
}

}  // namespace
}  // namespace tq
