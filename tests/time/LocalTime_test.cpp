#include "time/LocalTime.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

namespace tq {
namespace {

TEST(LocalClockAt, NamesTheZoneAndTheDay) {
  ZoneLaw law;
  ASSERT_EQ(law.Open(std::filesystem::path(TELQUEST_SOURCE_DIR) / "res").text, "");
  const auto clock = LocalClockAt(law, law.FindZone("America/Phoenix"),
                                  *ParseIsoInstant("2026-07-04T19:00Z"));
  EXPECT_EQ(clock->zoneName + ", " + Clock12(*clock) + " " + WeekdayName(*clock) + " " +
                UtcOffsetText(*clock),
            "Mountain Standard Time, 12:00\xA0PM Saturday -07:00");
}

// The one grammar of every instant a user gives: --now, --date (a date and
// "T12:00Z") and the batch's time column.
TEST(ParseIsoInstant, DigitsOnlyWithAZoneInTheLawsYears) {
  const std::int64_t at = 1783291320;  // 2026-07-05T22:42Z
  const std::pair<const char*, std::optional<std::int64_t>> cases[] = {
      {"2026-07-05T22:42Z", at},
      {"2026-07-05 18:42:00-04:00", at},
      {"2026-07-06T04:12:30.75+0530", at + 30},
      {"2026-07-05t17:42-05", at},
      {"2026-07-05T22:41:60z", at},  // a leap second is the next second
      {"2024-02-29T00:00Z", 1709164800},
      {"1970-01-01T00:00Z", 0},
      {"2100-12-31T23:59Z", 4133980740},
      {"1969-12-31T23:59Z", std::nullopt},       // before the law
      {"1970-01-01T00:30+01:00", std::nullopt},  // 1969 in UTC
      {"2101-01-01T00:00Z", std::nullopt},       // after it
      {"2100-12-31T19:00-05:00", std::nullopt},
      {"2026-07-05T22:42", std::nullopt},        // no zone: not an instant
      {"2026-02-29T10:00Z", std::nullopt},
      {"2026-07-05T24:00Z", std::nullopt},
      {"2026-07-05T22:60Z", std::nullopt},
      {"2026-07-05T22:42:61Z", std::nullopt},
      {"2026-+1-01T+1:+1Z", std::nullopt},       // signs inside fields
      {"2026-07-05T22:42:-1Z", std::nullopt},
      {"2026-07-05T 2:42Z", std::nullopt},
      {"+2026-07-05T22:42Z", std::nullopt},
      {"2026-07-05T22:42+1:00", std::nullopt},
      {"2026-07-05T22:42+24:00", std::nullopt},
      {"2026-07-05T22:42+05:60", std::nullopt},
      {"2026-07-05T22:42:1Z", std::nullopt},
      {"2026-07-05T22:42:10.Z", std::nullopt},
      {"2026-07-05T22:42Zx", std::nullopt},
      {"2026-07-05", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& [text, seconds] : cases) EXPECT_EQ(ParseIsoInstant(text), seconds) << text;
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
               {"09:00-24:00", 23, 59, true}, {"9:00-17:00", 16, 59, true},
               {"9:00-7:30", 7, 0, true}};
  for (const auto& c : cases) {
    const auto hours = ParseCallingHours(c.window);
    ASSERT_TRUE(hours) << c.window;
    EXPECT_EQ(ParseCallingHours(CallingHoursText(*hours)), hours) << c.window;
    LocalClock clock{};
    clock.hour = c.hour;
    clock.minute = c.minute;
    EXPECT_EQ(IsCallable(clock, *hours), c.callable) << c.window << " " << c.hour;
  }
  for (const char* text : {"8:00-8:00", "08:00-08:00", "08:00-24:01", "25:00-02:00", "24:00-02:00",
                           "08:00 21:00", "08:00-21:00x", "+8:00-21:00", "8-21", "800-2100",
                           "08:0-21:00", "108:00-21:00", "08:00-", ""}) {
    EXPECT_FALSE(ParseCallingHours(text)) << text;
  }
  // 24:00 ends a day and begins none.
  EXPECT_EQ(ParseTimeOfDay("24:00", true), 24 * 60);
  EXPECT_FALSE(ParseTimeOfDay("24:00", false));
}

// One style for every clock of a text: the times and the calling hours.
TEST(ClockStyle, TimesAndHoursAlike) {
  LocalClock clock{};
  clock.hour = 13;
  clock.minute = 5;
  const CallingHours hours{8 * 60, 24 * 60};
  EXPECT_EQ(ClockText(clock, ClockStyle::k12Hour) + " " + HoursText(hours, ClockStyle::k12Hour),
            "1:05\xA0PM 8:00\xA0" "AM\x96" "12:00\xA0" "AM");
  EXPECT_EQ(ClockText(clock, ClockStyle::k24Hour) + " " + HoursText(hours, ClockStyle::k24Hour),
            "13:05 08:00\x96" "24:00");
  EXPECT_EQ(LocaleClockStyle(), ClockStyle::k12Hour);  // the C locale of the tests
}

TEST(DifferenceFromYou, SaysHowFarAndWhichWay) {
  EXPECT_EQ(DifferenceFromYou(-21600, -18000), "1\xA0h behind you");
  EXPECT_EQ(DifferenceFromYou(-9000, -18000), "2.5\xA0h ahead of you");
  EXPECT_EQ(DifferenceFromYou(-18000, 20700), "10:45\xA0h behind you");
  EXPECT_EQ(DifferenceFromYou(3600, 3600), "same time as you");
}

}  // namespace
}  // namespace tq
