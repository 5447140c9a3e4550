// tqlookup run in-process: every exit status, a failed write on every path
// that writes, and where the chooser's question goes. The answers' texts are
// the case files' (tests/cli/cases).
#include "cli/Tqlookup.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "support/TestData.h"

namespace tq {
namespace {

enum class Data { kSample, kDamaged, kOdd, kMissing, kNoZoneLaw, kDamagedExchanges };

class Tqlookup : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dirs_ = new Dirs;
    test::WriteSampleData(dirs_->sample.path());
    test::WriteSampleData(dirs_->damaged.path());
    test::WriteSampleData(dirs_->noZoneLaw.path());
    std::filesystem::remove(dirs_->noZoneLaw / "tzl.bin");
    // One exchange record spoilt: the others still answer.
    test::WriteSampleData(dirs_->damagedExchanges.path());
    std::string exchanges = test::kSampleExchanges;
    exchanges.replace(exchanges.find("937294 00002"), 12, "937294 0000x");
    std::ofstream(dirs_->damagedExchanges / "exc.bin", std::ios::binary) << exchanges;
    // The file ends inside a record: damaged, what was read is used.
    std::ofstream(dirs_->damaged / "cit.bin", std::ios::app | std::ios::binary) << "293\r\n";
    test::WriteDataFiles(dirs_->odd.path(),
                         {{1, "Back\\slash \"Quoted\"", "OH", "USA", 5000, 1, "0", {999}}});
  }
  static void TearDownTestSuite() { delete dirs_; }

  struct Run {
    int status;
    std::string out, err, prompt;
  };
  static Run Tq(Data data, std::vector<std::string> args, bool failOut = false,
                bool interactive = false, const std::string& typed = "",
                bool failPrompt = false) {
    const std::filesystem::path folders[] = {dirs_->sample.path(), dirs_->damaged.path(),
                                             dirs_->odd.path(), dirs_->sample / "missing",
                                             dirs_->noZoneLaw.path(),
                                             dirs_->damagedExchanges.path()};
    args.insert(args.begin(), {"--data", folders[static_cast<int>(data)].string(), "--now",
                               "2026-01-15T17:00Z"});
    std::istringstream in(typed);
    std::ostringstream out, err, prompt;
    test::FailingBuffer failing;
    std::ostream failed(&failing);
    CommandLineIo io{in, failOut ? failed : out, err, failPrompt ? failed : prompt, interactive};
    const CommandLinePlaces places{{}, {}, {}, [] { return std::int64_t{0}; }};
    const int status = RunTqlookup(args, io, places);
    return {status, out.str(), err.str(), prompt.str()};
  }

  struct Dirs {
    test::TempDir sample, damaged, odd, noZoneLaw, damagedExchanges;
  };
  static Dirs* dirs_;
};
Tqlookup::Dirs* Tqlookup::dirs_ = nullptr;

