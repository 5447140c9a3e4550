#pragma once
// The time zone line of a city, e.g. "Central Standard Time (EST - 1.0 hours)":
// the kind of time in force there at an instant and its distance from
// Eastern time at the same instant, both by the zone law, so that the line
// switches at the hour the law switches (2:00 local) and follows every change
// of the law (Manitoba on Eastern time from November 2026, and so on).

#include <cstdint>
#include <string>

#include "time/ZoneLaw.h"

namespace tq {

// The line by the zone law: the place's kind of time at an instant and its
// distance from Eastern time at the same instant, measured from "EST" or
// "EDT" as Eastern time has it then: "Central Standard Time (EST - 1.0 hours)".
std::string TimeZoneText(const ZoneTime& place, const ZoneTime& eastern);
// The same for a place's zone at an instant; "" when the law does not cover
// them.
std::string TimeZoneText(const ZoneLaw& law, int zone, std::int64_t utcSeconds);

}  // namespace tq
