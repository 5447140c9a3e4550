#include "data/AreaCodeSet.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>
#include <vector>

#include "support/TestData.h"

namespace tq {
namespace {

using test::TempDir;
using test::WriteBytes;
using test::WriteLines;
using Pairs = std::vector<std::pair<int, int>>;

std::pair<int, int> IdAndCode(const CAreaCodeSet& set) { return {set.iCityId, set.iAreaCode}; }

Pairs Select(const std::filesystem::path& folder, const std::string& filter = "") {
  return test::SelectRows<CAreaCodeSet>(folder, filter, IdAndCode);
}

TEST(AreaCodeSetLoading, DecodesPairsWithAnyLineEnd) {
  TempDir dir;
  WriteLines(dir / "arc.bin", {"76", "1846", "461", "2853"});
  EXPECT_EQ(Select(dir.path()), (Pairs{{7, 613}, {42, 937}}));
  WriteBytes(dir / "arc.bin", "76\n1846\r\n461\n2853");  // bare LF, CR LF, no end at all
  EXPECT_EQ(Select(dir.path()), (Pairs{{7, 613}, {42, 937}}));
}

TEST(AreaCodeSetLoading, AbsentFilesLoadLaterButLoadedOnesOnlyOnce) {
  TempDir dir;
  CAreaCodeSet set(dir.path());
  set.Open();
  EXPECT_TRUE(set.IsEOF());
  WriteLines(dir / "arc.bin", {"76", "1846"});
  set.Open();
  WriteLines(dir / "arc.bin", {"461", "2853"});
  set.Open();
  EXPECT_EQ(test::WalkRows(set, IdAndCode), (Pairs{{7, 613}}));
}

class AreaCodeSetFilters : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteLines(dir_ / "arc.bin", {"76", "1846", "461", "2853", "76", "2818", "406", "1876"});
  }
  TempDir dir_;
};

TEST_F(AreaCodeSetFilters, SelectInFileOrder) {
  EXPECT_EQ(Select(dir_.path(), "iAreaCode = 613"), (Pairs{{7, 613}, {37, 613}}));
  EXPECT_EQ(Select(dir_.path(), "iCityId = 7"), (Pairs{{7, 613}, {7, 937}}));
  EXPECT_EQ(Select(dir_.path()).size(), 4u);
  // Filter values read as atoi reads them.
  EXPECT_EQ(Select(dir_.path(), "iAreaCode =  613 and more").size(), 2u);
  EXPECT_EQ(Select(dir_.path(), "iCityId = 7'").size(), 2u);
  for (const char* filter : {" iAreaCode = 613", "iareacode = 613", "strCity = 'Dayton'"}) {
    EXPECT_TRUE(Select(dir_.path(), filter).empty()) << filter;
  }
}

TEST_F(AreaCodeSetFilters, CursorStopsAtTheEndAndEmptySelectionsKeepTheLastValues) {
  CAreaCodeSet set(dir_.path());
  set.strFilter = "iCityId = 42";
  set.Open();
  ASSERT_FALSE(set.IsEOF());
  set.MoveNext();
  set.MoveNext();
  EXPECT_TRUE(set.IsEOF());
  EXPECT_EQ(IdAndCode(set), std::make_pair(42, 937));
  set.strFilter = "iCityId = 5";
  EXPECT_FALSE(set.Requery());
  EXPECT_TRUE(set.IsEOF());
  EXPECT_EQ(IdAndCode(set), std::make_pair(42, 937));
}

}  // namespace
}  // namespace tq
