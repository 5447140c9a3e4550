#include "data/CitySet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "base/Text.h"
#include "support/TestData.h"

namespace tq {
namespace {

using test::TempDir;
using test::WriteBytes;
using test::WriteLines;

// "name/state" of every selected record, in selection order.
std::vector<std::string> Select(const std::filesystem::path& folder, const std::string& filter) {
  return test::SelectRows<CCitySet>(folder, filter, [](const CCitySet& set) {
    return set.strCity + "/" + set.strStateOrProvince;
  });
}

TEST(CitySetLoading, DecodesRecords) {
  TempDir dir;
  // Place 42, Dayton, OH (docs/data-format.md), then id 7: line 1 is 48; population line 150007.
  WriteLines(dir / "cit.bin", {"293", "zupoEb", "PI", "bcd", "992", "1", "0", "0",
                               "48", "tupoCp", "3BD", "bcd", "150007", "257", "0", "-1.5",
                               "55", "B", "YZ[X", "bcd", "8", "0", "0", "24",
                               "62", "bcd", "bcd", "bcd", "9", "1", "0", "1"});
  // Low 8 bits of 257 for the flag; a one-character name stays as it is.
  EXPECT_EQ(test::SelectRows<CCitySet>(dir.path(), "", [](const CCitySet& set) {
              return std::to_string(set.iCityId) + "|" + set.strCity + "|" + set.strStateOrProvince +
                     "|" + std::to_string(set.iPopulation) + "|" + std::to_string(set.bDaylightSaving) +
                     "|" + std::to_string(set.fTimeZone);
            }),
            (std::vector<std::string>{"42|Dayton|OH|950|1|0.000000", "7|Boston|CA|150000|1|-1.500000",
                                      "8|A|XYZW|0|0|24.000000",
                                      "9|bca|Non-geographic area code|0|1|1.000000"}));
}

// The name order the lists follow, whatever the order of the file: sorted,
// nearly sorted (a name that the case of a letter puts elsewhere), joined
// from sorted or nearly sorted files, or in no order at all; equal names by
// row.
TEST(CitySetLoading, NamesInOrderWhateverTheFileOrder) {
  std::vector<std::string> sorted;
  for (int i = 0; i < 3000; ++i) {
    std::string name = "Place " + std::to_string(1000 + i / 2);  // each name twice
    if (i % 7 == 0) name[0] = 'p';
    if (i % 11 == 0) name += " Extra";   // sixteen bytes
    if (i % 13 == 0) name += " Extras";  // longer, the same sixteen first
    if (i % 17 == 0) name = "Saint-Jean-sur-Richelieu " + name;
    if (i % 19 == 0) name = (i % 38 == 0 ? "\xC9" : "\xE9") + name;  // É and é
    sorted.push_back(name);
  }
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });
  std::vector<std::string> nearly = sorted, joined, shuffled = sorted;
  std::swap(nearly[10], nearly[2000]);
  for (int run = 0; run < 3; ++run) {
    for (std::size_t i = static_cast<std::size_t>(run); i < sorted.size(); i += 3) {
      joined.push_back(sorted[i]);
    }
  }
  // Joined from nearly sorted files: names out of place in each, the very
  // last one too.
  std::vector<std::string> joinedNearly = joined;
  for (std::size_t run = 0; run < 3; ++run) {
    std::swap(joinedNearly[run * 1000 + 10], joinedNearly[run * 1000 + 700]);
  }
  std::swap(joinedNearly[1], joinedNearly.back());
  for (std::size_t i = 0; i < shuffled.size(); ++i) {
    std::swap(shuffled[i], shuffled[i * 7919 % shuffled.size()]);
  }
  for (const std::vector<std::string>* names : {&sorted, &nearly, &joined, &joinedNearly, &shuffled}) {
    std::vector<test::CityFixture> cities;
    for (const std::string& name : *names) {
      cities.push_back(
          {static_cast<std::int32_t>(cities.size() + 1), name, "OH", "USA", 100, 1, "0", {}});
    }
    TempDir dir;
    test::WriteRecordFiles(dir.path(), cities);
    CCitySet set(dir.path());
    set.Open();
    std::vector<std::uint32_t> expected(names->size());
    std::iota(expected.begin(), expected.end(), 0u);
    std::stable_sort(expected.begin(), expected.end(), [&](std::uint32_t a, std::uint32_t b) {
      return CompareNoCase((*names)[a], (*names)[b]) < 0;
    });
    const auto name = [&](std::size_t position) { return (*names)[expected[position]]; };
    for (std::uint32_t position = 0; position < expected.size(); ++position) {
      ASSERT_EQ(set.RowAtNamePosition(position), expected[position])
          << "position " << position << " of the file beginning " << names->front();
      // The equal names before it, and those that begin with it after it.
      std::uint32_t first = position, after = position + 1;
      while (first > 0 && CompareNoCase(name(first - 1), name(position)) == 0) --first;
      while (after < expected.size() && StartsWithNoCase(name(after), name(position))) ++after;
      const CCitySet::NamePlace place = set.NamePlaceOf(expected[position]);
      ASSERT_EQ(place.first, first) << position;
      ASSERT_EQ(place.after, after) << position;
    }
  }
}

