#pragma once
// The per-number answer of a batch row, from the core's per-number lookup
// (NumberLookup, the one a single search of a number uses): the E.164 form,
// area code, exchange, status, the exchange's place and state, and the
// local time where the call rings with whether one may call then, as a
// single lookup decides them (NumberLookup::ZonesOf, VerdictAt). The data
// files are read once; Look() is const and safe to call from several
// threads at once. The answers of an area code's thousand exchanges are
// asked for together, at its first row, and kept in a table of fixed size:
// memory does not grow with the input.
// A ZIP or postal code (a text of a code's shape, PostalCode.h, the shape
// the one recognizer takes first) answers its place: status postal, the
// place, its area codes and its local time.

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
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
      bool zonePlain = false;  // the zone's name is written as it is (WrittenAsIs)
    };
    std::array<Entry, 256> entries;  // by ZoneSet::id, which are fewer
  };

  // Fills every field of `row` but `input` for the number `text`, with the
  // local time at `utcSeconds` and whether that time lies in `hours`. The
  // fields stay valid until the next Look with the same row and memo.
  void Look(std::string_view text, std::int64_t utcSeconds, const CallingHours& hours,
            BatchRow& row, Memo& memo) const;

 private:
  // What a row takes from the answer of NumberLookup for its area code and
  // exchange (which does not depend on the last four digits), in 24 bytes:
  // the place and state in UTF-8, side by side (a row reads them at one
  // place), the zones where a call rings, the status, whether the number has
  // an E.164 form and whether the place is its area code's city.
  struct Exchange {
    const char* texts;  // the place, then the state, in textBlocks_
    std::uint32_t placeSize, stateSize;
    std::int32_t zones;  // ZoneSet::id; -1: none
    BatchStatus status;
    bool numbered;
    bool area;                 // NumberResult::area
    std::uint8_t plainPlace;   // the place's and state's bits of BatchRow::plainColumns, >> 6
  };
  // The exchanges of one area code, made when a row first asks for the code:
  // each of the thousand exchanges as an index into the code's distinct
  // answers.
  struct AreaCode {
    std::array<std::uint16_t, 1000> exchangeOf;
    std::vector<Exchange> exchanges;
  };
  const AreaCode& AreaCodeOf(std::int32_t areaCode) const {
    const auto& slot = byAreaCode_[static_cast<std::size_t>(areaCode)];
    const AreaCode* known = slot.load(std::memory_order_acquire);
    return known ? *known : MakeAreaCode(areaCode);
  }
  const AreaCode& MakeAreaCode(std::int32_t areaCode) const;
  struct PlaceTexts;
  // The place and state of an exchange kept side by side (under mutex_).
  const PlaceTexts& PlaceTextsOf(std::string_view place, std::string_view state) const;
  // The place of a code's row, its texts in UTF-8, kept once asked.
  struct PostalRow {
    std::string place, state, areaCodes;
    std::uint16_t plainColumns = 0;  // of the place and state, those written as they are
    std::int32_t zones = -1;  // ZoneSet::id; -1: none
  };
  const PostalRow* PostalRowOf(std::int32_t cityId) const;
  void LookPostal(const PostalCode& code, std::int64_t utcSeconds, const CallingHours& hours,
                  BatchRow& row, Memo& memo) const;
  void FillTime(std::int32_t zones, std::int64_t utcSeconds, const CallingHours& hours,
                BatchRow& row, Memo& memo) const;

  CCitySet cities_;
  CAreaCodeSet areaCodes_;
  ExchangeTable exchanges_;
  ZoneLaw law_;
  PostalTable postal_;
  std::vector<LoadOutcome> problems_;
  std::unique_ptr<NumberLookup> numbers_;
  // By area code: made under `mutex_` at the code's first row and read
  // without a lock. At most a thousand of a few kilobytes each, whatever the
  // input.
  mutable std::array<std::atomic<const AreaCode*>, 1000> byAreaCode_{};
  mutable std::mutex mutex_;
  mutable std::vector<std::unique_ptr<const AreaCode>> made_;
  // The UTF-8 texts by their code page 1252 form (node-based: views into
  // them stay valid); the places and states of the exchanges made, each pair
  // once, side by side in blocks that never move. The zones of each
  // ZoneSet::id made, by id: room for every id is made at the start.
  mutable std::unordered_map<std::string, std::string> texts_;
  struct PlaceTexts {
    const char* texts;
    std::uint32_t placeSize, stateSize;
    std::uint8_t plainPlace;
  };
  mutable std::map<std::pair<const char*, const char*>, PlaceTexts> placeOf_;  // by texts_
  mutable std::vector<std::unique_ptr<char[]>> textBlocks_;
  mutable char* blockAt_ = nullptr;    // the free end of the last block
  mutable std::size_t blockRoom_ = 0;  // bytes left there
  mutable std::vector<std::span<const int>> zonesById_;
  // By the row of the place in cit.bin; filled as rows ask, as the area codes.
  std::unique_ptr<std::atomic<const PostalRow*>[]> postalByRow_;
  mutable std::vector<std::unique_ptr<PostalRow>> postalAsked_;
};

}  // namespace tq
