// The batch lookup (`tqlookup --batch`) on a generated file of telephone
// numbers in mixed common forms, set against the one-core limit
// (OneCoreLimit.h) in the same run: rounds of the limit, one job and two
// jobs in turn (each round in another order), each timed in CPU seconds of
// the whole process (the machine may be shared: wall clocks are printed, but
// the targets are per CPU second). It prints the minimum, median and maximum
// over the rounds of lines per CPU second, of one job's share of the limit
// and of two jobs' speed-up over one, each with its target and "met" or
// "MISSED" (judged on the median), then checks that one job, two jobs and the
// limit wrote the same bytes, and gives the status counts.
//
//   telquest_batch_bench FILE [LINES [ROUNDS]]   (scripts/bench.sh runs it)
//
// FILE is written first (LINES lines, 10 000 000 by default) from the
// exchanges of the shipped res/exc.bin, then read by every measurement;
// LINES 0 reads FILE as it is. ROUNDS is 3 by default.

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "OneCoreLimit.h"
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

// The CPU time of the whole process so far (every thread), in seconds.
double CpuSeconds() {
  timespec now{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

struct Timing {
  double cpu = 0, wall = 0;
  std::uint64_t lines = 0;
  double PerCpuSecond() const { return static_cast<double>(lines) / cpu; }
};

Timing Timed(const std::function<std::uint64_t()>& run) {
  const auto start = std::chrono::steady_clock::now();
  const double cpuStart = CpuSeconds();
  Timing timing;
  timing.lines = run();
  timing.cpu = CpuSeconds() - cpuStart;
  timing.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return timing;
}

// A digest of everything written, however the writes are cut.
class DigestSink : public tq::BatchSink {
 public:
  bool Write(std::string_view bytes) override {
    for (const char c : bytes) {
      digest_ = (digest_ ^ static_cast<unsigned char>(c)) * 0x100000001B3ull;
    }
    size_ += bytes.size();
    return true;
  }
  std::pair<std::uint64_t, std::uint64_t> Digest() const { return {digest_, size_}; }

 private:
  std::uint64_t digest_ = 0xCBF29CE484222325ull, size_ = 0;
};

struct Spread {
  double min, median, max;
};
Spread SpreadOf(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return {values.front(), values[values.size() / 2], values.back()};
}

void PrintSpread(const char* what, const Spread& spread, const char* format) {
  std::printf("  %-40s", what);
  for (const double value : {spread.min, spread.median, spread.max}) std::printf(format, value);
}
void PrintTarget(const char* what, const Spread& spread, const char* format, double target) {
  PrintSpread(what, spread, format);
  std::printf("   target >= %g: %s\n", target, spread.median >= target ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: telquest_batch_bench FILE [LINES [ROUNDS]]\n");
    return 2;
  }
  const std::string path = argv[1];
  const std::uint64_t lines = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 10'000'000;
  const int rounds = std::max(argc > 3 ? std::atoi(argv[3]) : 3, 1);
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
  constexpr std::int64_t kNow = 1784217600;  // 2026-07-16T16:00Z
  const tq::bench::OneCoreLimit limit(lookup, kNow);
  const auto batch = [&](int jobs, tq::BatchSink& sink, tq::BatchTotals* totals = nullptr) {
    tq::BatchOptions options;
    options.jobs = jobs;
    options.nowUtc = kNow;
    options.header = false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    tq::FdSource source(fd);
    const tq::BatchResult result = tq::RunBatch(source, sink, lookup, options);
    ::close(fd);
    if (totals) *totals = result.totals;
    return result.totals.rows;
  };

  // Rounds of the three, each round in another order.
  const int devNull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  tq::FdSink toNull(devNull);
  const std::array<std::function<std::uint64_t()>, 3> runs = {
      [&] { return limit.Run(path, toNull); }, [&] { return batch(1, toNull); },
      [&] { return batch(2, toNull); }};
  std::array<std::vector<Timing>, 3> timings;
  for (int round = 0; round < rounds; ++round) {
    for (int i = 0; i < 3; ++i) {
      const int which = (round + i) % 3;
      timings[static_cast<std::size_t>(which)].push_back(Timed(runs[static_cast<std::size_t>(which)]));
    }
  }
  std::vector<double> perCpu[3], share, cpuSpeedUp, wallSpeedUp, cores, wallRate;
  for (int round = 0; round < rounds; ++round) {
    const auto r = static_cast<std::size_t>(round);
    for (std::size_t i = 0; i < 3; ++i) perCpu[i].push_back(timings[i][r].PerCpuSecond());
    share.push_back(perCpu[1].back() / perCpu[0].back());
    // What two free cores give: the same work at two jobs' cost per line.
    cpuSpeedUp.push_back(2 * perCpu[2].back() / perCpu[1].back());
    wallSpeedUp.push_back(timings[1][r].wall / timings[2][r].wall);
    cores.push_back(timings[2][r].cpu / timings[2][r].wall);
    wallRate.push_back(static_cast<double>(timings[1][r].lines) / timings[1][r].wall);
  }

  std::printf("Batch lookup of %s: %llu lines, %d rounds (min, median, max)\n", path.c_str(),
              static_cast<unsigned long long>(timings[0][0].lines), rounds);
  PrintSpread("one-core limit, lines per CPU second", SpreadOf(perCpu[0]), " %12.0f");
  std::printf("\n");
  PrintSpread("1 job, lines per CPU second", SpreadOf(perCpu[1]), " %12.0f");
  std::printf("\n");
  PrintSpread("2 jobs, lines per CPU second", SpreadOf(perCpu[2]), " %12.0f");
  std::printf("\n");
  PrintTarget("1 job as a share of the one-core limit", SpreadOf(share), " %12.3f", 0.30);
  PrintTarget("2 jobs over 1 job, in CPU terms", SpreadOf(cpuSpeedUp), " %12.2f", 1.8);
  PrintSpread("2 jobs over 1 job, wall clock", SpreadOf(wallSpeedUp), " %12.2f");
  std::printf("   (%.2f cores busy at most)\n", SpreadOf(cores).max);
  PrintTarget("1 job, lines per second (wall clock)", SpreadOf(wallRate), " %12.0f", 1'000'000);

  DigestSink ofLimit, ofOne, ofTwo;
  tq::BatchTotals totals;
  limit.Run(path, ofLimit);
  batch(1, ofOne, &totals);
  batch(2, ofTwo);
  const bool same = ofOne.Digest() == ofTwo.Digest() && ofOne.Digest() == ofLimit.Digest();
  std::printf("  %-40s %12s\n", "the same bytes from 1 job, 2 jobs, limit", same ? "yes" : "NO");
  std::printf("Status counts of the file:\n");
  for (std::size_t i = 0; i < tq::kBatchStatusCount; ++i) {
    if (totals.byStatus[i] == 0) continue;
    std::printf("  %-20s %12llu\n",
                std::string(tq::BatchStatusName(static_cast<tq::BatchStatus>(i))).c_str(),
                static_cast<unsigned long long>(totals.byStatus[i]));
  }
  return same ? 0 : 1;
}