TEST(CitySetLoading, AbsentFilesLoadLaterButLoadedOnesOnlyOnce) {
  TempDir dir;
  CCitySet set(dir.path());
  set.Open();
  EXPECT_TRUE(set.IsEOF());
  WriteBytes(dir / "cit.bin", "");
  set.Open();
  EXPECT_TRUE(set.IsEOF());
  WriteBytes(dir / "cit.bin", "293\nzupoEb\r\nPI\nbcd\r\n992\n1\n0\n0");  // any line end
  set.Open();
  test::WriteSampleData(dir.path());
  set.Open();
  EXPECT_EQ(test::WalkRows(set, [](const CCitySet& s) { return s.strCity; }),
            std::vector<std::string>{"Dayton"});
}

class CitySetFilters : public ::testing::Test {
 protected:
  void SetUp() override { test::WriteSampleData(dir_.path()); }
  std::vector<std::string> Select(const std::string& filter) {
    return tq::Select(dir_.path(), filter);
  }
  TempDir dir_;
};

TEST_F(CitySetFilters, SelectTheSampleCities) {
  using Rows = std::vector<std::string>;
  const Rows kNone;
  const Rows kDaytons{"Dayton/OH", "Dayton/TX"}, kMontreal{"Montr\xE9" "al/QC"};
  for (const auto& [filter, rows] : std::vector<std::pair<std::string, Rows>>{
           // A city id as atoi reads it.
           {"iCityId = 60 or so", {"Springfield/IL"}}, {"iCityId = 1000", kNone},
           // A city name, normalised and tried with its accents.
           {"strCity = 'dayton'", kDaytons}, {"strCity = 'DAYTON'", kDaytons},
           {"strCity = 'montreal'", kMontreal}, {"strCity = 'MONTR\xC9" "AL'", kMontreal},
           {"strCity = 'toll-free service'", {"Toll-Free Service/Non-geographic area code"}},
           // A city and its state, by name or code.
           {"strCity = 'dayton' and strStateOrProvince = 'ohio'", {"Dayton/OH"}},
           {"strCity = 'dayton' and strStateOrProvince = 'oh'", {"Dayton/OH"}},
           {"strCity = 'Dayton' and strStateOrProvince = 'Texas'", {"Dayton/TX"}},
           {"strCity = 'Dayton' and strStateOrProvince = ''", kNone},
           {"strCity = 'Dayton' and strStateOrProvince = 'o'", kNone},
           {"strCity = 'montreal' and strStateOrProvince = 'Qu\xC9" "BEC'", kMontreal},
           // Without the exact connector the whole rest is the city.
           {"strCity = 'Dayton' and strState = 'OH'", kNone},
           {"strCity = 'Dayton'and strStateOrProvince = 'OH'", kNone},
           // Beginnings of names.
           {"strCity LIKE 'san%'", {"Sandusky/OH", "San Antonio/TX"}},
           {"strCity LIKE 'troy%'", {"Troy Hills/NJ", "Troy/NJ"}},
           {"strCity LIKE 'montr%'", kMontreal},
           // A state prefix selects the cities above ten thousand.
           {"strStateOrProvince = 'oh'", {"Dayton/OH", "Kettering/OH", "Sandusky/OH", "Findlay/OH"}},
           {"strStateOrProvince = 'n'", {"Yellowknife/NT", "Halifax/NS"}},
           {"strStateOrProvince = 'AK'", kNone},  // Nome has 3800
           {"strStateOrProvince = 'Ohio'", {"Dayton/OH", "Kettering/OH", "Sandusky/OH", "Findlay/OH"}},
           {"strStateOrProvince = 'ohi'", kNone},
           // Short and strange filters select nothing.
           {"iAreaCode = 937", kNone}, {"strCity = '", kNone}}) {
    EXPECT_EQ(Select(filter), rows) << filter;
  }
  EXPECT_EQ(Select("").front(), "Dayton/OH");
  EXPECT_EQ(Select("").size(), test::SampleCities().size());
  EXPECT_EQ(Select("strCity LIKE '%'").size(), test::SampleCities().size());
  EXPECT_EQ(Select("strStateOrProvince = ''").size(), 15u);
}

