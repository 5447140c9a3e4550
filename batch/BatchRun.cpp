#include "batch/BatchRun.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "base/Text.h"

namespace tq {
namespace {

// A CSV field without the blanks and tabs around it.
std::string_view Trimmed(std::string_view text) {
  const std::size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return {};
  return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

// The rows of a chunk: written in place, in room made before each row.
class RowBuffer {
 public:
  void Clear() { size_ = 0; }
  // Room for `most` bytes after those written.
  char* Room(std::size_t most) {
    if (capacity_ - size_ < most) {
      const std::size_t capacity = std::max({2 * capacity_, size_ + most, std::size_t{64} << 10});
      // Not value-initialised: only the bytes written are ever read.
      std::unique_ptr<char[]> bytes(new char[capacity]);
      if (size_ > 0) std::memcpy(bytes.get(), bytes_.get(), size_);
      bytes_ = std::move(bytes);
      capacity_ = capacity;
    }
    return bytes_.get() + size_;
  }
  // The bytes up to `end` (in the room last made) are written.
  void Wrote(const char* end) { size_ = static_cast<std::size_t>(end - bytes_.get()); }
  std::string_view Bytes() const { return {bytes_.get(), size_}; }

 private:
  std::unique_ptr<char[]> bytes_;
  std::size_t size_ = 0, capacity_ = 0;
};

// Turns the lines of chunks into rows; one per worker thread.
class RowMaker {
 public:
  RowMaker(const BatchLookup& lookup, const BatchOptions& options, int column, int timeColumn)
      : lookup_(lookup), options_(options), column_(column), timeColumn_(timeColumn) {}

  void Make(const BatchChunk& chunk, RowBuffer& out, BatchTotals& totals) {
    out.Clear();
    totals = {};
    bool first = true;
    ForEachLine(chunk, [&](std::string_view line, bool tooLong) {
      row_.Clear();
      MakeRow(line, tooLong, first && chunk.firstLineIsHeader);
      first = false;
      out.Wrote(WriteRow(out.Room(RowBound(row_)), row_, options_.format));
      ++totals.rows;
      ++totals.byStatus[static_cast<std::size_t>(row_.status)];
    });
  }

 private:
  void MakeRow(std::string_view line, bool tooLong, bool header) {
    if (tooLong) return row_.SetStatus(BatchStatus::kTooLong);
    if (!IsValidUtf8(line, &ascii_)) {
      const bool nul = line.find('\0') != std::string_view::npos;
      row_.inputText.clear();
      AppendValidUtf8(row_.inputText, line);
      row_.input = row_.inputText;
      return row_.SetStatus(nul ? BatchStatus::kNulByte : BatchStatus::kBadUtf8);
    }
    if (column_ < 0) {
      row_.input = line;
      const std::string_view number = AsTyped(line);
      if (IsBlankText(number)) return row_.SetStatus(BatchStatus::kEmpty);
      return LookAt(number, options_.nowUtc, kBadRunTimeReason);
    }
    SplitCsvLine(line, column_, timeColumn_, fields_);
    if (fields_.outcome != CsvFields::Outcome::kOk) {
      row_.input = line;
      return row_.SetStatus(fields_.outcome == CsvFields::Outcome::kQuoteError
                                ? BatchStatus::kCsvError
                                : BatchStatus::kNoColumn);
    }
    row_.input = fields_.first;
    if (header) return row_.SetStatus(BatchStatus::kHeader);
    const std::string_view number = AsTyped(fields_.first);
    if (IsBlankText(number)) return row_.SetStatus(BatchStatus::kEmpty);
    if (timeColumn_ < 0) return LookAt(number, options_.nowUtc, kBadRunTimeReason);
    LookAt(number, ParseIsoInstant(Trimmed(fields_.second)),
           BatchStatusReason(BatchStatus::kBadTime));
  }

  // The number looked up at `instant`. A number read at an instant that is
  // missing or outside the years of the zone law gets no clock: its row says
  // bad_time, with `reason`.
  void LookAt(std::string_view number, std::optional<std::int64_t> instant,
              std::string_view reason) {
    const bool known = instant && *instant >= kFirstInstant && *instant < kEndOfInstants;
    lookup_.Look(number, known ? *instant : kFirstInstant, options_.callingHours, row_, memo_);
    if (known || row_.status == BatchStatus::kInvalid ||
        row_.status == BatchStatus::kOtherCountry) {
      return;
    }
    row_.status = BatchStatus::kBadTime;
    row_.reason = reason;
    row_.timeZone = row_.utcOffset = row_.localTime = row_.callable = {};
  }

  // The number as a single lookup reads what is typed: in code page 1252,
  // so that a pasted no-break space or dash is the blank or hyphen it is
  // there. An ASCII line, nearly every one, is that already.
  std::string_view AsTyped(std::string_view utf8) {
    if (ascii_) return utf8;
    typed_ = Utf8ToCp1252(utf8);
    return typed_;
  }

  const BatchLookup& lookup_;
  const BatchOptions& options_;
  const int column_, timeColumn_;
  bool ascii_ = true;  // the line read is ASCII alone
  std::string typed_;
  BatchRow row_;
  CsvFields fields_;
  BatchLookup::Memo memo_;
};

// The 0-based index of a column, from the header line when it is named;
// -1 when the name is not there.
int ColumnIndex(const BatchColumn& column, const std::vector<std::string>& names) {
  if (column.name.empty()) return column.index;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (Trimmed(names[i]) == column.name) return static_cast<int>(i);
  }
  return -1;
}

// The columns of the number and of the time (-1: none). A column named is
// found in the header line, the first line of the first chunk, which then
// gives the row of status "header". Nothing, with `missing` the name, when
// the header lacks a column named.
std::optional<std::pair<int, int>> FindColumns(const BatchOptions& options, bool any,
                                               BatchChunk& first, std::string& missing) {
  if (!options.column) return std::pair{-1, -1};
  std::vector<std::string> names;
  const bool named = !options.column->name.empty() ||
                     (options.timeColumn && !options.timeColumn->name.empty());
  if (named) {
    std::string_view headerLine;
    if (any) {
      bool atFirst = true;
      ForEachLine(first, [&](std::string_view line, bool tooLong) {
        if (atFirst && !tooLong) headerLine = line;
        atFirst = false;
      });
      first.firstLineIsHeader = true;
    }
    CsvHeaderFields(headerLine, names);
  }
  const int column = ColumnIndex(*options.column, names);
  const int timeColumn = options.timeColumn ? ColumnIndex(*options.timeColumn, names) : -1;
  if (column < 0) missing = options.column->name;
  if (options.timeColumn && timeColumn < 0) missing = options.timeColumn->name;
  if (column < 0 || (options.timeColumn && timeColumn < 0)) return std::nullopt;
  return std::pair{column, timeColumn};
}

// A chunk on its way from the reader through a worker to the writer.
struct Slot {
  enum class State { kFree, kRead, kDone };
  State state = State::kFree;
  BatchChunk chunk;
  RowBuffer out;
  BatchTotals totals;
};

void AddTotals(BatchTotals& sum, const BatchTotals& part) {
  sum.rows += part.rows;
  for (std::size_t i = 0; i < kBatchStatusCount; ++i) sum.byStatus[i] += part.byStatus[i];
}

// Writes the rows of each chunk, in the order given, and counts them; the
// first failed write ends the run with its error.
class RowWriter {
 public:
  RowWriter(BatchSink& output, BatchResult& result, const BatchProgress& progress)
      : output_(output), result_(result), progress_(progress) {}

