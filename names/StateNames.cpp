#include "names/StateNames.h"

#include "data/Text.h"

namespace tq {
namespace {

struct StateEntry {
  const char* abbrev;
  const char* fullName;
  const char* accepted;      // lower case
  const char* alsoAccepted;  // lower case, or nullptr
};

// Tried in this order; all accepted names and all codes are distinct.
constexpr StateEntry kStates[] = {
    {"AL", "Alabama", "alabama", nullptr},
    {"AK", "Alaska", "alaska", nullptr},
    {"AZ", "Arizona", "arizona", nullptr},
    {"AR", "Arkansas", "arkansas", nullptr},
    {"CA", "California", "california", nullptr},
    {"CO", "Colorado", "colorado", nullptr},
    {"CT", "Connecticut", "connecticut", nullptr},
    {"DE", "Delaware", "delaware", nullptr},
    {"DC", "District of Columbia", "district of columbia", nullptr},
    {"FL", "Florida", "florida", nullptr},
    {"GA", "Georgia", "georgia", nullptr},
    {"HI", "Hawaii", "hawaii", nullptr},
    {"IA", "Iowa", "iowa", nullptr},
    {"ID", "Idaho", "idaho", nullptr},
    {"IL", "Illinois", "illinois", nullptr},
    {"IN", "Indiana", "indiana", nullptr},
    {"KS", "Kansas", "kansas", nullptr},
    {"KY", "Kentucky", "kentucky", nullptr},
    {"LA", "Louisiana", "louisiana", nullptr},
    {"MA", "Massachusetts", "massachusetts", nullptr},
    {"MD", "Maryland", "maryland", nullptr},
    {"ME", "Maine", "maine", nullptr},
    {"MI", "Michigan", "michigan", nullptr},
    {"MN", "Minnesota", "minnesota", nullptr},
    {"MO", "Missouri", "missouri", nullptr},
    {"MS", "Mississippi", "mississippi", nullptr},
    {"MT", "Montana", "montana", nullptr},
    {"NC", "North Carolina", "north carolina", nullptr},
    {"ND", "North Dakota", "north dakota", nullptr},
    {"NE", "Nebraska", "nebraska", nullptr},
    {"NH", "New Hampshire", "new hampshire", nullptr},
    {"NJ", "New Jersey", "new jersey", nullptr},
    {"NM", "New Mexico", "new mexico", nullptr},
    {"NV", "Nevada", "nevada", nullptr},
    {"NY", "New York", "new york", nullptr},
    {"OH", "Ohio", "ohio", nullptr},
    {"OK", "Oklahoma", "oklahoma", nullptr},
    {"OR", "Oregon", "oregon", nullptr},
    {"PA", "Pennsylvania", "pennsylvania", nullptr},
    {"RI", "Rhode Island", "rhode island", nullptr},
    {"SC", "South Carolina", "south carolina", nullptr},
    {"SD", "South Dakota", "south dakota", nullptr},
    {"TN", "Tennessee", "tennessee", nullptr},
    {"TX", "Texas", "texas", nullptr},
    {"UT", "Utah", "utah", nullptr},
    {"VT", "Vermont", "vermont", nullptr},
    {"VA", "Virginia", "virginia", nullptr},
    {"WA", "Washington", "washington", nullptr},
    {"WI", "Wisconsin", "wisconsin", nullptr},
    {"WV", "West Virginia", "west virginia", nullptr},
    {"WY", "Wyoming", "wyoming", nullptr},
    {"BC", "British Columbia", "british columbia", nullptr},
    {"ON", "Ontario", "ontario", nullptr},
    {"AB", "Alberta", "alberta", nullptr},
    {"SK", "Saskatchewan", "saskatchewan", nullptr},
    {"MB", "Manitoba", "manitoba", nullptr},
    {"QC", "Qu\xE9" "bec", "quebec", "qu\xE9" "bec"},
    {"NB", "New Brunswick", "new brunswick", nullptr},
    {"NT", "Northwest Territories", "northwest territories", "nw territories"},
    {"NS", "Nova Scotia", "nova scotia", nullptr},
    {"PE", "Prince Edward Island", "prince edward island", nullptr},
    {"NF", "Newfoundland", "newfoundland", nullptr},
    {"YT", "Yukon Territory", "yukon", "yukon territory"},
};
static_assert(std::size(kStates) == 63);

}  // namespace

std::string StateNameToAbbrev(std::string_view name) {
  const std::string lowered = Lowered(name);
  for (const StateEntry& e : kStates) {
    if (lowered == e.accepted || (e.alsoAccepted && lowered == e.alsoAccepted)) {
      return e.abbrev;
    }
  }
  return std::string(name);
}

std::string StateAbbrevToName(std::string_view abbrev) {
  std::string upper(abbrev);
  MakeUpper(upper);
  for (const StateEntry& e : kStates) {
    if (upper == e.abbrev) return e.fullName;
  }
  return std::string(abbrev);
}

std::string StateDisplayForm(std::string_view abbrev) {
  const std::string name = StateAbbrevToName(abbrev);
  if (!name.empty() && name != abbrev) {
    return name + " (" + std::string(abbrev) + ")";
  }
  return std::string(abbrev);
}

void NormalizeStateText(std::string& text) {
  if (text.size() == 2) {
    MakeUpper(text);
  } else {
    text = StateNameToAbbrev(text);
  }
}

}  // namespace tq
