#include "data/CityFilter.h"

#include <string_view>

#include "base/Text.h"
#include "names/CityNames.h"
#include "names/StateNames.h"

namespace tq {
namespace {

constexpr std::string_view kCityIdKey = "iCityId = ";
constexpr std::string_view kCityKey = "strCity = ";
constexpr std::string_view kLikeKey = "strCity LIKE ";
constexpr std::string_view kStateKey = "strStateOrProvince = ";
constexpr std::string_view kConnector = " and strStateOrProvince = ";

// The characters from `first` up to (not including) `end`, or "" when the
// text is too short for that.
std::string Cut(std::string_view text, std::size_t first, std::size_t end) {
  if (end > text.size() || first >= end) return {};
  return std::string(text.substr(first, end - first));
}

void SetCity(CityQuery& query, std::string city) {
  NormalizeCityName(city);
  query.city = city;
  query.otherSpellings = OtherSpellings(city);
  AccentCityName(city);
  query.accentedCity = std::move(city);
}

}  // namespace

CityQuery ParseCityFilter(const std::string& filter) {
  const std::string_view text = filter;
  CityQuery query;
  if (text.empty()) {
    query.form = CityQuery::Form::kEverything;
  } else if (text.starts_with(kCityIdKey)) {
    query.form = CityQuery::Form::kCityId;
    query.cityId = static_cast<std::uint32_t>(AtoI(text.substr(kCityIdKey.size())));
  } else if (const std::size_t g = text.find(kConnector);
             text.starts_with(kCityKey) && g != std::string_view::npos && g > 0) {
    // strCity = 'C' and strStateOrProvince = 'S': the city ends one before the
    // connector (its closing quote), the state one before the end.
    query.form = CityQuery::Form::kCityAndState;
    SetCity(query, Cut(text, kCityKey.size() + 1, g - 1));
    query.state = Cut(text, g + kConnector.size() + 1, text.size() - 1);
    NormalizeStateText(query.state);
  } else if (text.starts_with(kCityKey)) {
    query.form = CityQuery::Form::kCity;
    SetCity(query, Cut(text, kCityKey.size() + 1, text.size() - 1));
  } else if (text.starts_with(kLikeKey)) {
    query.form = CityQuery::Form::kCityPrefix;  // the value ends in %'
    SetCity(query, Cut(text, kLikeKey.size() + 1, text.size() - 2));
  } else if (text.starts_with(kStateKey)) {
    query.form = CityQuery::Form::kStatePrefix;
    query.state = Cut(text, kStateKey.size() + 1, text.size() - 1);
    NormalizeStateText(query.state);  // "ohio" and "nf" name a code
    MakeUpper(query.state);           // "o" is the beginning of codes
  }
  return query;
}

}  // namespace tq
