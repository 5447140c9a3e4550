// State and province names: typed full names to codes, codes to the names
// shown, the "Name (XX)" form of the result list, and the state text of a
// combined city-and-state filter.

#include "names/StateNames.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "base/Text.h"

namespace tq {
namespace {

std::string Upper(std::string text) {
  MakeUpper(text);
  return text;
}

struct Conversion {
  std::string given;
  std::string expected;
};

// Every two-letter code that has a name: 51 United States entries, 5 US
// territories and 13 Canadian ones, each reachable back from its name in any
// capitalisation.
TEST(StateTable, EveryKnownCodeRoundTripsThroughItsName) {
  std::set<std::string> names;
  for (char a = 'A'; a <= 'Z'; ++a) {
    for (char b = 'A'; b <= 'Z'; ++b) {
      const std::string code{a, b};
      const std::string name = StateAbbrevToName(code);
      if (name == code) continue;
      names.insert(name);
      EXPECT_EQ(StateDisplayForm(code), name + " (" + code + ")");
      EXPECT_EQ(StateAbbrevToName(Lowered(code)), name) << code;
      // An old code's name is typed for the code of today (NF: NL).
      const std::string now(CurrentStateCode(code));
      EXPECT_EQ(StateNameToAbbrev(Lowered(name)), now) << name;
      EXPECT_EQ(StateNameToAbbrev(Upper(name)), now) << name;
      std::string filter = Upper(name);
      NormalizeStateText(filter);
      EXPECT_EQ(filter, now) << name;
    }
  }
  EXPECT_EQ(names.size(), 70u);
}

TEST(StateNameToAbbrev, NamesAndTheirOtherSpellings) {
  for (const Conversion& c : std::vector<Conversion>{
           {"oHiO", "OH"}, {"west virginia", "WV"}, {"District Of Columbia", "DC"},
           {"newfoundland", "NL"}, {"US Virgin Islands", "VI"}, {"quebec", "QC"},
           {"QU\xC9" "BEC", "QC"},  // capital É lower-cases to é
           {"yukon TERRITORY", "YT"}, {"NW Territories", "NT"},
           // Anything else comes back exactly as given.
           {"", ""}, {"Quebec City", "Quebec City"}, {"N. Dakota", "N. Dakota"},
           {" texas", " texas"}, {"New  York", "New  York"}, {"OH", "OH"}, {"Ohi", "Ohi"},
           {std::string("ohio\0", 5), std::string("ohio\0", 5)}}) {
    EXPECT_EQ(StateNameToAbbrev(c.given), c.expected) << "typed \"" << c.given << "\"";
  }
}

TEST(StateAbbrevToName, CodesAndDisplayForms) {
  for (const Conversion& c : std::vector<Conversion>{
           {"qc", "Qu\xE9" "bec"}, {"nf", "Newfoundland"},  // an old code: the name of its time
           {"", ""}, {"O", "O"}, {"OHI", "OHI"}, {" OH", " OH"}, {"Bahamas", "Bahamas"}}) {
    EXPECT_EQ(StateAbbrevToName(c.given), c.expected) << "code \"" << c.given << "\"";
  }
  for (const Conversion& c : std::vector<Conversion>{
           {"QC", "Qu\xE9" "bec (QC)"}, {"DC", "District of Columbia (DC)"},
           {"oh", "Ohio (oh)"},  // the code as given goes in the parentheses
           {"NF", "Newfoundland (NF)"}, {"Bahamas", "Bahamas"},
           {"Non-geographic area code", "Non-geographic area code"}, {"", ""}}) {
    EXPECT_EQ(StateDisplayForm(c.given), c.expected) << "code \"" << c.given << "\"";
  }
}

TEST(NormalizeStateText, TwoCharactersAreUpperCasedTheRestLookedUp) {
  for (const Conversion& c : std::vector<Conversion>{
           {"Ny", "NY"}, {"new york", "NY"}, {"QU\xC9" "BEC", "QC"}, {"zz", "ZZ"}, {"nf", "NL"},
           {"Nf", "NL"}, {"\xE9" "t", "\xC9" "T"}, {"o.", "O."},  // only upper-cased
           {"o", "o"},  // a single letter is looked up
           {"", ""}, {"ohi", "ohi"}, {" ohio", " ohio"}}) {
    std::string text = c.given;
    NormalizeStateText(text);
    EXPECT_EQ(text, c.expected) << "text \"" << c.given << "\"";
  }
}

}  // namespace
}  // namespace tq
