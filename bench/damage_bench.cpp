// Bounded work on any data file: hashing the shipped files for their
// manifest, and loading data files of the worst shapes at the 64 MiB limit
// (one place repeated, pairs repeated, the most distinct places of one state)
// and answering ", OH" from them. Each figure is printed with its target and
// "met" or "MISSED"; each shape runs in a process of its own, so that its
// peak memory is its own.
//
//   telquest_damage_bench            (scripts/bench.sh runs it)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/Sha256.h"
#include "data/DataFile.h"
#include "lookup/SearchFlow.h"
#include "support/TestData.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void Report(const std::string& what, double value, const char* unit, double target) {
  std::printf("  %-52s %10.1f %-3s target < %-6g %s\n", what.c_str(), value, unit, target,
              value < target ? "met" : "MISSED");
  std::fflush(stdout);
}

class PickFirst : public tq::CityChooser {
 public:
  tq::CityChoiceReply ChooseCity(const std::vector<tq::CityChoice>& choices) override {
    return {tq::CityChoiceReply::Kind::kChosen, choices.front().text};
  }
};

// Lines, each ended by CR LF, repeated from `next` until the limit is near.
std::string Filled(const std::function<std::string(std::size_t)>& next) {
  std::string bytes;
  bytes.reserve(tq::kMaxDataFileSize);
  for (std::size_t i = 0;; ++i) {
    std::string piece = next(i);
    if (bytes.size() + piece.size() > tq::kMaxDataFileSize) return bytes;
    bytes += piece;
  }
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return bytes;
}

// One shape: writes the files, loads them and answers ", OH" in a child
// process; prints the times and the child's peak memory.
void RunShape(const std::string& name, const std::string& cities, const std::string& pairs) {
  const tq::test::TempDir dir;
  tq::test::WriteBytes(dir / "cit.bin", cities);
  tq::test::WriteBytes(dir / "arc.bin", pairs);
  std::printf("%s (cit.bin %zu MiB, arc.bin %zu MiB)\n", name.c_str(), cities.size() >> 20,
              pairs.size() >> 20);
  std::fflush(stdout);
  const pid_t child = fork();
  if (child == 0) {
    PickFirst chooser;
    tq::SearchFlow flow(dir.path(), chooser);
    auto start = Clock::now();
    flow.OpenData();
    Report("load", MillisecondsSince(start), "ms", 5000);
    start = Clock::now();
    flow.Search(", OH");
    Report("answer \", OH\"", MillisecondsSince(start), "ms", 5000);
    std::fflush(stdout);
    _exit(0);
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  Report("peak memory", static_cast<double>(usage.ru_maxrss) / 1024, "MiB", 1024);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::printf("  the child failed\n");
}

}  // namespace

int main() {
  const fs::path shipped = fs::path(TELQUEST_SOURCE_DIR) / "res";
  std::vector<std::string> files;
  for (const char* name : {"cit.bin", "arc.bin", "exc.bin"}) {
    tq::FileBytes file = tq::ReadDataFile(shipped / name);
    if (file.bytes) files.push_back(std::move(*file.bytes));
  }
  std::vector<double> times;
  for (int run = 0; run < 21; ++run) {
    const auto start = Clock::now();
    for (const std::string& bytes : files) {
      if (tq::Sha256Hex(bytes).empty()) return 1;
    }
    times.push_back(MillisecondsSince(start));
  }
  std::nth_element(times.begin(), times.begin() + 10, times.end());
  std::printf("Checksums of the shipped files for their manifest\n");
  Report("SHA-256 of cit.bin, arc.bin, exc.bin (median of 21)", times[10], "ms", 5);

  const std::string dayton = Lines({"293", "zupoEb", "3IP", "bcd", "50042", "1", "0", "0"});
  const std::string daytonPair = Lines({"461", "2853"});
  RunShape("One place repeated to the limit, its pair repeated to the limit",
           Filled([&](std::size_t) { return dayton; }),
           Filled([&](std::size_t) { return daytonPair; }));
  // Distinct places of Ohio above 10 000, each in 937: the most work a
  // state-wide search can be given.
  RunShape("Distinct places of one state to the limit, each with one area code",
           Filled([](std::size_t i) {
             const std::size_t id = i + 1;
             std::string name(1, 'b');  // a distinct name for each place
             name += std::to_string(id);
             return Lines({std::to_string(7 * id - 1), name, "3IP",
                           "bcd", std::to_string(20000 + id), "1", "0", "0"});
           }),
           Filled([](std::size_t i) {
             const std::size_t id = i % 1500000 + 1;
             return Lines({std::to_string(11 * id - 1), std::to_string(3 * 937 + id)});
           }));
  return 0;
}
