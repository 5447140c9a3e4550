#include "cli/BatchCommand.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "base/Text.h"
#include "batch/BatchRun.h"
#include "data/DataFolders.h"
#include "time/LocalTime.h"

namespace tq {
namespace {

constexpr int kExitOk = 0;

constexpr char kBatchUsage[] =
    "usage: tqlookup --batch [OPTION]... [FILE]\n"
    "Looks up the telephone number of each line of FILE (standard input when it\n"
    "is absent or -) and writes one row per line, in input order. A ZIP or\n"
    "postal code (45402, K1A 0B1) gives its place's row, of status postal.\n"
    "\n"
    "Options:\n"
    "  --data DIR             read the data files (cit.bin, arc.bin, exc.bin,\n"
    "                         ctz.bin, tzl.bin, pst.bin) from DIR\n"
    "  --column N|NAME        the input is CSV, the number in column N (1 for the\n"
    "                         first) or in column NAME of the header line\n"
    "  --time-column N|NAME   the local time at this column's ISO 8601 instant\n"
    "  --now INSTANT          the local time at this instant otherwise, written as\n"
    "                         for a single lookup (default: now)\n"
    "  --window H:MM-H:MM     the local hours in which a place may be called\n"
    "                         (default: 08:00-21:00)\n"
    "  --json-lines           one JSON object per row instead of CSV\n"
    "  --no-header            no CSV header line\n"
    "  --jobs N               look up on N threads (1 to 64, default 1)\n"
    "  --quiet                no summary line on standard error\n"
    "\n"
    "Columns: input, number, area_code, exchange, status, reason, place, state,\n"
    "time_zone, utc_offset, local_time, callable, area, postal_code, area_codes.\n"
    "\n"
    "Exit status:\n"
    "  0  every line was answered (each row has its own status)\n"
    "  1  the rows could not be written, or the input not read\n"
    "  2  the command line was not understood\n"
    "  5  a data file is missing, unreadable or refused\n"
    "  6  a data file is damaged (the rows from what could be read; without\n"
    "     the zone law, rows without local times)\n";

struct BatchCommandLine {
  bool help = false;
  BatchOptions run;
  std::optional<std::filesystem::path> dataFolder;
  std::string file;  // "" or "-": standard input
  bool quiet = false;
};

// "3" is the third column, anything else a header name.
std::optional<BatchColumn> ParseColumn(const std::string& text) {
  if (text.empty()) return std::nullopt;
  if (text.find_first_not_of("0123456789") != std::string::npos) return BatchColumn{-1, text};
  const std::int32_t column = text.size() > 6 ? -1 : DigitsValue(text);
  if (column < 1) return std::nullopt;
  return BatchColumn{column - 1, {}};
}

std::optional<BatchCommandLine> ParseBatchOptions(const std::vector<std::string>& args,
                                                  std::int64_t now, std::string& error) {
  BatchCommandLine options;
  options.run.nowUtc = now;
  bool fileGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--batch") continue;
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      return options;
    }
    if (arg == "--json-lines") {
      options.run.format = BatchFormat::kJsonLines;
    } else if (arg == "--no-header") {
      options.run.header = false;
    } else if (arg == "--quiet") {
      options.quiet = true;
    } else if (arg == "--data" || arg == "--column" || arg == "--time-column" ||
               arg == "--jobs" || arg == "--now" || arg == "--window") {
      if (i + 1 == args.size()) {
        error = arg + ": missing value";
        return {};
      }
      const std::string& value = args[++i];
      if (arg == "--data") options.dataFolder = value;
      if ((arg == "--column" && !(options.run.column = ParseColumn(value))) ||
          (arg == "--time-column" && !(options.run.timeColumn = ParseColumn(value)))) {
        error = arg + ": not a column number (1, 2, ...) or name: " + value;
        return {};
      }
      if (arg == "--jobs") {
        const std::int32_t jobs = DigitsValue(value);
        if (jobs < 1 || jobs > 64) {
          error = "--jobs: not a number of threads from 1 to 64: " + value;
          return {};
        }
        options.run.jobs = jobs;
      }
      if (arg == "--now") {
        const std::optional<std::int64_t> now = ParseNowOption(value, error);
        if (!now) return {};
        options.run.nowUtc = *now;
      }
      if (arg == "--window") {
        const std::optional<CallingHours> hours = ParseWindowOption(value, error);
        if (!hours) return {};
        options.run.callingHours = *hours;
      }
    } else if (arg.starts_with("-") && arg != "-") {
      error = arg + " does not go with --batch";
      return {};
    } else if (fileGiven) {
      error = "more than one input file: " + arg;
      return {};
    } else {
      options.file = arg;
      fileGiven = true;
    }
  }
  if (options.run.timeColumn && !options.run.column) {
    error = "--time-column needs --column (a CSV input)";
    return {};
  }
  return options;
}

