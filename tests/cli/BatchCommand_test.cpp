// tqlookup --batch run in-process on streams: the rows, a failed write, a
// damaged data file and where the progress line goes (the command's other failures: tests/cli/batch.cmake).
#include "cli/BatchCommand.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include <filesystem>
#include <fstream>
#include <string>
#include <sstream>
#include <streambuf>

#include "batch/BatchReader.h"
#include "support/TestData.h"

namespace tq {
namespace {

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
            "2026-07-16T12:00-04:00,true,false,,\n"
            "+1 514 555 0000,+15145550000,514,555,ok,,Montr\xC3\xA9" "al,QC,Eastern Daylight "
            "Time,-04:00,2026-07-16T12:00-04:00,true,false,,\n");
  EXPECT_TRUE(err.str().starts_with("tqlookup: 2 rows: 2 ok; ")) << err.str();

  // The calling hours and the instant by the options of a single lookup.
  std::stringstream windowOut, windowErr;
  EXPECT_EQ(run(windowOut, windowErr, {"--window", "13:01-20:00", "--now", "2026-07-16T17:00Z"}),
            0);
  EXPECT_NE(windowOut.str().find("2026-07-16T13:00-04:00,false,false,,\n"), std::string::npos);
  std::stringstream badOut, badErr;
  EXPECT_EQ(run(badOut, badErr, {"--window", "12:00-12:00"}), kExitUsage);
  EXPECT_NE(badErr.str().find("--window: not a window of local hours"), std::string::npos);

  test::FailingBuffer failing;
  std::ostream full(&failing);
  std::stringstream failErr;
  EXPECT_EQ(run(full, failErr), kExitOutputError);
  EXPECT_TRUE(failErr.str().starts_with("tqlookup: cannot write the rows")) << failErr.str();

  // A damaged zone law: the rows without local times, the problem told
  // once, and status 6.
  std::filesystem::resize_file(data / "tzl.bin", 4000);
  std::stringstream lawOut, lawErr;
  EXPECT_EQ(run(lawOut, lawErr), kExitDamagedData);
  EXPECT_EQ(lawOut.str(),
            "(937) 222-1234,+19372221234,937,222,ok,,Dayton,OH,,,,,false,,\n"
            "+1 514 555 0000,+15145550000,514,555,ok,,Montr\xC3\xA9" "al,QC,,,,,false,,\n");
  const std::string told = lawErr.str();
  EXPECT_NE(told.find("tzl.bin"), std::string::npos) << told;
  EXPECT_EQ(told.find("tzl.bin"), told.rfind("tzl.bin")) << told;
  // Without it, each place's own zone: the same rows, a note, and status 0.
  std::filesystem::remove(data / "tzl.bin");
  std::stringstream ownOut, ownErr;
  EXPECT_EQ(run(ownOut, ownErr), 0);
  EXPECT_EQ(ownOut.str(), out.str());
  EXPECT_NE(ownErr.str().find("tzl.bin is missing"), std::string::npos) << ownErr.str();

  // A damaged place file: the rows from what could be read, and status 6.
  test::WriteSampleData(data.path());
  std::ofstream(data / "cit.bin", std::ios::app | std::ios::binary) << "293\r\n";
  std::stringstream damagedOut, damagedErr;
  EXPECT_EQ(run(damagedOut, damagedErr), kExitDamagedData);
  EXPECT_EQ(damagedOut.str(), out.str());
}

// Damage costs what it damages, never the run: with one exc.bin record
// damaged, or a manifest of another format, a batch and a single lookup both
// answer from what can be read, tell it, and exit 6. A missing exc.bin (a
// folder of the two place files alone) is told and its rows say
// no_exchange_data, with status 0: the data is sound.
TEST(BatchCommand, DamagedDataAnswersWhatCanBeReadWithStatus6) {
  const struct {
    const char* what;
    void (*damage)(const test::TempDir&);
    const char* rows;
    int status;
  } cases[] = {
      {"one exc.bin record",
       [](const test::TempDir& dir) {
         std::string bytes = test::kSampleExchanges;
         bytes.replace(bytes.find("937294 00002"), 12, "937294 0000X");
         test::WriteBytes(dir / "exc.bin", bytes);
       },
       "ok,ok", kExitDamagedData},
      {"the manifest",
       [](const test::TempDir& dir) { test::WriteBytes(dir / "tqdata.manifest", "TQMANIFEST 9\n"); },
       "ok,ok", kExitDamagedData},
      {"exc.bin missing",
       [](const test::TempDir& dir) { std::filesystem::remove(dir / "exc.bin"); },
       "no_exchange_data,no_exchange_data", 0},
  };
  const CommandLinePlaces places{{}, {}, {}, [] { return std::int64_t{1784217600}; }};
  for (const auto& c : cases) {
    const test::TempDir data;
    test::WriteSampleData(data.path());
    c.damage(data);
    std::istringstream in("(937) 222-1234\n+1 514 555 0000\n");
    std::stringstream out, err;
    CommandLineIo io{in, out, err, err, false};
    EXPECT_EQ(RunTqlookup({"--batch", "--data", data.path().string(), "--quiet"}, io, places),
              c.status)
        << c.what;
    std::string statuses;
    CsvFields fields;
    std::istringstream rows(out.str());
    std::string row;
    std::getline(rows, row);  // the header
    while (std::getline(rows, row)) {
      SplitCsvLine(row, 4, -1, fields);
      statuses += (statuses.empty() ? "" : ",") + std::string(fields.first);
    }
    EXPECT_EQ(statuses, c.rows) << c.what;
    EXPECT_NE(err.str().find("Data file exc.bin "), std::string::npos) << c.what << err.str();

    std::istringstream none;
    std::stringstream single, singleErr;
    CommandLineIo singleIo{none, single, singleErr, singleErr, false};
    EXPECT_EQ(RunTqlookup({"--data", data.path().string(), "(937) 222-1234"}, singleIo, places),
              c.status)
        << c.what;
    EXPECT_NE(single.str().find("Largest city in area code:\n  Dayton"), std::string::npos)
        << c.what;
    EXPECT_EQ(singleErr.str(), err.str()) << c.what;
  }
}

// The progress line goes to a terminal, and never to one the rows go to.
TEST(BatchCommand, ProgressOnlyOnATerminalWithoutTheRows) {
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(::grantpt(master), 0);
  ASSERT_EQ(::unlockpt(master), 0);
  const int terminal = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
  const int file = ::open("/dev/null", O_WRONLY);
  ASSERT_GE(terminal, 0);
  EXPECT_TRUE(ShowsProgress(terminal, file));
  EXPECT_FALSE(ShowsProgress(terminal, terminal));
  EXPECT_FALSE(ShowsProgress(file, file));
  EXPECT_FALSE(ShowsProgress(file, terminal));
  for (const int fd : {file, terminal, master}) ::close(fd);
}

}  // namespace
}  // namespace tq
