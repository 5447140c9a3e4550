// State and province names: typed full names to codes, codes to the names
// shown, the "Name (XX)" form of the result list, and the state text of a
// combined city-and-state filter.

#include "names/StateNames.h"

#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "data/Text.h"

namespace tq {
namespace {

struct StateRow {
  const char* abbrev;
  const char* fullName;
  std::vector<std::string> accepted;  // lower case
};

// The 51 United States entries and the 12 Canadian ones, written out here
// on their own so that the library's table is checked against them.
const std::vector<StateRow>& AllStates() {
  static const std::vector<StateRow> rows = {
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
      {"NF", "Newfoundland", {"newfoundland"}},
      {"YT", "Yukon Territory", {"yukon", "yukon territory"}},
  };
  return rows;
}

std::string Upper(std::string text) {
  MakeUpper(text);
  return text;
}

TEST(StateTable, Has63DistinctCodesAndNames) {
  std::set<std::string> codes;
  std::set<std::string> accepted;
  std::size_t acceptedCount = 0;
  for (const StateRow& row : AllStates()) {
    codes.insert(row.abbrev);
    for (const std::string& name : row.accepted) {
      accepted.insert(name);
      ++acceptedCount;
    }
  }
  EXPECT_EQ(AllStates().size(), 63u);
  EXPECT_EQ(codes.size(), 63u);
  EXPECT_EQ(accepted.size(), acceptedCount);
}

class StateRowTest : public ::testing::TestWithParam<StateRow> {};

TEST_P(StateRowTest, DisplayFormIsNameThenCodeInParentheses) {
  const StateRow& row = GetParam();
  EXPECT_EQ(StateDisplayForm(row.abbrev), std::string(row.fullName) + " (" + row.abbrev + ")");
}

TEST_P(StateRowTest, CodeGivesFullNameInAnyCapitalisation) {
  const StateRow& row = GetParam();
  const std::string code = row.abbrev;
  const std::string lower = Lowered(code);
  const std::string mixed = code.substr(0, 1) + lower.substr(1);
  EXPECT_EQ(StateAbbrevToName(code), row.fullName);
  EXPECT_EQ(StateAbbrevToName(lower), row.fullName);
  EXPECT_EQ(StateAbbrevToName(mixed), row.fullName);
}

TEST_P(StateRowTest, EveryAcceptedNameGivesTheCode) {
  const StateRow& row = GetParam();
  for (const std::string& name : row.accepted) {
    EXPECT_EQ(StateNameToAbbrev(name), row.abbrev) << name;
    EXPECT_EQ(StateNameToAbbrev(Upper(name)), row.abbrev) << name;
  }
  // The name as shown is accepted too: it differs from an accepted name only
  // in its capitals.
  EXPECT_EQ(StateNameToAbbrev(row.fullName), row.abbrev);
}

TEST_P(StateRowTest, FilterTextOfFullNameOrCodeBecomesTheCode) {
  const StateRow& row = GetParam();
  std::string byName = Upper(row.accepted.front());
  NormalizeStateText(byName);
  EXPECT_EQ(byName, row.abbrev);
  std::string byCode = Lowered(row.abbrev);
  NormalizeStateText(byCode);
  EXPECT_EQ(byCode, row.abbrev);
}

INSTANTIATE_TEST_SUITE_P(AllEntries, StateRowTest, ::testing::ValuesIn(AllStates()),
                         [](const ::testing::TestParamInfo<StateRow>& info) {
                           return std::string(info.param.abbrev);
                         });

// ---------------------------------------------------------------------------
// StateNameToAbbrev

struct NameCase {
  std::string typed;
  std::string expected;
};

void PrintTo(const NameCase& c, std::ostream* os) { *os << "\"" << c.typed << "\""; }

class StateNameToAbbrevTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(StateNameToAbbrevTest, Converts) {
  EXPECT_EQ(StateNameToAbbrev(GetParam().typed), GetParam().expected)
      << "typed \"" << GetParam().typed << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Accepted, StateNameToAbbrevTest,
    ::testing::Values(NameCase{"ohio", "OH"}, NameCase{"OHIO", "OH"}, NameCase{"Ohio", "OH"},
                      NameCase{"oHiO", "OH"}, NameCase{"quebec", "QC"},
                      NameCase{"QUEBEC", "QC"}, NameCase{"qu\xE9" "bec", "QC"},
                      NameCase{"Qu\xE9" "bec", "QC"},
                      NameCase{"QU\xC9" "BEC", "QC"},  // capital É lower-cases to é
                      NameCase{"yukon", "YT"}, NameCase{"YUKON", "YT"},
                      NameCase{"Yukon Territory", "YT"}, NameCase{"yukon TERRITORY", "YT"},
                      NameCase{"nw territories", "NT"}, NameCase{"NW Territories", "NT"},
                      NameCase{"Northwest Territories", "NT"},
                      NameCase{"district of columbia", "DC"},
                      NameCase{"District Of Columbia", "DC"},
                      NameCase{"newfoundland", "NF"}, NameCase{"new york", "NY"},
                      NameCase{"west virginia", "WV"}, NameCase{"virginia", "VA"}));

INSTANTIATE_TEST_SUITE_P(
    ReturnedAsGiven, StateNameToAbbrevTest,
    ::testing::Values(NameCase{"", ""}, NameCase{"Quebec City", "Quebec City"},
                      NameCase{"QUEBEC CITY", "QUEBEC CITY"},
                      NameCase{"Qu\xE9" "bec Nord", "Qu\xE9" "bec Nord"},
                      NameCase{"N. Dakota", "N. Dakota"}, NameCase{"Wash.", "Wash."},
                      NameCase{"D.C.", "D.C."}, NameCase{"N.W. Territories", "N.W. Territories"},
                      NameCase{"nw. territories", "nw. territories"},
                      NameCase{"Nunavut", "Nunavut"}, NameCase{"NUNAVUT", "NUNAVUT"},
                      NameCase{"Newfoundland and Labrador", "Newfoundland and Labrador"},
                      NameCase{"Newfoundland Labrador", "Newfoundland Labrador"},
                      NameCase{"Labrador", "Labrador"},
                      NameCase{"Colombie-Britannique", "Colombie-Britannique"},
                      NameCase{"Terre-Neuve", "Terre-Neuve"},
                      NameCase{" texas", " texas"}, NameCase{"texas ", "texas "},
                      NameCase{" Texas ", " Texas "}, NameCase{"New  York", "New  York"},
                      NameCase{"New\tYork", "New\tYork"}, NameCase{"Yukon Terr.", "Yukon Terr."},
                      NameCase{"OH", "OH"}, NameCase{"oh", "oh"}, NameCase{"QC", "QC"},
                      NameCase{"Ohi", "Ohi"}, NameCase{std::string("ohio\0", 5), std::string("ohio\0", 5)}));

// ---------------------------------------------------------------------------
// StateAbbrevToName and StateDisplayForm

class StateAbbrevToNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(StateAbbrevToNameTest, Converts) {
  EXPECT_EQ(StateAbbrevToName(GetParam().typed), GetParam().expected)
      << "code \"" << GetParam().typed << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Table, StateAbbrevToNameTest,
    ::testing::Values(NameCase{"QC", "Qu\xE9" "bec"}, NameCase{"qc", "Qu\xE9" "bec"},
                      NameCase{"YT", "Yukon Territory"}, NameCase{"dc", "District of Columbia"},
                      NameCase{"NF", "Newfoundland"},
                      NameCase{"NL", "NL"}, NameCase{"nl", "nl"}, NameCase{"NU", "NU"},
                      NameCase{"", ""}, NameCase{"O", "O"}, NameCase{"OHI", "OHI"},
                      NameCase{"Ohio", "Ohio"}, NameCase{" OH", " OH"},
                      NameCase{"Bahamas", "Bahamas"}));

class StateDisplayFormTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(StateDisplayFormTest, Converts) {
  EXPECT_EQ(StateDisplayForm(GetParam().typed), GetParam().expected)
      << "code \"" << GetParam().typed << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Table, StateDisplayFormTest,
    ::testing::Values(NameCase{"QC", "Qu\xE9" "bec (QC)"}, NameCase{"OH", "Ohio (OH)"},
                      NameCase{"DC", "District of Columbia (DC)"},
                      NameCase{"YT", "Yukon Territory (YT)"},
                      NameCase{"oh", "Ohio (oh)"},  // the code as given goes in the parentheses
                      NameCase{"NL", "NL"}, NameCase{"Bahamas", "Bahamas"},
                      NameCase{"Non-geographic area code", "Non-geographic area code"},
                      NameCase{"", ""}));

// ---------------------------------------------------------------------------
// NormalizeStateText

class NormalizeStateTextTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(NormalizeStateTextTest, Converts) {
  std::string text = GetParam().typed;
  NormalizeStateText(text);
  EXPECT_EQ(text, GetParam().expected) << "text \"" << GetParam().typed << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Table, NormalizeStateTextTest,
    ::testing::Values(NameCase{"ny", "NY"}, NameCase{"Ny", "NY"}, NameCase{"NY", "NY"},
                      NameCase{"new york", "NY"}, NameCase{"NEW YORK", "NY"},
                      NameCase{"qu\xE9" "bec", "QC"}, NameCase{"QU\xC9" "BEC", "QC"},
                      NameCase{"zz", "ZZ"}, NameCase{"nl", "NL"},  // only upper-cased
                      NameCase{"\xE9" "t", "\xC9" "T"}, NameCase{"o.", "O."},
                      NameCase{"o", "o"}, NameCase{"O", "O"},  // a single letter is looked up
                      NameCase{"", ""}, NameCase{"ohi", "ohi"}, NameCase{"Nowhere", "Nowhere"},
                      NameCase{" ohio", " ohio"}, NameCase{"Nunavut", "Nunavut"}));

}  // namespace
}  // namespace tq
