#include "data/CitySet.h"

#include <algorithm>
#include <array>
#include <map>
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
  const char* impossible;  // the first field no place can have, or nullptr
};

// A code of two letters, or the name of a country or of the non-geographic
// codes.
bool PossibleStateLength(std::size_t length) {
  return length == 2 || (length >= 4 && length <= 40);
}

// Names are stored with their first two characters moved to the end, every
// byte raised by one.
std::string DecodeCityName(std::string_view line) {
  const std::size_t moved = line.size() >= 2 ? 2 : 0;
  std::string name;
  name.reserve(line.size());
  name.append(line.substr(line.size() - moved)).append(line.substr(0, line.size() - moved));
  for (char& c : name) c = static_cast<char>(static_cast<unsigned char>(c) - 1);
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
  const std::int64_t population = std::int64_t{AtoI(lines[4])} - id;
  city.impossible = id < 0                                ? "a negative city id"
                    : population < 0                      ? "a negative population"
                    : !PossibleStateLength(city.state.size()) ? "a state text of impossible length"
                    : !(city.timeZone >= -12 && city.timeZone <= 24)
                        ? "a time zone outside -12 to +24 hours"
                        : nullptr;
  return city;
}

// Files come sorted by name, or nearly so (a few names that the case of a
// letter puts elsewhere): moving those few into place costs little more than
// checking the order. Anything less ordered is sorted.
template <class Less>
void SortRowsStably(std::vector<std::uint32_t>& rows, Less less) {
  std::size_t moves = 0;
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const std::uint32_t row = rows[i];
    std::size_t j = i;
    for (; j > 0 && less(row, rows[j - 1]); --j) {
      if (++moves > rows.size()) {
        std::iota(rows.begin(), rows.end(), 0u);
        std::stable_sort(rows.begin(), rows.end(), less);
        return;
      }
      rows[j] = rows[j - 1];
    }
    rows[j] = row;
  }
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return std::string_view(text).starts_with(prefix);
}

}  // namespace

CCitySet::CCitySet(std::filesystem::path folder) : folder_(std::move(folder)) {}

bool CCitySet::Load() {
  const std::optional<std::string> file = ReadDataFileOf(folder_, kFileName, outcome_);
  if (!file) return false;
  const std::string& bytes = *file;
  DamageReport damage;
  bool complete = true;
  try {
    // A record takes at least 16 bytes (eight lines of one character), so
    // this never reallocates; pages of the spare room are never touched.
    const std::size_t most = bytes.size() / 16;
    aCityIds.reserve(most);
    aCityNames.reserve(most);
    aStates.reserve(most);
    aPopulations.reserve(most);
    aDaylightFlags.reserve(most);
    aTimeZones.reserve(most);
    LineReader reader(bytes);
    std::array<std::string_view, 8> lines;
    for (;;) {
      const std::size_t firstLine = aCityIds.size() * lines.size() + 1;
      if (!ReadRecord(reader, lines, firstLine, damage)) break;
      CityRecord city = DecodeCity(lines);
      if (city.impossible) damage.Impossible(aCityIds.size() + 1, firstLine, city.impossible);
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
    outcome_ = complete ? DescribeLoad(FileProblem::kDamaged, kFileName, folder_, damage.Text(rows))
                        : DescribeLoad(FileProblem::kUnreadable, kFileName, folder_,
                                       "there is not enough memory to read it");
  } catch (const std::exception&) {
    aCityIds.clear();
    aCityNames.clear();
    aStates.clear();
    aPopulations.clear();
    aDaylightFlags.clear();
    aTimeZones.clear();
    outcome_ = DescribeLoad(FileProblem::kUnreadable, kFileName, folder_,
                            "there is not enough memory to read it");
    return false;
  }
  return complete;
}

void CCitySet::BuildIndexes() {
  byCityId_.Build(aCityIds);
  // Names are ordered as the filters compare them, without regard to case.
  byName_.resize(aCityNames.size());
  std::iota(byName_.begin(), byName_.end(), 0u);
  SortRowsStably(byName_, [&](std::uint32_t a, std::uint32_t b) {
    return CompareNoCase(aCityNames[a], aCityNames[b]) < 0;
  });
  // Few states, many rows: group the rows by state, then lay the groups out
  // in state order.
  std::map<std::string_view, std::vector<std::uint32_t>> majorsOf;
  for (std::uint32_t row = 0; row < aStates.size(); ++row) {
    if (aPopulations[row] > kMajorCityPopulation) majorsOf[aStates[row]].push_back(row);
  }
  majorByState_.clear();
  for (const auto& [state, rows] : majorsOf) {
    majorByState_.insert(majorByState_.end(), rows.begin(), rows.end());
  }
}

bool CCitySet::IsLoaded() const { return !aCityIds.empty() || !aCityNames.empty(); }

void CCitySet::SelectRows(std::vector<std::uint32_t>& rows) const {
  using Form = CityQuery::Form;
  const CityQuery query = ParseCityFilter(strFilter);
  switch (query.form) {
    case Form::kEverything:
      rows.resize(aCityIds.size());
      std::iota(rows.begin(), rows.end(), 0u);
      break;
    case Form::kCityId: {
      const auto found = byCityId_.Find(query.cityId);
      rows.assign(found.begin(), found.end());
      break;
    }
    case Form::kCityAndState:
      SelectNames(query, false, rows);
      std::erase_if(rows, [&](std::uint32_t row) {
        return CompareNoCase(aStates[row], query.state) != 0;
      });
      break;
    case Form::kCity:
      SelectNames(query, false, rows);
      break;
    case Form::kCityPrefix:
      SelectNames(query, true, rows);
      break;
    case Form::kStatePrefix: {
      const auto byState = [&](std::uint32_t row, const std::string& value) {
        return aStates[row] < value;
      };
      auto it = std::lower_bound(majorByState_.begin(), majorByState_.end(), query.state, byState);
      for (; it != majorByState_.end() && StartsWith(aStates[*it], query.state); ++it) {
        rows.push_back(*it);
      }
      std::sort(rows.begin(), rows.end());
      break;
    }
    case Form::kNothing:
      break;
  }
}

// Rows whose name equals (or begins with) the city or its accented copy,
// case aside, in row order. Names that begin with a text form one run of the
// name order.
void CCitySet::SelectNames(const CityQuery& query, bool prefix,
                           std::vector<std::uint32_t>& rows) const {
  const auto collect = [&](const std::string& value) {
    const auto byName = [&](std::uint32_t row, const std::string& v) {
      return CompareNoCase(aCityNames[row], v) < 0;
    };
    auto it = std::lower_bound(byName_.begin(), byName_.end(), value, byName);
    for (; it != byName_.end(); ++it) {
      const std::string& name = aCityNames[*it];
      if (prefix ? !StartsWithNoCase(name, value) : CompareNoCase(name, value) != 0) break;
      rows.push_back(*it);
    }
  };
  collect(query.city);
  if (query.accentedCity != query.city) collect(query.accentedCity);
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
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
