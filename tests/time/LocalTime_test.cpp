#include "time/LocalTime.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace tq {
namespace {

TEST(LocalClockAt, NamesTheZoneAndTheDay) {
  ZoneLaw law;
  ASSERT_EQ(law.Open(std::filesystem::path(TELQUEST_SOURCE_DIR) / "res"), "");
  const auto clock = LocalClockAt(law, law.FindZone("America/Phoenix"),
                                  *ParseUtcInstant("2026-07-04T19:00Z"));
  EXPECT_EQ(clock->zoneName + ", " + Clock12(*clock) + " " + WeekdayName(*clock) + " " +
                UtcOffsetText(*clock),
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
