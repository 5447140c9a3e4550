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
  ASSERT_TRUE(table.Load(test::kSampleExchanges));
  EXPECT_EQ(Place(table, 514, 555), "Montr\xE9" "al, QC");
  EXPECT_EQ(Place(table, 937, 222), "Dayton, OH");
  EXPECT_EQ(Place(table, 937, 294), "Kettering, OH");
  for (const auto& [areaCode, exchange] : {std::pair{201, 0}, {937, 223}, {999, 999}, {-1, 5}}) {
    EXPECT_EQ(Place(table, areaCode, exchange), "-") << areaCode << exchange;
  }
}

TEST(ExchangeTable, RefusesOtherVersionsAndDamagedFiles) {
  const std::string good = test::kSampleExchanges;
  std::string badPlace = good;
  badPlace.replace(badPlace.find("00002"), 5, "00004");
  ExchangeTable table;
  ASSERT_TRUE(table.Load(badPlace));
  EXPECT_EQ(Place(table, 937, 294), "-");  // a place number beyond the list
  for (const std::string& bytes :
       {std::string("TQEXC 2") + good.substr(7), good.substr(0, good.size() - 1), good + "x",
        std::string(good).replace(8, 8, "places x"), std::string()}) {
    EXPECT_FALSE(table.Load(bytes)) << bytes;
    EXPECT_TRUE(table.IsEmpty());
  }
}

}  // namespace
}  // namespace tq
