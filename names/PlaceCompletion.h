#pragma once
// Suggestions while a place is typed: every place of the city records as
// "City, ST" (code page 1252), found by the beginning of its name, of
// "City, ST" or of "City, State name", without regard to case or accents
// ("montr" finds "Montréal, QC", "springfield, ill" finds "Springfield, IL").
// The most populous come first. Texts that start like an area code or a
// number find nothing.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/TextColumn.h"

namespace tq {

class PlaceCompletion {
 public:
  static constexpr std::size_t kDefaultLimit = 8;

  // From the columns of the city records, row by row (names, state or
  // province codes, populations). A place listed twice is offered once, with
  // its larger population; names holding control characters are left out.
  void Build(const TextColumn& cities, const TextColumn& states,
             const std::vector<std::uint32_t>& populations);

  // Up to `limit` places for the text typed so far: most populous first,
  // equal populations in alphabetical order. Nothing for a text without a
  // letter before its first comma.
  std::vector<std::string> Suggest(std::string_view typed,
                                   std::size_t limit = kDefaultLimit) const;

  std::size_t PlaceCount() const { return places_.size(); }

 private:
  struct Place {
    std::string text;  // "Dayton, OH"
    std::uint32_t population;
  };
  struct Key {
    std::string folded;  // "dayton, oh" or "dayton, ohio"
    std::uint32_t place;
  };
  std::vector<Place> places_;
  std::vector<Key> keys_;  // sorted by folded text
};

// What is typed and what is looked for, brought to one form: lower case
// without accents, single spaces, none at either end, and ", " after a comma.
std::string FoldForCompletion(std::string_view text);

}  // namespace tq