// The progress line on a terminal, at most ten times a second.
class ProgressLine {
 public:
  ProgressLine(std::uint64_t inputSize, bool shown, std::ostream& err)
      : inputSize_(inputSize), shown_(shown), err_(err) {}

  void Show(const BatchTotals& totals) {
    if (!shown_) return;
    const auto now = Clock::now();
    if (now - last_ < std::chrono::milliseconds(100)) return;
    last_ = now;
    err_ << "\r" << totals.rows << " rows";
    if (inputSize_ > 0) err_ << ", " << 100 * totals.bytesRead / inputSize_ << "%";
    err_ << ", " << Rate(totals.rows) << " rows/s\x1B[K" << std::flush;
    drawn_ = true;
  }
  void Clear() {
    if (drawn_) err_ << "\r\x1B[K" << std::flush;
  }
  double Seconds() const {
    return std::chrono::duration<double>(Clock::now() - start_).count();
  }
  std::uint64_t Rate(std::uint64_t rows) const {
    const double seconds = Seconds();
    return seconds > 0 ? static_cast<std::uint64_t>(static_cast<double>(rows) / seconds) : 0;
  }

 private:
  using Clock = std::chrono::steady_clock;
  const std::uint64_t inputSize_;
  const bool shown_;
  std::ostream& err_;
  bool drawn_ = false;
  const Clock::time_point start_ = Clock::now();
  Clock::time_point last_ = start_;
};

// The input of the run: its file descriptor (-1: the stream of `io`) and,
// for a regular file, its size (for the progress line).
struct Input {
  int fd = -1;
  std::uint64_t size = 0;
  bool owned = false;  // opened here, closed here
  ~Input() {
    if (owned) ::close(fd);
  }
};

// Opens FILE, or takes standard input; false, with the reason told, when
// FILE cannot be read.
bool OpenInput(const std::string& file, bool standardStreams, Input& input, std::ostream& err) {
  input.fd = standardStreams ? STDIN_FILENO : -1;
  if (!file.empty() && file != "-") {
    input.fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (input.fd < 0) {
      err << "tqlookup: cannot read " << file << ": " << std::strerror(errno) << "\n";
      return false;
    }
    input.owned = true;
  }
  struct stat status {};
  if (input.fd >= 0 && ::fstat(input.fd, &status) == 0) {
    if (S_ISDIR(status.st_mode)) {
      err << "tqlookup: cannot read " << file << ": it is a folder\n";
      return false;
    }
    if (S_ISREG(status.st_mode)) input.size = static_cast<std::uint64_t>(status.st_size);
  }
  return true;
}

