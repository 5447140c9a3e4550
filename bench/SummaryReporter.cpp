#include "SummaryReporter.h"

#include <cstdio>

namespace tq::bench {
namespace {

// Targets on the shipped data, the first data set.
constexpr const char* kIndexedTarget =
    "every indexed search of the shipped data (state-wide ones included) under 100 us";
constexpr const char* kLoadTarget = "loading the shipped data within 3x of reading and splitting";

// A search of ten times the data takes at most this many times as long.
constexpr double kGrowthTarget = 12;

double Ratio(double a, double b) { return a > 0 && b > 0 ? a / b : -1; }

}  // namespace

void SummaryReporter::ReportRuns(const std::vector<Run>& runs) {
  ConsoleReporter::ReportRuns(runs);
  for (const Run& run : runs) {
    if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
    // CPU time: other programs on the machine stretch the wall clock.
    const double seconds = run.cpu_accumulated_time / static_cast<double>(run.iterations);
    micros_[run.run_name.function_name] = seconds * 1e6;
  }
}

double SummaryReporter::Micros(const std::string& name) const {
  const auto found = micros_.find(name);
  return found == micros_.end() ? -1 : found->second;
}

void SummaryReporter::Finalize() {
  ConsoleReporter::Finalize();
  std::FILE* out = stdout;
  std::fprintf(out, "\nLoading both data files (CPU microseconds)\n");
  std::fprintf(out, "%-12s %14s %16s %8s %22s\n", "data", "load + index", "read + split", "ratio",
               "load + every query once");
  bool loadOk = true;
  std::vector<std::string> loaded = datasets_;
  loaded.insert(loaded.end(), loadOnly_.begin(), loadOnly_.end());
  for (const std::string& data : loaded) {
    const double sets = Micros("load/" + data + "/sets");
    const double lines = Micros("load/" + data + "/lines");
    // A figure that was not measured (-1) meets no target.
    const double ratio = Ratio(sets, lines);
    std::fprintf(out, "%-12s %14.0f %16.0f %7.2fx %22.0f\n", data.c_str(), sets, lines, ratio,
                 Micros("load/" + data + "/first"));
    if (data == datasets_.front()) loadOk = ratio > 0 && ratio <= 3.0;
  }

  std::fprintf(out, "\nWhole search, OnOK (CPU microseconds; speed-up = linear / indexed)\n");
  std::fprintf(out, "%-14s", "query");
  for (const std::string& data : datasets_) {
    std::fprintf(out, " %11s %11s %8s", (data + " idx").c_str(), (data + " lin").c_str(),
                 "speed-up");
  }
  if (datasets_.size() == 2) std::fprintf(out, " %9s %9s", "idx grow", "lin grow");
  std::fprintf(out, "\n");
  bool lookupOk = true;
  for (const std::string& query : queries_) {
    std::fprintf(out, "%-14s", ("\"" + query + "\"").c_str());
    std::vector<double> indexed, linear;
    for (const std::string& data : datasets_) {
      indexed.push_back(Micros("lookup/" + data + "/" + query + "/indexed"));
      linear.push_back(Micros("lookup/" + data + "/" + query + "/linear"));
      std::fprintf(out, " %11.1f %11.1f %7.1fx", indexed.back(), linear.back(),
                   Ratio(linear.back(), indexed.back()));
      if (data == datasets_.front()) lookupOk = lookupOk && indexed.back() >= 0 && indexed.back() < 100;
    }
    if (datasets_.size() == 2) {
      std::fprintf(out, " %8.1fx %8.1fx", Ratio(indexed[1], indexed[0]),
                   Ratio(linear[1], linear[0]));
    }
    std::fprintf(out, "\n");
  }
  std::fprintf(out, "\n%s: %s\n%s: %s\n", kLoadTarget, loadOk ? "met" : "MISSED",
               kIndexedTarget, lookupOk ? "met" : "MISSED");

  // Growth with the data: the last data set against the shipped one.
  const std::string& grown = datasets_.back();
  if (grown == "shipped") return;
  std::fprintf(out, "\nGrowth with the data, shipped to %s (CPU time; each with its target)\n",
               grown.c_str());
  const auto print = [&](const std::string& what, double value, const char* unit, double target) {
    std::fprintf(out, "  %-44s %9.1f%-3s target <= %g%s: %s\n", what.c_str(), value, unit, target,
                 unit, value > 0 && value <= target ? "met" : "MISSED");
  };
  for (const std::string& query : queries_) {
    print("search \"" + query + "\" grows",
          Ratio(Micros("lookup/" + grown + "/" + query + "/indexed"),
                Micros("lookup/shipped/" + query + "/indexed")),
          "x", kGrowthTarget);
  }
  print("loading " + grown + " against reading and splitting it",
        Ratio(Micros("load/" + grown + "/sets"), Micros("load/" + grown + "/lines")), "x", 3);
  for (const std::string& data : loadOnly_) {
    std::fprintf(out, "  %-44s %9.1fx (no target)\n",
                 ("loading " + data + " against reading and splitting it").c_str(),
                 Ratio(Micros("load/" + data + "/sets"), Micros("load/" + data + "/lines")));
  }
  for (const char* query : {"555", ", OH"}) {
    print(std::string("a code of 80000 places, \"") + query + "\" (ms)",
          Micros(std::string("crowded/80000 places/") + query + "/indexed") / 1000, "ms", 1);
  }
}

}  // namespace tq::bench
