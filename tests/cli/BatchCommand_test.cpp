// tqlookup --batch run in-process on streams: the rows, a failed write and
// a damaged data file (the command's other failures: tests/cli/batch.cmake).
#include "cli/BatchCommand.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <streambuf>

#include "support/TestData.h"

namespace tq {
namespace {

class FailingBuffer : public std::streambuf {
 protected:
  int overflow(int) override { return traits_type::eof(); }
};

TEST(BatchCommand, RowsOnStreamsAndTheirFailures) {
  test::TempDir data;
  test::WriteSampleData(data.path());
  const CommandLinePlaces places{{}, {}, {}, [] { return std::int64_t{1784217600}; }};
  const auto run = [&](std::ostream& out, std::stringstream& err,
                       std::vector<std::string> more = {}) {
    std::istringstream in("(937) 222-1234\r\n+1 514 555 0000");
    CommandLineIo io{in, out, err, err, false};
    std::vector<std::string> args = {"--batch", "--data", data.path().string(), "--no-header"};
    args.insert(args.end(), more.begin(), more.end());
    return RunTqlookup(args, io, places);
  };
  std::stringstream out, err;
  EXPECT_EQ(run(out, err), 0);
  EXPECT_EQ(out.str(),
            "(937) 222-1234,+19372221234,937,222,ok,,Dayton,OH,Eastern Daylight Time,-04:00,"
            "2026-07-16T12:00-04:00,true,false\n"
            "+1 514 555 0000,+15145550000,514,555,ok,,Montr\xC3\xA9" "al,QC,Eastern Daylight "
            "Time,-04:00,2026-07-16T12:00-04:00,true,false\n");
  EXPECT_TRUE(err.str().starts_with("tqlookup: 2 rows: 2 ok; ")) << err.str();

  // The calling hours and the instant by the options of a single lookup.
  std::stringstream windowOut, windowErr;
  EXPECT_EQ(run(windowOut, windowErr, {"--window", "13:01-20:00", "--now", "2026-07-16T17:00Z"}),
            0);
  EXPECT_NE(windowOut.str().find("2026-07-16T13:00-04:00,false,false\n"), std::string::npos);
  std::stringstream badOut, badErr;
  EXPECT_EQ(run(badOut, badErr, {"--window", "12:00-12:00"}), kExitUsage);
  EXPECT_NE(badErr.str().find("--window: not a window of local hours"), std::string::npos);

  FailingBuffer failing;
  std::ostream full(&failing);
  std::stringstream failErr;
  EXPECT_EQ(run(full, failErr), kExitOutputError);
  EXPECT_TRUE(failErr.str().starts_with("tqlookup: cannot write the rows")) << failErr.str();

  // Without the zone law: the rows without local times, the problem told
  // once, and status 6.
  std::filesystem::remove(data / "tzl.bin");
  std::stringstream lawOut, lawErr;
  EXPECT_EQ(run(lawOut, lawErr), kExitDamagedData);
  EXPECT_EQ(lawOut.str(),
            "(937) 222-1234,+19372221234,937,222,ok,,Dayton,OH,,,,,false\n"
            "+1 514 555 0000,+15145550000,514,555,ok,,Montr\xC3\xA9" "al,QC,,,,,false\n");
  const std::string told = lawErr.str();
  EXPECT_NE(told.find("tzl.bin"), std::string::npos) << told;
  EXPECT_EQ(told.find("tzl.bin"), told.rfind("tzl.bin")) << told;

  // A damaged place file: the rows from what could be read, and status 6.
  test::WriteSampleData(data.path());
  std::ofstream(data / "cit.bin", std::ios::app | std::ios::binary) << "293\r\n";
  std::stringstream damagedOut, damagedErr;
  EXPECT_EQ(run(damagedOut, damagedErr), kExitDamagedData);
  EXPECT_EQ(damagedOut.str(), out.str());
}

}  // namespace
}  // namespace tq