// The run's end told on the error stream: a failure with its exit status,
// else (unless `quiet`) the summary line; nothing when the rows were all
// written.
std::optional<int> TellEnd(const BatchResult& result, bool quiet, const ProgressLine& progress,
                           std::ostream& err) {
  const auto rows = std::to_string(result.totals.rows);
  switch (result.end) {
    case BatchResult::End::kNoSuchColumn:
      err << "tqlookup: the header line has no column named \"" << result.columnName << "\"\n";
      return kExitUsage;
    case BatchResult::End::kWriteError:
      err << "tqlookup: cannot write the rows: " << std::strerror(result.errorNumber)
          << " (stopped after " << rows << " rows)\n";
      return kExitOutputError;
    case BatchResult::End::kReadError:
      err << "tqlookup: cannot read the input: " << std::strerror(result.errorNumber)
          << " (stopped after " << rows << " rows)\n";
      return kExitOutputError;
    case BatchResult::End::kDone:
      break;
  }
  if (quiet) return std::nullopt;
  std::string summary = "tqlookup: " + rows + " rows";
  const char* separator = ": ";
  for (std::size_t i = 0; i < kBatchStatusCount; ++i) {
    if (result.totals.byStatus[i] == 0) continue;
    summary += separator + std::to_string(result.totals.byStatus[i]) + " " +
               std::string(BatchStatusName(static_cast<BatchStatus>(i)));
    separator = ", ";
  }
  char timing[64];
  std::snprintf(timing, sizeof timing, "; %.2f s, %llu rows/s\n", progress.Seconds(),
                static_cast<unsigned long long>(progress.Rate(result.totals.rows)));
  err << summary << timing << std::flush;
  return std::nullopt;
}

}  // namespace

bool ShowsProgress(int errFd, int outFd) { return isatty(errFd) != 0 && isatty(outFd) == 0; }

bool IsBatchCommand(const std::vector<std::string>& args) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--") return false;
    if (args[i] == "--batch") return true;
    // The value of an option ("--pick --batch") is no option.
    for (const char* withValue : {"--data", "--filter", "--pick", "--date", "--now", "--window",
                                  "--column", "--time-column", "--jobs"}) {
      if (args[i] == withValue) ++i;
    }
  }
  return false;
}

int RunBatchCommand(const std::vector<std::string>& args, CommandLineIo& io,
                    const CommandLinePlaces& places) {
  std::string error;
  std::optional<BatchCommandLine> options = ParseBatchOptions(args, places.nowUtc(), error);
  if (!options) {
    io.err << "tqlookup: " << error << "\nTry 'tqlookup --batch --help' for more information.\n";
    return kExitUsage;
  }
  if (options->help) {
    io.out << kBatchUsage << std::flush;
    return io.out ? kExitOk : kExitOutputError;
  }

  // The process's own streams are read and written through their
  // descriptors: faster, and a silent pipe cannot hold up a run that stops.
  const bool standardStreams = &io.in == &std::cin && &io.out == &std::cout;
  Input input;
  if (!OpenInput(options->file, standardStreams, input, io.err)) return kExitUsage;

  const std::vector<std::filesystem::path> tried =
      options->dataFolder ? std::vector{*options->dataFolder}
                          : DataFolderCandidates({}, places.programFolder, places.dataFromProgram,
                                                 places.installedData);
  const std::filesystem::path folder = ChooseDataFolder(tried);
  const BatchLookup lookup(folder);
  const int dataStatus = TellDataProblems(lookup.Problems(), folder, tried, io.err);
  if (dataStatus == kExitNoData) return dataStatus;

  std::unique_ptr<BatchSource> source;
  if (input.fd >= 0) {
    source = std::make_unique<FdSource>(input.fd);
  } else {
    source = std::make_unique<StreamSource>(io.in);
  }
  std::unique_ptr<BatchSink> sink;
  if (standardStreams) {
    io.out.flush();
    // A closed pipe is told as a failed write, not by the signal.
    std::signal(SIGPIPE, SIG_IGN);
    sink = std::make_unique<FdSink>(STDOUT_FILENO);
  } else {
    sink = std::make_unique<StreamSink>(io.out);
  }
  ProgressLine progress(input.size,
                        &io.err == &std::cerr && ShowsProgress(STDERR_FILENO, STDOUT_FILENO),
                        io.err);
  const BatchResult result = RunBatch(*source, *sink, lookup, options->run,
                                      [&](const BatchTotals& totals) { progress.Show(totals); });
  progress.Clear();
  return TellEnd(result, options->quiet, progress, io.err).value_or(dataStatus);
}

}  // namespace tq
