// City names: typed text to the capitals, written-out abbreviations and small
// connecting words of the data, and the accented copy that the city filter
// tries next to it.

#include "names/CityNames.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>

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
  std::string accented;  // the copy after AccentCityName
};

void PrintTo(const CityCase& c, std::ostream* os) { *os << "\"" << c.typed << "\""; }

class CityNameTest : public ::testing::TestWithParam<CityCase> {};

TEST_P(CityNameTest, NormalizesThenAccents) {
  const CityCase& c = GetParam();
  const std::string normalized = Normalized(c.typed);
  EXPECT_EQ(normalized, c.normalized) << "typed \"" << c.typed << "\"";
  EXPECT_EQ(Accented(normalized), c.accented) << "typed \"" << c.typed << "\"";
}

// The same text twice when the accent table has no row for it.
CityCase Plain(std::string typed, std::string normalized) {
  return {std::move(typed), normalized, normalized};
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, CityNameTest,
    ::testing::Values(Plain("ST. JOHN'S", "Saint John's"),
                      Plain("ft mcmurray", "Fort McMurray"),
                      Plain("niagara-on-the-lake", "Niagara-on-the-Lake"),
                      Plain("portage la prairie", "Portage la Prairie"),
                      CityCase{"montreal", "Montreal", "Montr\xE9" "al"},
                      CityCase{"st-jerome", "Saint-Jerome", "Saint-J\xE9r\xF4me"},
                      CityCase{"ste-therese", "Sainte-Therese", "Sainte-Th\xE9r\xE8se"},
                      CityCase{"riviere-du-loup", "Riviere-du-Loup", "Rivi\xE8re-du-Loup"},
                      CityCase{"sept-iles", "Sept-Iles", "Sept-\xCEles"},
                      Plain("n. las vegas", "North Las Vegas"),
                      Plain("e st louis", "East St Louis")));

INSTANTIATE_TEST_SUITE_P(
    LeadingAbbreviations, CityNameTest,
    ::testing::Values(Plain("mt. vernon", "Mount Vernon"), Plain("MT VERNON", "Mount Vernon"),
                      Plain("Mt Vernon", "Mount Vernon"), Plain("mt.vernon", "Mt.vernon"),
                      Plain("ste. foy", "Sainte Foy"), Plain("ste-foy", "Sainte-Foy"),
                      Plain("ste.-foy", "Sainte-Foy"), Plain("ste foy", "Sainte Foy"),
                      Plain("st louis", "Saint Louis"), Plain("st.-laurent", "Saint-Laurent"),
                      Plain("st.louis", "St.louis"),  // a point does not start a word
                      Plain("ft. worth", "Fort Worth"), Plain("pt pleasant", "Point Pleasant"),
                      Plain("pt. pleasant", "Point Pleasant"),
                      Plain("n vancouver", "North Vancouver"),
                      Plain("n.vancouver", "N.vancouver"),
                      Plain("s. boston", "South Boston"), Plain("w palm beach", "West Palm Beach"),
                      Plain("e. orange", "East Orange"),
                      Plain("sault ste. marie", "Sault Ste. Marie"),  // only the start
                      Plain("st. st. louis", "Saint St. Louis"),
                      Plain("stevens point", "Stevens Point"), Plain("ft", "Ft"),
                      Plain("newark", "Newark")));