TEST_F(Tqlookup, ExitStatusesAndWhatIsTold) {
  const struct {
    Data data;
    std::vector<std::string> args;
    int status;
    const char* out;  // a part of standard output ("" : nothing)
    const char* err;  // a part of standard error ("" : nothing)
  } kCases[] = {
      {Data::kSample, {"937"}, 0, "Largest city in area code:\n  Dayton\n", ""},
      {Data::kSample, {"--json", "937"}, 0, "\"outcome\": \"found\"", ""},
      {Data::kSample, {"--help"}, 0, "Exit status:", ""},
      {Data::kSample, {"-V"}, 0, "tqlookup (Telquest Pro) ", ""},
      {Data::kSample, {"--pick", "springfield, mo", "springfield"}, 0, "Missouri (MO)", ""},
      {Data::kSample, {"springfield"}, kExitChoiceNeeded, "Matching Cities:\n   1  Springfield, Missouri", ""},
      {Data::kSample, {"--json", "springfield"}, kExitChoiceNeeded, "\"choices\": [", ""},
      {Data::kSample, {"--pick", "Nowhere", "springfield"}, kExitNoSuchChoice, "", "no choice matches \"Nowhere\""},
      {Data::kSample, {"--frob\x1B[2J"}, kExitUsage, "", "unknown option --frob\xE2\x90\x9B[2J\n"},
      {Data::kSample, {"--date", "2026-02-30", "937"}, kExitUsage, "", "--date: not a date"},
      {Data::kSample, {"--date", "2026-257-01", "937"}, kExitUsage, "", "--date: not a date"},
      {Data::kSample, {"--date", "2026-2-3", "937"}, kExitUsage, "", "--date: not a date"},
      {Data::kSample, {"--now", "1969-12-31T23:59Z", "937"}, kExitUsage, "", "--now: not an instant"},
      {Data::kSample, {"--window", "9-17", "937"}, kExitUsage, "", "--window: not a window"},
      {Data::kSample, {"--window", "12:00-13:00", "Dayton, OH"}, 0, "Callable now (12:00-13:00):\n  yes", ""},
      {Data::kMissing, {"937"}, kExitNoData, "", "cit.bin"},
      // A ZIP code in a folder without pst.bin answers as before, and says why.
      {Data::kSample, {"45402"}, kExitNotFound, "No cities found", "pst.bin is missing"},
      // Without the zone law the places' own zones stand in: a note.
      {Data::kNoZoneLaw, {"937"}, 0, "  Dayton\n", "tzl.bin is missing"},
      {Data::kDamaged, {"937"}, kExitDamagedData, "  Dayton\n", "is damaged"},
      {Data::kDamagedExchanges, {"937-222-1234"}, kExitDamagedData, "Dayton, OH", "exc.bin"},
      {Data::kDamaged, {"--filter", "strCity = 'Dayton'"}, kExitDamagedData, "42\tDayton\tOH", "is damaged"},
      // Data with a quote and a backslash, escaped in JSON; without exc.bin
      // the answer lacks exchanges, which is told (a note, status 0).
      {Data::kOdd, {"--json", "999"}, 0,
       "\"largestCity\": [\"Back\\\\slash \\\"Quoted\\\"\"]", "exc.bin is missing"},
  };
  for (const auto& c : kCases) {
    const Run run = Tq(c.data, c.args);
    const std::string shown = c.args.back();
    EXPECT_EQ(run.status, c.status) << shown << "\n" << run.err;
    EXPECT_NE(run.out.find(c.out), std::string::npos) << shown << "\n" << run.out;
    EXPECT_EQ(run.out.empty(), *c.out == '\0') << shown;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << shown << "\n" << run.err;
    EXPECT_EQ(run.err.empty(), *c.err == '\0') << shown << "\n" << run.err;
    if (*c.out == '\0') continue;
    // Every path that writes: a failed write is an error, with a message.
    const Run failed = Tq(c.data, c.args, /*failOut=*/true);
    EXPECT_EQ(failed.status, kExitOutputError) << shown;
    EXPECT_NE(failed.err.find("tqlookup: cannot write the answer"), std::string::npos) << shown;
  }
}

// On a terminal the question goes to the terminal, never into the answer.
TEST_F(Tqlookup, TheChooserAsksOnTheTerminal) {
  Run run = Tq(Data::kSample, {"springfield"}, false, /*interactive=*/true, "2\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.prompt.find("   3  Springfield, Illinois\nPlease select one (1-3"),
            std::string::npos)
      << run.prompt;
  EXPECT_EQ(run.out.find("Please"), std::string::npos);
  EXPECT_NE(run.out.find("Massachusetts (MA)"), std::string::npos);
  run = Tq(Data::kSample, {"springfield"}, false, true, "\n");  // empty: cancelled
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("Largest city in area code:\nMajor"), std::string::npos) << run.out;
  run = Tq(Data::kSample, {"springfield"}, false, true, "1\n", /*failPrompt=*/true);
  EXPECT_EQ(run.status, kExitOutputError);
  EXPECT_NE(run.err.find("tqlookup: cannot write the question"), std::string::npos);
  run = Tq(Data::kSample, {"springfield"}, /*failOut=*/true, true, "1\n");
  EXPECT_EQ(run.status, kExitOutputError);
}

}  // namespace
}  // namespace tq
