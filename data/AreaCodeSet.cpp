#include "data/AreaCodeSet.h"

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
  const std::string_view filter = strFilter;
  if (filter.empty()) {
    for (std::uint32_t row = 0; row < aCityIds.size(); ++row) aRows.push_back(row);
  } else if (filter.starts_with("iCityId = ")) {
    const auto rows = byCityId_.Find(static_cast<std::uint32_t>(AtoI(filter.substr(10))));
    aRows.assign(rows.begin(), rows.end());
  } else if (filter.starts_with("iAreaCode = ")) {
    const auto rows = byAreaCode_.Find(static_cast<std::uint32_t>(AtoI(filter.substr(12))));
    aRows.assign(rows.begin(), rows.end());
  }
  if (aRows.empty()) return false;
  iPosition = 0;
  SetCurrent(aRows[0]);
  return true;
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
