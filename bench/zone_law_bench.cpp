// The zone law on the shipped tables: reading ctz.bin and tzl.bin (start-up
// adds it), finding a zone's time at an instant, and a full-number search
// with its local time and status line, each printed with its target and
// whether it is met.
//
//   telquest_zone_law_bench   (scripts/bench.sh runs it)
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "lookup/AnswerText.h"
#include "lookup/SearchFlow.h"
#include "number/NumberLookup.h"
#include "time/LocalTime.h"
#include "time/ZoneLaw.h"

namespace {

struct PickFirst : tq::CityChooser {
  tq::CityChoiceReply ChooseCity(const std::vector<tq::CityChoice>& choices) override {
    return {tq::CityChoiceReply::Kind::kChosen, choices.front().text};
  }
};

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void Print(const char* what, double value, const char* unit, double target) {
  std::printf("%-44s %10.3f %s   target <= %g %s   %s\n", what, value, unit, target, unit,
              value <= target ? "met" : "MISSED");
}

}  // namespace

int main() {
  const std::filesystem::path shipped = std::filesystem::path(TELQUEST_SOURCE_DIR) / "res";
  std::vector<double> loads;
  tq::ZoneLaw law;
  for (int i = 0; i < 200; ++i) {
    const auto start = Clock::now();
    const std::string problem = law.Open(shipped).text;
    loads.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    if (!problem.empty()) {
      std::fprintf(stderr, "telquest_zone_law_bench: %s\n", problem.c_str());
      return 1;
    }
  }
  Print("load ctz.bin + tzl.bin (median of 200)", Median(loads) / 1000.0, "ms", 1.0);

  // Places spread over every zone, instants over 1970-2100 in uneven steps.
  std::vector<int> zones;
  for (std::int32_t id = 1; zones.size() < 4096 && id < 1000000; ++id) {
    if (const int zone = law.ZoneOfPlace(id); zone >= 0) zones.push_back(zone);
  }
  constexpr int kLookups = 10'000'000;
  std::vector<double> rounds;
  std::int64_t sum = 0;
  for (int round = 0; round < 5; ++round) {
    std::int64_t instant = 12345;
    const auto start = Clock::now();
    for (int i = 0; i < kLookups; ++i) {
      const auto time = law.TimeAt(zones[static_cast<std::size_t>(i) & 4095], instant);
      sum += time ? time->offsetSeconds : 0;
      instant = (instant + 414'751'297) % 4'133'980'800;
    }
    rounds.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count() /
                     kLookups);
  }
  Print("time at an instant, per lookup (median of 5)", Median(rounds), "us", 0.1);

  // A full number with its local time: the per-number lookup (exchange and
  // place), the place's zone and its clock; and, for comparison, the
  // window's whole search of it with the status line.
  PickFirst chooser;
  tq::SearchFlow flow(shipped, chooser);
  flow.OpenData();
  const tq::NumberLookup& numbers = flow.Numbers();
  const auto perOp = [](int count, const auto& work) {
    std::vector<double> rounds;
    for (int round = 0; round < 5; ++round) {
      const auto start = Clock::now();
      for (int i = 0; i < count; ++i) work(i);
      rounds.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count() /
                       count);
    }
    return Median(rounds);
  };
  Print("full number with its local time (median)", perOp(200000, [&](int i) {
          const tq::NumberResult number = numbers.Lookup("(937) 222-1234");
          const auto clock = tq::LocalClockAt(law, law.ZoneOfPlace(number.cityId), 1783166400 + i);
          sum += clock ? clock->hour : 0;
        }), "us", 20.0);
  Print("window search of it, with the status line", perOp(2000, [&](int i) {
          sum += static_cast<std::int64_t>(
              tq::StatusText(*flow.Search("(937) 222-1234"), 1783166400 + i).size());
        }), "us", 20.0);
  return sum == 42 ? 2 : 0;  // keeps the lookups from being optimised away
}
