// City names: typed text to the capitals, written-out abbreviations and small
// connecting words of the data, and the accented copy that the city filter
// tries next to it.

#include "names/CityNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tq {
namespace {

std::string Normalized(std::string text) {
  NormalizeCityName(text);
  return text;
}

std::string Accented(std::string text) {
  AccentCityName(text);
  return text;
}

struct CityCase {
  std::string typed;
  std::string normalized;
  std::string accented = {};  // after AccentCityName; empty: the same as normalized
};

void ExpectCities(const std::vector<CityCase>& cases) {
  for (const CityCase& c : cases) {
    const std::string normalized = Normalized(c.typed);
    EXPECT_EQ(normalized, c.normalized) << "typed \"" << c.typed << "\"";
    EXPECT_EQ(Accented(normalized), c.accented.empty() ? c.normalized : c.accented)
        << "typed \"" << c.typed << "\"";
  }
}

TEST(CityNames, WorkedExamples) {
  ExpectCities({{"ST. JOHN'S", "Saint John's"}, {"ft mcmurray", "Fort McMurray"},
                {"niagara-on-the-lake", "Niagara-on-the-Lake"},
                {"portage la prairie", "Portage la Prairie"},
                {"montreal", "Montreal", "Montr\xE9" "al"},
                {"st-jerome", "Saint-Jerome", "Saint-J\xE9r\xF4me"},
                {"ste-therese", "Sainte-Therese", "Sainte-Th\xE9r\xE8se"},
                {"riviere-du-loup", "Riviere-du-Loup", "Rivi\xE8re-du-Loup"},
                {"sept-iles", "Sept-Iles", "Sept-\xCEles"},
                {"n. las vegas", "North Las Vegas"},
                {"e st louis", "East St Louis", "East Saint Louis"}});
}

// Only the start of a name is expanded, and only where the abbreviation is
// followed by its blank or hyphen.
TEST(CityNames, LeadingAbbreviations) {
  ExpectCities({{"st louis", "Saint Louis"}, {"st.-laurent", "Saint-Laurent"},
                {"ste. foy", "Sainte Foy"}, {"ste.-foy", "Sainte-Foy"}, {"MT VERNON", "Mount Vernon"},
                {"w. hartford", "West Hartford"},
                // A point starts no word; the accented copy reads it as a word's end.
                {"mt.vernon", "Mt.vernon", "Mount Vernon"}, {"n.vancouver", "N.vancouver", "North Vancouver"},
                {"sault ste. marie", "Sault Ste. Marie"},
                {"st. st. louis", "Saint St. Louis", "Saint Saint Louis"},
                {"stevens point", "Stevens Point"}, {"ft", "Ft", "Fort"}, {"n ", "North "}});
}

TEST(CityNames, WordFixes) {
  ExpectCities({{"coeur d'alene", "Coeur D'Alene", "Coeur d'Alene"}, {"o'fallon", "O'Fallon"},
                {"ile-d'orleans", "Ile-d'Orleans"}, {"isle of palms", "Isle of Palms"},
                {"mcmurray", "Mcmurray"},  // no blank before
                // Two "-De-": only the first is lower-cased.
                {"notre-dame-de-bon-secours-de-laval", "Notre-Dame-de-Bon-Secours-De-Laval"},
                // "-De-La-" first, then the next "-De-".
                {"notre-dame-de-la-salette-de-x", "Notre-Dame-de-la-Salette-de-X"},
                {"la salle", "La Salle"},  // " La " needs the blank before
                {"la la land", "La la Land"}, {"WINSTON-SALEM", "Winston-Salem"},
                // A fix whose first occurrence is at position 0 is not made.
                {"john's john's", "John'S John'S"}, {"x john's", "X John's"}});
}

// The accent table applied to whole names and their beginnings, and names that stay plain.
TEST(CityNames, Accents) {
  ExpectCities({{"montreal-n", "Montreal-N", "Montr\xE9" "al-N"},
                {"montr", "Montr"},  // a prefix filter text that is too short
                {"MONTR\xC9" "AL", "Montr\xE9" "al"},  // typed with its accent
                {"quebec city", "Quebec City", "Qu\xE9" "bec City"},
                {"trois-rivieres-ouest", "Trois-Rivieres-Ouest", "Trois-Rivi\xE8res-Ouest"},
                {"riviere du loup", "Riviere Du Loup", "Rivi\xE8re-du-Loup"},  // a blank for a hyphen
                {"saint jerome", "Saint Jerome", "Saint-J\xE9r\xF4me"},
                {"north montreal", "North Montreal"}});  // only the beginning counts
}

// Whole names of the data take their stored spelling from the generated
// table, whatever their capitals and accents; parts of them do not.
TEST(CityNames, StoredAccentedSpellings) {
  ExpectCities({{"san pedro de macoris", "San Pedro De Macoris", "San Pedro de Macor\xEDs"},
                {"SAN PEDRO DE MACOR\xCDS", "San Pedro De Macor\xEDs", "San Pedro de Macor\xEDs"},
                {"contrecoeur", "Contrecoeur", "Contrec\x9C" "ur"},  // a ligature
                {"san pedro de", "San Pedro De"}, {"san pedro de macoris x", "San Pedro De Macoris X"}});
  EXPECT_EQ(Accented("montreal"), "Montr\xE9" "al");
}

// An abbreviation or a point inside a name, typed in any of its forms, finds
// the stored spelling; so does another name of the place.
TEST(CityNames, SpellingsByKey) {
  ExpectCities({{"port st lucie", "Port St Lucie", "Port St. Lucie"},
                {"PORT SAINT LUCIE", "Port Saint Lucie", "Port St. Lucie"},
                {"port st. lucie", "Port St. Lucie"},
                {"sault sainte marie", "Sault Sainte Marie", "Sault Ste. Marie"},
                {"fort saint john", "Fort Saint John", "Fort St. John"},
                {"quebec", "Quebec", "Qu\xE9" "bec City"},
                {"e. st. louis", "East St. Louis", "East Saint Louis"}});
  for (const auto& [city, key] : std::vector<std::pair<std::string, std::string>>{
           {"Sault-Ste-Marie", "sault sainte marie"}, {"Sault-Ste.-Marie", "sault sainte marie"},
           {"st.louis", "saint louis"}, {"Mt. Pt. Ft", "mount point fort"},
           {"Montr\xE9" "al.", "montreal"}, {"Stevens Point", "stevens point"}, {"", ""},
           {"St.", "saint"}, {"O'Fallon", "ofallon"}, {"O\x92" "Fallon", "ofallon"},
           {"Wilkes Barre", "wilkes barre"}, {"Coeur d\x92" "Alene", "coeur dalene"},
           {"Clinton Twp", "clinton township"}}) {
    EXPECT_EQ(SpellingKey(city), key) << city;
  }
}

// A typographic or a missing apostrophe and a hyphen typed as a blank find
// the stored spelling; a beginning keeps its hyphen (a prefix search).
TEST(CityNames, ApostrophesAndHyphens) {
  ExpectCities({{"st john\x92s", "Saint John\x92s", "Saint John's"},
                {"st johns", "Saint Johns", "Saint John's"},  // both are tried
                {"wilkes barre", "Wilkes Barre", "Wilkes-Barre"},
                {"trois rivieres", "Trois Rivieres", "Trois-Rivi\xE8res"},
                {"coeur d\x92" "alene", "Coeur D\x92" "alene", "Coeur d'Alene"},
                {"ofallon", "Ofallon", "O'Fallon"}, {"montreal-n", "Montreal-N", "Montr\xE9" "al-N"}});
}

// The generated spellings table: each key is the lookup's own key of its
// name (or of the other name the row carries), and the keys do not descend,
// as the binary search needs (places of two states may share a key).
TEST(CityNames, SpellingsTableKeysAreTheLookupsOwn) {
  struct Row {
    std::string_view key, spelling, knownAs = {};
  };
  static constexpr Row kRows[] = {
#include "names/AccentedSpellings.inc"
  };
  int wrong = 0;
  for (const Row& row : kRows) {
    const std::string_view name = row.knownAs.empty() ? row.spelling : row.knownAs;
    if (SpellingKey(name) != row.key && ++wrong <= 5) {
      ADD_FAILURE() << "row \"" << row.key << "\" of " << name << " has the key " << SpellingKey(name);
    }
  }
  EXPECT_EQ(wrong, 0);
  const auto* unordered = std::adjacent_find(std::begin(kRows), std::end(kRows),
                                             [](const Row& a, const Row& b) { return a.key > b.key; });
  EXPECT_EQ(unordered, std::end(kRows)) << "the table is not sorted at \"" << unordered->key << "\"";
}

TEST(CityNames, ShortTextsAndOddBytes) {
  ExpectCities({{"", ""}, {"\xFF", "\x9F"},  // ÿ capitalises to Ÿ
                {"-a", "-A"}, {"'a", "'A"}, {"\xE9\xE9", "\xC9\xE9"}, {"MO", "Mo"},
                {std::string("st\0 louis", 9), std::string("St\0 Louis", 9)},
                {std::string("montreal\0", 9), std::string("Montreal\0", 9),
                 std::string("Montr\xE9" "al\0", 9)}});
}

}  // namespace
}  // namespace tq
