#pragma once
// Where the largest city of a result is marked on the map: a fixed table of
// known cities by state display form ("Ohio (OH)") and name, in client pixels.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tq {

struct CitySymbolPosition {
  std::string_view city;
  std::string_view stateDisplayForm;
  int x;
  int y;
};

// The whole table in lookup order.
std::span<const CitySymbolPosition> CitySymbolTable();

// 1 and the position when the pair is in the table (exact, case-sensitive),
// else 0 with x and y set to 0.
int FindCitySymbol(const std::string& city, const std::string& stateDisplayForm, int& x, int& y);

struct SymbolPosition {
  int x, y;
};

// The symbol of a painting, if one is to be drawn: not while the window
// initialises, not without a found state, and only for a largest place (its
// name and its state's code, "" for none) that the table holds under its
// own state.
std::optional<SymbolPosition> CitySymbolToDraw(bool initializing, const std::string& foundState,
                                               const std::string& largestCity,
                                               const std::string& largestCityState);

}  // namespace tq
