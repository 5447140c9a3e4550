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
// The values are brought into the spelling of the data here, once per query;
// city names (and the state of the combined form) then match without regard
// to case, so "Mcallen" finds "McAllen" and "Fond Du Lac" finds "Fond du Lac".

#include <cstdint>
#include <string>
#include <vector>

namespace tq {

struct CityQuery {
  enum class Form {
    kEverything,    // empty filter
    kCityId,        // iCityId = N
    kCityAndState,  // name equals city, accented or another spelling, state equals state (case aside)
    kCity,          // name equals city, accented or another spelling (case aside)
    kCityPrefix,    // name begins with city or accented (case aside)
    kStatePrefix,   // state begins with state, population above 10000
    kNothing,       // not recognised
  };
  Form form = Form::kNothing;
  std::uint32_t cityId = 0;
  std::string city;          // after NormalizeCityName
  std::string accentedCity;  // city after AccentCityName
  std::vector<std::string> otherSpellings;  // OtherSpellings of city: matched like accentedCity
  std::string state;         // the code for the combined form, an upper-case code or
                             // the beginning of codes for the state form
};

CityQuery ParseCityFilter(const std::string& filter);

// Only cities above this population count in a state-wide query, and every
// place above it is a major city of its codes.
inline constexpr std::uint32_t kMajorCityPopulation = 10000;
inline bool IsMajorCity(std::uint32_t population) { return population > kMajorCityPopulation; }

}  // namespace tq
