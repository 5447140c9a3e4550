#include "data/PlaceKinds.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "support/TestData.h"

namespace tq {
namespace {

class PlaceKindsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteRecordFiles(dir_.path(), {{1, "Washington", "PA", "USA", 13000, 1, "0", {724}},
                                         {2, "Washington Township", "PA", "USA", 5000, 1, "0", {724}},
                                         {3, "Washington Twp", "PA", "USA", 4000, 1, "0", {724}},
                                         {4, "Canonsburg", "PA", "USA", 9000, 1, "0", {724}}});
    cities_.Open();
  }
  // The kind words of places 1 to 4 ("-" for none) and the plain name of 2.
  std::string Read(const PlaceKinds& kinds) const {
    std::string read;
    for (std::uint32_t row = 0; row < 4; ++row) {
      const std::string_view word = PlaceKindWord(kinds.KindOfRow(row));
      read += (word.empty() ? "-" : std::string(word)) + " ";
    }
    return read + std::string(kinds.PlainName(cities_, 1));
  }
  test::TempDir dir_;
  CCitySet cities_{dir_.path()};
};

// Each damage is told, and the sound lines are used.
TEST_F(PlaceKindsTest, DamageIsToldAndSoundLinesAreUsed) {
  const std::string good = "TQKIND 1\nplaces 3\n1\tcity\n2\ttownship\tWashington\n3\ttown\tWashington\n";
  const auto changed = [&](const std::string& from, const std::string& to) {
    return std::string(good).replace(good.find(from), from.size(), to);
  };
  const struct {
    std::string bytes, told, read;
  } cases[] = {
      {good, "", "city township town - Washington"},
      {"\xEF\xBB\xBF" + good, "it begins with a UTF-8 byte-order mark, which is skipped; records read and used: 3", "city township town - Washington"},
      {changed("township\t", "village\t"), "the record at line 4 has the unknown kind \"village\", so it is left out; records read and used: 2", "city - town - Washington Township"},
      {changed("3\ttown", "9\ttown"), "the record at line 5 has a place that cit.bin does not hold, so it is left out; records read and used: 2", "city township - - Washington"},
      {changed("1\tcity\n", "") + "1\tcity\n", "the record at line 4 has a place out of order, and 1 more damaged stretches are left out; records read and used: 1", "- township - - Washington"},
      {good + "3\tcity\n", "it holds 4 place lines where its header says 3; the record at line 6 repeats the place of an earlier one (the first is used); records read and used: 3", "city township town - Washington"},
      {changed("\tWashington\n3", "\t\n3"), "the record at line 4 has a line that is not a place id, a kind and a plain name, so it is left out; records read and used: 2", "city - town - Washington Township"},
      {changed("1\tcity", "1\tcity\tA\tB"), "the record at line 3 has a line that is not a place id, a kind and a plain name, so it is left out; records read and used: 2", "- township town - Washington"},
      {changed("places 3", "places 4"), "it holds 3 place lines where its header says 4; records read and used: 3", "city township town - Washington"},
      {good.substr(0, good.size() - 1), "the record at line 5 has a last line without its line end, so it is left out; records read and used: 2", "city township - - Washington"},
      {changed("TQKIND 1", "TQKIND 2"), "it is not a file of the format TQKIND 1", "- - - - Washington Township"},
      {changed("places 3", "places x"), "its second line is not a count of places", "- - - - Washington Township"},
  };
  for (const auto& [bytes, told, read] : cases) {
    PlaceKinds kinds;
    const std::string text = kinds.Load(bytes, cities_);
    EXPECT_EQ(told.empty(), text.empty()) << text;
    EXPECT_EQ(text, told);
    EXPECT_EQ(Read(kinds), read) << told;
  }
}

