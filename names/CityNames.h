#pragma once
// Brings a typed city name into the spelling of the data: capitals, leading
// abbreviations written out, small connecting words in lower case, and for a
// few French and Spanish names the accented variant.

#include <string>
#include <string_view>
#include <vector>

namespace tq {

// "ST. JOHN'S" -> "Saint John's", "niagara-on-the-lake" -> "Niagara-on-the-Lake".
void NormalizeCityName(std::string& city);
// "Montreal-Nord" -> "Montréal-Nord" by the hand-written beginnings, then a
// whole name of the data to its stored spelling by its spelling key
// ("Contrecoeur" -> "Contrecœur", "Port St Lucie" -> "Port St. Lucie",
// "Quebec" -> "Québec City"); a name with an abbreviation inside it is
// written out ("East St. Louis" -> "East Saint Louis"); other names stay as
// they are.
void AccentCityName(std::string& city);
// The other stored spellings of the city's spelling key, beside the one
// AccentCityName gives: places of two states may share a key ("Saint-
// Georges", QC, and "Saint George's", NL), and the key finds each.
std::vector<std::string> OtherSpellings(std::string_view city);
// Lower case without accents, points dropped (a point inside a word ends
// it), apostrophes (' and the typographic one) dropped, hyphens read as
// blanks, and the words ft, mt, pt, st, ste and twp written out wherever they
// stand: "Port St. Lucie" -> "port saint lucie", "Sault-Ste.-Marie" ->
// "sault sainte marie", "O'Fallon" -> "ofallon".
std::string SpellingKey(std::string_view city);

}  // namespace tq
