#pragma once
// What one telephone number tells: its E.164 form, its area code and
// exchange, and the place of the exchange. Made for many numbers: after the
// tables are built (once, from the loaded record sets and exchange file), a
// lookup parses the number, finds the exchange by binary search and one
// place by binary search, and builds no list.
//
// The place of an exchange is the place the exchange file lists for it. An
// exchange that is not listed answers its area code's place when the code
// serves exactly one place (212: New York, NY); otherwise it is told as not
// listed, with the state or province of the code.
//
// The clock a number gets is decided here too: ZonesOf() gives the zones of
// the places a call may ring at, and VerdictAt (LocalTime.h) the time there
// when it is certain; a single lookup and the batch both ask.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "number/PhoneNumber.h"

namespace tq {

class CCitySet;
class CAreaCodeSet;
class ExchangeTable;
class ZoneLaw;

struct NumberResult {
  enum class Status : std::uint8_t {
    kOk,               // `place` is the exchange's place
    kInvalid,          // not a North American number of ten digits (or area code and exchange)
    kNotGeographic,    // the area code serves no place (800, 900 ...)
    kUnknownExchange,  // the exchange is not listed; `state` is the code's
    kUnknownAreaCode,  // the area code is not in the data
    kNoExchangeData,   // no exchange file could be read
  };
  // Where `place` comes from with kOk.
  enum class Source : std::uint8_t { kNone, kExchange, kAreaCode };

  Status status = Status::kInvalid;
  Source source = Source::kNone;
  std::int32_t areaCode = -1;  // 0..999 once known
  std::int32_t exchange = -1;  // 0..999 once known
  std::int32_t line = -1;      // 0..9999 when all ten digits were given
  // "+19372221234" when all ten digits were given, else "".
  std::array<char, 13> e164{};
  std::string place;  // "Dayton" (code page 1252)
  std::string state;  // "OH": of the place, or with kUnknownExchange of the code
  std::int32_t cityId = -1;  // the place's record in cit.bin, -1 when none matches
  // With kOk from the exchange file: `place` is the city the area code is
  // known by, named for an exchange that no source names ("Los Angeles area").
  bool area = false;

  std::string_view E164() const { return e164.data(); }
  // "937-222", or "" before the exchange is known.
  std::string NumberText() const;
  bool operator==(const NumberResult&) const = default;
};

// The word of a status for scripts: "ok", "invalid", "not_geographic",
// "unknown_exchange", "unknown_area_code", "no_exchange_data".
const char* NumberStatusName(NumberResult::Status status);

// Zones of the places a call may ring at (ZoneLaw's numbers), as one of a
// few sets the lookup keeps: the same `id`, the same zones. Ids are small and
// dense: a zone alone has its own number, sets of several follow.
struct ZoneSet {
  int id = -1;
  std::span<const int> zones;
};

class NumberLookup {
 public:
  // The sets must be loaded; all of them must outlive the lookup and stay
  // unchanged (it keeps views of their columns). Without a zone law (null,
  // or one that could not be read) no number has a zone.
  NumberLookup(const CCitySet& cities, const CAreaCodeSet& areaCodes,
               const ExchangeTable& exchanges, const ZoneLaw* law = nullptr);
  NumberLookup(const NumberLookup&) = delete;  // its zone sets point into itself
  NumberLookup& operator=(const NumberLookup&) = delete;

  // The number as typed ("(937) 222-1234", "+1 937 222 1234").
  NumberResult Lookup(std::string_view text) const;
  // A number already parsed; `line` its last four digits or -1.
  NumberResult Lookup(const PhoneNumber& number, std::int32_t line = -1) const;

  // The zones of the places a call to the number of `result` may ring at:
  // the zone of its place; for an exchange that is not listed, or when no
  // exchange is known, those of every place of its area code; none when its
  // place has no zone or nothing is known of it.
  ZoneSet ZonesOf(const NumberResult& result) const;

 private:
  struct Place {
    std::string_view state, city;
    std::int32_t cityId;
    std::int64_t population;
  };
  struct Code {
    std::int32_t places = 0;        // distinct places of the code
    std::int32_t geographic = 0;    // of them, places with a time zone
    std::int32_t soleRow = -1;      // the row of cit.bin of its only place
    std::int32_t stateRow = -1;     // the row of its most populous place
    ZoneSet zones;                  // of all its places
  };
  const CCitySet& cities_;
  const ExchangeTable& exchanges_;
  std::vector<Place> places_;  // by state, then name; one per name and state
  std::array<Code, 1000> codes_{};
  const ZoneLaw* law_;
  // The zone sets: each zone alone at its own number, then those of the
  // area codes whose places keep several zones.
  std::vector<int> zoneSets_;
};

}  // namespace tq