// Who among namesakes stands out: a lower rank, else three times the people
// of the next; the plain name makes namesakes of differently stored names.
TEST_F(PlaceKindsTest, NamesakesAndTheOneThatStandsOut) {
  const auto meant = [&](const std::string& lines, std::vector<std::uint32_t> rows) {
    PlaceKinds kinds;
    if (!lines.empty()) {
      const std::size_t count = static_cast<std::size_t>(std::count(lines.begin(), lines.end(), '\n'));
      EXPECT_EQ(kinds.Load("TQKIND 1\nplaces " + std::to_string(count) + "\n" + lines, cities_), "");
    }
    const std::optional<std::uint32_t> row = kinds.StandingOut(cities_, rows);
    return row ? std::to_string(*row) : "-";
  };
  EXPECT_EQ(meant("", {0, 1}), "-");   // 13,000 is not three times 5,000
  EXPECT_EQ(meant("", {0, 2}), "0");   // 13,000 is more than three times 4,000
  EXPECT_EQ(meant("", {2, 0, 1}), "-");
  EXPECT_EQ(meant("1\ttown\n3\ttown\n", {0, 2}), "0");
  EXPECT_EQ(meant("1\ttown\n", {0, 2}), "2");  // a place the file leaves out ranks as a city
  EXPECT_EQ(meant("1\tcdp\n2\ttown\n", {0, 1}), "1");  // a town before a CDP, whatever their people
  EXPECT_EQ(meant("1\ttown\n2\ttown\n", {0, 1}), "-");
  EXPECT_EQ(meant("", {3}), "3");
  // Namesakes: the same plain name in the same state.
  PlaceKinds kinds;
  ASSERT_EQ(kinds.Load("TQKIND 1\nplaces 2\n2\ttownship\tWashington\n3\ttown\tWashington\n", cities_), "");
  EXPECT_EQ(kinds.NamesakesOf(cities_, 0), (std::vector<std::uint32_t>{0, 1, 2}));
  EXPECT_EQ(kinds.RowsWithPlainName(cities_, "washington township"), std::vector<std::uint32_t>{});
  EXPECT_FALSE(kinds.MayBeLargestCityRow(1));
  EXPECT_TRUE(kinds.MayBeLargestCityRow(2));
  EXPECT_TRUE(PlaceKinds().MayBeLargestCityRow(1));
}

// A missing file is no problem; one the folder's manifest does not list is
// told as damage, its lines still used.
TEST_F(PlaceKindsTest, MissingIsNoProblemAndTheManifestIsHeld) {
  PlaceKinds kinds;
  EXPECT_EQ(kinds.Read(dir_.path(), cities_).problem, FileProblem::kNone);
  test::WriteBytes(dir_ / "knd.bin", "TQKIND 1\nplaces 1\n1\tcity\n");
  test::WriteBytes(dir_ / "tqdata.manifest", "TQMANIFEST 1\n");
  const LoadOutcome outcome = kinds.Read(dir_.path(), cities_);
  EXPECT_EQ(outcome.problem, FileProblem::kDamaged);
  EXPECT_EQ(outcome.text, "Data file knd.bin in " + DescribeFolder(dir_.path()) +
                              " is damaged: knd.bin is not listed in its manifest.");
  EXPECT_EQ(kinds.KindOfRow(0), PlaceKind::kCity);
}

// The kinds are those docs/data-format.md tables, word, rank and all.
TEST(PlaceKindWords, AsTheDataFormatTablesThem) {
  std::ifstream doc(std::filesystem::path(TELQUEST_SOURCE_DIR) / "docs/data-format.md");
  std::string line;
  int rows = 0;
  while (std::getline(doc, line)) {
    // | `city` | incorporated place ... | 0 | yes |
    std::vector<std::string> cells;
    std::stringstream split(line);
    for (std::string cell; std::getline(split, cell, '|');) {
      cells.push_back(cell.substr(cell.find_first_not_of(' ') == std::string::npos ? 0 : cell.find_first_not_of(' ')));
      while (!cells.back().empty() && cells.back().back() == ' ') cells.back().pop_back();
    }
    if (cells.size() != 5 || !cells[1].starts_with('`') || (cells[4] != "yes" && cells[4] != "no") ||
        cells[3].size() != 1 || !std::isdigit(static_cast<unsigned char>(cells[3][0]))) {
      continue;
    }
    const std::string word = cells[1].substr(1, cells[1].size() - 2);
    const std::optional<PlaceKind> kind = PlaceKindOfWord(word);
    ASSERT_TRUE(kind) << word;
    EXPECT_EQ(NamesakeRank(*kind), cells[3][0] - '0') << word;
    EXPECT_EQ(MayBeLargestCity(*kind), cells[4] == "yes") << word;
    ++rows;
  }
  if (rows == 0) GTEST_SKIP() << "docs/data-format.md has no table of kinds";
  EXPECT_EQ(rows, 7);
}

}  // namespace
}  // namespace tq
