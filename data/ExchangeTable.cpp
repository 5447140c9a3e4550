#include "data/ExchangeTable.h"

#include <cstdio>

#include "data/DataFile.h"
#include "data/Text.h"

namespace tq {
namespace {

constexpr std::size_t kRecordSize = 13;  // "937222 00001\n"

// Cuts the next LF-ended line off `rest`; false when there is none.
bool NextLine(std::string_view& rest, std::string_view& line) {
  const std::size_t end = rest.find('\n');
  if (end == std::string_view::npos) return false;
  line = rest.substr(0, end);
  rest.remove_prefix(end + 1);
  return true;
}

// "places 12" gives 12; nothing unless the line is the word, a blank and
// 1 to 9 digits.
std::optional<std::size_t> CountLine(std::string_view line, std::string_view word) {
  if (!line.starts_with(word) || line.size() <= word.size() + 1 || line[word.size()] != ' ') {
    return std::nullopt;
  }
  line.remove_prefix(word.size() + 1);
  if (line.size() > 9) return std::nullopt;
  std::size_t count = 0;
  for (char c : line) {
    if (c < '0' || c > '9') return std::nullopt;
    count = count * 10 + static_cast<std::size_t>(c - '0');
  }
  return count;
}

bool AllDigits(std::string_view text) {
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace

std::string ExchangeTable::Open(const std::filesystem::path& folder) {
  *this = {};
  LoadOutcome outcome;
  std::optional<std::string> bytes = ReadDataFileOf(folder, kFileName, outcome);
  if (bytes && !Load(std::move(*bytes))) {
    outcome = DescribeLoad(FileProblem::kDamaged, kFileName, folder,
                           "it is not a whole file of the format TQEXC 1");
  }
  return outcome.text;
}

bool ExchangeTable::Load(std::string bytes) {
  *this = {};
  std::string_view rest = bytes;
  std::string_view line;
  if (!NextLine(rest, line) || line != "TQEXC 1" || !NextLine(rest, line)) return false;
  const std::optional<std::size_t> placeCount = CountLine(line, "places");
  if (!placeCount || *placeCount > 99999) return false;
  std::vector<PlaceLine> places;
  places.reserve(*placeCount);
  for (std::size_t i = 0; i < *placeCount; ++i) {
    const std::size_t at = bytes.size() - rest.size();
    if (!NextLine(rest, line)) return false;
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos || tab == 0) return false;
    places.push_back({at, at + tab, at + line.size()});
  }
  if (!NextLine(rest, line)) return false;
  const std::optional<std::size_t> count = CountLine(line, "exchanges");
  if (!count || rest.size() != *count * kRecordSize) return false;
  recordsAt_ = bytes.size() - rest.size();
  count_ = *count;
  places_ = std::move(places);
  bytes_ = std::move(bytes);
  return true;
}

std::optional<ExchangePlace> ExchangeTable::Find(std::int32_t areaCode,
                                                 std::int32_t exchange) const {
  if (areaCode < 0 || areaCode > 999 || exchange < 0 || exchange > 999) return std::nullopt;
  char key[8];
  std::snprintf(key, sizeof key, "%03d%03d", areaCode, exchange);
  const std::string_view wanted(key, 6);
  std::size_t low = 0, high = count_;
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    const std::string_view record(bytes_.data() + recordsAt_ + middle * kRecordSize, kRecordSize);
    const int order = record.substr(0, 6).compare(wanted);
    if (order < 0) {
      low = middle + 1;
    } else if (order > 0) {
      high = middle;
    } else {
      const std::string_view number = record.substr(7, 5);
      if (record[6] != ' ' || record[12] != '\n' || !AllDigits(number)) return std::nullopt;
      const std::size_t place = static_cast<std::size_t>(AtoI(number));
      if (place < 1 || place > places_.size()) return std::nullopt;
      const PlaceLine& line = places_[place - 1];
      const std::string_view bytes = bytes_;
      return ExchangePlace{Utf8ToCp1252(bytes.substr(line.at, line.tab - line.at)),
                           Utf8ToCp1252(bytes.substr(line.tab + 1, line.end - line.tab - 1))};
    }
  }
  return std::nullopt;
}

}  // namespace tq
