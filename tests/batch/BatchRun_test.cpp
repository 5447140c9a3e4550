// Batch runs end to end on the sample data: one row per line in input order
// on any number of threads, each status, the same answer as a single
// lookup, and failed writes that stop the run.
#include "batch/BatchRun.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <algorithm>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "base/Text.h"
#include "batch/BatchReader.h"
#include "lookup/SearchFlow.h"
#include "support/TestData.h"

namespace tq {
namespace {

class BatchRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteSampleData(dir_.path());
    // An exchange whose place keeps other hours than its area code's
    // largest place, and one whose name CSV must quote.
    test::WriteBytes(dir_ / "exc.bin",
                     "TQEXC 1\nplaces 5\nDayton\tOH\nKettering\tOH\nMontr\xC3\xA9" "al\tQC\n"
                     "Dayton\tTX\nDayton, \"Gem City\"\tOH\nexchanges 5\n514555 00003\n"
                     "740555 00004\n937222 00001\n937294 00002\n937298 00005\n");
    lookup_.emplace(dir_.path());
  }

  std::string Run(const std::string& input, const BatchOptions& options,
                  BatchResult* result = nullptr) {
    test::WriteBytes(dir_ / "in", input);
    const int in = ::open((dir_ / "in").c_str(), O_RDONLY);
    const int out = ::open((dir_ / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const BatchResult ran = RunBatch(in, out, *lookup_, options);
    ::close(in);
    ::close(out);
    if (result) *result = ran;
    std::ifstream file(dir_ / "out", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }

  // The status and a few fields of each row: "status|place|local_time".
  static std::vector<std::string> Summary(const std::string& csv) {
    std::vector<std::string> rows;
    std::istringstream lines(csv);
    CsvFields fields;
    for (std::string line; std::getline(lines, line);) {
      SplitCsvLine(line, 4, 6, fields);
      std::string row = std::string(fields.first) + "|" + std::string(fields.second) + "|";
      SplitCsvLine(line, 10, -1, fields);
      rows.push_back(row + std::string(fields.first));
    }
    return rows;
  }

  test::TempDir dir_;
  std::optional<BatchLookup> lookup_;
};

TEST_F(BatchRunTest, EveryLineGivesOneRowInOrderOnAnyNumberOfThreads) {
  const std::string input = std::string("937-222-1234\r\n\n  \n(937) 294-5555\nhello\na\xE9\n") +
                            std::string("9\0 37\n", 6) + std::string(1 << 20, '5') +
                            "\n+44 20 7946 0000\n1-800-FLOWERS\n299 222 1234\n937.999.1234\n" +
                            "740 555 1234\n937 298 1234\n514 555 0000";  // no LF at the end
  const std::vector<std::string> rows = {
      "status|place|local_time",
      "ok|Dayton|2026-01-15T12:00-05:00",
      "empty||",
      "empty||",
      "ok|Kettering|2026-01-15T12:00-05:00",
      "invalid||",
      "bad_utf8||",
      "nul_byte||",
      "too_long||",
      "other_country||",
      "not_geographic||",
      "unknown_area_code||",
      "unknown_exchange||2026-01-15T12:00-05:00",
      "ok|Dayton|2026-01-15T11:00-06:00",
      "ok|Dayton, \"Gem City\"|",
      "ok|Montr\xC3\xA9" "al|2026-01-15T12:00-05:00",
  };
  BatchOptions options;
  options.nowUtc = *ParseIsoInstant("2026-01-15T17:00Z");
  const std::string oneThread = Run(input, options);
  EXPECT_EQ(Summary(oneThread), rows);
  for (const auto& [jobs, chunkSize] : {std::pair{3, 5}, {2, 64}, {4, 256 << 10}}) {
    options.jobs = jobs;
    options.chunkSize = chunkSize;
    BatchResult result;
    EXPECT_EQ(Run(input, options, &result), oneThread) << jobs << " jobs";
    EXPECT_EQ(result.totals.rows, rows.size() - 1);
    EXPECT_EQ(result.totals.byStatus[static_cast<int>(BatchStatus::kEmpty)], 2u);
  }
}

TEST_F(BatchRunTest, CsvColumnsByNameWithTheirTimes) {
  const std::string input =
      "\xEF\xBB\xBF" "name,when,phone\n"  // a byte-order mark before the header
      "a,2026-07-05T22:42Z,937-222-1234\n"
      "\"b, \"\"c\"\"\",2026-07-05 18:42:00-04:00,\"(514) 555-0000\"\n"
      "d,yesterday,937-222-1234\n"
      "e,,\n"
      "f,\"2026-07-05T22:42Z\n"
      "g,2026-07-05T22:42Z\n"
      "h,2026-07-05T22:42Z,867 555 1234\n";
  BatchOptions options;
  options.column = BatchColumn{-1, "phone"};
  options.timeColumn = BatchColumn{-1, "when"};
  options.header = false;
  EXPECT_EQ(Summary(Run(input, options)),
            (std::vector<std::string>{"header||", "ok|Dayton|2026-07-05T18:42-04:00",
                                      "ok|Montr\xC3\xA9" "al|2026-07-05T18:42-04:00",
                                      "bad_time|Dayton|", "empty||", "csv_error||", "no_column||",
                                      "unknown_exchange||"}));

  // A column named that the header lacks ends the run before any row.
  for (const auto& [number, time, missing] : {std::tuple{"telephone", "when", "telephone"},
                                              {"phone", "time", "time"}}) {
    options.column = BatchColumn{-1, number};
    options.timeColumn = BatchColumn{-1, time};
    BatchResult result;
    EXPECT_EQ(Run(input, options, &result), "") << missing;
    EXPECT_EQ(result.end, BatchResult::End::kNoSuchColumn) << missing;
    EXPECT_EQ(result.columnName, missing);
  }
}

// Control characters of the input (C0, DEL, C1) reach neither format raw:
// both write them as JSON does.
TEST_F(BatchRunTest, TheInputIsEscapedInBothFormats) {
  const std::string input = "\"1\"\t\\\x1B[2J\x7F\xC2\x85,\n";
  BatchOptions options;
  options.header = false;
  EXPECT_EQ(Run(input + "say \"hi\"\n", options),
            "\"\"\"1\"\"\\u0009\\\\u001B[2J\\u007F\\u0085,\",,,,invalid,"
            "not a ten-digit telephone number,,,,,,,,,\n"
            "\"say \"\"hi\"\"\",,,,invalid,not a ten-digit telephone number,,,,,,,,,\n");
  options.format = BatchFormat::kJsonLines;
  EXPECT_EQ(Run(input, options),
            "{\"input\":\"\\\"1\\\"\\u0009\\\\\\u001B[2J\\u007F\\u0085,\",\"number\":null,"
            "\"area_code\":null,\"exchange\":null,\"status\":\"invalid\",\"reason\":\"not a "
            "ten-digit telephone number\",\"place\":null,\"state\":null,\"time_zone\":null,"
            "\"utc_offset\":null,\"local_time\":null,\"callable\":null,\"area\":null,\"postal_code\":null,"
            "\"area_codes\":null}\n");
}

// A row whose instant cannot be read, or lies outside the years of the zone
// law, gets bad_time with its reason and no clock, whatever its number
// answers; a row whose number cannot be read keeps that status.
TEST_F(BatchRunTest, ARowWithoutAnInstantGetsNoClock) {
  BatchOptions options;
  options.column = BatchColumn{0, {}};
  options.timeColumn = BatchColumn{1, {}};
  options.header = false;
  EXPECT_EQ(Summary(Run("937-222-1234,yesterday\n937 999 1234,2101-01-01T00:00Z\n"
                        "1-800-FLOWERS,\nhello,yesterday\n937 999 1234,2026-07-05T22:42Z\n",
                        options)),
            (std::vector<std::string>{"bad_time|Dayton|", "bad_time||", "bad_time||", "invalid||",
                                      "unknown_exchange||2026-07-05T18:42-04:00"}));
  // The run's own instant (the computer's clock) far off.
  options.column.reset();
  options.timeColumn.reset();
  options.nowUtc = kEndOfInstants;
  const std::string rows = Run("937-222-1234\nhello\n", options);
  EXPECT_EQ(Summary(rows), (std::vector<std::string>{"bad_time|Dayton|", "invalid||"}));
  EXPECT_NE(rows.find(",bad_time,the instant of the run lies outside 1970 through 2100,"),
            std::string::npos) << rows;
}

TEST_F(BatchRunTest, AFailedWriteStopsTheRun) {
  std::string input;
  for (int i = 0; i < 200000; ++i) input += "937-222-1234\n";
  test::WriteBytes(dir_ / "in", input);
  std::signal(SIGPIPE, SIG_IGN);
  for (const int jobs : {1, 2}) {
    const int in = ::open((dir_ / "in").c_str(), O_RDONLY);
    const int full = ::open("/dev/full", O_WRONLY);
    BatchOptions options;
    options.jobs = jobs;
    options.header = false;  // the rows' writes fail
    BatchResult result = RunBatch(in, full, *lookup_, options);
    EXPECT_EQ(result.end, BatchResult::End::kWriteError);
    EXPECT_EQ(result.errorNumber, ENOSPC);
    ::close(full);

    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    ::close(pipeEnds[0]);
    ::lseek(in, 0, SEEK_SET);
    result = RunBatch(in, pipeEnds[1], *lookup_, options);
    EXPECT_EQ(result.end, BatchResult::End::kWriteError);
    EXPECT_EQ(result.errorNumber, EPIPE);
    ::close(pipeEnds[1]);
    ::close(in);
  }
}

// A row answers what a single lookup of the same text answers: the number,
// its status, place and state, and the local time with the verdict whenever
// the time is certain: the exchange's place's, or, for an exchange that is
// not listed, that of every place of its code when they keep one time (520)
// and none when they do not (850). In winter and in summer, and however the
// number is pasted (no-break spaces, dashes).
TEST(BatchRunShippedData, SameAnswerAsASingleLookup) {
  const std::filesystem::path res = std::filesystem::path(TELQUEST_SOURCE_DIR) / "res";
  const BatchLookup lookup(res);
  ASSERT_TRUE(lookup.Problems().empty());
  class NoChoice : public CityChooser {
    CityChoiceReply ChooseCity(const std::vector<CityChoice>&) override {
      return {CityChoiceReply::Kind::kCancelled, {}};
    }
  } chooser;
  SearchFlow flow(res, chooser);
  flow.OpenData();

  // Every 97th listed exchange, and the first exchange of each code that is
  // not listed.
  std::set<std::string> listed;
  std::ifstream file(res / "exc.bin");
  bool records = false;
  for (std::string line; std::getline(file, line);) {
    if (records) listed.insert(line.substr(0, 6));
    records = records || line.starts_with("exchanges ");
  }
  std::vector<std::string> numbers;
  std::set<std::string> codes;
  for (const std::string& exchange : listed) {
    if (numbers.size() % 97 == 0 || codes.insert(exchange.substr(0, 3)).second) {
      numbers.push_back(exchange);
    }
  }
  for (const std::string& code : codes) {
    for (int nxx = 200; nxx < 1000; ++nxx) {
      if (listed.count(code + std::to_string(nxx)) == 0) {
        numbers.push_back(code + std::to_string(nxx));
        break;
      }
    }
  }
  std::string input;
  const char* separators[] = {"-", "\xC2\xA0", "\xE2\x80\x93"};
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    const char* separator = separators[i % 3];
    numbers[i] = numbers[i].substr(0, 3) + separator + numbers[i].substr(3) + separator + "0143";
    input += numbers[i] + "\n";
  }

  std::map<std::string, bool> certain;  // of the codes' exchanges not listed
  int areas = 0;  // rows answered by the city a code is known by
  for (const char* now : {"2026-01-15T13:30Z", "2026-07-15T23:30Z"}) {
    BatchOptions options;
    options.nowUtc = *ParseIsoInstant(now);
    options.header = false;
    std::istringstream in(input);
    std::ostringstream out;
    StreamSource source(in);
    StreamSink sink(out);
    ASSERT_EQ(RunBatch(source, sink, lookup, options).end, BatchResult::End::kDone);
    std::istringstream rows(out.str());
    CsvFields fields;
    const auto field = [&](const std::string& row, int column) {
      SplitCsvLine(row, column, -1, fields);
      return std::string(fields.first);
    };
    std::string row;
    for (const std::string& number : numbers) {
      ASSERT_TRUE(std::getline(rows, row));
      const std::shared_ptr<const Answer> answer = flow.Search(Utf8ToCp1252(number));
      ASSERT_TRUE(answer->exchange) << number;
      const NumberResult& exchange = *answer->exchange;
      EXPECT_EQ(field(row, 1), exchange.E164()) << number;
      EXPECT_EQ(field(row, 4), NumberStatusName(exchange.status)) << number;
      EXPECT_EQ(field(row, 6), Cp1252ToDisplayUtf8(exchange.place)) << number;
      EXPECT_EQ(field(row, 7), Cp1252ToDisplayUtf8(exchange.state)) << number;
      const CallVerdict verdict = VerdictOf(answer->times, options.nowUtc);
      EXPECT_EQ(field(row, 8), verdict.clock ? verdict.clock->zoneName : "") << number;
      EXPECT_EQ(field(row, 9), verdict.clock ? UtcOffsetText(*verdict.clock) : "") << number;
      EXPECT_EQ(field(row, 11), !verdict.callable ? "" : *verdict.callable ? "true" : "false")
          << number;
      const bool placed = exchange.status == NumberResult::Status::kOk;
      EXPECT_EQ(field(row, 12), !placed ? "" : exchange.area ? "true" : "false") << number;
      areas += placed && exchange.area;
      if (exchange.status == NumberResult::Status::kUnknownExchange) {
        certain[number.substr(0, 3)] = verdict.callable.has_value();
      }
    }
  }
  EXPECT_TRUE(certain.at("520"));
  EXPECT_FALSE(certain.at("850"));
  EXPECT_GT(std::count_if(certain.begin(), certain.end(), [](auto& c) { return c.second; }), 200);
  EXPECT_GT(areas, 0);
}

}  // namespace
}  // namespace tq

