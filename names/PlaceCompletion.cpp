#include "names/PlaceCompletion.h"

#include <algorithm>
#include <map>
#include <utility>

#include "base/Text.h"
#include "names/StateNames.h"

namespace tq {

std::string FoldForCompletion(std::string_view text) {
  const std::string plain = PlainLowered(text);
  std::string folded;
  folded.reserve(plain.size() + 2);
  bool space = false;
  for (const char c : plain) {
    if (c == ' ') {
      space = !folded.empty();
      continue;
    }
    if (c == ',') {
      folded += ',';
      space = true;
      continue;
    }
    if (space) folded += ' ';
    space = false;
    folded += c;
  }
  // A trailing comma keeps its space: "dayton," reads as "dayton, ".
  if (space && !folded.empty() && folded.back() == ',') folded += ' ';
  return folded;
}

void PlaceCompletion::Build(const TextColumn& cities, const TextColumn& states,
                            const std::vector<std::uint32_t>& populations) {
  places_.clear();
  keys_.clear();
  const std::size_t rows = std::min({cities.size(), states.size(), populations.size()});
  std::map<std::string, std::uint32_t> largest;  // "City, ST" -> population
  for (std::size_t row = 0; row < rows; ++row) {
    const std::string_view city = cities[row];
    if (city.empty() || states[row].empty() ||
        std::any_of(city.begin(), city.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; })) {
      continue;
    }
    auto [at, added] =
        largest.try_emplace(std::string(city).append(", ").append(states[row]), populations[row]);
    if (!added) at->second = std::max(at->second, populations[row]);
  }
  places_.reserve(largest.size());
  keys_.reserve(largest.size() * 2);
  for (auto& [text, population] : largest) {
    const auto place = static_cast<std::uint32_t>(places_.size());
    const std::size_t comma = text.rfind(", ");
    const std::string city = FoldForCompletion(std::string_view(text).substr(0, comma));
    const std::string code = text.substr(comma + 2);
    keys_.push_back({city + ", " + FoldForCompletion(code), place});
    const std::string name = StateAbbrevToName(code);
    if (name != code) keys_.push_back({city + ", " + FoldForCompletion(name), place});
    places_.push_back({text, population});
  }
  std::sort(keys_.begin(), keys_.end(),
            [](const Key& a, const Key& b) { return a.folded < b.folded; });
}

std::vector<std::string> PlaceCompletion::Suggest(std::string_view typed,
                                                  std::size_t limit) const {
  const std::string prefix = FoldForCompletion(typed);
  const std::string_view name = std::string_view(prefix).substr(0, prefix.find(','));
  const bool hasLetter = std::any_of(name.begin(), name.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || static_cast<unsigned char>(c) >= 0x80;
  });
  if (!hasLetter || limit == 0) return {};
  auto at = std::lower_bound(keys_.begin(), keys_.end(), prefix,
                             [](const Key& key, const std::string& p) { return key.folded < p; });
  std::vector<std::uint32_t> found;
  for (; at != keys_.end() && at->folded.starts_with(prefix); ++at) found.push_back(at->place);
  std::sort(found.begin(), found.end());
  found.erase(std::unique(found.begin(), found.end()), found.end());
  // Place numbers follow the (byte) order of the texts.
  auto first = [this](std::uint32_t a, std::uint32_t b) {
    return places_[a].population != places_[b].population
               ? places_[a].population > places_[b].population
               : a < b;
  };
  const std::size_t kept = std::min(limit, found.size());
  std::partial_sort(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(kept), found.end(),
                    first);
  std::vector<std::string> suggestions;
  suggestions.reserve(kept);
  for (std::size_t i = 0; i < kept; ++i) suggestions.push_back(places_[found[i]].text);
  return suggestions;
}

}  // namespace tq
