#pragma once
// Which area codes serve which city: the pairs of "arc.bin" (format in
// docs/data-format.md), held in memory as two columns and walked through a
// filtered selection.
//
//   set.strFilter = "iAreaCode = 937";
//   set.Open();
//   for (; !set.IsEOF(); set.MoveNext()) use(set.iCityId);
//
// Filters: "" (every pair), "iCityId = N", "iAreaCode = N"; anything else
// selects nothing.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "data/DataFile.h"
#include "data/KeyIndex.h"
#include "data/RecordCursor.h"

namespace tq {

class CAreaCodeSet : public RecordCursor<CAreaCodeSet> {
 public:
  static constexpr const char* kFileName = "arc.bin";

  // Reads "arc.bin" from the given folder, or from the current directory.
  explicit CAreaCodeSet(std::filesystem::path folder = {});
  virtual ~CAreaCodeSet() = default;

  // What the last load came to: missing, refused, damaged... (none before).
  const LoadOutcome& Outcome() const { return outcome_; }

  std::string strFilter;
  std::int32_t iCityId = 0;
  std::int32_t iAreaCode = 0;

  // The loaded columns, in file order, for inspection and checks.
  const std::vector<std::uint32_t>& CityIds() const { return aCityIds; }
  const std::vector<std::uint32_t>& AreaCodes() const { return aAreaCodes; }
  // The rows of one city or one area code, in file order: what the filters
  // "iCityId = N" and "iAreaCode = N" select, without a filter text to read.
  std::span<const std::uint32_t> RowsOfCity(std::uint32_t cityId) const {
    return byCityId_.Find(cityId);
  }
  std::span<const std::uint32_t> RowsOfAreaCode(std::uint32_t areaCode) const {
    return byAreaCode_.Find(areaCode);
  }

 protected:
  // Fills the empty `rows` with the rows that strFilter selects, in file
  // order, found through the indexes. The benchmarks override it with a plain
  // scan of the columns.
  virtual void SelectRows(std::vector<std::uint32_t>& rows) const;

 private:
  friend class RecordCursor<CAreaCodeSet>;
  bool IsLoaded() const;
  bool Load();
  void SetCurrent(std::uint32_t row);
  struct PairRun {
    std::size_t row, line;  // the first pair of a run and its first line
  };
  void DropRepeatedPairs(const std::vector<PairRun>& runs, DamageReport& damage);

  std::filesystem::path folder_;
  LoadOutcome outcome_;
  std::vector<std::uint32_t> aCityIds;
  std::vector<std::uint32_t> aAreaCodes;
  KeyIndex byCityId_;
  KeyIndex byAreaCode_;
};

}  // namespace tq
