#include "data/AreaCodeSet.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "support/TestData.h"

namespace tq {
namespace {

using test::TempDir;
using test::WriteBytes;
using test::WriteLines;

std::vector<std::pair<int, int>> Walk(CAreaCodeSet& set) {
  std::vector<std::pair<int, int>> pairs;
  for (; !set.IsEOF(); set.MoveNext()) pairs.emplace_back(set.iCityId, set.iAreaCode);
  return pairs;
}

std::vector<std::pair<int, int>> Select(const std::filesystem::path& folder,
                                        const std::string& filter) {
  CAreaCodeSet set(folder);
  set.strFilter = filter;
  set.Open();
  return Walk(set);
}

TEST(AreaCodeSetLoading, DecodesPairs) {
  TempDir dir;
  WriteLines(dir / "arc.bin", {"76", "1846", "461", "2853"});
  EXPECT_EQ(Select(dir.path(), ""), (std::vector<std::pair<int, int>>{{7, 613}, {42, 937}}));
}

TEST(AreaCodeSetLoading, AcceptsEveryLineEnd) {
  TempDir dir;
  WriteBytes(dir / "arc.bin", "76\n1846\r\n461\n2853");  // bare LF, CR LF, no end at all
  EXPECT_EQ(Select(dir.path(), "").size(), 2u);
}

TEST(AreaCodeSetLoading, HalfPairAndBlankLineEndTheLoad) {
  TempDir dir;
  WriteLines(dir / "arc.bin", {"76", "1846", "461"});
  EXPECT_EQ(Select(dir.path(), "").size(), 1u);
  WriteLines(dir / "arc.bin", {"76", "1846", "", "461", "2853"});
  EXPECT_EQ(Select(dir.path(), "").size(), 1u);
  WriteLines(dir / "arc.bin", {"76", "", "461", "2853"});
  EXPECT_TRUE(Select(dir.path(), "").empty());
}

TEST(AreaCodeSetLoading, MalformedNumbersReadAsAtoiDoes) {
  TempDir dir;
  // Trailing garbage, no digits, and numbers far beyond 32 bits.
  WriteLines(dir / "arc.bin", {"76xyz", "1846 ", "abc", "-", "99999999999999999999",
                               "-99999999999999999999"});
  const auto pairs = Select(dir.path(), "");
  ASSERT_EQ(pairs.size(), 3u);
  EXPECT_EQ(pairs[0], std::make_pair(7, 613));
  EXPECT_EQ(pairs[1], std::make_pair(0, 0));
  // 2147483647 saturated: (2147483647 + 1) / 11 and (-2147483648 - id) / 3,
  // computed without overflow.
  EXPECT_EQ(pairs[2].first, 195225786);
  EXPECT_EQ(pairs[2].second, static_cast<int>((-2147483648LL - 195225786) / 3));
}

TEST(AreaCodeSetLoading, MissingFileLeavesTheSetEmptyUntilItAppears) {
  TempDir dir;
  CAreaCodeSet set(dir.path());
  set.Open();
  EXPECT_TRUE(set.IsEOF());
  WriteLines(dir / "arc.bin", {"76", "1846"});
  set.Open();
  ASSERT_FALSE(set.IsEOF());
  EXPECT_EQ(set.iAreaCode, 613);
}

TEST(AreaCodeSetLoading, LoadsOnlyOnce) {
  TempDir dir;
  WriteLines(dir / "arc.bin", {"76", "1846"});
  CAreaCodeSet set(dir.path());
  set.Open();
  WriteLines(dir / "arc.bin", {"461", "2853"});
  set.Open();
  EXPECT_EQ(Walk(set), (std::vector<std::pair<int, int>>{{7, 613}}));
}

TEST(AreaCodeSetLoading, UnreadableFilesCountAsAbsent) {
  TempDir dir;
  std::filesystem::create_directory(dir / "arc.bin");  // a folder of that name
  EXPECT_TRUE(Select(dir.path(), "").empty());
  TempDir empty;
  WriteBytes(empty / "arc.bin", "");
  EXPECT_TRUE(Select(empty.path(), "").empty());
}

TEST(AreaCodeSetLoading, SurvivesBinaryAndHugeLines) {
  TempDir dir;
  WriteBytes(dir / "arc.bin", std::string("76\0\xFF\n1846\n", 10) + std::string(1 << 20, '7') +
                                  "\n" + std::string(1 << 20, '\xFF') + "\n");
  const auto pairs = Select(dir.path(), "");
  ASSERT_EQ(pairs.size(), 2u);
  EXPECT_EQ(pairs[0], std::make_pair(7, 613));
}

class AreaCodeSetFilters : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteLines(dir_ / "arc.bin", {"76", "1846", "461", "2853", "76", "2818", "76", "1846"});
  }
  TempDir dir_;
};

TEST_F(AreaCodeSetFilters, SelectInFileOrderKeepingDuplicates) {
  EXPECT_EQ(Select(dir_.path(), "iAreaCode = 613"),
            (std::vector<std::pair<int, int>>{{7, 613}, {7, 613}}));
  EXPECT_EQ(Select(dir_.path(), "iCityId = 7"),
            (std::vector<std::pair<int, int>>{{7, 613}, {7, 937}, {7, 613}}));
  EXPECT_EQ(Select(dir_.path(), "").size(), 4u);
}

TEST_F(AreaCodeSetFilters, UnrecognisedFiltersSelectNothing) {
  for (const char* filter : {" iAreaCode = 613", "iareacode = 613", "iAreaCode=613",
                             "strCity = 'Dayton'", "iAreaCode = 999"}) {
    EXPECT_TRUE(Select(dir_.path(), filter).empty()) << filter;
  }
}

TEST_F(AreaCodeSetFilters, ValuesReadAsAtoiDoes) {
  EXPECT_EQ(Select(dir_.path(), "iAreaCode =  613 and more").size(), 2u);
  EXPECT_EQ(Select(dir_.path(), "iCityId = 7'").size(), 3u);
  EXPECT_TRUE(Select(dir_.path(), "iCityId = ").empty());
}

TEST_F(AreaCodeSetFilters, CursorStopsAtTheEndWithTheLastValues) {
  CAreaCodeSet set(dir_.path());
  set.strFilter = "iCityId = 42";
  set.Open();
  ASSERT_FALSE(set.IsEOF());
  set.MoveNext();
  EXPECT_TRUE(set.IsEOF());
  EXPECT_EQ(set.iAreaCode, 937);
  set.MoveNext();
  EXPECT_TRUE(set.IsEOF());
  EXPECT_EQ(set.iCityId, 42);
}

TEST_F(AreaCodeSetFilters, EmptySelectionKeepsThePreviousRecord) {
  CAreaCodeSet set(dir_.path());
  set.strFilter = "iCityId = 42";
  set.Open();
  set.strFilter = "iCityId = 5";
  EXPECT_FALSE(set.Requery());
  EXPECT_TRUE(set.IsEOF());
  EXPECT_EQ(set.iAreaCode, 937);
}

}  // namespace
}  // namespace tq
