// Loading and searching, measured: both data files loaded into the record
// sets against merely reading their bytes and splitting the lines, and the
// whole search of typical inputs with the indexed record sets against sets
// that scan their columns, on the shipped data and on a ten times larger
// copy, and a code with 80,000 places. A summary table follows the usual
// output.
//
//   telquest_bench [benchmark flags]      (scripts/bench.sh builds and runs it)
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "GrownData.h"
#include "SummaryReporter.h"
#include "data/DataFile.h"
#include "data/Manifest.h"
#include "lookup/SearchFlow.h"
#include "support/LinearReference.h"
#include "support/TestData.h"

namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kQueries = {"212", "937", "867", "Dayton, OH", "springfield",
                                           "san", ", OH", ", CA", ", TX", ", ON"};
constexpr int kGrowth = 10;

class PickFirst : public tq::CityChooser {
 public:
  tq::CityChoiceReply ChooseCity(const std::vector<tq::CityChoice>& choices) override {
    return {tq::CityChoiceReply::Kind::kChosen, choices.front().text};
  }
};

// The two searches over one data folder, each with its own record sets.
struct Searches {
  explicit Searches(const fs::path& folder)
      : areaCodes(folder), cities(folder), linearAreaCodes(folder), linearCities(folder) {
    for (tq::SearchFlow* flow : {&indexed, &linear}) {
      flow->SetNow([] { return std::int64_t{1783166400}; });  // 2026-07-04T12:00Z
      flow->OpenData();
    }
  }
  PickFirst chooser;
  tq::CAreaCodeSet areaCodes;
  tq::CCitySet cities;
  tq::test::LinearAreaCodeSet linearAreaCodes;
  tq::test::LinearCitySet linearCities;
  tq::SearchFlow indexed{areaCodes, cities, chooser};
  tq::SearchFlow linear{linearAreaCodes, linearCities, chooser};
};

void Search(tq::SearchFlow& flow, const std::string& query) { flow.Search(query); }

// Both searches must show the same before their times are compared.
bool SameAnswer(Searches& searches, const std::string& query) {
  Search(searches.indexed, query);
  Search(searches.linear, query);
  return searches.indexed.GetAnswer() == searches.linear.GetAnswer();
}

// Loading is what a search needs before it can answer: both files read into
// the record sets and what the search flow makes of them at once (each code's
// places are laid out at its first search). "first" then searches each query
// once: what a session's first searches cost, their codes laid out on the way.
void RegisterLoad(const std::string& data, const fs::path& folder) {
  for (const bool first : {false, true}) {
    const std::string name = "load/" + data + (first ? "/first" : "/sets");
    benchmark::RegisterBenchmark(name.c_str(), [folder, first](benchmark::State& state) {
      PickFirst chooser;
      for (auto _ : state) {
        tq::CCitySet cities(folder);
        tq::CAreaCodeSet areaCodes(folder);
        tq::SearchFlow flow(areaCodes, cities, chooser);
        flow.SetNow([] { return std::int64_t{1783166400}; });
        flow.OpenData();
        if (first) {
          for (const std::string& query : kQueries) Search(flow, query);
        }
        benchmark::DoNotOptimize(cities.RowCount() + areaCodes.CityIds().size());
      }
    })->Unit(benchmark::kMicrosecond);
  }
  // The same files as the load reads: both data files and, where the folder
  // has one, the manifest that they are checked against.
  const bool manifest = fs::exists(folder / tq::kManifestFileName);
  benchmark::RegisterBenchmark(("load/" + data + "/lines").c_str(), [folder, manifest](benchmark::State& state) {
    for (auto _ : state) {
      std::size_t lines = 0;
      for (const char* name : {tq::CCitySet::kFileName, tq::CAreaCodeSet::kFileName,
                               manifest ? tq::kManifestFileName : nullptr}) {
        if (!name) continue;
        const auto bytes = tq::ReadDataFile(folder / name).bytes;
        tq::LineReader reader(*bytes);
        for (std::string_view line; reader.Next(line);) ++lines;
      }
      benchmark::DoNotOptimize(lines);
    }
  })->Unit(benchmark::kMicrosecond);
}

bool RegisterLookups(const std::string& data, Searches& searches) {
  for (const std::string& query : kQueries) {
    if (!SameAnswer(searches, query)) {
      std::fprintf(stderr, "telquest_bench: the searches differ on \"%s\" (%s)\n", query.c_str(),
                   data.c_str());
      return false;
    }
    for (auto [kind, flow] : {std::pair{"indexed", &searches.indexed},
                              std::pair{"linear", &searches.linear}}) {
      benchmark::RegisterBenchmark(("lookup/" + data + "/" + query + "/" + kind).c_str(),
                                   [flow, query](benchmark::State& state) {
                                     for (auto _ : state) Search(*flow, query);
                                   })
          ->Unit(benchmark::kMicrosecond);
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const fs::path shipped = fs::path(TELQUEST_SOURCE_DIR) / "res";
  if (!fs::exists(shipped / tq::CCitySet::kFileName) ||
      !fs::exists(shipped / tq::CAreaCodeSet::kFileName)) {
    std::fprintf(stderr, "telquest_bench: no shipped data in %s\n", shipped.c_str());
    return 1;
  }
  const tq::test::TempDir grown;
  tq::bench::WriteGrownData(shipped, grown.path(), kGrowth);
  // The same country in the order of its names, as the generator writes one:
  // its load only.
  const tq::test::TempDir byName;
  tq::bench::WriteGrownData(shipped, byName.path(), kGrowth, tq::bench::GrownOrder::kByName);
  const std::string byNameData = std::to_string(kGrowth) + "x-by-name";
  RegisterLoad(byNameData, byName.path());
  std::vector<std::pair<std::string, fs::path>> datasets = {
      {"shipped", shipped}, {std::to_string(kGrowth) + "x", grown.path()}};
  // TELQUEST_BENCH_BEFORE names a folder with an earlier cit.bin and arc.bin,
  // timed in the same run to set a data change's figures beside the old ones.
  if (const char* before = std::getenv("TELQUEST_BENCH_BEFORE"); before && *before) {
    datasets.insert(datasets.begin(), {"before", fs::path(before)});
  }

  std::vector<std::unique_ptr<Searches>> searches;
  std::vector<std::string> names;
  for (const auto& [name, folder] : datasets) {
    names.push_back(name);
    RegisterLoad(name, folder);
    searches.push_back(std::make_unique<Searches>(folder));
    if (!RegisterLookups(name, *searches.back())) return 1;
  }
  // 80,000 places on one code: every sorted list takes them all.
  const tq::test::TempDir crowded;
  tq::bench::WriteCrowdedCode(crowded.path(), 80000, 555);
  Searches crowdedSearch(crowded.path());
  for (const std::string query : {"555", ", OH"}) {
    benchmark::RegisterBenchmark(("crowded/80000 places/" + query + "/indexed").c_str(),
                                 [&crowdedSearch, query](benchmark::State& state) {
                                   for (auto _ : state) Search(crowdedSearch.indexed, query);
                                 })
        ->Unit(benchmark::kMillisecond);
  }
  tq::bench::SummaryReporter reporter(names, kQueries, {byNameData});
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
