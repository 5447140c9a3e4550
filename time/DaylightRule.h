#pragma once
// The North American daylight saving rule, the one daylight rule written in
// code: the zone law (tzl.bin) holds every other. It serves only a data
// folder without the zone law (ctz.bin and tzl.bin), whose places carry just
// their hours from Eastern time and a daylight-saving flag; a test holds it
// to the zone law's America/New_York for every year the law covers.
//
// Daylight time begins at 2:00 local standard time and ends at 2:00 local
// daylight time, on the days of the federal rule of the year: since 2007 the
// second Sunday of March to the first Sunday of November; 1987 to 2006 the
// first Sunday of April to the last Sunday of October; before, the last
// Sunday of April (1974: January 6; 1975: February 23) to the last Sunday of
// October.

#include <optional>

namespace tq {

struct DaylightDays {
  int startMonth, startDay;  // 1..12, 1..31
  int endMonth, endDay;
  bool operator==(const DaylightDays&) const = default;
};

// The days of `year`, 1970 to 2100; nothing for another year.
std::optional<DaylightDays> NorthAmericanDaylightDays(int year);

}  // namespace tq
