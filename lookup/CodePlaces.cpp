#include "lookup/CodePlaces.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <string>
#include <string_view>
#include <unordered_map>

#include "base/Text.h"
#include "lookup/Answer.h"

namespace tq {
namespace {

// Whether a place reached at `reach` with `population` replaces `best`: more
// people, or as many and reached before.
bool Outweighs(std::int64_t population, std::uint32_t reach, std::int64_t bestPopulation,
               std::uint32_t bestReach) {
  return population > bestPopulation || (population == bestPopulation && reach < bestReach);
}

}  // namespace

// Each state text as a number, in the order first met: a code of two letters
// by a table, other texts by a map. The numbers are only ever compared, so
// the order in which codes are laid out does not matter.
class CodePlaces::StateNumbers {
 public:
  std::uint32_t Of(std::string_view state) {
    if (state.size() == 2) {
      std::uint32_t& slot =
          byCode_[static_cast<unsigned char>(state[0]) << 8 | static_cast<unsigned char>(state[1])];
      if (slot == 0) slot = ++count_;
      return slot - 1;
    }
    const auto [at, added] = byText_.try_emplace(std::string(state), count_);
    if (added) ++count_;
    return at->second;
  }

 private:
  std::vector<std::uint32_t> byCode_ = std::vector<std::uint32_t>(1 << 16);  // number + 1
  std::unordered_map<std::string, std::uint32_t> byText_;
  std::uint32_t count_ = 0;
};

CodePlaces::CodePlaces() = default;
CodePlaces::~CodePlaces() = default;

void CodePlaces::Build(const CCitySet& cities, const CAreaCodeSet& areaCodes, const ZoneLaw* law,
                       const PlaceKinds& kinds) {
  cities_ = &cities;
  areaCodes_ = &areaCodes;
  law_ = law;
  kinds_ = &kinds;
  codes_.assign(1000, Code{});
  laidOut_.assign(codes_.size(), false);
  std::uint32_t room = 0;
  for (std::uint32_t areaCode = 0; areaCode < codes_.size(); ++areaCode) {
    Code& code = codes_[areaCode];
    code.begin = code.end = code.entriesEnd = room;
    code.withState = SharedRegionLine(static_cast<std::int32_t>(areaCode)) != nullptr;
    room += static_cast<std::uint32_t>(areaCodes.RowsOfAreaCode(areaCode).size());
  }
  // Left as they come: only what a code lays out is ever read.
  places_ = std::make_unique_for_overwrite<Place[]>(room);
  entries_ = std::make_unique_for_overwrite<Entry[]>(room);
  entryPlaces_ = std::make_unique_for_overwrite<EntryPlace[]>(room);
  states_ = std::make_unique<StateNumbers>();
}

const CodePlaces::Code* CodePlaces::Find(std::int32_t areaCode) {
  if (areaCode < 0 || static_cast<std::size_t>(areaCode) >= codes_.size()) return nullptr;
  const auto at = static_cast<std::uint32_t>(areaCode);
  if (!laidOut_[at]) {
    LayOut(at);
    laidOut_[at] = true;
  }
  const Code& code = codes_[at];
  return code.begin == code.end ? nullptr : &code;
}

// The code's places in name order (pairs of a city without a record reach
// nothing), and what the code decides beside its list, gathered on the way.
void CodePlaces::LayOut(std::uint32_t areaCode) {
  const CCitySet& cities = *cities_;
  const std::vector<std::uint32_t>& pairCities = areaCodes_->CityIds();
  Code& code = codes_[areaCode];
  // From the start, should an earlier try have run out of memory midway.
  code.end = code.begin;
  code.entriesEnd = code.begin;
  code.largest = code.largestOfAll = {};
  code.clocks.clear();
  code.states.clear();
  met_.clear();
  for (const std::uint32_t pair : areaCodes_->RowsOfAreaCode(areaCode)) {
    const std::span<const std::uint32_t> found = cities.RowsOfCity(pairCities[pair]);
    if (!found.empty()) met_.push_back({cities.NamePlaceOf(found.front()).position, pair});
  }
  // By name, a place's pairs as reached.
  std::sort(met_.begin(), met_.end(), [](const Met& a, const Met& b) {
    return a.position != b.position ? a.position < b.position : a.reach < b.reach;
  });
  for (const Met& at : met_) {
    const std::uint32_t row = cities.RowAtNamePosition(at.position);
    const std::uint32_t reach = at.reach;
    const std::uint32_t population = cities.Populations()[row];
    const auto cityId = static_cast<std::int32_t>(cities.CityIds()[row]);
    const int zone = law_ ? law_->ZoneOfPlace(cityId) : -1;
    const std::uint32_t state = states_->Of(cities.States()[row]);
    places_[code.end++] = {row,       at.position, cities.FirstAtNamePosition(at.position),
                           population, state,      reach,
                           code.withState};
    const std::int64_t people = static_cast<std::int32_t>(population);
    if (kinds_->MayBeLargestCityRow(row) &&
        Outweighs(people, reach, code.largest.population, code.largest.reach)) {
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
  std::sort(code.clocks.begin(), code.clocks.end(),
            [](const Clock& a, const Clock& b) { return a.firstReach < b.firstReach; });
  const std::span<Place> run(places_.get() + code.begin, code.end - code.begin);
  if (code.withState && !run.empty()) {
    // Entries that carry their state are in the order of their texts, case
    // aside; equal texts as reached.
    std::vector<std::string> texts(run.size());
    std::vector<std::uint32_t> order(run.size());
    for (std::size_t i = 0; i < run.size(); ++i) {
      texts[i] = cities.PlaceText(run[i].row);
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
  madeEntries_.clear();
  madeEntryPlaces_.clear();
  MakeEntries(run, cities, *kinds_, madeEntries_, madeEntryPlaces_);
  std::copy(madeEntries_.begin(), madeEntries_.end(), entries_.get() + code.begin);
  std::copy(madeEntryPlaces_.begin(), madeEntryPlaces_.end(), entryPlaces_.get() + code.begin);
  code.entriesEnd = code.begin + static_cast<std::uint32_t>(madeEntries_.size());
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