  bool Write(std::string_view bytes) {
    if (output_.Write(bytes)) return true;
    result_.end = BatchResult::End::kWriteError;
    result_.errorNumber = errno;
    return false;
  }
  bool WriteChunk(const Slot& slot, std::uint64_t bytesRead) {
    if (!Write(slot.out.Bytes())) return false;
    AddTotals(result_.totals, slot.totals);
    result_.totals.bytesRead = bytesRead;
    if (progress_) progress_(result_.totals);
    return true;
  }

 private:
  BatchSink& output_;
  BatchResult& result_;
  const BatchProgress& progress_;
};

// Chunks read ahead by one thread and made into rows by `jobs` others, handed
// out in input order. Each chunk has a slot of its own, taken in turn, so at
// most the slots' count of chunks is in flight; a slot is read again only
// once its rows are written.
class RowPipeline {
 public:
  // `slots[0]` holds the first chunk already when `firstRead`; the rows are
  // made as RowMaker(lookup, options, columns) makes them.
  RowPipeline(BatchReader& reader, std::vector<Slot>& slots, bool firstRead, int jobs,
              const BatchLookup& lookup, const BatchOptions& options, std::pair<int, int> columns)
      : reader_(reader), slots_(slots), chunksRead_(firstRead ? 1 : 0), readerDone_(!firstRead),
        bytesRead_(reader.BytesRead()) {
    if (firstRead) {
      slots_[0].state = Slot::State::kRead;
      work_.push_back(&slots_[0]);
    }
    readerThread_ = std::thread([this] { ReadChunks(); });
    for (int i = 0; i < jobs; ++i) {
      workers_.emplace_back([this, &lookup, &options, columns] {
        RowMaker maker(lookup, options, columns.first, columns.second);
        MakeRows(maker);
      });
    }
  }
  ~RowPipeline() {
    Stop();
    readerThread_.join();
    for (std::thread& worker : workers_) worker.join();
  }
  RowPipeline(const RowPipeline&) = delete;
  RowPipeline& operator=(const RowPipeline&) = delete;