INSTANTIATE_TEST_SUITE_P(
    WordFixes, CityNameTest,
    ::testing::Values(Plain("coeur d'alene", "Coeur D'Alene"),
                      Plain("o'fallon", "O'Fallon"),
                      Plain("saint-jean-sur-richelieu", "Saint-Jean-sur-Richelieu"),
                      Plain("ile-d'orleans", "Ile-d'Orleans"),
                      Plain("pointe-du-lac", "Pointe-du-Lac"),
                      Plain("isle of palms", "Isle of Palms"),
                      Plain("st george's", "Saint George's"),
                      Plain("fort mcmurray", "Fort McMurray"),
                      Plain("mcmurray", "Mcmurray"),  // no blank before it
                      // Two "-De-": only the first is lower-cased.
                      Plain("notre-dame-de-bon-secours-de-laval",
                            "Notre-Dame-de-Bon-Secours-De-Laval"),
                      // "-De-La-" first, then the next "-De-".
                      Plain("notre-dame-de-la-salette-de-x", "Notre-Dame-de-la-Salette-de-X"),
                      Plain("la salle", "La Salle"),          // " La " needs the blank before
                      Plain("la la land", "La la Land"),
                      Plain("portage la la prairie", "Portage la La Prairie"),
                      Plain("winston-salem", "Winston-Salem"),
                      Plain("new  york", "New  York"),        // both blanks stay
                      Plain("WINSTON-SALEM", "Winston-Salem")));

INSTANTIATE_TEST_SUITE_P(
    AtTheVeryStart, CityNameTest,
    ::testing::Values(Plain("john's", "John'S"),  // an occurrence at position 0 stays
                      Plain("JOHN'S POND", "John'S Pond"),
                      Plain("john's john's", "John'S John'S"),  // only the first one counts
                      Plain("george's", "George'S"),
                      Plain("-de-la-x", "-De-La-X"),
                      Plain(" la x", " La X"),
                      Plain("x john's", "X John's")));

INSTANTIATE_TEST_SUITE_P(
    Accents, CityNameTest,
    ::testing::Values(
        CityCase{"MONTREAL", "Montreal", "Montr\xE9" "al"},
        CityCase{"montreal-nord", "Montreal-Nord", "Montr\xE9" "al-Nord"},
        CityCase{"montreal-n", "Montreal-N", "Montr\xE9" "al-N"},
        Plain("montr", "Montr"),  // a prefix filter text that is too short
        Plain("montr\xE9" "al", "Montr\xE9" "al"),      // typed with its accent
        Plain("MONTR\xC9" "AL", "Montr\xE9" "al"),      // typed capital É
        Plain("L\xC9VIS", "L\xE9vis"),
        Plain("SAINT-J\xC9R\xD4ME", "Saint-J\xE9r\xF4me"),
        CityCase{"quebec", "Quebec", "Qu\xE9" "bec"},
        CityCase{"quebec city", "Quebec City", "Qu\xE9" "bec City"},
        CityCase{"agana heights", "Agana Heights", "Aga\xF1" "a Heights"},
        CityCase{"becancour", "Becancour", "B\xE9" "cancour"},
        CityCase{"chateauguay", "Chateauguay", "Ch\xE2teauguay"},
        CityCase{"gaspe", "Gaspe", "Gasp\xE9"},
        CityCase{"grand-mere", "Grand-Mere", "Grand-M\xE8re"},
        CityCase{"jonquiere", "Jonquiere", "Jonqui\xE8re"},
        CityCase{"levis", "Levis", "L\xE9vis"},
        CityCase{"saint-jerome", "Saint-Jerome", "Saint-J\xE9r\xF4me"},
        CityCase{"st-leonard", "Saint-Leonard", "Saint-L\xE9onard"},
        CityCase{"sainte-therese-de-blainville", "Sainte-Therese-de-Blainville",
                 "Sainte-Th\xE9r\xE8se-de-Blainville"},
        CityCase{"trois-rivieres", "Trois-Rivieres", "Trois-Rivi\xE8res"},
        CityCase{"trois-rivieres-ouest", "Trois-Rivieres-Ouest", "Trois-Rivi\xE8res-Ouest"},
        Plain("riviere du loup", "Riviere Du Loup"),  // the data's form has hyphens
        Plain("saint jerome", "Saint Jerome"),
        Plain("ste therese", "Sainte Therese"),
        Plain("north montreal", "North Montreal"),  // only the beginning counts
        CityCase{"st-jerome-de-x", "Saint-Jerome-de-X", "Saint-J\xE9r\xF4me-de-X"}));

