// Phone numbers, measured on the shipped data: a full-number search with its
// exchange (the whole window search) and reading the exchange file, which
// start-up adds (the time at an instant is the zone law bench's). Without a
// shipped exc.bin an exchange file of realistic size (about 200 000
// exchanges) is generated.
//
//   telquest_numbers_bench [benchmark flags]   (scripts/bench.sh runs it)
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <iterator>
#include <filesystem>
#include <string>

#include "data/ExchangeTable.h"
#include "lookup/AnswerText.h"
#include "lookup/SearchFlow.h"
#include "support/TestData.h"

namespace {

namespace fs = std::filesystem;

class PickFirst : public tq::CityChooser {
 public:
  tq::CityChoiceReply ChooseCity(const std::vector<tq::CityChoice>& choices) override {
    return {tq::CityChoiceReply::Kind::kChosen, choices.front().text};
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

// The lookup of single numbers, as a batch of numbers uses it: numbers of
// listed, unlisted and unknown exchanges in the common written forms.
int NumberLookupsPerSecond(const tq::NumberLookup& numbers) {
  const char* const kNumbers[] = {"(937) 222-1234", "+1 416 225 1234", "212-226-1234",
                                  "9379991234",     "1-800-FLOWERS",   "555-555-5555",
                                  "(514) 555-0000", "937.294.0000"};
  constexpr int kLookups = 1'000'000;
  constexpr double kTarget = 1'000'000;  // lookups per second
  const auto start = std::chrono::steady_clock::now();
  std::size_t found = 0;
  for (int i = 0; i < kLookups; ++i) {
    found += numbers.Lookup(kNumbers[i % std::size(kNumbers)]).status ==
             tq::NumberResult::Status::kOk;
  }
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  const double rate = kLookups / took.count();
  std::printf("\nsingle-number lookups: %.0f per second (%zu answered with a place)\n"
              "at least %.0f single-number lookups per second: %s\n",
              rate, found, kTarget, rate >= kTarget ? "met" : "MISSED");
  return 0;
}

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const fs::path shipped = fs::path(TELQUEST_SOURCE_DIR) / "res";
  const tq::test::TempDir data;
  for (const char* name : {tq::CCitySet::kFileName, tq::CAreaCodeSet::kFileName,
                           tq::ExchangeTable::kFileName, tq::ZoneLaw::kPlacesFileName,
                           tq::ZoneLaw::kLawFileName}) {
    std::error_code error;
    fs::copy_file(shipped / name, data / name, error);
  }
  if (!fs::exists(data / tq::ExchangeTable::kFileName)) {
    tq::test::WriteBytes(data / tq::ExchangeTable::kFileName, GeneratedExchanges());
  }

  PickFirst chooser;
  tq::SearchFlow flow(data.path(), chooser);
  flow.OpenData();
  if (!flow.DataProblems().empty()) {
    std::fprintf(stderr, "telquest_numbers_bench: %s\n", flow.DataProblems().front().text.c_str());
    return 1;
  }
  benchmark::RegisterBenchmark("number/937-222-1234 with exchange", [&flow](benchmark::State& state) {
    for (auto _ : state) {
      benchmark::DoNotOptimize(tq::StatusText(*flow.Search("(937) 222-1234"), 0));
    }
  })->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("number/answer text", [&flow](benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(tq::AnswerText(flow.GetAnswer(), 0));
  })->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("load/exc.bin", [&data](benchmark::State& state) {
    for (auto _ : state) {
      tq::ExchangeTable table;
      benchmark::DoNotOptimize(table.Open(data.path()));
    }
  })->Unit(benchmark::kMicrosecond);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return NumberLookupsPerSecond(flow.Numbers());
}
