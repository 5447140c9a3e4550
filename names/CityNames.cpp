#include "names/CityNames.h"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <utility>

#include "base/Text.h"

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

struct Spelling {
  std::string_view key;           // SpellingKey() of knownAs, or of spelling when it is empty
  std::string_view spelling;      // as the data has it
  std::string_view knownAs = {};  // another name of the place (Quebec for Quebec City)
};

// Every stored name that its spelling key alone would not give back (accents,
// an abbreviation inside the name, another name the place is known by),
// sorted by `key`; rows sharing a key hold the more populous place first.
constexpr Spelling kSpellings[] = {
#include "names/AccentedSpellings.inc"
};

// Abbreviations written out wherever they stand in a spelling key.
constexpr std::pair<std::string_view, std::string_view> kKeyWords[] = {
    {"ft", "fort"}, {"mt", "mount"}, {"pt", "point"}, {"st", "saint"}, {"ste", "sainte"},
    {"twp", "township"},
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

namespace {

// The plain lower-case text with its points dropped (a point inside a word
// ends the word: "st.louis" is "st louis") and ft, mt, pt, st, ste and twp
// written out wherever they stand. With `fold`, apostrophes (' and the
// typographic one) are dropped and hyphens read as blanks, so that O'Fallon,
// OFallon and O'Fallon typed with the typographic apostrophe meet, and so do
// Wilkes-Barre and Wilkes Barre.
std::string WrittenOut(std::string_view city, bool fold) {
  const std::string plain = PlainLowered(city);
  std::string spaced;
  for (std::size_t i = 0; i < plain.size(); ++i) {
    const char c = plain[i];
    if (c == '.') {
      if (i + 1 < plain.size() && plain[i + 1] != ' ' && plain[i + 1] != '-') spaced += ' ';
    } else if (fold && (c == '\'' || c == '\x92')) {
      continue;
    } else {
      spaced += fold && c == '-' ? ' ' : c;
    }
  }
  std::string key;
  std::size_t start = 0;
  while (start <= spaced.size()) {
    std::size_t end = spaced.find_first_of(" -", start);
    if (end == std::string::npos) end = spaced.size();
    const std::string_view word(spaced.data() + start, end - start);
    const auto* found = std::find_if(std::begin(kKeyWords), std::end(kKeyWords),
                                     [&](const auto& row) { return row.first == word; });
    key += found != std::end(kKeyWords) ? found->second : word;
    if (end < spaced.size()) key += spaced[end];
    start = end + 1;
  }
  return key;
}

}  // namespace

std::string SpellingKey(std::string_view city) { return WrittenOut(city, true); }

std::vector<std::string> OtherSpellings(std::string_view city) {
  const std::string key = SpellingKey(city);
  const auto [first, last] = std::equal_range(
      std::begin(kSpellings), std::end(kSpellings), Spelling{key, {}},
      [](const Spelling& a, const Spelling& b) { return a.key < b.key; });
  std::vector<std::string> others;
  for (auto it = first; it != last; ++it) {
    if (it != first) others.emplace_back(it->spelling);
  }
  return others;
}

void AccentCityName(std::string& city) {
  for (const Fix& row : kAccentedNames) {
    if (std::string_view(city).starts_with(row.text)) {
      SetLetters(city, 0, row);
      break;
    }
  }
  // A whole name of the data takes its stored spelling by its key: "San
  // Pedro De Macoris" -> "San Pedro de Macorís", "Port St Lucie" and "Port
  // Saint Lucie" -> "Port St. Lucie". Beginnings keep the rows above.
  const std::string key = SpellingKey(city);
  const auto found = std::lower_bound(
      std::begin(kSpellings), std::end(kSpellings), key,
      [](const Spelling& row, const std::string& k) { return row.key < k; });
  if (found != std::end(kSpellings) && found->key == key) {
    city = found->spelling;
  } else if (std::string written = WrittenOut(city, false); written != PlainLowered(city)) {
    // An abbreviation inside the name ("East St. Louis") written out as the
    // data writes it: "East Saint Louis".
    city = std::move(written);
    NormalizeCityName(city);
    for (const Fix& row : kAccentedNames) {
      if (std::string_view(city).starts_with(row.text)) {
        SetLetters(city, 0, row);
        break;
      }
    }
  }
}

}  // namespace tq