  // The next chunk in input order once its rows are made; nullptr after the
  // last one (or once stopped).
  Slot* Next() {
    Slot& slot = slots_[next_ % slots_.size()];
    std::unique_lock lock(mutex_);
    rowsMade_.wait(lock, [&] {
      return slot.state == Slot::State::kDone || stop_ || (readerDone_ && next_ >= chunksRead_);
    });
    if (slot.state != Slot::State::kDone || stop_) return nullptr;
    ++next_;
    return &slot;
  }
  // The rows of `slot` are written: its slot may take the next chunk.
  void Release(Slot& slot) {
    std::lock_guard lock(mutex_);
    slot.state = Slot::State::kFree;
    slotFree_.notify_one();  // the reader alone waits for a slot
  }
  // No more chunks are wanted: reading and making rows end soon.
  void Stop() {
    std::lock_guard lock(mutex_);
    stop_ = true;
    workReady_.notify_all();
    rowsMade_.notify_all();
    slotFree_.notify_all();
  }
  std::uint64_t BytesRead() const { return bytesRead_; }

 private:
  void ReadChunks() {
    for (std::uint64_t next = chunksRead_; !readerDone_; ++next) {  // the reader's own flag
      Slot& slot = slots_[next % slots_.size()];
      {
        std::unique_lock lock(mutex_);
        slotFree_.wait(lock, [&] { return slot.state == Slot::State::kFree || stop_; });
        if (stop_) break;
      }
      const bool got = reader_.Next(slot.chunk, &stop_);
      bytesRead_ = reader_.BytesRead();
      std::lock_guard lock(mutex_);
      if (!got || stop_) break;
      slot.state = Slot::State::kRead;
      work_.push_back(&slot);
      chunksRead_ = next + 1;
      workReady_.notify_one();  // one chunk, one worker
    }
    std::lock_guard lock(mutex_);
    readerDone_ = true;
    workReady_.notify_all();
    rowsMade_.notify_all();
  }

