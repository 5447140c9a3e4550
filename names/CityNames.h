#pragma once
// Brings a typed city name into the spelling of the data: capitals, leading
// abbreviations written out, small connecting words in lower case, and for a
// few French and Spanish names the accented variant.

#include <string>

namespace tq {

// "ST. JOHN'S" -> "Saint John's", "niagara-on-the-lake" -> "Niagara-on-the-Lake".
void NormalizeCityName(std::string& city);
// "Montreal-Nord" -> "Montréal-Nord" by the hand-written beginnings, then a
// whole name of the data to its stored spelling ("Contrecoeur" ->
// "Contrecœur"); other names stay as they are.
void AccentCityName(std::string& city);

}  // namespace tq
