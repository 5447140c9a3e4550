#pragma once
// The filter texts of the city set. They look like the WHERE clause of a
// query but are recognised by their leading keyword only, and the value is cut
// out at fixed character counts (one quote character assumed on each side):
//
//   iCityId = 1234
//   strCity = 'Dayton' and strStateOrProvince = 'OH'
//   strCity = 'Dayton'
//   strCity LIKE 'Day%'
//   strStateOrProvince = 'OH'
//
// The values are brought into the spelling of the data here, once per query.

#include <cstdint>
#include <string>

namespace tq {

struct CityQuery {
  enum class Form {
    kEverything,    // empty filter
    kCityId,        // iCityId = N
    kCityAndState,  // name equals city or accented, state equals state
    kCity,          // name equals city or accented
    kCityPrefix,    // name begins with city or accented
    kStatePrefix,   // state begins with state, population above 10000
    kNothing,       // not recognised
  };
  Form form = Form::kNothing;
  std::uint32_t cityId = 0;
  std::string city;          // after NormalizeCityName
  std::string accentedCity;  // city after AccentCityName
  std::string state;         // the code for the combined form, upper-cased prefix otherwise
};

CityQuery ParseCityFilter(const std::string& filter);

// Only cities above this population count in a state-wide query.
inline constexpr std::uint32_t kMajorCityPopulation = 10000;

}  // namespace tq