  void MakeRows(RowMaker& maker) {
    for (;;) {
      Slot* slot;
      {
        std::unique_lock lock(mutex_);
        workReady_.wait(lock, [&] { return !work_.empty() || readerDone_ || stop_; });
        if (work_.empty() || stop_) return;
        slot = work_.front();
        work_.pop_front();
      }
      maker.Make(slot->chunk, slot->out, slot->totals);
      std::lock_guard lock(mutex_);
      slot->state = Slot::State::kDone;
      rowsMade_.notify_one();  // the caller of Next alone waits for rows
    }
  }

  BatchReader& reader_;
  std::vector<Slot>& slots_;
  std::mutex mutex_;
  // Each waits for one kind of change, so that a change wakes only a thread
  // that waits for it: a chunk read (the workers), a chunk's rows made (the
  // caller of Next), a slot free (the reader).
  std::condition_variable workReady_, rowsMade_, slotFree_;
  std::deque<Slot*> work_;        // read, waiting for a worker
  std::uint64_t chunksRead_;      // under mutex_
  std::uint64_t next_ = 0;        // the next chunk to hand out (the caller's)
  bool readerDone_;               // under mutex_
  std::atomic<bool> stop_ = false;
  std::atomic<std::uint64_t> bytesRead_;
  std::thread readerThread_;
  std::vector<std::thread> workers_;
};

}  // namespace

bool FdSink::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

bool StreamSink::Write(std::string_view bytes) {
  errno = 0;
  out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out_.flush();
  if (out_) return true;
  if (errno == 0) errno = EIO;
  return false;
}

BatchResult RunBatch(int inputFd, int outputFd, const BatchLookup& lookup,
                     const BatchOptions& options, const BatchProgress& progress) {
  FdSource input(inputFd);
  FdSink output(outputFd);
  return RunBatch(input, output, lookup, options, progress);
}

BatchResult RunBatch(BatchSource& input, BatchSink& output, const BatchLookup& lookup,
                     const BatchOptions& options, const BatchProgress& progress) {
  BatchResult result;
  // The chunks in flight share a fixed budget, whatever the input: a chunk's
  // rows take at most kMaxRowOverhead bytes each and six bytes per input
  // byte (JSON escapes of control bytes), so its lines and bytes are bounded.
  constexpr std::size_t kInFlightBudget = std::size_t{24} << 20;
  constexpr std::size_t kMaxRowOverhead = 800;
  const int jobs = std::max(options.jobs, 1);
  const std::size_t slotCount = jobs == 1 ? 1 : static_cast<std::size_t>(jobs) + 2;
  const std::size_t perSlot = kInFlightBudget / slotCount;
  BatchReader reader(input, std::min(options.chunkSize, perSlot / 16), perSlot / kMaxRowOverhead);

  // The first chunk, read now for the header line.
  std::vector<Slot> slots(slotCount);
  const bool any = reader.Next(slots[0].chunk);
  const std::optional<std::pair<int, int>> columns =
      FindColumns(options, any, slots[0].chunk, result.columnName);
  if (!columns) {
    result.end = BatchResult::End::kNoSuchColumn;
    return result;
  }
  RowWriter writer(output, result, progress);
  std::string header;
  if (options.header && options.format == BatchFormat::kCsv) AppendCsvHeader(header);
  if (!writer.Write(header)) return result;
  if (jobs == 1) {
    RowMaker maker(lookup, options, columns->first, columns->second);
    Slot& slot = slots[0];
    for (bool read = any; read; read = reader.Next(slot.chunk)) {
      maker.Make(slot.chunk, slot.out, slot.totals);
      if (!writer.WriteChunk(slot, reader.BytesRead())) return result;
    }
  } else {
    RowPipeline pipeline(reader, slots, any, jobs, lookup, options, *columns);
    while (Slot* slot = pipeline.Next()) {
      const bool written = writer.WriteChunk(*slot, pipeline.BytesRead());
      pipeline.Release(*slot);
      if (!written) return result;
    }
  }
  result.totals.bytesRead = reader.BytesRead();
  if (reader.Failed()) {
    result.end = BatchResult::End::kReadError;
    result.errorNumber = reader.ErrorNumber();
  }
  return result;
}

}  // namespace tq
