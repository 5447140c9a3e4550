#include "data/ExchangeTable.h"

#include <algorithm>

#include "base/Text.h"
#include "data/Manifest.h"

namespace tq {
namespace {

constexpr std::size_t kRecordSize = 13;  // "937222 00001\n"

// "937222 00001" gives the key 937222 and the place 1.
bool ParseRecord(std::string_view line, std::uint32_t& key, std::uint32_t& place) {
  if (line.size() != kRecordSize - 1 || line[6] != ' ') return false;
  const std::int32_t keyValue = DigitsValue(line.substr(0, 6));
  const std::int32_t placeValue = DigitsValue(line.substr(7));
  key = static_cast<std::uint32_t>(keyValue);
  place = static_cast<std::uint32_t>(placeValue);
  return keyValue >= 0 && placeValue >= 0;
}

struct Candidate {
  std::uint32_t key, place;
  std::size_t line;
};

}  // namespace

LoadOutcome ExchangeTable::Open(const std::filesystem::path& folder) {
  *this = {};
  LoadOutcome outcome;
  std::optional<std::string> bytes = ReadDataFileOf(folder, kFileName, outcome);
  if (bytes) {
    const std::string damage = Load(*bytes);
    outcome = DescribeLoad(FileProblem::kDamaged, kFileName, folder,
                           DamageWithManifest(folder, kFileName, *bytes, Count(), damage));
  }
  // What could be read of a damaged table still answers.
  if (outcome.problem != FileProblem::kNone && IsEmpty()) {
    outcome.text += " Numbers are answered without their exchange.";
  }
  outcome_ = outcome;
  return outcome;
}

std::string ExchangeTable::Load(std::string bytes) {
  *this = {};
  DamageReport damage;
  const std::string_view all = bytes;
  std::string_view rest = SkipByteOrderMark(all, damage);
  std::string_view line;
  if (!NextLfLine(rest, line) || (line != "TQEXC 1" && line != "TQEXC 2")) {
    return "it is not a file of the format TQEXC 1 or 2";
  }
  const bool version2 = line == "TQEXC 2";
  const std::optional<std::int64_t> placeCount =
      NextLfLine(rest, line) ? CountLine(line, "places", 99999) : std::nullopt;
  if (!placeCount) return "its second line is not a count of places";
  std::vector<PlaceLine> places;
  places.reserve(static_cast<std::size_t>(*placeCount));
  std::size_t lineNumber = 2;
  for (std::int64_t i = 0; i < *placeCount; ++i) {
    const std::size_t at = all.size() - rest.size();
    ++lineNumber;
    if (!NextLfLine(rest, line)) return "it ends inside its list of places";
    // Version 2 may add a third field, "area": the city the code is known by.
    const std::size_t tab = line.find('\t');
    const std::size_t second = tab == std::string_view::npos ? tab : line.find('\t', tab + 1);
    const std::size_t stateEnd = second == std::string_view::npos ? line.size() : second;
    const bool area = second != std::string_view::npos;
    if (tab == std::string_view::npos || tab == 0 || tab + 1 == stateEnd ||
        (area && (!version2 || line.substr(second + 1) != "area")) || HasControlBytes(line, true)) {
      damage.Damaged(lineNumber, version2 ? "a place line that is not a name, a tab, a state and "
                                            "perhaps a tab and \"area\""
                                          : "a place line that is not a name, a tab and a state");
      places.push_back({at, 0, at, false});
    } else {
      places.push_back({at, at + tab, at + stateEnd, area});
    }
  }
  ++lineNumber;
  const std::optional<std::int64_t> count =
      NextLfLine(rest, line) ? CountLine(line, "exchanges", 999999999) : std::nullopt;
  if (!count) {
    return "line " + std::to_string(lineNumber) + " is not the count of exchanges after " +
           std::to_string(*placeCount) + " places";
  }

  // Each record is read as a line of its own, so a lost or added byte costs
  // only its record. A record is used when it lies strictly between its
  // neighbours and after the last record used: one changed key then costs
  // at most itself and a neighbour, and never makes others unreachable.
  std::vector<Candidate> candidates;
  candidates.reserve(std::min(static_cast<std::size_t>(*count), rest.size() / kRecordSize + 1));
  std::size_t recordLines = 0;
  while (!rest.empty()) {
    ++lineNumber;
    ++recordLines;
    const bool ended = NextLfLine(rest, line);
    if (!ended) {
      line = rest;
      rest = {};
    }
    std::uint32_t key = 0, place = 0;
    if (!ended || !ParseRecord(line, key, place)) {
      damage.Damaged(lineNumber, "an exchange record that is not six digits, a blank and five");
    } else if (place < 1 || place > places.size() || places[place - 1].tab == 0) {
      damage.Damaged(lineNumber, "a place number that names no usable place");
    } else {
      candidates.push_back({key, place, lineNumber});
    }
  }
  if (recordLines != static_cast<std::size_t>(*count)) {
    damage.Note("it holds " + std::to_string(recordLines) + " exchange records where its header says " +
                std::to_string(*count));
  }
  std::vector<Record> records;
  records.reserve(candidates.size());
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    const Candidate& here = candidates[i];
    if (!records.empty() && here.key == records.back().key) {
      damage.Repeated(here.line, "exchange");
    } else if ((i > 0 && candidates[i - 1].key > here.key) ||
               (i + 1 < candidates.size() && here.key > candidates[i + 1].key) ||
               (!records.empty() && here.key < records.back().key)) {
      damage.Damaged(here.line, "an exchange out of order");
    } else {
      records.push_back({here.key, here.place});
    }
  }
  places_ = std::move(places);
  records_ = std::move(records);
  bytes_ = std::move(bytes);
  return damage.Text(records_.size());
}

std::optional<ExchangePlace> ExchangeTable::Find(std::int32_t areaCode,
                                                 std::int32_t exchange) const {
  if (areaCode < 0 || areaCode > 999 || exchange < 0 || exchange > 999) return std::nullopt;
  const auto key = static_cast<std::uint32_t>(areaCode * 1000 + exchange);
  const auto found = std::lower_bound(records_.begin(), records_.end(), key,
                                      [](const Record& r, std::uint32_t k) { return r.key < k; });
  if (found == records_.end() || found->key != key) return std::nullopt;
  const PlaceLine& line = places_[found->place - 1];
  const std::string_view bytes = bytes_;
  return ExchangePlace{Utf8ToCp1252(bytes.substr(line.at, line.tab - line.at)),
                       Utf8ToCp1252(bytes.substr(line.tab + 1, line.end - line.tab - 1)),
                       line.area};
}

}  // namespace tq
