#include "desktop/DesktopSearch.h"

#include <algorithm>
#include <vector>
#include <utility>

#include "base/Text.h"
#include "desktop/DesktopText.h"

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
  if (answer->outcome == AnswerOutcome::kFound || answer->outcome == AnswerOutcome::kPlanned) {
    const std::string line = ResultLine(*answer, utcSeconds);
    if (line.empty()) return {};
    return {{std::string(query), Cp1252ToDisplayUtf8(line)}};
  }
  if (answer->outcome != AnswerOutcome::kChoices) return {};
  // The choices come the most populous first; each result searches its very
  // place, by the text that finds it and no other.
  std::vector<DesktopResult> results;
  for (const CityChoice& choice : answer->choices) {
    if (results.size() == kMaxResults) break;
    const std::string place = flow_.QueryOfPlace(choice.cityId);
    if (place.empty()) continue;
    const std::shared_ptr<const Answer> one = flow_.Search(place);
    const std::string line =
        one->outcome == AnswerOutcome::kFound ? ResultLine(*one, utcSeconds) : "";
    if (!line.empty()) results.push_back({Cp1252ToUtf8(place), Cp1252ToDisplayUtf8(line)});
  }
  return results;
}

}  // namespace tq
