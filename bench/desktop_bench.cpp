// The desktop's own speed targets on the shipped data, each printed with its
// target and whether it is met: the place suggestions per keystroke (every
// prefix of typical inputs, typed key by key) and building their index, and
// the desktop search's answer per query, cold (data read by the first query)
// and warm.
//
//   telquest_desktop_bench          (scripts/bench.sh runs it)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "data/CitySet.h"
#include "desktop/DesktopSearch.h"
#include "names/PlaceCompletion.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void Report(const char* what, double measured, double target) {
  std::printf("  %-44s %9.3f ms   target < %6.1f ms   %s\n", what, measured, target,
              measured < target ? "met" : "MISSED");
}

}  // namespace

int main() {
  tq::CCitySet cities(std::filesystem::path(TELQUEST_SOURCE_DIR) / "res");
  cities.strFilter = "iCityId = 0";
  cities.Open();
  if (cities.RowCount() == 0) {
    std::fprintf(stderr, "telquest_desktop_bench: no places in res/cit.bin\n");
    return 1;
  }
  tq::PlaceCompletion completion;
  const Clock::time_point built = Clock::now();
  completion.Build(cities.CityNames(), cities.States(), cities.Populations());
  const double buildTime = MillisecondsSince(built);

  const std::vector<std::string> typed = {"Springfield, Illinois", "San Antonio, TX", "Dayton, OH",
                                          "Montr\xE9" "al", "saint", "new york", "s", "c", "b"};
  // Each prefix typed kRounds times; its median stands for it, so that a
  // busy machine's pauses do not count as the index's time.
  constexpr int kRounds = 21;
  std::vector<std::string_view> prefixes;
  for (const std::string& text : typed) {
    for (std::size_t length = 1; length <= text.size(); ++length) {
      prefixes.push_back(std::string_view(text).substr(0, length));
    }
  }
  std::vector<std::vector<double>> times(prefixes.size());
  for (int round = 0; round < kRounds; ++round) {
    for (std::size_t i = 0; i < prefixes.size(); ++i) {
      const Clock::time_point start = Clock::now();
      const auto suggestions = completion.Suggest(prefixes[i]);
      times[i].push_back(MillisecondsSince(start));
      if (suggestions.size() > tq::PlaceCompletion::kDefaultLimit) return 1;
    }
  }
  std::vector<double> medians;
  for (std::vector<double>& samples : times) {
    std::nth_element(samples.begin(), samples.begin() + kRounds / 2, samples.end());
    medians.push_back(samples[kRounds / 2]);
  }
  std::sort(medians.begin(), medians.end());
  double sum = 0;
  for (const double t : medians) sum += t;

  std::printf("Place suggestions on the shipped data (%zu places, %zu prefixes typed %d times)\n",
              completion.PlaceCount(), prefixes.size(), kRounds);
  Report("index built (once, at start-up)", buildTime, 50);
  Report("per keystroke, mean", sum / static_cast<double>(medians.size()), 5);
  Report("per keystroke, slowest prefix", medians.back(), 5);

  // The desktop search as the D-Bus provider runs it.
  const std::vector<std::string> queries = {"937", "(937) 222-1234", "Dayton, OH", "springfield",
                                            "san", "Montr\xC3\xA9" "al", "zzzz"};
  const Clock::time_point coldStart = Clock::now();
  tq::DesktopSearch search(std::filesystem::path(TELQUEST_SOURCE_DIR) / "res");
  search.Search({queries.front()}, 0);
  const double cold = MillisecondsSince(coldStart);
  std::printf("Desktop search on the shipped data (%zu queries, median of %d rounds each)\n",
              queries.size(), kRounds);
  Report("first query, data read (cold)", cold, 500);
  for (const std::string& query : queries) {
    std::vector<double> samples;
    for (int round = 0; round < kRounds; ++round) {
      const Clock::time_point start = Clock::now();
      search.Search({query}, 0);
      samples.push_back(MillisecondsSince(start));
    }
    std::nth_element(samples.begin(), samples.begin() + kRounds / 2, samples.end());
    Report(("warm \"" + query + "\"").c_str(), samples[kRounds / 2], 50);
  }
  return 0;
}
