#include "data/AreaCodeSet.h"

#include <numeric>
#include <span>
#include <string_view>

#include "data/DataFile.h"
#include "data/Text.h"

namespace tq {

CAreaCodeSet::CAreaCodeSet(std::filesystem::path folder) : folder_(std::move(folder)) {}

bool CAreaCodeSet::Load() {
  const auto bytes = ReadWholeFile(DataFilePath(folder_, kFileName));
  if (!bytes) return false;
  try {
    LineReader lines(*bytes);
    std::string_view first, second;
    while (lines.Next(first) && !first.empty() && lines.Next(second) && !second.empty()) {
      // Stored as 11 * id - 1 and 3 * code + id; computed wide so that no
      // value in the file can overflow.
      const std::int64_t cityId = (std::int64_t{AtoI(first)} + 1) / 11;
      const std::int64_t areaCode = (std::int64_t{AtoI(second)} - cityId) / 3;
      aCityIds.push_back(static_cast<std::uint32_t>(cityId));
      aAreaCodes.push_back(static_cast<std::uint32_t>(areaCode));
    }
    byCityId_.Build(aCityIds);
    byAreaCode_.Build(aAreaCodes);
    return true;
  } catch (const std::exception&) {  // out of memory: keep the pairs read so far
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

void CAreaCodeSet::Open() {
  if (aAreaCodes.empty() && aCityIds.empty() && !Load()) return;
  Requery();
}

bool CAreaCodeSet::Requery() {
  aRows.clear();
  iPosition = -1;
  SelectRows(aRows);
  if (aRows.empty()) return false;
  iPosition = 0;
  SetCurrent(aRows[0]);
  return true;
}

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

bool CAreaCodeSet::IsEOF() const {
  return iPosition < 0 || static_cast<std::size_t>(iPosition) >= aRows.size();
}

void CAreaCodeSet::MoveNext() {
  if (iPosition < INT32_MAX) ++iPosition;
  if (!IsEOF()) SetCurrent(aRows[static_cast<std::size_t>(iPosition)]);
}

void CAreaCodeSet::SetCurrent(std::uint32_t row) {
  iCityId = static_cast<std::int32_t>(aCityIds[row]);
  iAreaCode = static_cast<std::int32_t>(aAreaCodes[row]);
}

}  // namespace tq
