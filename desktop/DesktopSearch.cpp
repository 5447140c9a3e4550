#include "desktop/DesktopSearch.h"

#include <algorithm>
#include <vector>
#include <utility>

#include "base/Text.h"
#include "lookup/AnswerText.h"
#include "names/PlaceCompletion.h"
#include "names/StateNames.h"

namespace tq {

DesktopSearch::DesktopSearch(std::filesystem::path dataFolder)
    : flow_(std::move(dataFolder), chooser_) {}

void DesktopSearch::OpenOnce() {
  if (opened_) return;
  flow_.OpenData();
  opened_ = true;
}

std::vector<DesktopResult> DesktopSearch::Search(const std::vector<std::string>& terms,
                                                 std::int64_t utcSeconds) {
  std::string query;
  for (const std::string& term : terms) {
    if (query.size() > kMaxQueryBytes) break;
    if (!query.empty()) query += ' ';
    query += term;
  }
  return SearchQuery(query, utcSeconds);
}

namespace {

// "dayton oh" of "Dayton, OH": the words of a text, folded as typed on a
// plain keyboard, without its commas.
std::string Words(std::string_view text) {
  std::string plain = FoldForCompletion(text);
  std::string words;
  for (const char c : plain) {
    if (c == ',') continue;
    if (c == ' ' && (words.empty() || words.back() == ' ')) continue;
    words += c;
  }
  while (!words.empty() && words.back() == ' ') words.pop_back();
  return words;
}

// Whether the words typed (code page 1252) ask for the place `city` in
// `state` of `population` people strongly enough for the desktop search:
// anything with a digit (a number, an area code, a ZIP or postal code) or a
// comma (a place and its state); else the place's name and its state (its
// code or its name); else its name alone, of four letters at least, for a
// place of more than 10,000 people. Everyday words ("calc", "monitor",
// "fire") find a place only by the beginning of its name, or a small one.
bool AsksFor(std::string_view typed, const std::string& city, const std::string& state,
             std::int64_t population) {
  constexpr std::int64_t kTownPopulation = 10000;
  constexpr std::size_t kLeastLetters = 4;
  if (std::any_of(typed.begin(), typed.end(), [](char c) { return (c >= '0' && c <= '9') || c == ','; })) {
    return true;
  }
  const std::string words = Words(typed);
  const std::string name = Words(city);
  if (words == name + " " + Words(state) || words == name + " " + Words(StateAbbrevToName(state))) {
    return true;
  }
  const auto letters = static_cast<std::size_t>(
      std::count_if(words.begin(), words.end(), [](char c) { return c != ' '; }));
  return words == name && letters >= kLeastLetters && population > kTownPopulation;
}

DesktopResult ResultOf(std::string query, const Answer& answer, std::int64_t utcSeconds) {
  const AnswerBrief brief = BriefOf(answer, utcSeconds);
  if (brief.place.empty()) return {};
  // A state's many codes are counted, not listed (", CA": 41 area codes).
  constexpr std::size_t kCodesListed = 6;
  const std::size_t codes = answer.areaCodes.entries.size();
  const std::string codesText =
      codes > kCodesListed ? std::to_string(codes) + " area codes" : brief.codes;
  return {std::move(query), Cp1252ToDisplayUtf8(brief.place),
          Cp1252ToDisplayUtf8(JoinedNonEmpty({codesText, brief.time, brief.verdict}, " \xB7 "))};
}

}  // namespace

std::vector<DesktopResult> DesktopSearch::SearchQuery(std::string_view query,
                                                      std::int64_t utcSeconds) {
  while (!query.empty() && query.front() == ' ') query.remove_prefix(1);
  while (!query.empty() && query.back() == ' ') query.remove_suffix(1);
  if (query.size() < 2 || query.size() > kMaxQueryBytes ||
      std::any_of(query.begin(), query.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; })) {
    return {};
  }
  const std::string typed = Utf8ToCp1252(query);
  if (typed.find('?') != std::string::npos) return {};  // not a text of the data's letters
  OpenOnce();
  const std::shared_ptr<const Answer> answer = flow_.Search(typed);
  if (answer->outcome == AnswerOutcome::kPlanned) {
    return {ResultOf(std::string(query), *answer, utcSeconds)};
  }
  if (answer->outcome == AnswerOutcome::kFound) {
    const std::vector<TimePlace>& clocks = answer->times.clockPlaces;
    std::string city, state;
    std::int64_t population = 0;
    if (answer->times.searchedPlace && !clocks.empty()) {
      const std::string& name = clocks.front().name;  // "Dayton, OH"
      city = name.substr(0, name.rfind(", "));
      state = name.substr(std::min(name.size(), name.rfind(", ") + 2));
      population = clocks.front().population;
    } else if (answer->largestPlace) {
      city = answer->largestPlace->name;
      state = answer->largestPlace->state;
      population = answer->largestPlace->population;
    }
    if (!AsksFor(typed, city, state, population)) return {};
    DesktopResult result = ResultOf(std::string(query), *answer, utcSeconds);
    if (result.title.empty()) return {};
    return {result};
  }
  if (answer->outcome != AnswerOutcome::kChoices) return {};
  // The choices come the most populous first; each result searches its very
  // place, by the text that finds it and no other.
  std::vector<DesktopResult> results;
  for (const CityChoice& choice : answer->choices) {
    if (results.size() == kMaxResults) break;
    if (!AsksFor(typed, choice.city, choice.state, choice.population)) continue;
    const std::string place = flow_.QueryOfPlace(choice.cityId);
    if (place.empty()) continue;
    const std::shared_ptr<const Answer> one = flow_.Search(place);
    if (one->outcome != AnswerOutcome::kFound) continue;
    DesktopResult result = ResultOf(Cp1252ToUtf8(place), *one, utcSeconds);
    if (!result.title.empty()) results.push_back(std::move(result));
  }
  return results;
}

}  // namespace tq
