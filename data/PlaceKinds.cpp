#include "data/PlaceKinds.h"

#include <algorithm>
#include <array>

#include "base/Text.h"
#include "data/Manifest.h"
#include "data/TextRecords.h"
#include "names/StateNames.h"

namespace tq {
namespace {

struct KindRow {
  PlaceKind kind;
  std::string_view word;
  int rank;
  bool mayBeLargest;
};

// The kinds of knd.bin, as docs/data-format.md tables them.
constexpr std::array<KindRow, 7> kKinds = {{
    {PlaceKind::kCity, "city", 0, true},
    {PlaceKind::kTown, "town", 1, true},
    {PlaceKind::kTownship, "township", 1, false},
    {PlaceKind::kCdp, "cdp", 2, true},
    {PlaceKind::kCentre, "centre", 2, true},
    {PlaceKind::kCommunity, "community", 3, false},
    {PlaceKind::kRegion, "region", 4, false},
}};

const KindRow* RowOf(PlaceKind kind) {
  for (const KindRow& row : kKinds) {
    if (row.kind == kind) return &row;
  }
  return nullptr;
}

}  // namespace

std::optional<PlaceKind> PlaceKindOfWord(std::string_view word) {
  for (const KindRow& row : kKinds) {
    if (row.word == word) return row.kind;
  }
  return std::nullopt;
}

std::string_view PlaceKindWord(PlaceKind kind) {
  const KindRow* row = RowOf(kind);
  return row ? row->word : std::string_view();
}

int NamesakeRank(PlaceKind kind) {
  const KindRow* row = RowOf(kind);
  return row ? row->rank : 0;
}

bool MayBeLargestCity(PlaceKind kind) {
  const KindRow* row = RowOf(kind);
  return row ? row->mayBeLargest : true;
}

LoadOutcome PlaceKinds::Read(const std::filesystem::path& folder, const CCitySet& cities) {
  *this = {};
  LoadOutcome outcome;
  const std::optional<std::string> bytes = ReadDataFileOf(folder, kFileName, outcome);
  if (!bytes) {
    // The file is optional: without it places answer as they always did.
    outcome_ = outcome.problem == FileProblem::kMissing ? LoadOutcome{} : outcome;
    return outcome_;
  }
  const std::string damage = Load(*bytes, cities);
  const LoadOutcome read = outcome_ = DescribeLoad(
      FileProblem::kDamaged, kFileName, folder,
      DamageWithManifest(folder, kFileName, *bytes, count_, damage));
  return read;
}

std::string PlaceKinds::Load(std::string_view bytes, const CCitySet& cities) {
  *this = {};
  DamageReport damage;
  struct Candidate {
    std::int64_t id;
    PlaceKind kind;
    std::optional<std::string> plain;
    std::size_t line;
  };
  std::vector<Candidate> candidates;
  std::string why;
  const std::optional<std::size_t> declared = ReadRecordLines(
      bytes, "TQKIND 1", "places", "place", damage, why,
      [&](std::string_view line, std::size_t lineNumber) {
        // Two or three fields between tabs.
        std::string_view fields[3];
        std::size_t count = 0;
        for (std::size_t start = 0;;) {
          const std::size_t tab = line.find('\t', start);
          if (count < 3) fields[count] = line.substr(start, tab - start);
          ++count;
          if (tab == std::string_view::npos) break;
          start = tab + 1;
        }
        const std::optional<std::int64_t> id =
            fields[0].size() <= 10 &&
                    fields[0].find_first_not_of("0123456789") == std::string_view::npos
                ? ParseWhole(fields[0])
                : std::nullopt;
        if (count < 2 || count > 3 || !id || *id > INT32_MAX || HasControlBytes(line, true) ||
            (count == 3 && fields[2].empty())) {
          damage.Damaged(lineNumber, "a line that is not a place id, a kind and a plain name");
          return;
        }
        const std::optional<PlaceKind> kind = PlaceKindOfWord(fields[1]);
        if (!kind) {
          damage.Damaged(lineNumber, "the unknown kind \"" + Utf8ToCp1252(fields[1]) + "\"");
          return;
        }
        candidates.push_back(
            {*id, *kind,
             count == 3 ? std::optional<std::string>(Utf8ToCp1252(fields[2])) : std::nullopt,
             lineNumber});
      });
  if (!declared) return why;
  kinds_.assign(cities.RowCount(), static_cast<std::uint8_t>(PlaceKind::kUnknown));
  plainOfRow_.assign(cities.RowCount(), -1);
  // A place is used when its id lies strictly between its neighbours' and
  // after the last used: a changed id costs at most itself and a neighbour.
  UseInKeyOrder(
      candidates.size(), [&](std::size_t i) { return candidates[i].id; },
      [&](std::size_t i) { return candidates[i].line; }, "place", damage,
      [&](std::size_t i) {
        const Candidate& here = candidates[i];
        const std::span<const std::uint32_t> rows =
            cities.RowsOfCity(static_cast<std::uint32_t>(here.id));
        if (rows.empty()) {
          damage.Damaged(here.line, "a place that cit.bin does not hold");
          return;
        }
        ++count_;
        for (const std::uint32_t row : rows) {
          kinds_[row] = static_cast<std::uint8_t>(here.kind);
          if (here.plain) plain_.push_back({row, *here.plain});
        }
      });
  // Lookups by plain name: the places that have one, in the order of their names.
  std::vector<Plain> sorted = plain_;
  std::stable_sort(sorted.begin(), sorted.end(), [](const Plain& a, const Plain& b) {
    return CompareNoCase(a.name, b.name) < 0;
  });
  plain_ = std::move(sorted);
  for (std::size_t i = 0; i < plain_.size(); ++i)
    plainOfRow_[plain_[i].row] = static_cast<std::int32_t>(i);
  return *declared == 0 && count_ == 0 ? damage.Text(1) : damage.Text(count_);
}

std::string_view PlaceKinds::PlainName(const CCitySet& cities, std::uint32_t row) const {
  if (row < plainOfRow_.size() && plainOfRow_[row] >= 0) {
    return plain_[static_cast<std::size_t>(plainOfRow_[row])].name;
  }
  return cities.CityNames()[row];
}

std::vector<std::uint32_t> PlaceKinds::RowsWithPlainName(const CCitySet& cities,
                                                         std::string_view name) const {
  // Stored names that are plain names, then the plain names of their own.
  std::vector<std::uint32_t> rows = cities.RowsNamed(name);
  std::erase_if(rows, [&](std::uint32_t row) {
    return row < plainOfRow_.size() && plainOfRow_[row] >= 0;
  });
  auto it = std::lower_bound(plain_.begin(), plain_.end(), name, [](const Plain& p, std::string_view n) {
    return CompareNoCase(p.name, n) < 0;
  });
  for (; it != plain_.end() && CompareNoCase(it->name, name) == 0; ++it) rows.push_back(it->row);
  std::sort(rows.begin(), rows.end());
  return rows;
}

std::vector<std::uint32_t> PlaceKinds::NamesakesOf(const CCitySet& cities,
                                                   std::uint32_t row) const {
  std::vector<std::uint32_t> rows = RowsWithPlainName(cities, PlainName(cities, row));
  const std::string_view state = CurrentStateCode(cities.States()[row]);
  std::erase_if(rows, [&](std::uint32_t other) {
    return CompareNoCase(CurrentStateCode(cities.States()[other]), state) != 0;
  });
  return rows;
}

bool PlaceKinds::MeantBefore(const CCitySet& cities, std::uint32_t a, std::uint32_t b) const {
  const int rankA = NamesakeRank(KindOfRow(a)), rankB = NamesakeRank(KindOfRow(b));
  if (rankA != rankB) return rankA < rankB;
  const std::uint32_t peopleA = cities.Populations()[a], peopleB = cities.Populations()[b];
  if (peopleA != peopleB) return peopleA > peopleB;
  return a < b;
}

std::optional<std::uint32_t> PlaceKinds::StandingOut(const CCitySet& cities,
                                                     std::span<const std::uint32_t> rows) const {
  if (rows.empty()) return std::nullopt;
  if (rows.size() == 1) return rows.front();
  // The first and the second in the order of meaning.
  std::uint32_t first = rows[0], second = rows[1];
  if (MeantBefore(cities, second, first)) std::swap(first, second);
  for (const std::uint32_t row : rows.subspan(2)) {
    if (MeantBefore(cities, row, first)) {
      second = first;
      first = row;
    } else if (MeantBefore(cities, row, second)) {
      second = row;
    }
  }
  if (NamesakeRank(KindOfRow(first)) < NamesakeRank(KindOfRow(second))) return first;
  const std::int64_t people = cities.Populations()[first];
  const std::int64_t next = cities.Populations()[second];
  if (people > 0 && people >= kStandOutFactor * next) return first;
  return std::nullopt;
}

}  // namespace tq
