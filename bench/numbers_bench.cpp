// Phone numbers and local times, measured on the shipped data: a full-number
// search with its exchange (the whole window search), the local-time
// computation, and reading the exchange file, which start-up adds. Without a
// shipped exc.bin an exchange file of realistic size (about 200 000
// exchanges) is generated.
//
//   telquest_numbers_bench [benchmark flags]   (scripts/bench.sh runs it)
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "data/ExchangeTable.h"
#include "lookup/AnswerText.h"
#include "lookup/LocalTime.h"
#include "lookup/SearchFlow.h"
#include "support/TestData.h"

namespace {

namespace fs = std::filesystem;

class PickFirst : public tq::CityChooser {
 public:
  std::optional<std::string> ChooseCity(const std::vector<std::string>& choices) override {
    return choices.front();
  }
};

// Every NPA from 201 and every third NXX from 200: about 200 000 records.
std::string GeneratedExchanges() {
  constexpr int kPlaces = 20000;
  std::string places, records;
  for (int i = 1; i <= kPlaces; ++i) places += "Place " + std::to_string(i) + "\tOH\n";
  int count = 0;
  char record[16];
  for (int npa = 201; npa <= 999; ++npa) {
    for (int nxx = 200; nxx <= 999; nxx += 3) {
      std::snprintf(record, sizeof record, "%03d%03d %05d\n", npa, nxx, count % kPlaces + 1);
      records += record;
      ++count;
    }
  }
  return "TQEXC 1\nplaces " + std::to_string(kPlaces) + "\n" + places + "exchanges " +
         std::to_string(count) + "\n" + records;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const fs::path shipped = fs::path(TELQUEST_SOURCE_DIR) / "res";
  const tq::test::TempDir data;
  for (const char* name : {tq::CCitySet::kFileName, tq::CAreaCodeSet::kFileName,
                           tq::ExchangeTable::kFileName}) {
    std::error_code error;
    fs::copy_file(shipped / name, data / name, error);
  }
  if (!fs::exists(data / tq::ExchangeTable::kFileName)) {
    tq::test::WriteBytes(data / tq::ExchangeTable::kFileName, GeneratedExchanges());
  }

  PickFirst chooser;
  tq::SearchFlow flow(data.path(), chooser);
  flow.OpenData();
  if (!flow.dataProblems.empty()) {
    std::fprintf(stderr, "telquest_numbers_bench: %s\n", flow.dataProblems.front().c_str());
    return 1;
  }
  benchmark::RegisterBenchmark("number/937-222-1234 with exchange", [&flow](benchmark::State& state) {
    for (auto _ : state) {
      flow.editQuery = "(937) 222-1234";
      flow.OnOK();
      benchmark::DoNotOptimize(flow.StatusText());
    }
  })->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("number/answer text", [&flow](benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(tq::AnswerText(flow));
  })->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("localtime/clock", [](benchmark::State& state) {
    std::int64_t instant = 1783000000;
    for (auto _ : state) {
      benchmark::DoNotOptimize(tq::LocalClockAt(instant, -1.0f, 1));
      instant += 3593;
    }
  })->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("load/exc.bin", [&data](benchmark::State& state) {
    for (auto _ : state) {
      tq::ExchangeTable table;
      benchmark::DoNotOptimize(table.Open(data.path()));
    }
  })->Unit(benchmark::kMicrosecond);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
