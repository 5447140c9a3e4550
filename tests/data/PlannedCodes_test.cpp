#include "data/PlannedCodes.h"

#include <gtest/gtest.h>

#include <string>

#include "support/TestData.h"

namespace tq {
namespace {

const std::string kGood =
    "TQPLAN 1\ncodes 3\n273\t2027-02-27\t418 367 581\n354\t2026-10-01\t450\n742\t2025-01-01\t905 289\n";

// What a planned code says, with one, two and three codes overlaid.
TEST(PlannedCodes, EachCodeSaysWhenItBegins) {
  PlannedCodes codes;
  ASSERT_EQ(codes.Load(kGood), "");
  const struct {
    int code;
    const char* said;
  } cases[] = {
      {273, "Area code 273 begins service on 2027-02-27, overlaying 418, 367 and 581"},
      {354, "Area code 354 begins service on 2026-10-01, overlaying 450"},
      {742, "Area code 742 begins service on 2025-01-01, overlaying 905 and 289"},
      {274, ""},
  };
  for (const auto& c : cases) {
    const PlannedCode* planned = codes.Find(c.code);
    EXPECT_EQ(planned ? PlannedCodeText(*planned) : "", c.said) << c.code;
  }
}

// Each damage is told, and the sound lines still answer: the rows give
// which of 273, 354 and 742 are found afterwards.
TEST(PlannedCodes, DamageIsToldAndSoundLinesAnswer) {
  const auto changed = [](const std::string& from, const std::string& to) {
    return std::string(kGood).replace(kGood.find(from), from.size(), to);
  };
  const auto notACode = [](int line) {
    return "the record at line " + std::to_string(line) + " has a line that is not a code, its first day and the "
           "codes it overlays, so it is left out; records read and used: 2";
  };
  const struct {
    std::string bytes, told, found;
  } cases[] = {
      {changed("2027-02-27", "2027-02-30"), notACode(3), "-YY"},
      {changed("418 367", "418 273"), notACode(3), "-YY"},
      {changed("450", "450 450"), notACode(4), "Y-Y"},
      {changed("\t905 289", "\t905  289"), notACode(5), "YY-"},
      {changed("354", "999"), "the record at line 4 has a code out of order, and 1 more damaged stretches are left out; records read and used: 1", "Y--"},
      {kGood + "742\t2026-01-01\t905\n", "it holds 4 code lines where its header says 3; the record at line 6 repeats the code of an earlier one (the first is used); records read and used: 3", "YYY"},
      {changed("codes 3", "codes 2"), "it holds 3 code lines where its header says 2; records read and used: 3", "YYY"},
      {kGood.substr(0, kGood.size() - 1), "the record at line 5 has a last line without its line end, so it is left out; records read and used: 2", "YY-"},
      {changed("TQPLAN 1", "TQPLAN 2"), "it is not a file of the format TQPLAN 1", "---"},
      {changed("codes 3", "codes"), "its second line is not a count of codes", "---"},
  };
  for (const auto& [bytes, told, found] : cases) {
    PlannedCodes codes;
    const std::string text = codes.Load(bytes);
    EXPECT_EQ(text, told);
    std::string answers;
    for (const int code : {273, 354, 742}) answers += codes.Find(code) ? 'Y' : '-';
    EXPECT_EQ(answers, found) << told;
  }
}

// A missing file is no problem; one the folder's manifest does not list is
// told as damage, its lines still used.
TEST(PlannedCodes, MissingIsNoProblemAndTheManifestIsHeld) {
  test::TempDir dir;
  PlannedCodes codes;
  EXPECT_EQ(codes.Read(dir.path()).problem, FileProblem::kNone);
  test::WriteBytes(dir / "pln.bin", kGood);
  test::WriteBytes(dir / "tqdata.manifest", "TQMANIFEST 1\n");
  const LoadOutcome outcome = codes.Read(dir.path());
  EXPECT_EQ(outcome.text, "Data file pln.bin in " + DescribeFolder(dir.path()) +
                              " is damaged: pln.bin is not listed in its manifest.");
  EXPECT_TRUE(codes.Find(273));
}

}  // namespace
}  // namespace tq
