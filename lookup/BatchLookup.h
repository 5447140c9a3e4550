#pragma once
// The per-number answer of a batch row, from the core's per-number lookup
// (NumberLookup, the one a single search of a number uses): the E.164 form,
// area code, exchange, status, the exchange's place and state, and the
// place's time zone and local time at an instant. The data files are read
// once; Look() is const and safe to call from several threads at once.

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "data/AreaCodeSet.h"
#include "data/CitySet.h"
#include "data/DataFile.h"
#include "data/ExchangeTable.h"
#include "lookup/BatchRow.h"
#include "lookup/NumberLookup.h"

namespace tq {

class BatchLookup {
 public:
  // Reads cit.bin, arc.bin and exc.bin of the folder (the current directory
  // when empty).
  explicit BatchLookup(const std::filesystem::path& folder);

  // What became of each data file; `text` (code page 1252) is empty when all
  // is well.
  const LoadOutcome& Cities() const { return cities_.Outcome(); }
  const LoadOutcome& AreaCodes() const { return areaCodes_.Outcome(); }
  const LoadOutcome& Exchanges() const { return exchangesOutcome_; }

  // What one thread keeps between rows: the time fields last made for a
  // few zones.
  struct Memo {
    struct Entry {
      float fTimeZone = 99.0f;
      int bDaylightSaving = -1;
      std::int64_t minute = -1;
      std::string timeZone, utcOffset, localTime;
    };
    std::array<Entry, 16> entries;
  };

  // Fills every field of `row` but `input` for the number `text`, with the
  // local time at `utcSeconds`. The fields stay valid until the next Look
  // with the same row and memo.
  void Look(std::string_view text, std::int64_t utcSeconds, BatchRow& row, Memo& memo) const;

 private:
  struct Zone {
    float fTimeZone = 24.0f;  // none
    int bDaylightSaving = 0;
  };
  // The answer of NumberLookup for an area code and exchange (it does not
  // depend on the last four digits), kept once asked, with its texts in
  // UTF-8 and its place's zone.
  struct Exchange {
    NumberResult result;
    std::string place, state;
    std::optional<Zone> zone;
  };
  const Exchange& ExchangeOf(const PhoneNumber& number) const;
  void FillTime(const Zone& zone, std::int64_t utcSeconds, BatchRow& row, Memo& memo) const;

  CCitySet cities_;
  CAreaCodeSet areaCodes_;
  ExchangeTable exchanges_;
  LoadOutcome exchangesOutcome_;
  std::unique_ptr<NumberLookup> numbers_;
  std::unordered_map<std::uint32_t, std::size_t> rowOfCity_;  // the first row of each id
  std::vector<Zone> largestZoneOfCode_;                       // 1000 entries
  // By area code * 1000 + exchange; filled as rows ask, under `mutex_`, and
  // read without a lock.
  std::unique_ptr<std::atomic<const Exchange*>[]> exchangeByNumber_;
  mutable std::mutex mutex_;
  mutable std::vector<std::unique_ptr<Exchange>> exchangesAsked_;
};

}  // namespace tq
