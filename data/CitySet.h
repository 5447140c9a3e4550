#pragma once
// The city records of "cit.bin" (name, state or province, population,
// daylight-saving flag, time zone; format in docs/data-format.md), held in
// memory as columns and walked through a selection that a filter text
// chooses (see CityFilter.h). Every selection is in file order.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/TextColumn.h"
#include "data/CityFilter.h"
#include "data/DataFile.h"
#include "data/KeyIndex.h"
#include "data/RecordCursor.h"

namespace tq {

// The columns of the loaded records, in file order. They do not change once
// loaded: an answer that lists places holds them (CCitySet::Columns).
struct CityColumns {
  TextColumn aCityNames;
  TextColumn aStates;
  std::vector<std::uint32_t> aPopulations;
  std::vector<std::uint32_t> aCityIds;
  std::vector<std::uint8_t> aDaylightFlags;
  std::vector<float> aTimeZones;
  // "Name, ST" of a row, or its name alone.
  std::string PlaceText(std::size_t row, bool withState = true) const {
    std::string text(aCityNames[row]);
    if (withState) text.append(", ").append(aStates[row]);
    return text;
  }
  // Calls `each` with every column in turn.
  template <class Each>
  void ForEachColumn(Each&& each) {
    each(aCityNames);
    each(aStates);
    each(aPopulations);
    each(aCityIds);
    each(aDaylightFlags);
    each(aTimeZones);
  }
};

class CCitySet : public RecordCursor<CCitySet> {
 public:
  static constexpr const char* kFileName = "cit.bin";

  // Reads "cit.bin" from the given folder, or from the current directory.
  explicit CCitySet(std::filesystem::path folder = {});
  virtual ~CCitySet() = default;

  // What the last load came to: missing, refused, damaged... (none before).
  const LoadOutcome& Outcome() const { return outcome_; }
  // The size and SHA-256 (64 lower-case hex digits) of the file the records
  // were read from; "" before it is read, or when the load was told not to
  // take the sum. The zone law's ctz.bin names the cit.bin it was made for
  // by the same two.
  std::size_t FileSize() const { return fileSize_; }
  const std::string& FileSha256() const { return fileSha256_; }
  // Whether the next load takes the file's SHA-256 (it does unless told
  // not to). A manifest beside the file is checked either way.
  void TakeFileSum(bool take) { takeFileSum_ = take; }

  std::string strFilter;
  std::string strStateOrProvince;
  std::string strCity;
  std::int32_t iPopulation = 0;
  std::int32_t iCityId = 0;
  int bDaylightSaving = 1;
  float fTimeZone = 0.0f;

  // The loaded columns, in file order, for inspection and checks.
  std::size_t RowCount() const { return columns_->aCityIds.size(); }
  const TextColumn& CityNames() const { return columns_->aCityNames; }
  const TextColumn& States() const { return columns_->aStates; }
  const std::vector<std::uint32_t>& Populations() const { return columns_->aPopulations; }
  const std::vector<std::uint32_t>& CityIds() const { return columns_->aCityIds; }
  const std::vector<std::uint8_t>& DaylightFlags() const { return columns_->aDaylightFlags; }
  const std::vector<float>& TimeZones() const { return columns_->aTimeZones; }
  std::string PlaceText(std::size_t row, bool withState = true) const {
    return columns_->PlaceText(row, withState);
  }
  // The same columns, to be held as they are after the set is gone.
  std::shared_ptr<const CityColumns> Columns() const { return columns_; }

  // The rows of one city id, in file order ("iCityId = N" without a filter
  // text to read).
  std::span<const std::uint32_t> RowsOfCity(std::uint32_t cityId) const {
    return byCityId_.Find(cityId);
  }
  // Where a row's name stands among all names in the order of the sorted
  // lists (without regard to case, equal names by row): its own position,
  // the first position of the names equal to it, and the position after the
  // last name that begins with it. Positions run over [0, RowCount()).
  struct NamePlace {
    std::uint32_t position, first, after;
  };
  NamePlace NamePlaceOf(std::uint32_t row) const {
    return {namePosition_[row], nameFirst_[namePosition_[row]], nameAfter_[namePosition_[row]]};
  }
  std::uint32_t RowAtNamePosition(std::uint32_t position) const { return byName_[position]; }
  // The first position of the names equal to the one at `position`.
  std::uint32_t FirstAtNamePosition(std::uint32_t position) const { return nameFirst_[position]; }
  // The rows whose name is exactly `name`, case aside, in row order.
  std::vector<std::uint32_t> RowsNamed(std::string_view name) const;

 protected:
  // Fills the empty `rows` with the rows that strFilter selects, in file
  // order, found through the indexes. The benchmarks override it with a plain
  // scan of the columns.
  virtual void SelectRows(std::vector<std::uint32_t>& rows) const;

 private:
  friend class RecordCursor<CCitySet>;
  bool IsLoaded() const;
  bool Load();
  void BuildIndexes();
  void SelectNames(const CityQuery& query, bool prefix, std::vector<std::uint32_t>& rows) const;
  void SetCurrent(std::uint32_t row);

  std::filesystem::path folder_;
  LoadOutcome outcome_;
  std::size_t fileSize_ = 0;
  std::string fileSha256_;
  bool takeFileSum_ = true;
  std::shared_ptr<CityColumns> columns_ = std::make_shared<CityColumns>();

  KeyIndex byCityId_;
  std::vector<std::uint32_t> byName_;         // all rows, by name (case aside), then row
  std::vector<std::uint32_t> majorByState_;   // rows above 10000, by state, then row
  std::vector<std::uint32_t> namePosition_;   // row -> its position in byName_
  std::vector<std::uint32_t> nameFirst_;      // position -> first position of its equal names
  std::vector<std::uint32_t> nameAfter_;      // position -> after the names beginning with it
};

}  // namespace tq
