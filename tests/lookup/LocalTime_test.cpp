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

// The window's ends: the first minute is in, the end minute out; a window
// whose end comes first runs over midnight.
TEST(CallingHours, ParsedAndApplied) {
  const struct {
    const char* window;
    int hour, minute;
    bool callable;
  } cases[] = {{"08:00-21:00", 8, 0, true},   {"08:00-21:00", 7, 59, false},
               {"08:00-21:00", 20, 59, true}, {"08:00-21:00", 21, 0, false},
               {"22:00-06:30", 23, 0, true},  {"22:00-06:30", 6, 30, false},
               {"09:00-24:00", 23, 59, true}};
  for (const auto& c : cases) {
    const auto hours = ParseCallingHours(c.window);
    ASSERT_TRUE(hours) << c.window;
    EXPECT_EQ(CallingHoursText(*hours), c.window);
    LocalClock clock{};
    clock.hour = c.hour;
    clock.minute = c.minute;
    EXPECT_EQ(IsCallable(clock, *hours), c.callable) << c.window << " " << c.hour;
  }
  for (const char* text : {"8:00-21:00", "08:00-08:00", "08:00-24:01", "25:00-02:00",
                           "08:00 21:00", "08:00-21:00x", ""}) {
    EXPECT_FALSE(ParseCallingHours(text)) << text;
  }
}

TEST(DifferenceFromYou, SaysHowFarAndWhichWay) {
  EXPECT_EQ(DifferenceFromYou(-21600, -18000), "1 h behind you");
  EXPECT_EQ(DifferenceFromYou(-9000, -18000), "2.5 h ahead of you");
  EXPECT_EQ(DifferenceFromYou(-18000, 20700), "10:45 h behind you");
  EXPECT_EQ(DifferenceFromYou(3600, 3600), "same time as you");
}

}  // namespace
}  // namespace tq
