#include "data/CitySet.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <string_view>

#include "data/DataFile.h"
#include "data/Text.h"

namespace tq {
namespace {

struct CityRecord {
  std::uint32_t cityId;
  std::string name;
  std::string state;
  std::uint32_t population;
  std::uint8_t daylight;
  float timeZone;
};

// Names are stored with their first two characters moved to the end.
std::string DecodeCityName(std::string_view line) {
  std::string name = ShiftText(line, -1);
  if (name.size() >= 2) {
    name = name.substr(name.size() - 2) + name.substr(0, name.size() - 2);
  }
  return name;
}

// "2AC" stands for "CA"; "abc" for a non-geographic code.
std::string DecodeState(std::string_view line) {
  std::string state = ShiftText(line, -1);
  if (state.size() == 3 && state[0] == '2') return {state[2], state[1]};
  if (state == "abc") return "Non-geographic area code";
  return state;
}

CityRecord DecodeCity(const std::array<std::string_view, 8>& lines) {
  CityRecord city;
  const std::int64_t id = (std::int64_t{AtoI(lines[0])} + 1) / 7;
  city.cityId = static_cast<std::uint32_t>(id);
  city.name = DecodeCityName(lines[1]);
  city.state = DecodeState(lines[2]);
  // lines[3] (the country) and lines[6] (a flag) are required but not kept.
  city.population = static_cast<std::uint32_t>(std::int64_t{AtoI(lines[4])} - id);
  city.daylight = static_cast<std::uint8_t>(AtoI(lines[5]) & 0xFF);
  city.timeZone = AtoF(lines[7]);
  return city;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return std::string_view(text).starts_with(prefix);
}

}  // namespace

CCitySet::CCitySet(std::filesystem::path folder) : folder_(std::move(folder)) {}

bool CCitySet::Load() {
  const auto bytes = ReadWholeFile(DataFilePath(folder_, kFileName));
  if (!bytes) return false;
  bool complete = true;
  try {
    LineReader reader(*bytes);
    std::array<std::string_view, 8> lines;
    for (;;) {
      bool whole = true;
      for (auto& line : lines) {
        if (!reader.Next(line) || line.empty()) {
          whole = false;
          break;
        }
      }
      if (!whole) break;  // a short or blank-broken record ends the load
      CityRecord city = DecodeCity(lines);
      aCityIds.push_back(city.cityId);
      aCityNames.push_back(std::move(city.name));
      aStates.push_back(std::move(city.state));
      aPopulations.push_back(city.population);
      aDaylightFlags.push_back(city.daylight);
      aTimeZones.push_back(city.timeZone);
    }
  } catch (const std::exception&) {  // out of memory: keep whole records only
    complete = false;
  }
  try {
    const std::size_t rows = std::min({aCityIds.size(), aCityNames.size(), aStates.size(),
                                       aPopulations.size(), aDaylightFlags.size(),
                                       aTimeZones.size()});
    aCityIds.resize(rows);
    aCityNames.resize(rows);
    aStates.resize(rows);
    aPopulations.resize(rows);
    aDaylightFlags.resize(rows);
    aTimeZones.resize(rows);
    BuildIndexes();
  } catch (const std::exception&) {
    aCityIds.clear();
    aCityNames.clear();
    aStates.clear();
    aPopulations.clear();
    aDaylightFlags.clear();
    aTimeZones.clear();
    return false;
  }
  return complete;
}

void CCitySet::BuildIndexes() {
  byCityId_.Build(aCityIds);
  byName_.resize(aCityNames.size());
  std::iota(byName_.begin(), byName_.end(), 0u);
  std::stable_sort(byName_.begin(), byName_.end(), [&](std::uint32_t a, std::uint32_t b) {
    return aCityNames[a] < aCityNames[b];
  });
  majorByState_.clear();
  for (std::uint32_t row = 0; row < aStates.size(); ++row) {
    if (aPopulations[row] > kMajorCityPopulation) majorByState_.push_back(row);
  }
  std::stable_sort(majorByState_.begin(), majorByState_.end(),
                   [&](std::uint32_t a, std::uint32_t b) { return aStates[a] < aStates[b]; });
}

void CCitySet::Open() {
  if (aCityIds.empty() && aCityNames.empty() && !Load()) return;
  Requery();
}

bool CCitySet::Requery() {
  aRows.clear();
  iPosition = -1;
  Select(ParseCityFilter(strFilter));
  if (aRows.empty()) return false;
  iPosition = 0;
  SetCurrent(aRows[0]);
  return true;
}

void CCitySet::Select(const CityQuery& query) {
  using Form = CityQuery::Form;
  switch (query.form) {
    case Form::kEverything:
      aRows.resize(aCityIds.size());
      std::iota(aRows.begin(), aRows.end(), 0u);
      break;
    case Form::kCityId: {
      const auto rows = byCityId_.Find(query.cityId);
      aRows.assign(rows.begin(), rows.end());
      break;
    }
    case Form::kCityAndState:
      SelectNames(query, false);
      std::erase_if(aRows, [&](std::uint32_t row) { return aStates[row] != query.state; });
      break;
    case Form::kCity:
      SelectNames(query, false);
      break;
    case Form::kCityPrefix:
      SelectNames(query, true);
      break;
    case Form::kStatePrefix: {
      const auto byState = [&](std::uint32_t row, const std::string& value) {
        return aStates[row] < value;
      };
      auto it = std::lower_bound(majorByState_.begin(), majorByState_.end(), query.state, byState);
      for (; it != majorByState_.end() && StartsWith(aStates[*it], query.state); ++it) {
        aRows.push_back(*it);
      }
      std::sort(aRows.begin(), aRows.end());
      break;
    }
    case Form::kNothing:
      break;
  }
}

// Rows whose name equals (or begins with) the city or its accented copy, in
// row order. Names that begin with a text form one run of the name order.
void CCitySet::SelectNames(const CityQuery& query, bool prefix) {
  const auto collect = [&](const std::string& value) {
    const auto byName = [&](std::uint32_t row, const std::string& v) {
      return aCityNames[row] < v;
    };
    auto it = std::lower_bound(byName_.begin(), byName_.end(), value, byName);
    for (; it != byName_.end(); ++it) {
      const std::string& name = aCityNames[*it];
      if (prefix ? !StartsWith(name, value) : name != value) break;
      aRows.push_back(*it);
    }
  };
  collect(query.city);
  if (query.accentedCity != query.city) collect(query.accentedCity);
  std::sort(aRows.begin(), aRows.end());
  aRows.erase(std::unique(aRows.begin(), aRows.end()), aRows.end());
}

bool CCitySet::IsEOF() const {
  return iPosition < 0 || static_cast<std::size_t>(iPosition) >= aRows.size();
}

void CCitySet::MoveNext() {
  if (iPosition < INT32_MAX) ++iPosition;
  if (!IsEOF()) SetCurrent(aRows[static_cast<std::size_t>(iPosition)]);
}

void CCitySet::SetCurrent(std::uint32_t row) {
  iCityId = static_cast<std::int32_t>(aCityIds[row]);
  strCity = aCityNames[row];
  strStateOrProvince = aStates[row];
  iPopulation = static_cast<std::int32_t>(aPopulations[row]);
  bDaylightSaving = aDaylightFlags[row];
  fTimeZone = aTimeZones[row];
}

}  // namespace tq
