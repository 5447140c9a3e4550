#include "lookup/CodePlaces.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <string>
#include <string_view>
#include <unordered_map>

#include "base/HugePages.h"
#include "base/Text.h"
#include "lookup/Answer.h"

namespace tq {
namespace {

constexpr std::uint32_t kNoRow = UINT32_MAX;

// Each state text as a number, in the order first met: a code of two
// letters by a table, other texts by a map.
class StateNumbers {
 public:
  std::uint32_t Of(const std::string& state) {
    if (state.size() == 2) {
      std::uint32_t& slot =
          byCode_[static_cast<unsigned char>(state[0]) << 8 | static_cast<unsigned char>(state[1])];
      if (slot == 0) slot = ++count_;
      return slot - 1;
    }
    const auto [at, added] = byText_.try_emplace(state, count_);
    if (added) ++count_;
    return at->second;
  }
 private:
  std::vector<std::uint32_t> byCode_ = std::vector<std::uint32_t>(1 << 16);  // number + 1
  std::unordered_map<std::string_view, std::uint32_t> byText_;
  std::uint32_t count_ = 0;
};

// Whether a place reached at `reach` with `population` replaces `best`: more
// people, or as many and reached before.
bool Outweighs(std::int64_t population, std::uint32_t reach, std::int64_t bestPopulation,
               std::uint32_t bestReach) {
  return population > bestPopulation || (population == bestPopulation && reach < bestReach);
}

}  // namespace

void CodePlaces::Build(const CCitySet& cities, const CAreaCodeSet& areaCodes, const ZoneLaw* law,
                       const PlaceKinds& kinds) {
  codes_.assign(1000, Code{});
  places_.clear();
  entries_.clear();
  entryPlaces_.clear();
  const std::vector<std::uint32_t>& pairCities = areaCodes.CityIds();
  const std::vector<std::uint32_t>& pairCodes = areaCodes.AreaCodes();
  const std::size_t rows = cities.RowCount();
  const std::size_t pairs = pairCities.size();
  // The pairs of each row, in pair order, counted into place; pairs of a
  // city without a record reach nothing.
  struct RowPair {
    std::uint32_t reach, areaCode;
  };
  std::vector<std::uint32_t> firstPair;
  std::vector<RowPair> pairsByRow;
  std::vector<std::uint32_t> rowOfPair;
  ResizeLarge(firstPair, rows + 1, 0u);
  ResizeLarge(pairsByRow, pairs);
  ResizeLarge(rowOfPair, pairs, kNoRow);
  for (std::size_t p = 0; p < pairs; ++p) {
    const std::span<const std::uint32_t> found = cities.RowsOfCity(pairCities[p]);
    if (found.empty()) continue;
    rowOfPair[p] = found.front();
    ++firstPair[found.front() + 1];
    ++codes_[pairCodes[p]].end;
  }
  std::inclusive_scan(firstPair.begin(), firstPair.end(), firstPair.begin());
  {
    std::vector<std::uint32_t> next(firstPair.begin(), firstPair.end() - 1);
    for (std::size_t p = 0; p < pairs; ++p) {
      if (rowOfPair[p] != kNoRow) {
        pairsByRow[next[rowOfPair[p]]++] = {static_cast<std::uint32_t>(p), pairCodes[p]};
      }
    }
  }
  std::uint32_t total = 0;
  for (std::size_t areaCode = 0; areaCode < codes_.size(); ++areaCode) {
    Code& code = codes_[areaCode];
    code.begin = total;
    total += code.end;
    code.end = code.begin;
    code.withState = SharedRegionLine(static_cast<std::int32_t>(areaCode)) != nullptr;
  }
  ResizeLarge(places_, total);

  // What the walk below reads of each row, gathered in row order, where
  // the columns are read in turn: the walk in name order then reads one
  // record per row instead of a column each.
  struct RowFacts {
    std::uint32_t pairsBegin, pairsEnd;
    std::uint32_t state, population;
    std::int32_t cityId;
    int zone;
    bool mayBeLargest;
  };
  std::vector<RowFacts> facts;
  ResizeLarge(facts, rows);
  StateNumbers states;
  for (std::uint32_t row = 0; row < rows; ++row) {
    const std::uint32_t begin = firstPair[row], end = firstPair[row + 1];
    if (begin == end) {
      facts[row] = {begin, end, 0, 0, 0, -1, false};
      continue;
    }
    const auto cityId = static_cast<std::int32_t>(cities.CityIds()[row]);
    facts[row] = {begin,
                  end,
                  states.Of(cities.States()[row]),
                  cities.Populations()[row],
                  cityId,
                  law ? law->ZoneOfPlace(cityId) : -1,
                  kinds.MayBeLargestCityRow(row)};
  }

  // The places in name order, each written at the end of its codes' runs,
  // so that every run is in name order; what each code decides beside its
  // list is gathered on the way.
  for (std::uint32_t position = 0; position < rows; ++position) {
    const std::uint32_t row = cities.RowAtNamePosition(position);
    const RowFacts& fact = facts[row];
    const std::uint32_t begin = fact.pairsBegin, end = fact.pairsEnd;
    if (begin == end) continue;
    const std::uint32_t state = fact.state;
    const std::uint32_t population = fact.population;
    const std::int32_t cityId = fact.cityId;
    const int zone = fact.zone;
    const bool mayBeLargest = fact.mayBeLargest;
    const std::uint32_t group = cities.FirstAtNamePosition(position);
    for (std::uint32_t k = begin; k < end; ++k) {
      const std::uint32_t reach = pairsByRow[k].reach;
      Code& code = codes_[pairsByRow[k].areaCode];
      places_[code.end++] = {row, position, group, population, state, reach, code.withState};
      const std::int64_t people = static_cast<std::int32_t>(population);
      if (mayBeLargest && Outweighs(people, reach, code.largest.population, code.largest.reach)) {
        code.largest = {people, cityId, reach};
      }
      if (Outweighs(people, reach, code.largestOfAll.population, code.largestOfAll.reach)) {
        code.largestOfAll = {people, cityId, reach};
      }
      if (zone >= 0) {
        const auto clock = std::find_if(code.clocks.begin(), code.clocks.end(),
                                        [zone](const Clock& c) { return c.zone == zone; });
        if (clock == code.clocks.end()) {
          code.clocks.push_back({zone, people, row, reach, reach});
        } else {
          clock->firstReach = std::min(clock->firstReach, reach);
          if (Outweighs(people, reach, clock->population, clock->reach)) {
            clock->population = people;
            clock->row = row;
            clock->reach = reach;
          }
        }
      }
      const auto ofState = std::find_if(code.states.begin(), code.states.end(),
                                        [state](const StatePlaces& s) { return s.state == state; });
      if (ofState == code.states.end()) {
        code.states.push_back({state, 1, row, reach});
      } else {
        ++ofState->places;
        if (reach > ofState->lastReach) {
          ofState->lastReach = reach;
          ofState->lastRow = row;
        }
      }
    }
  }

  for (Code& code : codes_) {
    std::sort(code.clocks.begin(), code.clocks.end(),
              [](const Clock& a, const Clock& b) { return a.firstReach < b.firstReach; });
    if (!code.withState || code.begin == code.end) continue;
    // Entries that carry their state are in the order of their texts, case
    // aside; equal texts as reached.
    const auto run = std::span<Place>(places_).subspan(code.begin, code.end - code.begin);
    std::vector<std::string> texts(run.size());
    std::vector<std::uint32_t> order(run.size());
    for (std::size_t i = 0; i < run.size(); ++i) {
      texts[i] = cities.CityNames()[run[i].row] + ", " + cities.States()[run[i].row];
    }
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
      const int c = CompareNoCase(texts[a], texts[b]);
      return c != 0 ? c < 0 : run[a].reach < run[b].reach;
    });
    std::vector<Place> sorted(run.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
      sorted[k] = run[order[k]];
      const bool same = k > 0 && CompareNoCase(texts[order[k]], texts[order[k - 1]]) == 0;
      sorted[k].group = same ? sorted[k - 1].group : static_cast<std::uint32_t>(k);
    }
    std::copy(sorted.begin(), sorted.end(), run.begin());
  }
  ReserveLarge(entries_, places_.size());
  ReserveLarge(entryPlaces_, places_.size());
  for (Code& code : codes_) {
    code.entriesBegin = static_cast<std::uint32_t>(entries_.size());
    MakeEntries(PlacesOf(code), cities, kinds, entries_, entryPlaces_);
    code.entriesEnd = static_cast<std::uint32_t>(entries_.size());
  }
}

