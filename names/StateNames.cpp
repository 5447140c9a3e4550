#include "names/StateNames.h"

#include <array>
#include <string_view>

#include "base/Text.h"

namespace tq {
namespace {

struct StateEntry {
  const char* abbrev;
  const char* fullName;
  std::array<const char*, 3> accepted;  // lower case; unused places are nullptr
};

// Tried in this order; all accepted names and all codes are distinct.
constexpr StateEntry kStates[] = {
    {"AL", "Alabama", {"alabama"}},
    {"AK", "Alaska", {"alaska"}},
    {"AZ", "Arizona", {"arizona"}},
    {"AR", "Arkansas", {"arkansas"}},
    {"CA", "California", {"california"}},
    {"CO", "Colorado", {"colorado"}},
    {"CT", "Connecticut", {"connecticut"}},
    {"DE", "Delaware", {"delaware"}},
    {"DC", "District of Columbia", {"district of columbia"}},
    {"FL", "Florida", {"florida"}},
    {"GA", "Georgia", {"georgia"}},
    {"HI", "Hawaii", {"hawaii"}},
    {"IA", "Iowa", {"iowa"}},
    {"ID", "Idaho", {"idaho"}},
    {"IL", "Illinois", {"illinois"}},
    {"IN", "Indiana", {"indiana"}},
    {"KS", "Kansas", {"kansas"}},
    {"KY", "Kentucky", {"kentucky"}},
    {"LA", "Louisiana", {"louisiana"}},
    {"MA", "Massachusetts", {"massachusetts"}},
    {"MD", "Maryland", {"maryland"}},
    {"ME", "Maine", {"maine"}},
    {"MI", "Michigan", {"michigan"}},
    {"MN", "Minnesota", {"minnesota"}},
    {"MO", "Missouri", {"missouri"}},
    {"MS", "Mississippi", {"mississippi"}},
    {"MT", "Montana", {"montana"}},
    {"NC", "North Carolina", {"north carolina"}},
    {"ND", "North Dakota", {"north dakota"}},
    {"NE", "Nebraska", {"nebraska"}},
    {"NH", "New Hampshire", {"new hampshire"}},
    {"NJ", "New Jersey", {"new jersey"}},
    {"NM", "New Mexico", {"new mexico"}},
    {"NV", "Nevada", {"nevada"}},
    {"NY", "New York", {"new york"}},
    {"OH", "Ohio", {"ohio"}},
    {"OK", "Oklahoma", {"oklahoma"}},
    {"OR", "Oregon", {"oregon"}},
    {"PA", "Pennsylvania", {"pennsylvania"}},
    {"RI", "Rhode Island", {"rhode island"}},
    {"SC", "South Carolina", {"south carolina"}},
    {"SD", "South Dakota", {"south dakota"}},
    {"TN", "Tennessee", {"tennessee"}},
    {"TX", "Texas", {"texas"}},
    {"UT", "Utah", {"utah"}},
    {"VT", "Vermont", {"vermont"}},
    {"VA", "Virginia", {"virginia"}},
    {"WA", "Washington", {"washington"}},
    {"WI", "Wisconsin", {"wisconsin"}},
    {"WV", "West Virginia", {"west virginia"}},
    {"WY", "Wyoming", {"wyoming"}},
    {"PR", "Puerto Rico", {"puerto rico"}},
    {"VI", "U.S. Virgin Islands", {"u.s. virgin islands", "us virgin islands", "virgin islands"}},
    {"GU", "Guam", {"guam"}},
    {"MP", "Northern Mariana Islands", {"northern mariana islands"}},
    {"AS", "American Samoa", {"american samoa"}},
    {"BC", "British Columbia", {"british columbia"}},
    {"ON", "Ontario", {"ontario"}},
    {"AB", "Alberta", {"alberta"}},
    {"SK", "Saskatchewan", {"saskatchewan"}},
    {"MB", "Manitoba", {"manitoba"}},
    {"QC", "Qu\xE9" "bec", {"quebec", "qu\xE9" "bec"}},
    {"NB", "New Brunswick", {"new brunswick"}},
    {"NT", "Northwest Territories", {"northwest territories", "nw territories"}},
    {"NS", "Nova Scotia", {"nova scotia"}},
    {"PE", "Prince Edward Island", {"prince edward island"}},
    {"NL", "Newfoundland and Labrador", {"newfoundland and labrador", "newfoundland"}},
    {"YT", "Yukon", {"yukon", "yukon territory"}},
    {"NU", "Nunavut", {"nunavut"}},
};
static_assert(std::size(kStates) == 69);

// A code given up that users still type and old files store: Newfoundland's
// "NF" before 2002, shown with the name of its time.
constexpr std::string_view kOldCode = "NF";
constexpr std::string_view kOldCodeNow = "NL";
constexpr std::string_view kOldCodeName = "Newfoundland";

}  // namespace

std::string StateNameToAbbrev(std::string_view name) {
  const std::string lowered = Lowered(name);
  for (const StateEntry& e : kStates) {
    for (const char* accepted : e.accepted) {
      if (accepted && lowered == accepted) return e.abbrev;
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
  if (upper == kOldCode) return std::string(kOldCodeName);
  return std::string(abbrev);
}

std::string StateDisplayForm(std::string_view abbrev) {
  const std::string name = StateAbbrevToName(abbrev);
  if (!name.empty() && name != abbrev) {
    return name + " (" + std::string(abbrev) + ")";
  }
  return std::string(abbrev);
}

std::string_view CurrentStateCode(std::string_view stored) {
  const bool old = stored.size() == 2 && (stored[0] | 0x20) == 'n' && (stored[1] | 0x20) == 'f';
  return old ? kOldCodeNow : stored;
}

std::string_view OldStateCode(std::string_view code) {
  return code == kOldCodeNow ? kOldCode : std::string_view{};
}

void NormalizeStateText(std::string& text) {
  if (text.size() == 2) {
    MakeUpper(text);
    if (text == kOldCode) text = kOldCodeNow;
  } else {
    text = StateNameToAbbrev(text);
  }
}

}  // namespace tq