INSTANTIATE_TEST_SUITE_P(
    ShortTexts, CityNameTest,
    ::testing::Values(Plain("", ""), Plain("a", "A"), Plain("A", "A"), Plain("\xE9", "\xC9"),
                      Plain("\xFF", "\x9F"),  // ÿ capitalises to Ÿ
                      Plain("n", "N"), Plain("e", "E"), Plain("-", "-"), Plain(" ", " "),
                      Plain("'", "'"), Plain(".", "."), Plain("1", "1"),
                      Plain("ab", "Ab"), Plain("n ", "North "), Plain("s ", "South "),
                      Plain("n.", "N."), Plain("st", "St"), Plain("mt", "Mt"),
                      Plain("  ", "  "), Plain(" a", " A"), Plain("-a", "-A"),
                      Plain("'a", "'A"), Plain("a-", "A-"), Plain("--", "--"),
                      Plain("\xE9\xE9", "\xC9\xE9"), Plain("MO", "Mo")));

INSTANTIATE_TEST_SUITE_P(
    OddBytes, CityNameTest,
    ::testing::Values(Plain(std::string("\0", 1), std::string("\0", 1)),
                      Plain(std::string("st\0 louis", 9), std::string("St\0 Louis", 9)),
                      Plain(std::string("n \0", 3), std::string("North \0", 7)),
                      Plain(std::string("a\0b", 3), std::string("A\0b", 3)),
                      Plain("a\xFF" "b", "A\xFF" "b"), Plain(" \xFF", " \x9F"),
                      Plain("\xFF\xFF", "\x9F\xFF"), Plain("x-\xFF-y", "X-\x9F-Y"),
                      CityCase{std::string("montreal\0", 9), std::string("Montreal\0", 9),
                               std::string("Montr\xE9" "al\0", 9)}));

TEST(CityNames, EmptyTextStaysEmptyThroughBoth) {
  std::string text;
  NormalizeCityName(text);
  EXPECT_EQ(text, "");
  AccentCityName(text);
  EXPECT_EQ(text, "");
}

// The accent rows compare case-sensitively, so a name must have the capitals
// that normalisation gives before it is accented.
TEST(CityNames, AccentsNeedTheNormalizedCapitals) {
  EXPECT_EQ(Accented("montreal"), "montreal");
  EXPECT_EQ(Accented("MONTREAL"), "MONTREAL");
  EXPECT_EQ(Accented("Riviere-Du-Loup"), "Riviere-Du-Loup");
  EXPECT_EQ(Accented("Montreal"), "Montr\xE9" "al");
}

TEST(CityNames, NormalizingTwiceChangesNothingMore) {
  for (const char* typed : {"ST. JOHN'S", "ft mcmurray", "niagara-on-the-lake", "e st louis",
                            "saint-jean-sur-richelieu", "notre-dame-de-la-salette-de-x",
                            "portage la prairie", "riviere-du-loup"}) {
    const std::string once = Normalized(typed);
    EXPECT_EQ(Normalized(once), once) << typed;
  }
}

TEST(CityNames, EveryByteInEveryPlaceIsSafe) {
  // "a a" with each byte at each place. Nothing may crash, and the length
  // changes only when a one-letter direction before the blank is written out.
  for (int c = 0; c < 256; ++c) {
    for (int place = 0; place < 3; ++place) {
      std::string text = "a a";
      text[place] = static_cast<char>(c);
      std::string normalized = text;
      NormalizeCityName(normalized);
      std::size_t expectedSize = 3;
      if (place == 0) {
        switch (c) {
          case 'n': case 'N': case 's': case 'S': expectedSize = 7; break;
          case 'w': case 'W': case 'e': case 'E': expectedSize = 6; break;
          default: break;
        }
      }
      EXPECT_EQ(normalized.size(), expectedSize) << "byte " << c << " at " << place;
      std::string accented = normalized;
      AccentCityName(accented);
      EXPECT_EQ(accented, normalized) << "byte " << c << " at " << place;
    }
  }
}

}  // namespace
}  // namespace tq
