#include "data/CitySet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/TestData.h"

namespace tq {
namespace {

using test::CityFixture;
using test::EncodeCity;
using test::TempDir;
using test::WriteBytes;
using test::WriteLines;

// "name/state" of every selected record, in selection order.
std::vector<std::string> Walk(CCitySet& set) {
  std::vector<std::string> rows;
  for (; !set.IsEOF(); set.MoveNext()) rows.push_back(set.strCity + "/" + set.strStateOrProvince);
  return rows;
}

std::vector<std::string> Select(const std::filesystem::path& folder, const std::string& filter) {
  CCitySet set(folder);
  set.strFilter = filter;
  set.Open();
  return Walk(set);
}

TEST(CitySetLoading, DecodesTheDocumentedRecord) {
  TempDir dir;
  WriteLines(dir / "cit.bin", {"293", "zupoEb", "PI", "bcd", "992", "1", "0", "0"});
  CCitySet set(dir.path());
  set.Open();
  ASSERT_FALSE(set.IsEOF());
  EXPECT_EQ(set.iCityId, 42);
  EXPECT_EQ(set.strCity, "Dayton");
  EXPECT_EQ(set.strStateOrProvince, "OH");
  EXPECT_EQ(set.iPopulation, 950);
  EXPECT_EQ(set.bDaylightSaving, 1);
  EXPECT_EQ(set.fTimeZone, 0.0f);
}

TEST(CitySetLoading, DecodesNamesAndStates) {
  TempDir dir;
  // id 7: line 1 is 48; population line 150007.
  WriteLines(dir / "cit.bin", {"48", "tupoCp", "3BD", "bcd", "150007", "257", "0", "-1.5",
                               "55", "B", "YZ[X", "bcd", "8", "0", "0", "24",
                               "62", "bcd", "bcd", "bcd", "9", "1", "0", "1"});
  CCitySet set(dir.path());
  set.Open();
  ASSERT_FALSE(set.IsEOF());
  EXPECT_EQ(set.iCityId, 7);
  EXPECT_EQ(set.strCity, "Boston");
  EXPECT_EQ(set.strStateOrProvince, "CA");
  EXPECT_EQ(set.iPopulation, 150000);
  EXPECT_EQ(set.bDaylightSaving, 1);  // low 8 bits of 257
  EXPECT_EQ(set.fTimeZone, -1.5f);
  set.MoveNext();
  EXPECT_EQ(set.strCity, "A");  // one character stays as it is
  EXPECT_EQ(set.strStateOrProvince, "XYZW");
  EXPECT_EQ(set.fTimeZone, 24.0f);
  set.MoveNext();
  EXPECT_EQ(set.strCity, "bca");
  EXPECT_EQ(set.strStateOrProvince, "Non-geographic area code");
}

TEST(CitySetLoading, IncompleteOrBlankBrokenRecordsEndTheLoad) {
  const CityFixture a{1, "Alpha", "OH", "USA", 100, 1, "0", {}};
  const CityFixture b{2, "Beta", "OH", "USA", 100, 1, "0", {}};
  auto lines = EncodeCity(a);
  const auto second = EncodeCity(b);
  TempDir dir;

  auto cut = lines;
  cut.insert(cut.end(), second.begin(), second.begin() + 5);
  WriteLines(dir / "cit.bin", cut);
  EXPECT_EQ(Select(dir.path(), "").size(), 1u);

  for (std::size_t blank = 0; blank < 8; ++blank) {
    auto broken = lines;
    auto damaged = second;
    damaged[blank].clear();
    broken.insert(broken.end(), damaged.begin(), damaged.end());
    broken.insert(broken.end(), lines.begin(), lines.end());
    WriteLines(dir / "cit.bin", broken);
    EXPECT_EQ(Select(dir.path(), "").size(), 1u) << "blank line " << blank;
  }
}

TEST(CitySetLoading, AcceptsEveryLineEnd) {
  TempDir dir;
  WriteBytes(dir / "cit.bin", "293\nzupoEb\r\nPI\nbcd\r\n992\n1\n0\n0");
  EXPECT_EQ(Select(dir.path(), ""), std::vector<std::string>{"Dayton/OH"});
}

TEST(CitySetLoading, MissingEmptyAndFolderFilesCountAsAbsent) {
  TempDir dir;
  CCitySet set(dir.path());
  set.Open();
  EXPECT_TRUE(set.IsEOF());
  WriteBytes(dir / "cit.bin", "");
  set.Open();
  EXPECT_TRUE(set.IsEOF());
  test::WriteSampleData(dir.path());
  set.Open();
  EXPECT_FALSE(set.IsEOF());

  TempDir other;
  std::filesystem::create_directory(other / "cit.bin");
  EXPECT_TRUE(Select(other.path(), "").empty());
}

TEST(CitySetLoading, LoadsOnlyOnce) {
  TempDir dir;
  test::WriteSampleData(dir.path());
  CCitySet set(dir.path());
  set.Open();
  const std::size_t rows = set.RowCount();
  WriteLines(dir / "cit.bin", {"293", "zupoEb", "PI", "bcd", "992", "1", "0", "0"});
  set.Open();
  EXPECT_EQ(set.RowCount(), rows);
}

TEST(CitySetLoading, SurvivesOddBytesAndNumbers) {
  TempDir dir;
  WriteLines(dir / "cit.bin",
             {"99999999999999999999", std::string("\x01\x00\xFF", 3), "\xFF", "x",
              "-99999999999999999999", "garbage", "y", "1e999",
              "13", std::string(1 << 20, 'a'), "PI", "bcd", "0", "0", "0", "nan"});
  CCitySet set(dir.path());
  set.Open();
  ASSERT_EQ(set.RowCount(), 2u);
  EXPECT_EQ(set.iCityId, 306783378);  // (2147483647 + 1) / 7
  EXPECT_EQ(set.strCity, std::string("\xFF\xFE\x00", 3));
  EXPECT_EQ(set.strStateOrProvince, "\xFE");
  EXPECT_TRUE(std::isinf(set.fTimeZone));
  set.MoveNext();
  EXPECT_EQ(set.strCity.size(), std::size_t{1} << 20);
  EXPECT_TRUE(std::isnan(set.fTimeZone));
}

class CitySetFilters : public ::testing::Test {
 protected:
  void SetUp() override { test::WriteSampleData(dir_.path()); }
  std::vector<std::string> Select(const std::string& filter) {
    return tq::Select(dir_.path(), filter);
  }
  TempDir dir_;
};

TEST_F(CitySetFilters, EmptyFilterSelectsEverythingInFileOrder) {
  const auto rows = Select("");
  ASSERT_EQ(rows.size(), test::SampleCities().size());
  EXPECT_EQ(rows.front(), "Dayton/OH");
  EXPECT_EQ(rows.back(), "Toll-Free Service/Non-geographic area code");
}

TEST_F(CitySetFilters, CityIdSelectsByAtoiValue) {
  EXPECT_EQ(Select("iCityId = 60"), std::vector<std::string>{"Springfield/IL"});
  EXPECT_EQ(Select("iCityId = 60 or so"), std::vector<std::string>{"Springfield/IL"});
  EXPECT_TRUE(Select("iCityId = 1000").empty());
  EXPECT_TRUE(Select("iCityId = ").empty());
}

TEST_F(CitySetFilters, CityNameIsNormalisedAndTriedWithAccents) {
  EXPECT_EQ(Select("strCity = 'dayton'"), (std::vector<std::string>{"Dayton/OH", "Dayton/TX"}));
  EXPECT_EQ(Select("strCity = 'DAYTON'").size(), 2u);
  EXPECT_EQ(Select("strCity = 'montreal'"), std::vector<std::string>{"Montr\xE9" "al/QC"});
  EXPECT_EQ(Select("strCity = 'MONTR\xC9" "AL'"), std::vector<std::string>{"Montr\xE9" "al/QC"});
  EXPECT_EQ(Select("strCity = 'toll-free service'").size(), 1u);
}

TEST_F(CitySetFilters, CityAndState) {
  EXPECT_EQ(Select("strCity = 'dayton' and strStateOrProvince = 'ohio'"),
            std::vector<std::string>{"Dayton/OH"});
  EXPECT_EQ(Select("strCity = 'dayton' and strStateOrProvince = 'oh'"),
            std::vector<std::string>{"Dayton/OH"});
  EXPECT_EQ(Select("strCity = 'Dayton' and strStateOrProvince = 'Texas'"),
            std::vector<std::string>{"Dayton/TX"});
  EXPECT_TRUE(Select("strCity = 'Dayton' and strStateOrProvince = ''").empty());
  EXPECT_TRUE(Select("strCity = 'Dayton' and strStateOrProvince = 'o'").empty());
  EXPECT_EQ(Select("strCity = 'montreal' and strStateOrProvince = 'Qu\xC9" "BEC'").size(), 1u);
}

TEST_F(CitySetFilters, WithoutTheConnectorTheWholeRestIsTheCity) {
  EXPECT_TRUE(Select("strCity = 'Dayton' and strState = 'OH'").empty());
  EXPECT_EQ(Select("strCity = 'Dayton'and strStateOrProvince = 'OH'").size(), 0u);
}

TEST_F(CitySetFilters, PrefixSelectsBeginningsOfNames) {
  EXPECT_EQ(Select("strCity LIKE 'san%'"),
            (std::vector<std::string>{"Sandusky/OH", "San Antonio/TX"}));
  EXPECT_EQ(Select("strCity LIKE 'troy%'"),
            (std::vector<std::string>{"Troy Hills/NJ", "Troy/NJ"}));
  EXPECT_EQ(Select("strCity LIKE 'montreal%'").size(), 1u);
  EXPECT_EQ(Select("strCity LIKE 'montr%'"), std::vector<std::string>{"Montr\xE9" "al/QC"});
  EXPECT_EQ(Select("strCity LIKE '%'").size(), test::SampleCities().size());
}

TEST_F(CitySetFilters, StatePrefixSelectsCitiesAboveTenThousand) {
  EXPECT_EQ(Select("strStateOrProvince = 'oh'"),
            (std::vector<std::string>{"Dayton/OH", "Kettering/OH", "Sandusky/OH", "Findlay/OH"}));
  EXPECT_EQ(Select("strStateOrProvince = 'N'"),
            (std::vector<std::string>{"Yellowknife/NT", "Halifax/NS"}));
  EXPECT_TRUE(Select("strStateOrProvince = 'AK'").empty());  // Nome has 3800
  EXPECT_EQ(Select("strStateOrProvince = ''").size(), 15u);
  EXPECT_TRUE(Select("strStateOrProvince = 'ohio'").empty());
}

TEST_F(CitySetFilters, ExactlyTenThousandIsNotMajor) {
  TempDir dir;
  test::WriteDataFiles(dir.path(), {{1, "Even", "OH", "USA", 10000, 1, "0", {}},
                                    {2, "Above", "OH", "USA", 10001, 1, "0", {}}});
  EXPECT_EQ(tq::Select(dir.path(), "strStateOrProvince = 'OH'"),
            std::vector<std::string>{"Above/OH"});
}

TEST_F(CitySetFilters, ShortAndStrangeFiltersNeverFail) {
  for (const char* filter :
       {"strCity = ", "strCity = '", "strCity = ''", "strCity LIKE ", "strCity LIKE '",
        "strCity LIKE '%", "strStateOrProvince = ", "strStateOrProvince = '", "iAreaCode = 937",
        "x", "'", "''''''''", "strCity = 'O'Brien'", "strCity = 'a' and strStateOrProvince = "}) {
    CCitySet set(dir_.path());
    set.strFilter = filter;
    set.Open();
    std::size_t count = 0;
    for (; !set.IsEOF(); set.MoveNext()) ++count;
    EXPECT_LE(count, test::SampleCities().size()) << filter;
  }
  EXPECT_TRUE(Select("iAreaCode = 937").empty());
  EXPECT_TRUE(Select("strCity = '").empty());
}

TEST_F(CitySetFilters, QuotesInsideAValueAreKept) {
  TempDir dir;
  test::WriteDataFiles(dir.path(), {{1, "Coeur D'Alene", "ID", "USA", 50000, 1, "-3", {}}});
  EXPECT_EQ(tq::Select(dir.path(), "strCity = 'coeur d'alene'"),
            std::vector<std::string>{"Coeur D'Alene/ID"});
}

}  // namespace
}  // namespace tq
