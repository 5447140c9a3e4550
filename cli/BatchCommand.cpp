#include "cli/BatchCommand.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "app/DataFolders.h"
#include "data/Text.h"
#include "lookup/BatchRun.h"
#include "lookup/LocalTime.h"

namespace tq {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitWriteError = 1;
constexpr int kExitUsage = 2;
constexpr int kExitNoData = 5;
constexpr int kExitDamagedData = 6;

struct BatchCommandLine {
  BatchOptions run;
  std::optional<std::filesystem::path> dataFolder;
  std::string file;  // "" or "-": standard input
  bool quiet = false;
};

// "3" is the third column, anything else a header name.
std::optional<BatchColumn> ParseColumn(const std::string& text) {
  if (text.empty()) return std::nullopt;
  if (text.find_first_not_of("0123456789") != std::string::npos) return BatchColumn{-1, text};
  if (text.size() > 6 || std::stoi(text) < 1) return std::nullopt;
  return BatchColumn{std::stoi(text) - 1, {}};
}

std::optional<BatchCommandLine> ParseBatchOptions(int argc, char** argv, std::string& error) {
  BatchCommandLine options;
  options.run.nowUtc = UtcNow();
  bool fileGiven = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--batch") continue;
    if (arg == "--json-lines") {
      options.run.format = BatchFormat::kJsonLines;
    } else if (arg == "--no-header") {
      options.run.header = false;
    } else if (arg == "--quiet") {
      options.quiet = true;
    } else if (arg == "--data" || arg == "--column" || arg == "--time-column" ||
               arg == "--jobs" || arg == "--now") {
      if (i + 1 == argc) {
        error = arg + ": missing value";
        return {};
      }
      const std::string value = argv[++i];
      if (arg == "--data") options.dataFolder = value;
      if ((arg == "--column" && !(options.run.column = ParseColumn(value))) ||
          (arg == "--time-column" && !(options.run.timeColumn = ParseColumn(value)))) {
        error = arg + ": not a column number (1, 2, ...) or name: " + value;
        return {};
      }
      if (arg == "--jobs") {
        if (value.empty() || value.size() > 3 ||
            value.find_first_not_of("0123456789") != std::string::npos ||
            std::stoi(value) < 1 || std::stoi(value) > 64) {
          error = "--jobs: not a number of threads from 1 to 64: " + value;
          return {};
        }
        options.run.jobs = std::stoi(value);
      }
      if (arg == "--now") {
        const std::optional<std::int64_t> now = ParseIsoInstant(value);
        if (!now) {
          error = "--now: not an ISO 8601 instant (YYYY-MM-DDTHH:MMZ): " + value;
          return {};
        }
        options.run.nowUtc = *now;
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

// Tells the data problems; kExitNoData when nothing can be answered,
// kExitDamagedData when the answers come from a damaged file, else 0.
int ReportDataProblems(const BatchLookup& lookup, const std::filesystem::path& folder,
                       const std::vector<std::filesystem::path>& tried) {
  int status = kExitOk;
  for (const LoadOutcome* outcome : {&lookup.Cities(), &lookup.AreaCodes(), &lookup.Exchanges()}) {
    if (outcome->problem == FileProblem::kNone) continue;
    std::fprintf(stderr, "tqlookup: %s\n", Cp1252ToDisplayUtf8(outcome->text).c_str());
    // Rows without their exchange's place would be wrong answers: the
    // exchange file is needed as much as the other two.
    const bool usable = outcome->problem == FileProblem::kDamaged;
    status = std::max(status, usable ? kExitDamagedData : kExitNoData);
  }
  if (status == kExitNoData) {
    for (const std::filesystem::path& other : tried) {
      if (other != folder) {
        std::fprintf(stderr, "tqlookup: also looked in %s\n",
                     Cp1252ToDisplayUtf8(other.string()).c_str());
      }
    }
  }
  return status;
}

// The progress line on a terminal, at most ten times a second.
class ProgressLine {
 public:
  explicit ProgressLine(std::uint64_t inputSize)
      : inputSize_(inputSize), shown_(isatty(STDERR_FILENO) != 0) {}

  void Show(const BatchTotals& totals) {
    if (!shown_) return;
    const auto now = Clock::now();
    if (now - last_ < std::chrono::milliseconds(100)) return;
    last_ = now;
    std::string line = "\r" + std::to_string(totals.rows) + " rows";
    if (inputSize_ > 0) {
      line += ", " + std::to_string(100 * totals.bytesRead / inputSize_) + "%";
    }
    line += ", " + std::to_string(Rate(totals.rows)) + " rows/s\x1B[K";
    std::fputs(line.c_str(), stderr);
    drawn_ = true;
  }
  void Clear() {
    if (drawn_) std::fputs("\r\x1B[K", stderr);
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
  bool drawn_ = false;
  const Clock::time_point start_ = Clock::now();
  Clock::time_point last_ = start_;
};

}  // namespace

bool IsBatchCommand(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--") == 0) return false;
    if (std::strcmp(argv[i], "--batch") == 0) return true;
  }
  return false;
}

int RunBatchCommand(int argc, char** argv, const std::vector<std::filesystem::path>& dataFolders) {
  std::string error;
  std::optional<BatchCommandLine> options = ParseBatchOptions(argc, argv, error);
  if (!options) {
    std::fprintf(stderr, "tqlookup: %s\nTry 'tqlookup --help' for more information.\n",
                 error.c_str());
    return kExitUsage;
  }

  int input = STDIN_FILENO;
  std::uint64_t inputSize = 0;
  if (!options->file.empty() && options->file != "-") {
    input = ::open(options->file.c_str(), O_RDONLY | O_CLOEXEC);
    if (input < 0) {
      std::fprintf(stderr, "tqlookup: cannot read %s: %s\n", options->file.c_str(),
                   std::strerror(errno));
      return kExitUsage;
    }
  }
  struct stat status {};
  if (::fstat(input, &status) == 0) {
    if (S_ISDIR(status.st_mode)) {
      std::fprintf(stderr, "tqlookup: cannot read %s: it is a folder\n", options->file.c_str());
      return kExitUsage;
    }
    if (S_ISREG(status.st_mode)) inputSize = static_cast<std::uint64_t>(status.st_size);
  }

  const std::vector<std::filesystem::path> tried =
      options->dataFolder ? std::vector{*options->dataFolder} : dataFolders;
  const std::filesystem::path folder = ChooseDataFolder(tried);
  const BatchLookup lookup(folder);
  const int dataStatus = ReportDataProblems(lookup, folder, tried);
  if (dataStatus == kExitNoData) return dataStatus;

  // A closed pipe is told as a failed write, not by the signal.
  std::signal(SIGPIPE, SIG_IGN);
  ProgressLine progress(inputSize);
  const BatchResult result = RunBatch(input, STDOUT_FILENO, lookup, options->run,
                                      [&](const BatchTotals& totals) { progress.Show(totals); });
  progress.Clear();
  if (input != STDIN_FILENO) ::close(input);

  switch (result.end) {
    case BatchResult::End::kNoSuchColumn:
      std::fprintf(stderr, "tqlookup: the header line has no column named \"%s\"\n",
                   result.columnName.c_str());
      return kExitUsage;
    case BatchResult::End::kWriteError:
      std::fprintf(stderr, "tqlookup: cannot write the rows: %s (stopped after %llu rows)\n",
                   std::strerror(result.errorNumber),
                   static_cast<unsigned long long>(result.totals.rows));
      return kExitWriteError;
    case BatchResult::End::kReadError:
      std::fprintf(stderr, "tqlookup: cannot read the input: %s (stopped after %llu rows)\n",
                   std::strerror(result.errorNumber),
                   static_cast<unsigned long long>(result.totals.rows));
      return kExitWriteError;
    case BatchResult::End::kDone:
      break;
  }
  if (!options->quiet) {
    std::string summary = "tqlookup: " + std::to_string(result.totals.rows) + " rows";
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
    std::fputs((summary + timing).c_str(), stderr);
  }
  return dataStatus;
}

}  // namespace tq
