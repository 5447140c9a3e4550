#pragma once
// The clock time at a place at a UTC instant, by the zone law (ZoneLaw.h) of
// that instant; its texts; the calling hours; the distance from this
// computer's own time.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "time/ZoneLaw.h"

namespace tq {

// The local hours in which one may call a place: from `first` up to (not
// including) `end`, minutes after midnight; a window whose end comes before
// its start runs over midnight.
struct CallingHours {
  int first = 8 * 60;
  int end = 21 * 60;
  bool operator==(const CallingHours&) const = default;
};

struct LocalClock {
  int year, month, day;  // month 1..12
  int weekday;           // 0 = Sunday .. 6 = Saturday
  int hour, minute;
  bool daylight;
  int offsetMinutes;  // from UTC
  std::string zoneName;  // "Central Daylight Time"
};

// Seconds since 1970-01-01 00:00 UTC, now.
std::int64_t UtcNow();

// False for a record without a time zone (24 and more, NaN): a
// non-geographic place. Its local time comes from the zone law alone.
bool HasLocalClock(float fTimeZone);

// The clock of `zone` at an instant by the zone law; nothing when the law
// does not cover the instant or the zone.
std::optional<LocalClock> LocalClockAt(const ZoneLaw& law, int zone, std::int64_t utcSeconds);

// The clocks of `zones` at an instant, one per kind of time in force: zones
// that keep the same time then (offset and zone name) give one clock, that of
// the first of them (`index` in `zones`). Zones the law does not cover at the
// instant give none.
struct ZoneClock {
  LocalClock clock;
  std::size_t index;
};
std::vector<ZoneClock> DistinctClocksAt(const ZoneLaw& law, std::span<const int> zones,
                                        std::int64_t utcSeconds);

// What may be said of the time where a call rings, when the places it may
// reach keep the clocks of `zones` (the place called, or every place of an
// area code): the local time when it is certain, that is when all of them
// keep the same time at the instant, and whether that time lies inside the
// calling hours. Neither when they keep different times or none is known:
// never a guess. The one rule of every face of the lookup.
struct CallVerdict {
  std::optional<LocalClock> clock;
  std::optional<bool> callable;
};
CallVerdict VerdictAt(const ZoneLaw& law, std::span<const int> zones, std::int64_t utcSeconds,
                      const CallingHours& hours);

// "Central" of "Central Daylight Time": the zone's name without its kind of
// time.
std::string ZoneFamily(std::string_view zoneName);

// This computer's own offset from UTC at an instant, in seconds (by its TZ).
int ThisComputerOffsetSeconds(std::int64_t utcSeconds);
// "3 h behind you", "1.5 h ahead of you", "same time as you".
std::string DifferenceFromYou(int placeOffsetSeconds, int yourOffsetSeconds);


// A time of day, "9:00" or "09:00" (hour and minute, digits only), as
// minutes after midnight; "24:00", the end of a day, only when `endOfDay`.
// Nothing for another form.
std::optional<int> ParseTimeOfDay(std::string_view text, bool endOfDay);
// The calling hours from `first` to `end` (minutes after midnight; `end` up
// to 24:00); nothing for an empty window, whose ends are the same time.
std::optional<CallingHours> CallingHoursOf(int first, int end);
// "09:00-20:00" or "9:00-20:00"; nothing for another form or an empty window.
std::optional<CallingHours> ParseCallingHours(std::string_view text);
std::string CallingHoursText(const CallingHours& hours);
bool IsCallable(const LocalClock& clock, const CallingHours& hours);

// "18:42", "6:42 PM" (code page 1252: a no-break space before PM),
// "Sunday", "-04:00".
std::string Clock24(const LocalClock& clock);
std::string Clock12(const LocalClock& clock);

// How the user reads a clock, as the locale's time format (LC_TIME) has it:
// 12-hour where it writes AM and PM, and in the C locales (C, C.UTF-8,
// POSIX); else 24-hour.
enum class ClockStyle { k12Hour, k24Hour };
ClockStyle LocaleClockStyle();
// "6:42 PM" or "18:42".
std::string ClockText(const LocalClock& clock, ClockStyle style);
// The calling hours in that style, code page 1252: "8:00 AM\x969:00 PM",
// "08:00\x9621:00".
std::string HoursText(const CallingHours& hours, ClockStyle style);
const char* WeekdayName(const LocalClock& clock);
std::string UtcOffsetText(const LocalClock& clock);

// The instants the zone law covers: from 1970-01-01 00:00 UTC up to (not
// including) 2101-01-01 00:00 UTC.
inline constexpr std::int64_t kFirstInstant = 0;
inline constexpr std::int64_t kEndOfInstants = 4133980800;

// An ISO 8601 instant as seconds since 1970, UTC; the one reader of every
// instant a user gives (--now, --date, a batch time column). The form:
//   YYYY-MM-DD, "T" (or "t" or a blank), HH:MM, optionally :SS and a
//   fraction (after "." or ","), then "Z" (or "z") or an offset from UTC:
//   +HH:MM, +HHMM or +HH (or "-").
// Every field is exactly its count of ASCII digits (no signs, no blanks),
// the day is one of the calendar, hours 00-23, minutes 00-59, seconds 00-60
// (60, a leap second, is read as the next second), and the instant lies in
// the range above. Nothing for any other text.
std::optional<std::int64_t> ParseIsoInstant(std::string_view text);

}  // namespace tq