namespace tq {
namespace {

// A ZIP or postal code in the number's column answers its place: the
// place, its codes and its time, with the code in a column of its own.
TEST_F(BatchRunTest, CodesAnswerTheirPlace) {
  test::WritePostalCodes(dir_.path());
  lookup_.emplace(dir_.path());
  EXPECT_TRUE(lookup_->Problems().empty());
  BatchOptions options;
  options.header = false;
  options.nowUtc = *ParseIsoInstant("2026-01-15T17:00Z");
  EXPECT_EQ(Run("45402-1234\nh2x1y4\n45499\n00000\nD1A\n", options),
            "45402-1234,,,,postal,the place of a ZIP or postal code,Dayton,OH,Eastern Standard Time,"
            "-05:00,2026-01-15T12:00-05:00,true,,45402-1234,937\n"
            "h2x1y4,,,,postal,the place of a ZIP or postal code,Montr\xC3\xA9" "al,QC,Eastern "
            "Standard Time,-05:00,2026-01-15T12:00-05:00,true,,H2X 1Y4,438/514\n"
            "45499,,,,unknown_postal_code,no known place for this ZIP or postal code,,,,,,,,45499,\n"
            "00000,,,,unknown_postal_code,no known place for this ZIP or postal code,,,,,,,,00000,\n"
            "D1A,,,,unknown_postal_code,no known place for this ZIP or postal code,,,,,,,,D1A,\n");
}

}  // namespace
}  // namespace tq
