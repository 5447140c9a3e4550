#pragma once
// The clock time at a place from a UTC instant and the place's time zone
// fields: standard time is (-5 + fTimeZone) hours from UTC; places with the
// daylight-saving flag add one hour on the days of IsDaylightTimeInForce
// (TimeZoneLine.h, the one daylight rule), changing at 2:00 local time: from
// the second Sunday of March until the first Sunday of November. Places
// without the flag keep standard time all year.

#include <cstdint>
#include <optional>
#include <string>

namespace tq {

struct LocalClock {
  int year, month, day;  // month 1..12
  int weekday;           // 0 = Sunday .. 6 = Saturday
  int hour, minute;
  bool daylight;
  int offsetMinutes;  // from UTC
};

// Seconds since 1970-01-01 00:00 UTC, now.
std::int64_t UtcNow();

// False for a place without a time zone (24 and more, NaN).
bool HasLocalClock(float fTimeZone);
// Nothing for a place without a time zone.
std::optional<LocalClock> LocalClockAt(std::int64_t utcSeconds, float fTimeZone,
                                       int bDaylightSaving);

// "Eastern Daylight Time", "Mountain Standard Time".
std::string ZoneTimeName(float fTimeZone, bool daylight);
// "18:42", "6:42 PM", "Sunday", "-04:00".
std::string Clock24(const LocalClock& clock);
std::string Clock12(const LocalClock& clock);
const char* WeekdayName(const LocalClock& clock);
std::string UtcOffsetText(const LocalClock& clock);

// "2026-03-08T07:00Z" as seconds since 1970; nothing for another form.
std::optional<std::int64_t> ParseUtcInstant(const std::string& text);

}  // namespace tq