void CodePlaces::MakeEntries(std::span<const Place> places, const CCitySet& cities,
                             const PlaceKinds& kinds, std::vector<Entry>& entries,
                             std::vector<EntryPlace>& entryPlaces) {
  const std::size_t first = entries.size();
  const std::size_t count = places.size();
  for (std::size_t at = 0; at < count;) {
    std::size_t end = at + 1;
    while (end < count && places[end].group == places[at].group) ++end;
    std::size_t head = at;
    for (std::size_t k = at + 1; k < end; ++k) {
      if (kinds.MeantBefore(cities, places[k].row, places[head].row)) head = k;
    }
    const auto entry = static_cast<std::uint32_t>(entries.size() - first);
    entries.push_back({places[head].row, places[head].population, places[head].withState, true});
    entryPlaces.push_back({places[head].row, entry});
    for (std::size_t k = at; k < end; ++k) {
      if (k != head) entryPlaces.push_back({places[k].row, entry});
    }
    at = end;
  }
  const std::span<Entry> made = std::span<Entry>(entries).subspan(first);
  if (made.size() <= kLeastMajorCities) return;
  // With that many places above the line, the most populous are among them.
  const auto majors = static_cast<std::size_t>(std::count_if(
      made.begin(), made.end(), [](const Entry& e) { return IsMajorCity(e.population); }));
  if (majors >= kLeastMajorCities) {
    for (Entry& entry : made) entry.listed = IsMajorCity(entry.population);
    return;
  }
  const auto people = [&](std::uint32_t e) { return made[e].population; };
  std::vector<std::uint32_t> byPeople(made.size());
  std::iota(byPeople.begin(), byPeople.end(), 0u);
  std::nth_element(byPeople.begin(), byPeople.begin() + kLeastMajorCities, byPeople.end(),
                   [&](std::uint32_t a, std::uint32_t b) {
                     return people(a) != people(b) ? people(a) > people(b) : a < b;
                   });
  for (std::size_t k = kLeastMajorCities; k < byPeople.size(); ++k) {
    made[byPeople[k]].listed = IsMajorCity(people(byPeople[k]));
  }
}

}  // namespace tq
