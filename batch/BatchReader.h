#pragma once
// The input of a batch lookup, read as a stream: whole lines in chunks of
// bounded size (so that memory stays small whatever the input's size), and
// the fields of a CSV line (RFC 4180).
//
// Lines end in LF, CR LF or CR; a last line without a line end is a line; a
// byte-order mark at the start of a line (of the input, or of a file joined
// to it) is not part of the line, so that the input can be cut at any line. A line
// longer than kMaxBatchLine is not kept: its place in the chunk holds an empty
// line marked as too long, so that it still gives its row in order. A CSV
// record is one line: a line break inside quotes is a quoting error (the work
// can then be split anywhere between lines).

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <istream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "batch/BatchRow.h"

namespace tq {

// Whole lines of the input, each ending in LF (a CR alone made one).
struct BatchChunk {
  std::unique_ptr<char[]> data;
  std::size_t size = 0, capacity = 0;
  std::vector<std::size_t> tooLong;  // offsets of lines that stand for too long ones
  std::uint64_t sequence = 0;        // 0, 1, 2, ... in input order
  bool firstLineIsHeader = false;

  std::string_view Bytes() const { return {data.get(), size}; }
};

// Calls `line(text, tooLong)` for every line of the chunk, in order, without
// its line end and byte-order mark; `tooLong` is true for a line longer than
// kMaxBatchLine.
template <class LineFunction>
void ForEachLine(const BatchChunk& chunk, LineFunction line) {
  const char* begin = chunk.data.get();
  const char* const end = begin + chunk.size;
  auto tooLong = chunk.tooLong.begin();
  while (begin < end) {
    const auto* const lf = static_cast<const char*>(
        std::memchr(begin, '\n', static_cast<std::size_t>(end - begin)));
    const char* stop = lf;
    if (stop > begin && stop[-1] == '\r') --stop;
    const bool marked = tooLong != chunk.tooLong.end() &&
                        *tooLong == static_cast<std::size_t>(begin - chunk.data.get());
    if (marked) ++tooLong;
    if (stop - begin >= 3 && std::memcmp(begin, "\xEF\xBB\xBF", 3) == 0) begin += 3;
    const auto length = static_cast<std::size_t>(stop - begin);
    line(std::string_view(begin, length), marked || length > kMaxBatchLine);
    begin = lf + 1;
  }
}

// Where the input comes from.
class BatchSource {
 public:
  virtual ~BatchSource() = default;
  // Reads at most `size` bytes; 0 at the end, -1 on an error (errno). Gives
  // up early, as at the end, once `stop` is true.
  virtual long Read(char* to, std::size_t size, const std::atomic<bool>* stop) = 0;
};

// A file descriptor (not closed here), waited on in short steps so that a
// silent pipe does not hold up a run that must stop.
class FdSource : public BatchSource {
 public:
  explicit FdSource(int fd) : fd_(fd) {}
  long Read(char* to, std::size_t size, const std::atomic<bool>* stop) override;

 private:
  int fd_;
};

// A stream (a test's, or a caller's that is no file).
class StreamSource : public BatchSource {
 public:
  explicit StreamSource(std::istream& in) : in_(in) {}
  long Read(char* to, std::size_t size, const std::atomic<bool>* stop) override;

 private:
  std::istream& in_;
};

class BatchReader {
 public:
  // Chunks hold about `chunkSize` bytes, and at most `maxLines` lines.
  explicit BatchReader(BatchSource& source, std::size_t chunkSize = std::size_t{256} << 10,
                       std::size_t maxLines = std::size_t{1} << 16);

  // Fills `chunk` with the next lines; false at the end of the input (or on a
  // read error, then Failed()).
  bool Next(BatchChunk& chunk, const std::atomic<bool>* stop = nullptr);

  bool Failed() const { return errorNumber_ != 0; }
  int ErrorNumber() const { return errorNumber_; }
  std::uint64_t BytesRead() const { return bytesRead_; }

 private:
  // Makes each CR that is not followed by an LF an LF, in `size` bytes just
  // read; gives their size, less the LF of a CR LF the previous read cut.
  std::size_t EndLinesAtLoneCrs(char* bytes, std::size_t size);

  BatchSource& source_;
  std::size_t chunkSize_, maxLines_;
  std::string carry_;      // what the previous chunk left: the start of a line, or whole lines
  bool skipping_ = false;  // inside a too long line: drop up to its LF
  bool afterCr_ = false;   // the last byte read was a CR, made an LF
  bool ended_ = false;
  int errorNumber_ = 0;
  std::uint64_t bytesRead_ = 0;
  std::uint64_t sequence_ = 0;
};

// The fields `first` and `second` (0-based; -1: not wanted) of a CSV line,
// unquoted.
struct CsvFields {
  enum class Outcome { kOk, kQuoteError, kMissing };
  Outcome outcome = Outcome::kOk;
  std::string_view first, second;
  std::string firstUnquoted, secondUnquoted;  // where the views point for quoted fields
};
// The whole line is checked: a quote inside an unquoted field, anything but a
// comma after a closing quote, or a quote left open is a quoting error.
void SplitCsvLine(std::string_view line, int first, int second, CsvFields& fields);

// The fields of a header line, unquoted; nothing on a quoting error.
bool CsvHeaderFields(std::string_view line, std::vector<std::string>& names);

}  // namespace tq
