#include "data/AreaCodeSet.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <numeric>
#include <span>
#include <string_view>

#include "base/HugePages.h"
#include "base/Text.h"
#include "data/DataFile.h"
#include "data/Manifest.h"

namespace tq {

CAreaCodeSet::CAreaCodeSet(std::filesystem::path folder) : folder_(std::move(folder)) {}

namespace {

// The city id and area code of a pair, or what makes it unusable.
// `values` holds the two lines read as numbers.
const char* DecodePair(const std::array<std::string_view, 2>& pair,
                       const std::array<std::optional<std::int64_t>, 2>& values,
                       std::uint32_t& cityId, std::uint32_t& areaCode) {
  // Only signs and digits are read as numbers: a control byte fails here.
  const std::optional<std::int64_t>& n = values[0];
  const std::optional<std::int64_t>& m = values[1];
  if (!n || !m) {
    return HasControlBytes(pair[0]) || HasControlBytes(pair[1]) ? "a control byte in a line"
                                                                : "a line that is not a number";
  }
  // Stored as 11 * id - 1 and 3 * code + id.
  // One division each: a multiple of k is k times its quotient.
  const std::int64_t id = (*n + 1) / 11;
  if (id * 11 != *n + 1 || *n > INT32_MAX || id < 0) {
    return "a city id line that is not 11 times an id less 1";
  }
  const std::int64_t code = (*m - id) / 3;
  if (code * 3 != *m - id || code < 100 || code > 999) {
    return "an area code line that is not 3 times an area code from 100 to 999 plus the id";
  }
  cityId = static_cast<std::uint32_t>(id);
  areaCode = static_cast<std::uint32_t>(code);
  return nullptr;
}

}  // namespace

bool CAreaCodeSet::Load() {
  const std::optional<std::string> bytes = ReadDataFileOf(folder_, kFileName, outcome_);
  if (!bytes) return false;
  DamageReport damage;
  try {
    RecordReader<2> pairs(SkipByteOrderMark(*bytes, damage), 0b11, damage);
    // Where each run of pairs without damage between them begins: its first
    // row and line. A pair's line follows from its run.
    std::vector<PairRun> runs = {{0, 1}};
    // A pair takes at least 4 bytes (two lines of one digit).
    ReserveLarge(aCityIds, bytes->size() / 4);
    ReserveLarge(aAreaCodes, bytes->size() / 4);
    std::uint32_t cityId = 0, areaCode = 0;
    const auto check = [&](const auto& pair, const auto& values) {
      return DecodePair(pair, values, cityId, areaCode);
    };
    // A lost or split line costs one pair.
    while (pairs.Next(check)) {
      if (pairs.AfterDamage()) runs.push_back({aCityIds.size(), pairs.Line()});
      aCityIds.push_back(cityId);
      aAreaCodes.push_back(areaCode);
    }
    byCityId_.Build(aCityIds);
    DropRepeatedPairs(runs, damage);
    byAreaCode_.Build(aAreaCodes);
    outcome_ = DescribeLoad(FileProblem::kDamaged, kFileName, folder_,
                            DamageWithManifest(folder_, kFileName, *bytes, aCityIds.size(),
                                               damage.Text(aCityIds.size())));
    return true;
  } catch (const std::exception&) {  // out of memory: keep the pairs read so far
    outcome_ = DescribeLoad(FileProblem::kUnreadable, kFileName, folder_,
                            "there is not enough memory to read it");
    aAreaCodes.resize(aCityIds.size());
    try {
      byCityId_.Build(aCityIds);
      byAreaCode_.Build(aAreaCodes);
    } catch (const std::exception&) {
      aCityIds.clear();
      aAreaCodes.clear();
    }
    return false;
  }
}

// Keeps the first of pairs that link the same city and area code, so that no
// selection holds a pair twice: a walk over the rows of each city (from the
// index by city id) with a mark for each area code seen.
void CAreaCodeSet::DropRepeatedPairs(const std::vector<PairRun>& runs, DamageReport& damage) {
  // seenIn[code] is the number (from 1) of the last city whose rows hold code.
  std::array<std::uint32_t, 1000> seenIn{};
  std::vector<bool> repeated;  // by row, once a pair repeats
  std::uint32_t city = 0;
  const std::vector<std::uint32_t>& rows = byCityId_.Rows();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (i == 0 || aCityIds[rows[i]] != aCityIds[rows[i - 1]]) ++city;
    const std::uint32_t code = aAreaCodes[rows[i]];
    if (seenIn[code] != city) {
      seenIn[code] = city;
      continue;
    }
    if (repeated.empty()) repeated.resize(aCityIds.size());
    repeated[rows[i]] = true;
  }
  if (repeated.empty()) return;
  std::size_t kept = 0;
  for (std::size_t row = 0; row < aCityIds.size(); ++row) {
    if (repeated[row]) {
      const auto run = std::prev(std::upper_bound(
          runs.begin(), runs.end(), row, [](std::size_t r, const PairRun& x) { return r < x.row; }));
      damage.Repeated(run->line + 2 * (row - run->row), "city and area code");
      continue;
    }
    aCityIds[kept] = aCityIds[row];
    aAreaCodes[kept] = aAreaCodes[row];
    ++kept;
  }
  aCityIds.resize(kept);
  aAreaCodes.resize(kept);
  byCityId_.Build(aCityIds);
}

bool CAreaCodeSet::IsLoaded() const { return !aAreaCodes.empty() || !aCityIds.empty(); }

void CAreaCodeSet::SelectRows(std::vector<std::uint32_t>& rows) const {
  const std::string_view filter = strFilter;
  std::span<const std::uint32_t> found;
  if (filter.empty()) {
    rows.resize(aCityIds.size());
    std::iota(rows.begin(), rows.end(), 0u);
  } else if (filter.starts_with("iCityId = ")) {
    found = byCityId_.Find(static_cast<std::uint32_t>(AtoI(filter.substr(10))));
  } else if (filter.starts_with("iAreaCode = ")) {
    found = byAreaCode_.Find(static_cast<std::uint32_t>(AtoI(filter.substr(12))));
  }
  rows.insert(rows.end(), found.begin(), found.end());
}

void CAreaCodeSet::SetCurrent(std::uint32_t row) {
  iCityId = static_cast<std::int32_t>(aCityIds[row]);
  iAreaCode = static_cast<std::int32_t>(aAreaCodes[row]);
}

}  // namespace tq
