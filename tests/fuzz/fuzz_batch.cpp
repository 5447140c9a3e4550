// Arbitrary bytes as the input of a batch lookup, as plain lines or as CSV
// with a column by number or by name and a time column: every line gives
// exactly one row, each row is one well-formed CSV or JSON line of valid
// UTF-8, and two threads with tiny chunks write the same as one thread.
// The first byte chooses the options; with its top bit set, each 0xFF byte
// stands for 70 000 digits, so that lines beyond the length bound occur.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "FuzzCheck.h"
#include "base/Text.h"
#include "batch/BatchReader.h"
#include "batch/BatchRow.h"
#include "batch/BatchRun.h"
#include "support/TestData.h"

using tq::fuzz::Check;

namespace {

std::string RunOnce(const tq::test::TempDir& folder, const tq::BatchLookup& lookup,
                    const tq::BatchOptions& options, tq::BatchResult& result) {
  const int in = ::open((folder / "in").c_str(), O_RDONLY);
  const int out = ::open((folder / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  result = tq::RunBatch(in, out, lookup, options);
  ::close(in);
  ::close(out);
  std::ifstream file(folder / "out", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const tq::test::TempDir folder;
  static const bool written = (tq::test::WriteSampleData(folder.path()), true);
  static const tq::BatchLookup lookup(folder.path());
  (void)written;
  if (size == 0) return 0;
  const std::uint8_t choice = data[0];
  std::string input;
  for (std::size_t i = 1; i < size; ++i) {
    if (data[i] == 0xFF && (choice & 0x80)) {
      input.append(70000, '9');
    } else {
      input += static_cast<char>(data[i]);
    }
  }
  tq::test::WriteBytes(folder / "in", input);

  tq::BatchOptions options;
  options.format = choice & 1 ? tq::BatchFormat::kJsonLines : tq::BatchFormat::kCsv;
  options.header = false;
  bool headerRow = false;
  if (choice & 2) options.column = tq::BatchColumn{(choice >> 4) & 3, {}};
  if (choice & 4) options.column = tq::BatchColumn{-1, "phone"}, headerRow = true;
  if ((choice & 8) && options.column) options.timeColumn = tq::BatchColumn{1, {}};

  tq::BatchResult one, two;
  const std::string rows = RunOnce(folder, lookup, options, one);
  if (one.end == tq::BatchResult::End::kNoSuchColumn) {
    Check(headerRow && rows.empty(), "a missing column name wrote rows");
    return 0;
  }
  Check(one.end == tq::BatchResult::End::kDone, "the run did not finish");
  // A line ends at LF, CR LF or a CR alone.
  std::uint64_t lines = 0;
  for (std::size_t i = 0; i < input.size(); ++i) {
    lines += input[i] == '\n' || (input[i] == '\r' && (i + 1 == input.size() || input[i + 1] != '\n'));
  }
  if (!input.empty() && input.back() != '\n' && input.back() != '\r') ++lines;
  Check(one.totals.rows == lines, "not one row per line");

  options.jobs = 2;
  options.chunkSize = 7;
  Check(RunOnce(folder, lookup, options, two) == rows, "two threads wrote other rows");

  std::uint64_t rowCount = 0;
  tq::CsvFields fields;
  std::size_t start = 0;
  for (std::size_t end; (end = rows.find('\n', start)) != std::string::npos; start = end + 1) {
    const std::string_view row(rows.data() + start, end - start);
    ++rowCount;
    Check(tq::IsValidUtf8(row) && row.find('\0') == std::string_view::npos,
          "a row is not valid UTF-8");
    if (options.format == tq::BatchFormat::kJsonLines) {
      Check(row.starts_with("{\"input\":\"") && row.ends_with('}'), "a row is not a JSON object");
    } else {
      const int last = static_cast<int>(tq::kBatchColumns.size()) - 1;
      tq::SplitCsvLine(row, last, last + 1, fields);
      Check(fields.outcome == tq::CsvFields::Outcome::kMissing, "a CSV row has a quoting error");
      tq::SplitCsvLine(row, last, -1, fields);
      Check(fields.outcome == tq::CsvFields::Outcome::kOk, "a CSV row has too few fields");
    }
  }
  Check(start == rows.size() && rowCount == lines, "rows are not whole lines");
  return 0;
}
