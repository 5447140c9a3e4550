#include "number/NumberLookup.h"

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <unordered_map>
#include <utility>

#include "base/Text.h"
#include "data/AreaCodeSet.h"
#include "data/CitySet.h"
#include "data/ExchangeTable.h"
#include "time/LocalTime.h"
#include "time/ZoneLaw.h"

namespace tq {
namespace {

using Status = NumberResult::Status;

bool ByStateAndName(std::string_view stateA, std::string_view cityA, std::string_view stateB,
                    std::string_view cityB) {
  return stateA != stateB ? stateA < stateB : cityA < cityB;
}

}  // namespace

std::string NumberResult::NumberText() const {
  if (areaCode < 0 || exchange < 0) return {};
  char text[32];
  std::snprintf(text, sizeof text, "%03d-%03d", areaCode, exchange);
  return text;
}

const char* NumberStatusName(NumberResult::Status status) {
  switch (status) {
    case Status::kOk: return "ok";
    case Status::kInvalid: return "invalid";
    case Status::kNotGeographic: return "not_geographic";
    case Status::kUnknownExchange: return "unknown_exchange";
    case Status::kUnknownAreaCode: return "unknown_area_code";
    case Status::kNoExchangeData: return "no_exchange_data";
  }
  return "invalid";
}

NumberLookup::NumberLookup(const CCitySet& cities, const CAreaCodeSet& areaCodes,
                           const ExchangeTable& exchanges, const ZoneLaw* law)
    : cities_(cities), exchanges_(exchanges), law_(law) {
  const auto& names = cities.CityNames();
  const auto& states = cities.States();
  const auto& ids = cities.CityIds();
  const auto& populations = cities.Populations();
  const auto& zones = cities.TimeZones();

  // One place per name and state: the most populous, the first of equals.
  places_.reserve(names.size());
  for (std::size_t row = 0; row < names.size(); ++row) {
    places_.push_back({states[row], names[row], static_cast<std::int32_t>(ids[row]),
                       static_cast<std::int64_t>(populations[row])});
  }
  std::stable_sort(places_.begin(), places_.end(), [](const Place& a, const Place& b) {
    if (a.state != b.state || a.city != b.city) return ByStateAndName(a.state, a.city, b.state, b.city);
    return a.population > b.population;
  });
  places_.erase(std::unique(places_.begin(), places_.end(),
                            [](const Place& a, const Place& b) {
                              return a.state == b.state && a.city == b.city;
                            }),
                places_.end());

  // The first record of each id, as a search by id finds it.
  std::unordered_map<std::uint32_t, std::int32_t> rowOfId;
  rowOfId.reserve(ids.size());
  for (std::size_t row = 0; row < ids.size(); ++row) {
    rowOfId.try_emplace(ids[row], static_cast<std::int32_t>(row));
  }
  // Each code's distinct places; pairs may repeat.
  std::vector<std::pair<std::uint32_t, std::int32_t>> pairs;  // code, row
  const auto& codeColumn = areaCodes.AreaCodes();
  const auto& idColumn = areaCodes.CityIds();
  pairs.reserve(codeColumn.size());
  for (std::size_t i = 0; i < codeColumn.size(); ++i) {
    if (codeColumn[i] >= codes_.size()) continue;
    const auto row = rowOfId.find(idColumn[i]);
    if (row != rowOfId.end()) pairs.emplace_back(codeColumn[i], row->second);
  }
  std::sort(pairs.begin(), pairs.end());
  pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());
  std::array<std::vector<int>, 1000> zonesOfCode;
  for (const auto& [areaCode, row] : pairs) {
    Code& code = codes_[areaCode];
    const auto r = static_cast<std::size_t>(row);
    ++code.places;
    code.soleRow = code.places == 1 ? row : -1;
    if (HasLocalClock(zones[r])) ++code.geographic;
    if (code.stateRow < 0 ||
        populations[r] > populations[static_cast<std::size_t>(code.stateRow)]) {
      code.stateRow = row;
    }
    const int zone = law_ ? law_->ZoneOfPlace(static_cast<std::int32_t>(ids[r])) : -1;
    std::vector<int>& known = zonesOfCode[areaCode];
    if (zone >= 0 && std::find(known.begin(), known.end(), zone) == known.end()) {
      known.push_back(zone);
    }
  }

