// The batch input: lines of any ending, cut at any chunk size, too long
// lines kept in their place, byte-order marks skipped; CSV fields and
// quoting errors.
#include "batch/BatchReader.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "batch/BatchRow.h"
#include "support/TestData.h"

namespace tq {
namespace {

std::vector<std::string> ReadLines(const std::string& bytes, std::size_t chunkSize,
                                   std::size_t maxLines) {
  test::TempDir dir;
  test::WriteBytes(dir / "in", bytes);
  const int fd = ::open((dir / "in").c_str(), O_RDONLY);
  FdSource source(fd);
  BatchReader reader(source, chunkSize, maxLines);
  BatchChunk chunk;
  std::vector<std::string> lines;
  std::uint64_t sequence = 0;
  while (reader.Next(chunk)) {
    EXPECT_EQ(chunk.sequence, sequence++);
    EXPECT_LE(std::count(chunk.Bytes().begin(), chunk.Bytes().end(), '\n'), maxLines);
    ForEachLine(chunk, [&](std::string_view line, bool tooLong) {
      lines.push_back(tooLong                ? "<too long>"
                      : line.size() > 1000 ? std::to_string(line.size()) + " bytes"
                                           : std::string(line));
    });
  }
  EXPECT_FALSE(reader.Failed());
  ::close(fd);
  return lines;
}

TEST(BatchReader, EveryLineOnceInOrderInChunksOfAnySize) {
  const std::string huge(1 << 20, '9');
  const std::string edge(kMaxBatchLine, '7');  // the longest line that is read
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"", {}},
      {"\n", {""}},
      {"a\nb", {"a", "b"}},  // a last line without its LF
      {"a\r\nb\r\n\r\nc\n", {"a", "b", "", "c"}},
      {"a\rb\r\rc\r", {"a", "b", "", "c"}},  // a CR alone ends a line
      {"\xEF\xBB\xBF" "a\n\xEF\xBB\xBF" "b\n\xEF\xBB\xBF", {"a", "b", ""}},  // byte-order marks
      {"1\n" + huge + "\n2\n" + huge, {"1", "<too long>", "2", "<too long>"}},
      {edge + "\r\n" + edge + "8\r\n" + edge + "\n", {"65536 bytes", "<too long>", "65536 bytes"}},
      {edge + "\r" + edge + "8\r" + edge + "\r", {"65536 bytes", "<too long>", "65536 bytes"}},
  };
  for (const auto& [bytes, lines] : cases) {
    // 65537: a read that ends between the CR and the LF of the longest line.
    for (std::size_t chunkSize : {std::size_t{1}, std::size_t{3}, std::size_t{4096},
                                  kMaxBatchLine + 1, std::size_t{256} << 10}) {
      if (chunkSize < 4096 && bytes.size() > 1000) continue;  // slow and no more telling
      for (std::size_t maxLines : {1, 2, 1 << 16}) {
        EXPECT_EQ(ReadLines(bytes, chunkSize, maxLines), lines)
            << bytes.substr(0, 20) << " in chunks of " << chunkSize << " bytes, " << maxLines
            << " lines";
      }
    }
  }
}

TEST(BatchReader, CsvFields) {
  using Outcome = CsvFields::Outcome;
  struct Case {
    const char* line;
    int first, second;
    Outcome outcome;
    const char *firstField, *secondField;
  };
  const Case cases[] = {
      {"a,b,c", 1, 2, Outcome::kOk, "b", "c"},
      {"a,b,c", 2, 0, Outcome::kOk, "c", "a"},
      {"\"x, \"\"y\"\"\",\"937 222 1234\"", 0, 1, Outcome::kOk, "x, \"y\"", "937 222 1234"},
      {",,", 2, -1, Outcome::kOk, "", ""},
      {"\"\",b", 0, 1, Outcome::kOk, "", "b"},
      {"a,b", 2, -1, Outcome::kMissing, "", ""},
      {"a,b", 0, 5, Outcome::kMissing, "", ""},
      {"a,b\"c", 0, -1, Outcome::kQuoteError, "", ""},  // a quote in an unquoted field
      {"\"a\"b,c", 1, -1, Outcome::kQuoteError, "", ""},  // text after the closing quote
      {"a,\"b,c", 0, -1, Outcome::kQuoteError, "", ""},   // left open
      {"a,b,\"c\"\"", 0, -1, Outcome::kQuoteError, "", ""},
  };
  CsvFields fields;
  for (const Case& c : cases) {
    SplitCsvLine(c.line, c.first, c.second, fields);
    EXPECT_EQ(fields.outcome, c.outcome) << c.line;
    if (c.outcome != Outcome::kOk) continue;
    EXPECT_EQ(fields.first, c.firstField) << c.line;
    if (c.second >= 0) {
      EXPECT_EQ(fields.second, c.secondField) << c.line;
    }
  }
}

}  // namespace
}  // namespace tq
