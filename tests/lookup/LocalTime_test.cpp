#include "lookup/LocalTime.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace tq {
namespace {

struct Case {
  const char* utc;
  float timeZone;
  int daylightSaving;
  const char* local;  // "" when the place has no clock
};

// Switch days of 2026, 2027 and the leap year 2028 in three zones, and
// places that keep standard time all year.
constexpr Case kCases[] = {
    {"2026-03-08T06:59Z", 0, 1, "2026-03-08 01:59 EST"},
    {"2026-03-08T07:00Z", 0, 1, "2026-03-08 03:00 EDT"},
    {"2026-11-01T05:59Z", 0, 1, "2026-11-01 01:59 EDT"},
    {"2026-11-01T06:00Z", 0, 1, "2026-11-01 01:00 EST"},
    {"2027-11-07T06:59Z", -1, 1, "2027-11-07 01:59 EDT"},
    {"2027-11-07T07:00Z", -1, 1, "2027-11-07 01:00 EST"},
    {"2028-02-29T20:00Z", -3, 1, "2028-02-29 12:00 EST"},
    {"2028-11-05T08:59Z", -3, 1, "2028-11-05 01:59 EDT"},
    {"2028-11-05T09:00Z", -3, 1, "2028-11-05 01:00 EST"},
    {"2028-12-31T08:30Z", -3, 1, "2028-12-31 00:30 EST"},
    {"2026-07-04T19:00Z", -2, 0, "2026-07-04 12:00 EST"},   // Arizona
    {"2026-07-04T19:00Z", 1.5f, 1, "2026-07-04 16:30 EDT"}, // Newfoundland
    {"2026-07-04T19:00Z", 15, 0, "2026-07-05 05:00 EST"},   // Guam
    {"2026-07-04T19:00Z", 24, 0, ""},
};

TEST(LocalClockAt, SwitchDaysAndYearRoundPlaces) {
  for (const Case& c : kCases) {
    const auto clock = LocalClockAt(*ParseUtcInstant(c.utc), c.timeZone, c.daylightSaving);
    char text[32] = "";
    if (clock) {
      std::snprintf(text, sizeof text, "%04d-%02d-%02d %s %s", clock->year, clock->month,
                    clock->day, Clock24(*clock).c_str(), clock->daylight ? "EDT" : "EST");
    }
    EXPECT_EQ(text, std::string(c.local)) << c.utc << " " << c.timeZone;
  }
}

TEST(LocalClockAt, NamesTheZoneAndTheDay) {
  const auto clock = LocalClockAt(*ParseUtcInstant("2026-07-04T19:00Z"), -2, 0);
  EXPECT_EQ(ZoneTimeName(-2, clock->daylight) + ", " + Clock12(*clock) + " " +
                WeekdayName(*clock) + " " + UtcOffsetText(*clock),
            "Mountain Standard Time, 12:00 PM Saturday -07:00");
}

TEST(ParseUtcInstant, RefusesOtherForms) {
  for (const char* text : {"2026-02-30T10:00Z", "2026-01-01T24:00Z", "2026-01-01 10:00Z",
                           "2026-01-01T10:00", "2026-01-01T10:00Zx", "1969-12-31T23:59Z",
                           "2101-01-01T00:00Z"}) {
    EXPECT_FALSE(ParseUtcInstant(text)) << text;
  }
}

}  // namespace
}  // namespace tq