TEST_F(CitySetFilters, ExactlyTenThousandIsNotMajor) {
  TempDir dir;
  test::WriteDataFiles(dir.path(), {{1, "Even", "OH", "USA", 10000, 1, "0", {}},
                                    {2, "Above", "OH", "USA", 10001, 1, "0", {}}});
  EXPECT_EQ(tq::Select(dir.path(), "strStateOrProvince = 'OH'"),
            std::vector<std::string>{"Above/OH"});
}

// Names as people write them are found as users type them: capitals aside,
// accents from the generated table, quotes inside a value kept, the old code
// NF understood as NL, typed or stored, states told apart by their whole
// names.
TEST_F(CitySetFilters, NamesMatchWithoutRegardToCase) {
  using Rows = std::vector<std::string>;
  TempDir dir;
  test::WriteDataFiles(
      dir.path(), {{1, "McAllen", "TX", "USA", 142000, 1, "-1", {}},
                   {3, "DeKalb", "IL", "USA", 40000, 1, "-1", {}},
                   {4, "Coeur d'Alene", "ID", "USA", 55000, 1, "-3", {}},
                   {5, "San Pedro de Macor\xEDs", "Dominican Republic", "Dominican Republic",
                    195000, 0, "1", {}},
                   {6, "Gander", "NL", "Canada", 11880, 1, "1.5", {}},
                   {7, "Corner Brook", "NF", "Canada", 19316, 1, "1.5", {}},
                   {8, "Basseterre", "SAINT KITTS AND NEVIS", "Saint Kitts", 14000, 0, "1", {}},
                   {9, "Bay", "SAINT KITTS", "Saint Kitts", 20000, 0, "1", {}},
                   {10, "Cayon", "SAINT KITTS AND NEVIS", "Saint Kitts", 15000, 0, "1", {}}});
  for (const auto& [filter, rows] : std::vector<std::pair<std::string, Rows>>{
           {"strCity = 'mcallen'", {"McAllen/TX"}},
           {"strCity = 'coeur d'alene' and strStateOrProvince = 'idaho'", {"Coeur d'Alene/ID"}},
           {"strCity LIKE 'dek%'", {"DeKalb/IL"}},
           {"strCity = 'san pedro de macoris' and strStateOrProvince = 'dominican republic'",
            {"San Pedro de Macor\xEDs/Dominican Republic"}},
           {"strCity = 'gander' and strStateOrProvince = 'nf'", {"Gander/NL"}},
           {"strCity = 'corner brook' and strStateOrProvince = 'NL'", {"Corner Brook/NF"}},
           {"strStateOrProvince = 'NF'", {"Gander/NL", "Corner Brook/NF"}},
           // States alike in their first eight letters.
           {"strStateOrProvince = 'Saint Kitts and'",
            {"Basseterre/SAINT KITTS AND NEVIS", "Cayon/SAINT KITTS AND NEVIS"}}}) {
    EXPECT_EQ(tq::Select(dir.path(), filter), rows) << filter;
  }
}

}  // namespace
}  // namespace tq
