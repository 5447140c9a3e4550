#pragma once
// The per-number answer of a batch row, from the core's per-number lookup
// (NumberLookup, the one a single search of a number uses): the E.164 form,
// area code, exchange, status, the exchange's place and state, and the
// local time where the call rings with whether one may call then, as a
// single lookup decides them (NumberLookup::ZonesOf, VerdictAt). The data
// files are read once; Look() is const and safe to call from several
// threads at once. A ZIP or postal code (a text of a code's shape,
// PostalCode.h, the shape the one recognizer takes first) answers its
// place: status postal, the place, its area codes and its local time.

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/BatchRow.h"
#include "data/AreaCodeSet.h"
#include "data/CitySet.h"
#include "data/DataFile.h"
#include "data/ExchangeTable.h"
#include "number/NumberLookup.h"
#include "postal/PostalTable.h"
#include "time/LocalTime.h"
#include "time/ZoneLaw.h"

namespace tq {

class BatchLookup {
 public:
  // Reads cit.bin, arc.bin, exc.bin, the zone law (ctz.bin, tzl.bin) and
  // pst.bin of the folder (the current directory when empty); without
  // pst.bin a code's row answers as any text that is not a number.
  explicit BatchLookup(const std::filesystem::path& folder);

  // One for each data file that is missing, unreadable, refused or damaged
  // (ExitStatusFor tells what they cost): without the zone law the rows
  // come without local times, without the exchanges with no_exchange_data.
  const std::vector<LoadOutcome>& Problems() const { return problems_; }

  // What one thread keeps between rows: the verdict and time fields last
  // made for a few sets of zones, each for one minute.
  struct Memo {
    struct Entry {
      int zones = -1;  // ZoneSet::id
      std::int64_t minute = -1;
      CallingHours hours;
      CallVerdict verdict;
      std::string utcOffset, localTime;
    };
    std::array<Entry, 256> entries;  // by ZoneSet::id, which are fewer
  };

  // Fills every field of `row` but `input` for the number `text`, with the
  // local time at `utcSeconds` and whether that time lies in `hours`. The
  // fields stay valid until the next Look with the same row and memo.
  void Look(std::string_view text, std::int64_t utcSeconds, const CallingHours& hours,
            BatchRow& row, Memo& memo) const;

 private:
  // The answer of NumberLookup for an area code and exchange (it does not
  // depend on the last four digits), kept once asked, with its texts in
  // UTF-8 and the zones where it rings.
  struct Exchange {
    NumberResult result;
    std::string place, state;
    ZoneSet zones;
  };
  const Exchange& ExchangeOf(const PhoneNumber& number) const;
  // The place of a code's row, its texts in UTF-8, kept once asked.
  struct PostalRow {
    std::string place, state, areaCodes;
    ZoneSet zones;
  };
  const PostalRow* PostalRowOf(std::int32_t cityId) const;
  void LookPostal(const PostalCode& code, std::int64_t utcSeconds, const CallingHours& hours,
                  BatchRow& row, Memo& memo) const;
  void FillTime(const ZoneSet& zones, std::int64_t utcSeconds, const CallingHours& hours,
                BatchRow& row, Memo& memo) const;

  CCitySet cities_;
  CAreaCodeSet areaCodes_;
  ExchangeTable exchanges_;
  ZoneLaw law_;
  PostalTable postal_;
  std::vector<LoadOutcome> problems_;
  std::unique_ptr<NumberLookup> numbers_;
  // By area code * 1000 + exchange; filled as rows ask, under `mutex_`, and
  // read without a lock.
  std::unique_ptr<std::atomic<const Exchange*>[]> exchangeByNumber_;
  mutable std::mutex mutex_;
  mutable std::vector<std::unique_ptr<Exchange>> exchangesAsked_;
  // By the row of the place in cit.bin; filled as rows ask, as above.
  std::unique_ptr<std::atomic<const PostalRow*>[]> postalByRow_;
  mutable std::vector<std::unique_ptr<PostalRow>> postalAsked_;
};

}  // namespace tq
