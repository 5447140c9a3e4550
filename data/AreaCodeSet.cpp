#include "data/AreaCodeSet.h"

#include <array>
#include <numeric>
#include <span>
#include <string_view>

#include "data/DataFile.h"
#include "data/Text.h"

namespace tq {

CAreaCodeSet::CAreaCodeSet(std::filesystem::path folder) : folder_(std::move(folder)) {}

bool CAreaCodeSet::Load() {
  const std::optional<std::string> bytes = ReadDataFileOf(folder_, kFileName, outcome_);
  if (!bytes) return false;
  DamageReport damage;
  try {
    LineReader lines(*bytes);
    std::array<std::string_view, 2> pair;
    for (;;) {
      const std::size_t firstLine = aCityIds.size() * pair.size() + 1;
      if (!ReadRecord(lines, pair, firstLine, damage)) break;
      // Stored as 11 * id - 1 and 3 * code + id; computed wide so that no
      // value in the file can overflow.
      const std::int64_t cityId = (std::int64_t{AtoI(pair[0])} + 1) / 11;
      const std::int64_t areaCode = (std::int64_t{AtoI(pair[1])} - cityId) / 3;
      if (cityId < 0 || areaCode < 100 || areaCode > 999) {
        damage.Impossible(aCityIds.size() + 1, firstLine,
                          cityId < 0 ? "a negative city id" : "an area code outside 100 to 999");
      }
      aCityIds.push_back(static_cast<std::uint32_t>(cityId));
      aAreaCodes.push_back(static_cast<std::uint32_t>(areaCode));
    }
    byCityId_.Build(aCityIds);
    byAreaCode_.Build(aAreaCodes);
    outcome_ = DescribeLoad(FileProblem::kDamaged, kFileName, folder_,
                            damage.Text(aCityIds.size()));
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
