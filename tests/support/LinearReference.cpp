#include "support/LinearReference.h"

#include <string_view>

#include "base/Text.h"
#include "data/CityFilter.h"
#include "names/StateNames.h"

namespace tq::test {
namespace {

bool Same(std::string_view a, std::string_view b) { return CompareNoCase(a, b) == 0; }

bool Named(std::string_view name, const CityQuery& q) {
  bool other = false;
  for (const std::string& spelling : q.otherSpellings) other = other || Same(name, spelling);
  return Same(name, q.city) || Same(name, q.accentedCity) || other;
}

bool Matches(const CityQuery& q, std::uint32_t id, std::string_view name,
             std::string_view state, std::uint32_t population) {
  using Form = CityQuery::Form;
  switch (q.form) {
    case Form::kEverything:
      return true;
    case Form::kCityId:
      return id == q.cityId;
    case Form::kCityAndState:
      return Named(name, q) && Same(CurrentStateCode(state), q.state);
    case Form::kCity:
      return Named(name, q);
    case Form::kCityPrefix:
      return StartsWithNoCase(name, q.city) || StartsWithNoCase(name, q.accentedCity);
    case Form::kStatePrefix:
      return (state.starts_with(q.state) ||
              (!OldStateCode(q.state).empty() && state.starts_with(OldStateCode(q.state)))) &&
             population > kMajorCityPopulation;
    case Form::kNothing:
      return false;
  }
  return false;
}

}  // namespace

std::vector<std::uint32_t> LinearSelectCities(const CCitySet& cities, const std::string& filter) {
  const CityQuery query = ParseCityFilter(filter);
  std::vector<std::uint32_t> rows;
  for (std::uint32_t row = 0; row < cities.CityIds().size(); ++row) {
    if (Matches(query, cities.CityIds()[row], cities.CityNames()[row], cities.States()[row],
                cities.Populations()[row])) {
      rows.push_back(row);
    }
  }
  return rows;
}

std::vector<std::uint32_t> LinearSelectAreaCodes(const CAreaCodeSet& areaCodes,
                                                 const std::string& filter) {
  const std::string_view text = filter;
  const std::vector<std::uint32_t>* column = nullptr;
  std::uint32_t value = 0;
  if (text.starts_with("iCityId = ")) {
    column = &areaCodes.CityIds();
    value = static_cast<std::uint32_t>(AtoI(text.substr(10)));
  } else if (text.starts_with("iAreaCode = ")) {
    column = &areaCodes.AreaCodes();
    value = static_cast<std::uint32_t>(AtoI(text.substr(12)));
  }
  std::vector<std::uint32_t> rows;
  for (std::uint32_t row = 0; row < areaCodes.CityIds().size(); ++row) {
    if (text.empty() || (column && (*column)[row] == value)) rows.push_back(row);
  }
  return rows;
}

void LinearCitySet::SelectRows(std::vector<std::uint32_t>& rows) const {
  rows = LinearSelectCities(*this, strFilter);
}

void LinearAreaCodeSet::SelectRows(std::vector<std::uint32_t>& rows) const {
  rows = LinearSelectAreaCodes(*this, strFilter);
}

}  // namespace tq::test
