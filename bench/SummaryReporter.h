#pragma once
// The console output of Google Benchmark, followed by one table that sets the
// figures side by side: loading against reading and splitting, the indexed
// search against the scanning one, the shipped data against the grown copy.
//
// The targets apply to the first data set. Benchmark names: "load/DATA/sets", "load/DATA/lines",
// "load/DATA/first" (loading, then each query once), "lookup/DATA/QUERY/indexed",
// "lookup/DATA/QUERY/linear". Data sets of `loadOnly` are only loaded; their
// figures are shown beside the others, with no target.

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace tq::bench {

class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  SummaryReporter(std::vector<std::string> datasets, std::vector<std::string> queries,
                  std::vector<std::string> loadOnly = {})
      : datasets_(std::move(datasets)), queries_(std::move(queries)), loadOnly_(std::move(loadOnly)) {}

  void ReportRuns(const std::vector<Run>& runs) override;
  void Finalize() override;

 private:
  // Microseconds per iteration, or a negative number when it did not run.
  double Micros(const std::string& name) const;

  std::vector<std::string> datasets_;
  std::vector<std::string> queries_;
  std::vector<std::string> loadOnly_;
  std::map<std::string, double> micros_;
};

}  // namespace tq::bench
