#pragma once
// The answers of the desktop search (GNOME Shell's overview, KRunner): a text
// typed there becomes at most three results from the very search of the
// window, each the place as its title and its area codes, local time and
// verdict as its description. Only text that asks for a place answers: a
// number, an area code, a ZIP or postal code, a place with its state, or
// the whole name of a place of more than 10,000 people (four letters at
// least), so that everyday words typed to start a program find nothing. An
// area code, a number or a place that is found gives its one answer (a code
// announced but not in service yet, its first day); a city name that
// several places share gives the most populous of them. Each result carries
// the text that the window searches to show that very place ("Springfield,
// Pennsylvania (610/484)" where the name alone would find others). Texts in
// and out are UTF-8.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "lookup/SearchFlow.h"

namespace tq {

struct DesktopResult {
  std::string query;        // what the window searches on activation: "937", "Springfield, Missouri"
  std::string title;        // the place: "Dayton, OH"
  std::string description;  // its codes, local time and verdict: "937 · 3:42 PM Eastern · can call now"
  bool operator==(const DesktopResult&) const = default;
};

class DesktopSearch {
 public:
  static constexpr std::size_t kMaxResults = 3;
  // Longer texts, and texts shorter than two characters, find nothing.
  static constexpr std::size_t kMaxQueryBytes = 100;

  // The data files are read from `dataFolder` (or the current directory) by
  // the first search.
  explicit DesktopSearch(std::filesystem::path dataFolder = {});

  // The results for the words typed, at the instant `utcSeconds`. Nothing for
  // a text that is empty, too short or too long, holds a control character,
  // or finds nothing.
  std::vector<DesktopResult> Search(const std::vector<std::string>& terms,
                                    std::int64_t utcSeconds);
  // The result of one query of an earlier result; nothing when it no longer
  // finds a place.
  std::vector<DesktopResult> SearchQuery(std::string_view query, std::int64_t utcSeconds);

  // Reads the data files now rather than at the first search.
  void Open() { OpenOnce(); }

  // What went wrong reading the data (code page 1252), after a search.
  const std::vector<LoadOutcome>& DataProblems() const { return flow_.DataProblems(); }

 private:
  class NobodyToAsk : public CityChooser {
   public:
    CityChoiceReply ChooseCity(const std::vector<CityChoice>&) override {
      return {CityChoiceReply::Kind::kUnanswered, {}};
    }
  };

  void OpenOnce();

  NobodyToAsk chooser_;
  SearchFlow flow_;
  bool opened_ = false;
};

}  // namespace tq
