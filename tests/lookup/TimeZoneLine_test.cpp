// The time zone line: the daylight rule in whole days (second Sunday in
// March up to the first Sunday in November) and the text built from a city's
// offset, its daylight flag and the day.

#include "lookup/TimeZoneLine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "support/CommaLocale.h"

namespace tq {
namespace {

using namespace std::chrono;

CalendarDay ToCalendarDay(sys_days date) {
  const year_month_day ymd{date};
  return {static_cast<int>(static_cast<unsigned>(ymd.month())),
          static_cast<int>(static_cast<unsigned>(ymd.day())),
          static_cast<int>(weekday{date}.c_encoding()) + 1};
}

bool Daylight(sys_days date) {
  const CalendarDay c = ToCalendarDay(date);
  return IsDaylightTimeInForce(c.month, c.day, c.weekday);
}

std::string Show(sys_days date) {
  const year_month_day ymd{date};
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(ymd.year()),
                static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
  return text;
}

// Every day of the years the rule holds, against std::chrono's weekdays.
TEST(DaylightRule, EveryDayFrom2007To2099) {
  for (int y = 2007; y <= 2099; ++y) {
    const sys_days start{year{y} / March / Sunday[2]};
    const sys_days end{year{y} / November / Sunday[1]};
    for (sys_days d{year{y} / January / 1}; d <= sys_days{year{y} / December / 31}; d += days{1}) {
      ASSERT_EQ(Daylight(d), d >= start && d < end) << Show(d);
    }
  }
}

const CalendarDay kWinter = ToCalendarDay(sys_days{year{2026} / January / 15});
const CalendarDay kSummer = ToCalendarDay(sys_days{year{2026} / July / 15});

TEST(TimeZoneText, WinterAndSummerLines) {
  struct Line {
    float zone;
    int daylightSaving;
    const char* winter;
    const char* summer;
  };
  for (const Line& c : std::vector<Line>{
           {0, 0, "Eastern Standard Time", "Eastern Standard Time (EDT - 1.0 hours)"},
           {-0.0f, 1, "Eastern Standard Time", "Eastern Daylight Time"},
           {-1, 2, "Central Standard Time (EST - 1.0 hours)",  // any nonzero flag
            "Central Daylight Time (EDT - 1.0 hours)"},
           {-2, 0, "Mountain Standard Time (EST - 2.0 hours)", "Mountain Standard Time (EDT - 3.0 hours)"},
           {-3, 1, "Pacific Standard Time (EST - 3.0 hours)", "Pacific Daylight Time (EDT - 3.0 hours)"},
           {-4, 1, "Alaska Standard Time (EST - 4.0 hours)", "Alaska Daylight Time (EDT - 4.0 hours)"},
           {-5, 0, "Hawaii Standard Time (EST - 5.0 hours)", "Hawaii Standard Time (EDT - 6.0 hours)"},
           {-6, 0, "Samoa Standard Time (EST - 6.0 hours)", "Samoa Standard Time (EDT - 7.0 hours)"},
           {1, 0, "Atlantic Standard Time (EST + 1.0 hours)", "Atlantic Standard Time"},
           {1.5f, 0, "Newfoundland Standard Time (EST + 1.5 hours)",
            "Newfoundland Standard Time (EDT + 0.5 hours)"},
           {15, 0, "Chamorro Standard Time (EST + 15.0 hours)",
            "Chamorro Standard Time (EDT + 14.0 hours)"},
           {0.5f, 0, " Standard Time (EST + 0.5 hours)", " Standard Time (EDT - 0.5 hours)"},  // no name
           {-23.5f, 0, " Standard Time (EST - 23.5 hours)", " Standard Time (EDT - 24.5 hours)"}}) {
    EXPECT_EQ(TimeZoneText(c.zone, c.daylightSaving, kWinter), c.winter) << c.zone;
    EXPECT_EQ(TimeZoneText(c.zone, c.daylightSaving, kSummer), c.summer) << c.zone;
  }
}

TEST(TimeZoneText, NoLineFrom24OnAndForNaN) {
  for (float zone : {24.0f, 1e30f, std::numeric_limits<float>::infinity(),
                     std::numeric_limits<float>::quiet_NaN()}) {
    EXPECT_EQ(TimeZoneText(zone, 1, kSummer), "") << zone;
  }
  EXPECT_EQ(TimeZoneText(std::nextafter(24.0f, 0.0f), 0, kWinter),
            " Standard Time (EST + 24.0 hours)");
}

// The number is printed as "%.1f" prints it: every quarter hour from -23.75
// to 23.75 against the C library's own formatting.
TEST(TimeZoneText, OffsetIsPrintedWithOneDecimal) {
  for (int quarters = -95; quarters <= 95; ++quarters) {
    const float zone = static_cast<float>(quarters) / 4.0f;
    char tail[64] = "Standard Time";
    if (zone != 0) {
      std::snprintf(tail, sizeof tail, "Standard Time (EST %c %.1f hours)", zone > 0 ? '+' : '-',
                    static_cast<double>(std::fabs(zone)));
    }
    const std::string line = TimeZoneText(zone, 1, kWinter);
    EXPECT_TRUE(line.ends_with(tail)) << line << " / " << tail;
  }
}

TEST(TimeZoneText, KeepsThePointUnderADecimalCommaLocale) {
  test::CommaLocale comma;
  if (!comma.active()) GTEST_SKIP() << "no locale with a decimal comma installed";
  EXPECT_EQ(TimeZoneText(1.5f, 1, kWinter), "Newfoundland Standard Time (EST + 1.5 hours)");
}

}  // namespace
}  // namespace tq
