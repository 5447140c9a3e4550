#pragma once
// The time zone line of a city, e.g. "Central Standard Time (EST - 1.0 hours)":
// its zone, whether daylight time is in force there today, and its distance
// from Eastern time on that day.

#include <cstdint>
#include <string>

#include "lookup/ZoneLaw.h"

namespace tq {

struct CalendarDay {
  int month;    // 1..12
  int day;      // 1..31
  int weekday;  // 1 = Sunday .. 7 = Saturday
};

// The day of an instant (seconds since 1970, UTC), and today, in the user's
// local calendar.
CalendarDay LocalDayAt(std::int64_t utcSeconds);
CalendarDay LocalToday();

// Daylight time in whole days: from the second Sunday in March (included) up
// to the first Sunday in November (excluded).
bool IsDaylightTimeInForce(int month, int day, int weekday);

// "Eastern", "Central", ... for fTimeZone; "" for a value without a name.
const char* ZoneName(float fTimeZone);

// fTimeZone is in hours from Eastern standard time; 24 or more gives "".
std::string TimeZoneText(float fTimeZone, int bDaylightSaving, const CalendarDay& today);
std::string TimeZoneText(float fTimeZone, int bDaylightSaving);

// The line by the zone law: the place's kind of time at an instant and its
// distance from Eastern time at the same instant, measured from "EST" or
// "EDT" as Eastern time has it then: "Central Standard Time (EST - 1.0 hours)".
std::string TimeZoneText(const ZoneTime& place, const ZoneTime& eastern);
// The same for a place's zone at an instant; "" when the law does not cover
// them.
std::string TimeZoneText(const ZoneLaw& law, int zone, std::int64_t utcSeconds);

}  // namespace tq
