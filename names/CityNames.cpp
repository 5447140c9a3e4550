#include "names/CityNames.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "data/Text.h"

namespace tq {
namespace {

struct LeadingAbbreviation {
  std::string_view text;
  std::string_view replacement;
};

// Only the start of a name is expanded, by the first row that matches.
constexpr LeadingAbbreviation kLeadingAbbreviations[] = {
    {"St ", "Saint "},     {"St. ", "Saint "},     {"St-", "Saint-"},
    {"St.-", "Saint-"},    {"Ste ", "Sainte "},    {"Ste. ", "Sainte "},
    {"Ste-", "Sainte-"},   {"Ste.-", "Sainte-"},   {"Ft ", "Fort "},
    {"Ft. ", "Fort "},     {"Mt ", "Mount "},      {"Mt. ", "Mount "},
    {"Pt ", "Point "},     {"Pt. ", "Point "},     {"N ", "North "},
    {"N. ", "North "},     {"S ", "South "},       {"S. ", "South "},
    {"W ", "West "},       {"W. ", "West "},       {"E ", "East "},
    {"E. ", "East "},
};

struct LetterChange {
  int position;
  char letter;
};

struct Fix {
  std::string_view text;
  LetterChange changes[2];
  int count;
};

// Capitals that word capitalisation gets wrong. Each row is applied once, to
// its first occurrence, and only where that lies after the first character.
constexpr Fix kWordFixes[] = {
    {" Mcmurray", {{3, 'M'}}, 1},
    {"-De-La-", {{1, 'd'}, {4, 'l'}}, 2},
    {"-D'", {{1, 'd'}}, 1},
    {"-Du-", {{1, 'd'}}, 1},
    {" La ", {{1, 'l'}}, 1},
    {"-On-The-", {{1, 'o'}, {4, 't'}}, 2},
    {"John'S", {{5, 's'}}, 1},
    {"-Sur-", {{1, 's'}}, 1},
    {"-De-", {{1, 'd'}}, 1},
    {"George'S", {{7, 's'}}, 1},
    {" Of ", {{1, 'o'}}, 1},
};

// Names whose data spelling carries accents; the letters are code page 1252.
constexpr Fix kAccentedNames[] = {
    {"Montreal", {{5, '\xE9'}}, 1},
    {"Quebec", {{2, '\xE9'}}, 1},
    {"Agan", {{3, '\xF1'}}, 1},
    {"Becancour", {{1, '\xE9'}}, 1},
    {"Chateauguay", {{2, '\xE2'}}, 1},
    {"Gaspe", {{4, '\xE9'}}, 1},
    {"Grand-Mere", {{7, '\xE8'}}, 1},
    {"Jonquiere", {{6, '\xE8'}}, 1},
    {"Levis", {{1, '\xE9'}}, 1},
    {"Riviere-du-Loup", {{4, '\xE8'}}, 1},
    {"Saint-Jerome", {{7, '\xE9'}, {9, '\xF4'}}, 2},
    {"Saint-Leonard", {{7, '\xE9'}}, 1},
    {"Sainte-Therese", {{9, '\xE9'}, {11, '\xE8'}}, 2},
    {"Sept-Iles", {{5, '\xCE'}}, 1},
    {"Trois-Rivieres", {{10, '\xE8'}}, 1},
};

struct AccentedSpelling {
  std::string_view plain;     // the spelling lower-cased without accents
  std::string_view spelling;  // as the data has it
};

// Every stored name that carries a letter outside ASCII, sorted by `plain`.
constexpr AccentedSpelling kAccentedSpellings[] = {
#include "names/AccentedSpellings.inc"
};

void SetLetters(std::string& text, std::size_t at, const Fix& fix) {
  for (int i = 0; i < fix.count; ++i) {
    text[at + fix.changes[i].position] = fix.changes[i].letter;
  }
}

void CapitaliseWords(std::string& city) {
  char previous = ' ';
  for (char& c : city) {
    if (previous == ' ' || previous == '-' || previous == '\'') {
      c = static_cast<char>(ToUpper1252(static_cast<unsigned char>(c)));
    }
    previous = c;
  }
}

void ExpandLeadingAbbreviation(std::string& city) {
  for (const LeadingAbbreviation& row : kLeadingAbbreviations) {
    if (std::string_view(city).starts_with(row.text)) {
      city = std::string(row.replacement) + city.substr(row.text.size());
      return;
    }
  }
}

}  // namespace

void NormalizeCityName(std::string& city) {
  MakeLower(city);
  CapitaliseWords(city);
  ExpandLeadingAbbreviation(city);
  for (const Fix& fix : kWordFixes) {
    const std::size_t at = city.find(fix.text);
    if (at != std::string::npos && at >= 1) SetLetters(city, at, fix);
  }
}

void AccentCityName(std::string& city) {
  for (const Fix& row : kAccentedNames) {
    if (std::string_view(city).starts_with(row.text)) {
      SetLetters(city, 0, row);
      break;
    }
  }
  // A whole name of the data takes its stored spelling: "San Pedro De
  // Macoris" -> "San Pedro de Macorís". Beginnings keep the rows above.
  const std::string plain = PlainLowered(city);
  const auto found = std::lower_bound(
      std::begin(kAccentedSpellings), std::end(kAccentedSpellings), plain,
      [](const AccentedSpelling& row, const std::string& key) { return row.plain < key; });
  if (found != std::end(kAccentedSpellings) && found->plain == plain) {
    city = found->spelling;
  }
}

}  // namespace tq