  // Each zone is a set of its own; a code of several zones adds its set.
  const int zoneCount = law_ ? law_->ZoneCount() : 0;
  zoneSets_.resize(static_cast<std::size_t>(zoneCount));
  std::iota(zoneSets_.begin(), zoneSets_.end(), 0);
  // Sets are numbered densely (a zone alone is its own number), so that the
  // batch's memo of verdicts can be indexed by them.
  std::array<std::pair<int, std::size_t>, 1000> setOfCode;  // number, first zone
  setOfCode.fill({-1, 0});
  int sets = zoneCount;
  for (std::size_t areaCode = 0; areaCode < zonesOfCode.size(); ++areaCode) {
    std::vector<int>& known = zonesOfCode[areaCode];
    if (known.size() == 1) {
      setOfCode[areaCode] = {known.front(), static_cast<std::size_t>(known.front())};
    }
    if (known.size() < 2) continue;
    std::sort(known.begin(), known.end());
    setOfCode[areaCode] = {sets++, zoneSets_.size()};
    zoneSets_.insert(zoneSets_.end(), known.begin(), known.end());
  }
  for (std::size_t areaCode = 0; areaCode < zonesOfCode.size(); ++areaCode) {
    const auto [set, first] = setOfCode[areaCode];
    if (set < 0) continue;
    const std::size_t count = std::max<std::size_t>(zonesOfCode[areaCode].size(), 1);
    codes_[areaCode].zones = {set, std::span(zoneSets_).subspan(first, count)};
  }
}

ZoneSet NumberLookup::ZonesOf(const NumberResult& result) const {
  switch (result.status) {
    case Status::kOk: {
      const int zone = law_ && result.cityId >= 0 ? law_->ZoneOfPlace(result.cityId) : -1;
      if (zone < 0 || static_cast<std::size_t>(zone) >= zoneSets_.size()) return {};
      return {zone, std::span(zoneSets_).subspan(static_cast<std::size_t>(zone), 1)};
    }
    case Status::kUnknownExchange:
    case Status::kNoExchangeData:
      if (result.areaCode < 0 || result.areaCode > 999) return {};
      return codes_[static_cast<std::size_t>(result.areaCode)].zones;
    case Status::kInvalid:
    case Status::kNotGeographic:
    case Status::kUnknownAreaCode:
      break;
  }
  return {};
}

NumberResult NumberLookup::Lookup(std::string_view text) const {
  const std::optional<PhoneNumber> number = ParsePhoneNumber(text);
  if (!number || number->kind != PhoneNumber::Kind::kExchange) return {};
  return Lookup(*number, number->line);
}

NumberResult NumberLookup::Lookup(const PhoneNumber& number, std::int32_t line) const {
  NumberResult result;
  if (number.kind != PhoneNumber::Kind::kExchange || number.areaCode < 0 ||
      number.areaCode > 999 || number.exchange < 0 || number.exchange > 999) {
    return result;
  }
  result.areaCode = number.areaCode;
  result.exchange = number.exchange;
  // Area codes begin with 2 to 9.
  if (number.areaCode < 200) return result;
  if (line >= 0 && line <= 9999) {
    result.line = line;
    result.e164[0] = '+';
    result.e164[1] = '1';
    WriteDigits(&result.e164[2], number.areaCode, 3);
    WriteDigits(&result.e164[5], number.exchange, 3);
    WriteDigits(&result.e164[8], line, 4);
  }
  const Code& code = codes_[static_cast<std::size_t>(number.areaCode)];
  if (code.places == 0) {
    result.status = Status::kUnknownAreaCode;
    return result;
  }
  if (code.geographic == 0) {
    result.status = Status::kNotGeographic;
    return result;
  }
  if (exchanges_.IsEmpty()) {
    result.status = Status::kNoExchangeData;
    return result;
  }
  if (std::optional<ExchangePlace> listed = exchanges_.Find(number.areaCode, number.exchange)) {
    result.status = Status::kOk;
    result.source = NumberResult::Source::kExchange;
    result.place = std::move(listed->city);
    result.state = std::move(listed->state);
    result.area = listed->area;
    const auto at = std::lower_bound(places_.begin(), places_.end(), result,
                                     [](const Place& place, const NumberResult& wanted) {
                                       return ByStateAndName(place.state, place.city,
                                                             wanted.state, wanted.place);
                                     });
    if (at != places_.end() && at->state == result.state && at->city == result.place) {
      result.cityId = at->cityId;
    }
    return result;
  }
  const auto& names = cities_.CityNames();
  const auto& states = cities_.States();
  if (code.soleRow >= 0) {
    const auto row = static_cast<std::size_t>(code.soleRow);
    result.status = Status::kOk;
    result.source = NumberResult::Source::kAreaCode;
    result.place = names[row];
    result.state = states[row];
    result.cityId = static_cast<std::int32_t>(cities_.CityIds()[row]);
    return result;
  }
  result.status = Status::kUnknownExchange;
  result.state = states[static_cast<std::size_t>(code.stateRow)];
  return result;
}

}  // namespace tq
