#pragma once
// A batch lookup from an input stream to an output stream: every input line
// gives exactly one row, in input order, whatever the number of worker
// threads. Lines are read in chunks; a bounded number of chunks is in flight
// between the reader, the workers and the writer, so memory stays small
// whatever the size of the input. A failed write stops the run at once.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "batch/BatchLookup.h"
#include "batch/BatchReader.h"
#include "batch/BatchRow.h"

namespace tq {

// A CSV column: by its 0-based index, or by its name in the header line.
struct BatchColumn {
  int index = -1;
  std::string name;
};

struct BatchOptions {
  BatchFormat format = BatchFormat::kCsv;
  bool header = true;  // the CSV header line of the output
  // The number's column: the input is CSV; by name, its first line is the
  // header (and gives a row of status "header"). Without it, each line is a
  // number.
  std::optional<BatchColumn> column;
  std::optional<BatchColumn> timeColumn;  // an ISO 8601 instant per row
  int jobs = 1;                           // worker threads
  std::int64_t nowUtc = 0;                // the instant of rows without a time column
  CallingHours callingHours;              // of the callable column
  std::size_t chunkSize = std::size_t{256} << 10;
};

struct BatchTotals {
  std::uint64_t rows = 0;
  std::array<std::uint64_t, kBatchStatusCount> byStatus{};
  std::uint64_t bytesRead = 0;
};

struct BatchResult {
  enum class End {
    kDone,          // every line was read and its row written
    kWriteError,    // stopped at the first failed write
    kReadError,     // the input could not be read to its end
    kNoSuchColumn,  // a column name is not in the header (nothing written)
  };
  End end = End::kDone;
  int errorNumber = 0;     // errno of a read or write error
  std::string columnName;  // with kNoSuchColumn
  BatchTotals totals;
};

// Called on the calling thread after each written chunk.
using BatchProgress = std::function<void(const BatchTotals&)>;

// Where the rows go: Write() gives false (errno set) when they could not all
// be written.
class BatchSink {
 public:
  virtual ~BatchSink() = default;
  virtual bool Write(std::string_view bytes) = 0;
};
class FdSink : public BatchSink {
 public:
  explicit FdSink(int fd) : fd_(fd) {}
  bool Write(std::string_view bytes) override;

 private:
  int fd_;
};
// Each write is flushed, so that a failure is seen at once.
class StreamSink : public BatchSink {
 public:
  explicit StreamSink(std::ostream& out) : out_(out) {}
  bool Write(std::string_view bytes) override;

 private:
  std::ostream& out_;
};

BatchResult RunBatch(BatchSource& input, BatchSink& output, const BatchLookup& lookup,
                     const BatchOptions& options, const BatchProgress& progress = {});
// The same on file descriptors (not closed here).
BatchResult RunBatch(int inputFd, int outputFd, const BatchLookup& lookup,
                     const BatchOptions& options, const BatchProgress& progress = {});

}  // namespace tq
