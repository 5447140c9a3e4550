#include "postal/PostalTable.h"

#include <gtest/gtest.h>

#include <string>

#include "data/CitySet.h"
#include "support/TestData.h"

namespace tq {
namespace {

class PostalTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteRecordFiles(dir_.path(), {{42, "Dayton", "OH", "USA", 137644, 1, "0", {937}},
                                         {43, "Kettering", "OH", "USA", 57862, 1, "0", {937}},
                                         {70, "Ottawa", "ON", "Canada", 1017449, 1, "0", {613}}});
    cities_.Open();
  }
  // What each of four codes answers: its place id and basis, "-" when not listed.
  static std::string Read(const PostalTable& table) {
    std::string read;
    for (const char* text : {"45402", "45424", "45499", "K1A"}) {
      const PostalPlace* place = table.Find(*ParsePostalCode(text));
      read += place ? std::to_string(place->cityId) + PostalBasisName(place->basis) + " " : "- ";
    }
    return read;
  }
  test::TempDir dir_;
  CCitySet cities_{dir_.path()};
};

// Each damage is told, and the sound records are used.
TEST_F(PostalTableTest, DamageIsToldAndSoundRecordsAreUsed) {
  const std::string good =
      "TQPOST 1\ngenerated\nzips 3\n45402 000042 w\n45424 000043 s\n45499 000000 u\n"
      "fsas 1\nK1A 000070 n\n";
  const auto changed = [&](const std::string& from, const std::string& to) {
    return std::string(good).replace(good.find(from), from.size(), to);
  };
  const struct {
    std::string bytes, told, read;
  } cases[] = {
      {good, "", "42whole 43shared 0unknown 70named "},
      {changed("000043 s", "000044 s"), "the record at line 5 has a place id that cit.bin does not hold, so it is left out; records read and used: 3",
       "42whole - 0unknown 70named "},
      {changed("000000 u", "000042 u"), "the record at line 6 has a ZIP record that is not five digits, a blank, six digits, a blank and w, s, o or u, so it is left out; records read and used: 3", "42whole 43shared - 70named "},
      {changed("000042 w", "000000 w"), "the record at line 4 has a ZIP record that is not five digits, a blank, six digits, a blank and w, s, o or u, so it is left out; records read and used: 3", "- 43shared 0unknown 70named "},
      {changed("000070 n", "000070 w"), "the record at line 8 has an FSA record that is not an FSA, a blank, six digits, a blank and n or p, so it is left out; records read and used: 3", "42whole 43shared 0unknown - "},
      {changed("K1A 000070", "D1A 000070"), "the record at line 8 has an FSA record that is not an FSA, a blank, six digits, a blank and n or p, so it is left out; records read and used: 3", "42whole 43shared 0unknown - "},
      {changed("45424 000043 s\n", "45424 00043 s\n"), "the record at line 5 has a ZIP record that is not five digits, a blank, six digits, a blank and w, s, o or u, so it is left out; records read and used: 3", "42whole - 0unknown 70named "},
      {changed("45402", "45430"), "the record at line 5 has a code out of order, so it is left out; records read and used: 3", "- - 0unknown 70named "},
      {changed("45424", "45402"), "the record at line 5 repeats the ZIP code of an earlier one (the first is used); records read and used: 3", "42whole - 0unknown 70named "},
      {changed("zips 3", "zips 4"), "it holds 3 zips records where its header says 4; records read and used: 4",
       "42whole 43shared 0unknown 70named "},
      {changed("fsas 1", "fsas x"), "something follows its last record; the record at line 7 has a line that is not the count of FSAs, so it is left out; records read and used: 3",
       "42whole 43shared 0unknown - "},
      {good.substr(0, good.size() - 1), "the record at line 8 has a record without its line end, so it is left out; records read and used: 3",
       "42whole 43shared 0unknown - "},
      {good + "extra\n", "something follows its last record; records read and used: 4", "42whole 43shared 0unknown 70named "},
      {changed("TQPOST 1", "TQPOST 2"), "it is not a file of the format TQPOST 1", "- - - - "},
      {changed("zips 3", "zips three"), "its third line is not the count of ZIP codes", "- - - - "},
      {"TQPOST 1\ngenerated\nzips 0\nfsas 0\n", "it holds no usable record", "- - - - "},
  };
  for (const auto& [bytes, told, read] : cases) {
    PostalTable table;
    const std::string text = table.Load(bytes, cities_);
    EXPECT_EQ(told.empty(), text.empty()) << text;
    EXPECT_EQ(text, told);
    EXPECT_EQ(Read(table), read) << told;
  }
}

// A folder without the file has no codes, and says so; a damaged file is told.
TEST_F(PostalTableTest, AMissingOrDamagedFileIsTold) {
  PostalTable table;
  LoadOutcome outcome = table.Read(dir_.path(), cities_);
  EXPECT_EQ(outcome.problem, FileProblem::kMissing);
  EXPECT_FALSE(table.HasCodes());
  EXPECT_EQ(outcome.text, "Data file pst.bin is missing (looked in " + dir_.path().string() +
                              "). ZIP and postal codes are not answered.");
  test::WriteBytes(dir_ / "pst.bin", "TQPOST 9\n");
  outcome = table.Read(dir_.path(), cities_);
  EXPECT_EQ(outcome.problem, FileProblem::kDamaged);
  EXPECT_TRUE(outcome.text.ends_with("TQPOST 1. ZIP and postal codes are not answered."))
      << outcome.text;
}

}  // namespace
}  // namespace tq
