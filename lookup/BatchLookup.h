#pragma once
// The per-number answer of a batch row: a telephone number (as
// ParsePhoneNumber reads it) becomes its area code, exchange, status, the
// exchange's place and state, and the place's time zone and local time at
// an instant. The data files are read once; Look() is const and safe to call
// from several threads at once.

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "data/AreaCodeSet.h"
#include "data/CitySet.h"
#include "data/DataFile.h"
#include "data/ExchangeTable.h"
#include "lookup/BatchRow.h"

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
  // local time at `utcSeconds`.
  void Look(std::string_view text, std::int64_t utcSeconds, BatchRow& row, Memo& memo) const;

 private:
  struct Zone {
    float fTimeZone = 24.0f;  // none
    int bDaylightSaving = 0;
  };
  struct AreaCode {
    bool known = false, geographic = false;
    std::string state;  // UTF-8, of its largest place
    Zone zone;          // of its largest place
  };
  // An exchange's place, found once.
  struct Place {
    bool known = false;
    std::string city, state;  // UTF-8
    Zone zone;
  };
  const Place& PlaceOf(std::int32_t areaCode, std::int32_t exchange) const;
  void FillTime(const Zone& zone, std::int64_t utcSeconds, BatchRow& row, Memo& memo) const;

  CCitySet cities_;
  CAreaCodeSet areaCodes_;
  ExchangeTable exchanges_;
  LoadOutcome exchangesOutcome_;
  std::vector<AreaCode> byAreaCode_;                 // 1000 entries
  std::unordered_map<std::string, Zone> zoneByPlace_;  // "city\tstate" (code page 1252)
  // The places found so far, by area code * 1000 + exchange; filled as rows
  // ask, under `placesMutex_`, and read without a lock.
  std::unique_ptr<std::atomic<const Place*>[]> placeByNumber_;
  mutable std::mutex placesMutex_;
  mutable std::vector<std::unique_ptr<Place>> places_;
};

}  // namespace tq
