// The batch lookup (`tqlookup --batch`) on a generated file of telephone
// numbers in mixed common forms: lines per second on one and on two worker
// threads beside the physical limit measured in the same run (reading the
// file and splitting it into lines), the status counts and the peak
// resident memory, each printed with its target and "met" or "MISSED".
//
//   telquest_batch_bench FILE [LINES]   (scripts/bench.sh runs it)
//
// FILE is written first (LINES lines, 10 000 000 by default) from the
// exchanges of the shipped res/exc.bin, then read by every measurement;
// LINES 0 reads FILE as it is.

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "batch/BatchReader.h"
#include "batch/BatchRun.h"

namespace {

// The exchanges of exc.bin ("937222"), from its records.
std::vector<std::string> ShippedExchanges(const std::string& path) {
  std::ifstream file(path);
  std::vector<std::string> exchanges;
  std::string line;
  bool records = false;
  while (std::getline(file, line)) {
    if (records && line.size() == 12) exchanges.push_back(line.substr(0, 6));
    records = records || line.starts_with("exchanges ");
  }
  return exchanges;
}

// One line in one of the common forms; about 1 in 12 lines is not a known
// place (an unknown exchange, toll-free, another country, a bad text).
std::string NumberLine(std::uint64_t i, const std::vector<std::string>& exchanges) {
  std::uint64_t x = i * 0x9E3779B97F4A7C15ull;
  x ^= x >> 29;
  const std::string& exchange = exchanges[x % exchanges.size()];
  const std::string npa = exchange.substr(0, 3), nxx = exchange.substr(3, 3);
  char line4[8];
  std::snprintf(line4, sizeof line4, "%04u", static_cast<unsigned>((x >> 20) % 10000));
  const std::string subscriber = line4;
  switch ((x >> 40) % 24) {
    case 0: case 1: case 2: return "(" + npa + ") " + nxx + "-" + subscriber;
    case 3: case 4: case 5: return npa + "-" + nxx + "-" + subscriber;
    case 6: case 7: return npa + "." + nxx + "." + subscriber;
    case 8: case 9: return "+1 " + npa + " " + nxx + " " + subscriber;
    case 10: case 11: return "1-" + npa + "-" + nxx + "-" + subscriber;
    case 12: case 13: case 14: return npa + nxx + subscriber;
    case 15: case 16: return "+1" + npa + nxx + subscriber;
    case 17: return npa + "-" + nxx + "-" + subscriber + " x" + subscriber.substr(0, 2);
    case 18: return "+1 (" + npa + ") " + nxx + "-" + subscriber;
    case 19: return npa + " 555 0" + subscriber.substr(1);  // 555: rarely a known exchange
    case 20: return "1-800-FLOWERS";
    case 21: return "+44 20 7946 " + subscriber;
    case 22: return (x >> 50) % 2 ? "" : "call me";
    default: return npa + "-" + nxx + "-" + subscriber + "\r";  // a CR LF line end
  }
}

// The CPU time of the whole process so far, in seconds.
double CpuSeconds() {
  timespec now{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void PrintTarget(const char* what, double value, const char* unit, double target, bool atLeast) {
  const bool met = atLeast ? value >= target : value < target;
  std::printf("  %-44s %14.0f %-8s target %s %.0f: %s\n", what, value, unit,
              atLeast ? ">=" : "<", target, met ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: telquest_batch_bench FILE [LINES]\n");
    return 2;
  }
  const std::string path = argv[1];
  const std::uint64_t lines = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 10'000'000;
  const std::vector<std::string> exchanges =
      ShippedExchanges(std::string(TELQUEST_SOURCE_DIR) + "/res/exc.bin");
  if (exchanges.empty()) {
    std::fprintf(stderr, "telquest_batch_bench: no exchanges in res/exc.bin\n");
    return 1;
  }
  if (lines > 0) {
    std::ofstream out(path, std::ios::binary);
    std::string block;
    for (std::uint64_t i = 0; i < lines; ++i) {
      block += NumberLine(i, exchanges);
      block += '\n';
      if (block.size() > (1u << 20)) {
        out << block;
        block.clear();
      }
    }
    out << block;
  }

  const tq::BatchLookup lookup(std::string(TELQUEST_SOURCE_DIR) + "/res");
  // Rows without their clocks would be measured too fast.
  if (!lookup.Problems().empty()) {
    std::fprintf(stderr, "%s\n", lookup.Problems().front().text.c_str());
    return 1;
  }
  const int devNull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);

  // The physical limit: the same reader, counting lines.
  double limit = 0;
  {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const auto start = std::chrono::steady_clock::now();
    tq::FdSource source(fd);
    tq::BatchReader reader(source);
    tq::BatchChunk chunk;
    std::uint64_t counted = 0;
    while (reader.Next(chunk)) {
      tq::ForEachLine(chunk, [&](std::string_view, bool) { ++counted; });
    }
    limit = static_cast<double>(counted) / Seconds(start);
    ::close(fd);
  }

  std::printf("Batch lookup of %s\n", path.c_str());
  std::printf("  %-44s %14.0f lines/s\n", "physical limit (read and split lines)", limit);
  // Other programs on the machine slow the wall clock: the rate per CPU
  // second and the cores in use tell how much.
  double rates[3] = {}, cpuRates[3] = {}, cores[3] = {};
  tq::BatchTotals totals;
  for (int jobs : {1, 2}) {
    tq::BatchOptions options;
    options.jobs = jobs;
    options.nowUtc = 1784217600;  // 2026-07-16T16:00Z
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = CpuSeconds();
    const tq::BatchResult result = tq::RunBatch(fd, devNull, lookup, options);
    const double seconds = Seconds(start), cpu = CpuSeconds() - cpuStart;
    rates[jobs] = static_cast<double>(result.totals.rows) / seconds;
    cpuRates[jobs] = static_cast<double>(result.totals.rows) / cpu;
    cores[jobs] = cpu / seconds;
    totals = result.totals;
    ::close(fd);
    const std::string what = "tqlookup --batch, " + std::to_string(jobs) + " job" +
                             (jobs > 1 ? "s" : "") + " (CSV to /dev/null)";
    if (jobs == 1) {
      PrintTarget(what.c_str(), rates[1], "lines/s", 1'000'000, true);
    } else {
      std::printf("  %-44s %14.0f lines/s\n", what.c_str(), rates[2]);
      PrintTarget("  speed-up of 2 jobs over 1 (x100)", 100 * rates[2] / rates[1], "", 180, true);
    }
    std::printf("  %-44s %14.0f lines/s (%.2f cores busy)\n", "  the same per CPU second",
                cpuRates[jobs], cores[jobs]);
  }
  std::printf("  %-44s %14.0f %%\n", "1 job as a share of the physical limit",
              100 * rates[1] / limit);
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  PrintTarget("peak resident memory of the whole run (kB)", static_cast<double>(usage.ru_maxrss),
              "kB", 64 * 1024, false);
  std::printf("Status counts of the file:\n");
  for (std::size_t i = 0; i < tq::kBatchStatusCount; ++i) {
    if (totals.byStatus[i] == 0) continue;
    std::printf("  %-20s %12llu\n",
                std::string(tq::BatchStatusName(static_cast<tq::BatchStatus>(i))).c_str(),
                static_cast<unsigned long long>(totals.byStatus[i]));
  }
  return 0;
}
