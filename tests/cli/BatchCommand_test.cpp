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
  const auto run = [&](std::ostream& out, std::stringstream& err) {
    std::istringstream in("(937) 222-1234\r\n+1 514 555 0000");
    CommandLineIo io{in, out, err, err, false};
    return RunTqlookup({"--batch", "--data", data.path().string(), "--no-header"}, io, places);
  };
  std::stringstream out, err;
  EXPECT_EQ(run(out, err), 0);
  EXPECT_EQ(out.str(),
            "(937) 222-1234,+19372221234,937,222,ok,,Dayton,OH,Eastern Daylight Time,-04:00,"
            "2026-07-16T12:00-04:00\n"
            "+1 514 555 0000,+15145550000,514,555,ok,,Montr\xC3\xA9" "al,QC,Eastern Daylight "
            "Time,-04:00,2026-07-16T12:00-04:00\n");
  EXPECT_TRUE(err.str().starts_with("tqlookup: 2 rows: 2 ok; ")) << err.str();

  FailingBuffer failing;
  std::ostream full(&failing);
  std::stringstream failErr;
  EXPECT_EQ(run(full, failErr), kExitOutputError);
  EXPECT_TRUE(failErr.str().starts_with("tqlookup: cannot write the rows")) << failErr.str();

  // A damaged place file: the rows from what could be read, and status 6.
  std::ofstream(data / "cit.bin", std::ios::app | std::ios::binary) << "293\r\n";
  std::stringstream damagedOut, damagedErr;
  EXPECT_EQ(run(damagedOut, damagedErr), kExitDamagedData);
  EXPECT_EQ(damagedOut.str(), out.str());
}

}  // namespace
}  // namespace tq
