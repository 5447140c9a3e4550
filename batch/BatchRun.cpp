#include "batch/BatchRun.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
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

// Turns the lines of chunks into rows; one per worker thread.
class RowMaker {
 public:
  RowMaker(const BatchLookup& lookup, const BatchOptions& options, int column, int timeColumn)
      : lookup_(lookup), options_(options), column_(column), timeColumn_(timeColumn) {}

  void Make(const BatchChunk& chunk, std::string& out, BatchTotals& totals) {
    out.clear();
    totals = {};
    bool first = true;
    ForEachLine(chunk, [&](std::string_view line, bool tooLong) {
      row_.Clear();
      MakeRow(line, tooLong, first && chunk.firstLineIsHeader);
      first = false;
      AppendRow(out, row_, options_.format);
      ++totals.rows;
      ++totals.byStatus[static_cast<std::size_t>(row_.status)];
    });
  }

 private:
  void MakeRow(std::string_view line, bool tooLong, bool header) {
    if (tooLong) return row_.SetStatus(BatchStatus::kTooLong);
    const bool nul = line.find('\0') != std::string_view::npos;
    if (nul || !IsValidUtf8(line)) {
      row_.inputText.clear();
      AppendValidUtf8(row_.inputText, line);
      row_.input = row_.inputText;
      return row_.SetStatus(nul ? BatchStatus::kNulByte : BatchStatus::kBadUtf8);
    }
    if (column_ < 0) {
      row_.input = line;
      const std::string_view number = AsTyped(line);
      if (IsBlankText(number)) return row_.SetStatus(BatchStatus::kEmpty);
      return lookup_.Look(number, options_.nowUtc, options_.callingHours, row_, memo_);
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
    std::optional<std::int64_t> instant = options_.nowUtc;
    if (timeColumn_ >= 0) instant = ParseIsoInstant(Trimmed(fields_.second));
    lookup_.Look(number, instant.value_or(options_.nowUtc), options_.callingHours, row_, memo_);
    if (!instant && row_.status == BatchStatus::kOk) {
      row_.SetStatus(BatchStatus::kBadTime);
      row_.timeZone = row_.utcOffset = row_.localTime = row_.callable = {};
    }
  }

  // The number as a single lookup reads what is typed: in code page 1252,
  // so that a pasted no-break space or dash is the blank or hyphen it is
  // there. ASCII, nearly every line, is that already.
  std::string_view AsTyped(std::string_view utf8) {
    bool ascii = true;
    for (const char c : utf8) ascii &= static_cast<unsigned char>(c) < 0x80;
    if (ascii) return utf8;
    typed_ = Utf8ToCp1252(utf8);
    return typed_;
  }

  const BatchLookup& lookup_;
  const BatchOptions& options_;
  const int column_, timeColumn_;
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

struct Slot {
  enum class State { kFree, kRead, kDone };
  State state = State::kFree;
  BatchChunk chunk;
  std::string out;
  BatchTotals totals;
};

void AddTotals(BatchTotals& sum, const BatchTotals& part) {
  sum.rows += part.rows;
  for (std::size_t i = 0; i < kBatchStatusCount; ++i) sum.byStatus[i] += part.byStatus[i];
}

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
  std::atomic<bool> stop = false;

  // The first chunk, read now for the header line.
  std::vector<Slot> slots(slotCount);
  bool any = reader.Next(slots[0].chunk);
  int column = -1, timeColumn = -1;
  if (options.column) {
    std::vector<std::string> names;
    const bool named = !options.column->name.empty() ||
                       (options.timeColumn && !options.timeColumn->name.empty());
    if (named) {
      std::string_view headerLine;
      if (any) {
        bool first = true;
        ForEachLine(slots[0].chunk, [&](std::string_view line, bool tooLong) {
          if (first && !tooLong) headerLine = line;
          first = false;
        });
        slots[0].chunk.firstLineIsHeader = true;
      }
      CsvHeaderFields(headerLine, names);
    }
    column = ColumnIndex(*options.column, names);
    if (options.timeColumn) timeColumn = ColumnIndex(*options.timeColumn, names);
    const BatchColumn* missing = column < 0 ? &*options.column : nullptr;
    if (options.timeColumn && timeColumn < 0) missing = &*options.timeColumn;
    if (missing) {
      result.end = BatchResult::End::kNoSuchColumn;
      result.columnName = missing->name;
      return result;
    }
  }

  std::string header;
  if (options.header && options.format == BatchFormat::kCsv) AppendCsvHeader(header);
  if (!output.Write(header)) {
    result.end = BatchResult::End::kWriteError;
    result.errorNumber = errno;
    return result;
  }
  BatchTotals& totals = result.totals;
  const auto written = [&](Slot& slot) {
    if (!output.Write(slot.out)) {
      result.end = BatchResult::End::kWriteError;
      result.errorNumber = errno;
      stop = true;
      return false;
    }
    AddTotals(totals, slot.totals);
    return true;
  };

  if (jobs == 1) {
    RowMaker maker(lookup, options, column, timeColumn);
    Slot& slot = slots[0];
    while (any) {
      maker.Make(slot.chunk, slot.out, slot.totals);
      if (!written(slot)) return result;
      totals.bytesRead = reader.BytesRead();
      if (progress) progress(totals);
      any = reader.Next(slot.chunk);
    }
  } else {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Slot*> work;
    std::uint64_t chunksRead = any ? 1 : 0;
    bool readerDone = !any;
    std::atomic<std::uint64_t> bytesRead = reader.BytesRead();
    if (any) {
      slots[0].state = Slot::State::kRead;
      work.push_back(&slots[0]);
    }

    std::thread readerThread([&] {
      if (readerDone) return;
      for (std::uint64_t next = 1;; ++next) {
        Slot& slot = slots[next % slots.size()];
        {
          std::unique_lock lock(mutex);
          changed.wait(lock, [&] { return slot.state == Slot::State::kFree || stop; });
          if (stop) break;
        }
        const bool got = reader.Next(slot.chunk, &stop);
        bytesRead = reader.BytesRead();
        std::lock_guard lock(mutex);
        if (!got || stop) break;
        slot.state = Slot::State::kRead;
        work.push_back(&slot);
        chunksRead = next + 1;
        changed.notify_all();
      }
      std::lock_guard lock(mutex);
      readerDone = true;
      changed.notify_all();
    });

    std::vector<std::thread> workers;
    for (int i = 0; i < jobs; ++i) {
      workers.emplace_back([&] {
        RowMaker maker(lookup, options, column, timeColumn);
        for (;;) {
          Slot* slot;
          {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return !work.empty() || readerDone || stop; });
            if (work.empty() || stop) return;
            slot = work.front();
            work.pop_front();
          }
          maker.Make(slot->chunk, slot->out, slot->totals);
          std::lock_guard lock(mutex);
          slot->state = Slot::State::kDone;
          changed.notify_all();
        }
      });
    }

    for (std::uint64_t next = 0;; ++next) {
      Slot& slot = slots[next % slots.size()];
      {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] {
          return slot.state == Slot::State::kDone || (readerDone && next >= chunksRead);
        });
        if (slot.state != Slot::State::kDone) break;
      }
      const bool ok = written(slot);
      {
        std::lock_guard lock(mutex);
        slot.state = Slot::State::kFree;
        changed.notify_all();
      }
      if (!ok) break;
      totals.bytesRead = bytesRead;
      if (progress) progress(totals);
    }
    {
      std::lock_guard lock(mutex);
      changed.notify_all();
    }
    readerThread.join();
    for (std::thread& worker : workers) worker.join();
    if (result.end == BatchResult::End::kWriteError) return result;
  }
  totals.bytesRead = reader.BytesRead();
  if (reader.Failed()) {
    result.end = BatchResult::End::kReadError;
    result.errorNumber = reader.ErrorNumber();
  }
  return result;
}

}  // namespace tq
