// The time zone line: the daylight rule in whole days (second Sunday in
// March up to the first Sunday in November) and the text built from a city's
// offset, its daylight flag and the day.

#include "lookup/TimeZoneLine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <limits>
#include <map>
#include <ostream>
#include <string>

namespace tq {
namespace {

using namespace std::chrono;

CalendarDay ToCalendarDay(sys_days date) {
  const year_month_day ymd{date};
  return {static_cast<int>(static_cast<unsigned>(ymd.month())),
          static_cast<int>(static_cast<unsigned>(ymd.day())),
          static_cast<int>(weekday{date}.c_encoding()) + 1};
}

CalendarDay Day(int y, unsigned m, unsigned d) {
  return ToCalendarDay(sys_days{year{y} / month{m} / day{d}});
}

bool Daylight(sys_days date) {
  const CalendarDay c = ToCalendarDay(date);
  return IsDaylightTimeInForce(c.month, c.day, c.weekday);
}

sys_days SecondSundayOfMarch(int y) { return sys_days{year{y} / March / Sunday[2]}; }
sys_days FirstSundayOfNovember(int y) { return sys_days{year{y} / November / Sunday[1]}; }

std::string Show(sys_days date) {
  const year_month_day ymd{date};
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(ymd.year()),
                static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
  return text;
}

// ---------------------------------------------------------------------------
// IsDaylightTimeInForce

struct SwitchYear {
  int year;
  unsigned marchSunday;     // daylight time starts on this day
  unsigned novemberSunday;  // and ends on this one
};

class DaylightSwitchTest : public ::testing::TestWithParam<SwitchYear> {};

TEST_P(DaylightSwitchTest, SwitchingSundaysAreTheOnesExpected) {
  const SwitchYear& s = GetParam();
  EXPECT_EQ(SecondSundayOfMarch(s.year), sys_days{year{s.year} / March / day{s.marchSunday}});
  EXPECT_EQ(FirstSundayOfNovember(s.year),
            sys_days{year{s.year} / November / day{s.novemberSunday}});
}

TEST_P(DaylightSwitchTest, StartsOnTheSecondSundayInMarch) {
  const SwitchYear& s = GetParam();
  const sys_days start = SecondSundayOfMarch(s.year);
  EXPECT_FALSE(Daylight(sys_days{year{s.year} / March / 1})) << s.year;
  EXPECT_FALSE(Daylight(start - days{7})) << Show(start - days{7}) << ", the first Sunday";
  EXPECT_FALSE(Daylight(start - days{1})) << Show(start - days{1});
  EXPECT_TRUE(Daylight(start)) << Show(start);
  EXPECT_TRUE(Daylight(start + days{1})) << Show(start + days{1});
  EXPECT_TRUE(Daylight(sys_days{year{s.year} / March / 31})) << s.year;
}

TEST_P(DaylightSwitchTest, EndsOnTheFirstSundayInNovember) {
  const SwitchYear& s = GetParam();
  const sys_days end = FirstSundayOfNovember(s.year);
  EXPECT_TRUE(Daylight(sys_days{year{s.year} / October / 31})) << s.year;
  EXPECT_TRUE(Daylight(end - days{1})) << Show(end - days{1});
  EXPECT_FALSE(Daylight(end)) << Show(end);
  EXPECT_FALSE(Daylight(end + days{1})) << Show(end + days{1});
  EXPECT_FALSE(Daylight(end + days{7})) << Show(end + days{7});
  EXPECT_FALSE(Daylight(sys_days{year{s.year} / November / 30})) << s.year;
}

INSTANTIATE_TEST_SUITE_P(
    Years, DaylightSwitchTest,
    ::testing::Values(SwitchYear{2026, 8, 1},    // 1 March and 1 November are Sundays
                      SwitchYear{2027, 14, 7},   // the latest possible days
                      SwitchYear{2028, 12, 5},   // a leap year
                      SwitchYear{2029, 11, 4}, SwitchYear{2020, 8, 1},
                      SwitchYear{2021, 14, 7}, SwitchYear{2007, 11, 4}),
    [](const ::testing::TestParamInfo<SwitchYear>& info) {
      return "Y" + std::to_string(info.param.year);
    });

TEST(DaylightRule, OneDayInEachMonth) {
  const bool expected[12] = {false, false, true, true, true, true,
                             true,  true,  true, true, false, false};
  for (unsigned m = 1; m <= 12; ++m) {
    const CalendarDay d = Day(2026, m, 15);
    EXPECT_EQ(IsDaylightTimeInForce(d.month, d.day, d.weekday), expected[m - 1]) << "month " << m;
  }
}

TEST(DaylightRule, EveryDayFrom2007To2099) {
  for (int y = 2007; y <= 2099; ++y) {
    const sys_days start = SecondSundayOfMarch(y);
    const sys_days end = FirstSundayOfNovember(y);
    for (sys_days d = sys_days{year{y} / January / 1}; d <= sys_days{year{y} / December / 31};
         d += days{1}) {
      ASSERT_EQ(Daylight(d), d >= start && d < end) << Show(d);
    }
  }
}

// ---------------------------------------------------------------------------
// TimeZoneText

const CalendarDay kWinter = Day(2026, 1, 15);
const CalendarDay kSummer = Day(2026, 7, 15);

struct LineCase {
  float zone;
  int daylightSaving;
  const char* winter;
  const char* summer;
};

void PrintTo(const LineCase& c, std::ostream* os) {
  *os << c.zone << "/" << c.daylightSaving;
}

class TimeZoneLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(TimeZoneLineTest, WinterAndSummer) {
  const LineCase& c = GetParam();
  EXPECT_EQ(TimeZoneText(c.zone, c.daylightSaving, kWinter), c.winter);
  EXPECT_EQ(TimeZoneText(c.zone, c.daylightSaving, kSummer), c.summer);
}

TEST_P(TimeZoneLineTest, SwitchesOnTheBoundaryDays) {
  const LineCase& c = GetParam();
  for (int y : {2026, 2027, 2028}) {
    const sys_days start = SecondSundayOfMarch(y);
    const sys_days end = FirstSundayOfNovember(y);
    EXPECT_EQ(TimeZoneText(c.zone, c.daylightSaving, ToCalendarDay(start - days{1})), c.winter)
        << Show(start - days{1});
    EXPECT_EQ(TimeZoneText(c.zone, c.daylightSaving, ToCalendarDay(start)), c.summer)
        << Show(start);
    EXPECT_EQ(TimeZoneText(c.zone, c.daylightSaving, ToCalendarDay(end - days{1})), c.summer)
        << Show(end - days{1});
    EXPECT_EQ(TimeZoneText(c.zone, c.daylightSaving, ToCalendarDay(end)), c.winter)
        << Show(end);
  }
}

INSTANTIATE_TEST_SUITE_P(
    NamedZones, TimeZoneLineTest,
    ::testing::Values(
        LineCase{0, 1, "Eastern Standard Time", "Eastern Daylight Time"},
        LineCase{0, 0, "Eastern Standard Time", "Eastern Standard Time (EDT - 1.0 hours)"},
        LineCase{-1, 1, "Central Standard Time (EST - 1.0 hours)",
                 "Central Daylight Time (EDT - 1.0 hours)"},
        LineCase{-2, 0, "Mountain Standard Time (EST - 2.0 hours)",
                 "Mountain Standard Time (EDT - 3.0 hours)"},
        LineCase{-3, 1, "Pacific Standard Time (EST - 3.0 hours)",
                 "Pacific Daylight Time (EDT - 3.0 hours)"},
        LineCase{-5, 0, "Hawaii Standard Time (EST - 5.0 hours)",
                 "Hawaii Standard Time (EDT - 6.0 hours)"},
        LineCase{1, 0, "Atlantic Standard Time (EST + 1.0 hours)", "Atlantic Standard Time"},
        LineCase{1.5f, 1, "Newfoundland Standard Time (EST + 1.5 hours)",
                 "Newfoundland Daylight Time (EDT + 1.5 hours)"},
        // Further combinations of the same rules.
        LineCase{-2, 1, "Mountain Standard Time (EST - 2.0 hours)",
                 "Mountain Daylight Time (EDT - 2.0 hours)"},
        LineCase{-4, 1, "Alaska Standard Time (EST - 4.0 hours)",
                 "Alaska Daylight Time (EDT - 4.0 hours)"},
        LineCase{1, 1, "Atlantic Standard Time (EST + 1.0 hours)",
                 "Atlantic Daylight Time (EDT + 1.0 hours)"},
        LineCase{1.5f, 0, "Newfoundland Standard Time (EST + 1.5 hours)",
                 "Newfoundland Standard Time (EDT + 0.5 hours)"},
        LineCase{-1, 2, "Central Standard Time (EST - 1.0 hours)",  // any nonzero flag
                 "Central Daylight Time (EDT - 1.0 hours)"},
        LineCase{-0.0f, 1, "Eastern Standard Time", "Eastern Daylight Time"}));

INSTANTIATE_TEST_SUITE_P(
    UnnamedOffsets, TimeZoneLineTest,
    ::testing::Values(
        LineCase{23.5f, 1, " Standard Time (EST + 23.5 hours)",
                 " Daylight Time (EDT + 23.5 hours)"},
        LineCase{-1.5f, 1, " Standard Time (EST - 1.5 hours)",
                 " Daylight Time (EDT - 1.5 hours)"},
        LineCase{-6, 0, " Standard Time (EST - 6.0 hours)", " Standard Time (EDT - 7.0 hours)"},
        LineCase{2, 1, " Standard Time (EST + 2.0 hours)", " Daylight Time (EDT + 2.0 hours)"},
        LineCase{0.5f, 0, " Standard Time (EST + 0.5 hours)",
                 " Standard Time (EDT - 0.5 hours)"},
        LineCase{-23.5f, 0, " Standard Time (EST - 23.5 hours)",
                 " Standard Time (EDT - 24.5 hours)"}));

INSTANTIATE_TEST_SUITE_P(
    NoLine, TimeZoneLineTest,
    ::testing::Values(LineCase{24, 1, "", ""}, LineCase{24, 0, "", ""},
                      LineCase{24.5f, 1, "", ""}, LineCase{99, 0, "", ""},
                      LineCase{1e30f, 1, "", ""},
                      LineCase{std::numeric_limits<float>::infinity(), 1, "", ""},
                      LineCase{std::numeric_limits<float>::quiet_NaN(), 1, "", ""},
                      LineCase{std::numeric_limits<float>::quiet_NaN(), 0, "", ""}));

TEST(TimeZoneText, JustBelow24StillHasALine) {
  EXPECT_EQ(TimeZoneText(std::nextafter(24.0f, 0.0f), 0, kWinter),
            " Standard Time (EST + 24.0 hours)");
}

// The number is printed as "%.1f" prints it; every quarter hour from -23.75
// to 23.75 is compared with the C library's own formatting.
TEST(TimeZoneText, OffsetIsPrintedWithOneDecimal) {
  const std::map<float, std::string> names = {
      {0.0f, "Eastern"},  {-1.0f, "Central"}, {-2.0f, "Mountain"},
      {-3.0f, "Pacific"}, {-4.0f, "Alaska"},  {-5.0f, "Hawaii"},
      {1.0f, "Atlantic"}, {1.5f, "Newfoundland"}};
  for (int quarters = -95; quarters <= 95; ++quarters) {
    const float zone = static_cast<float>(quarters) / 4.0f;
    std::string expected;
    if (const auto it = names.find(zone); it != names.end()) expected = it->second;
    expected += " Standard Time";
    char parenthesis[64] = "";
    if (zone > 0) {
      std::snprintf(parenthesis, sizeof parenthesis, " (EST + %.1f hours)", zone);
    } else if (zone < 0) {
      std::snprintf(parenthesis, sizeof parenthesis, " (EST - %.1f hours)", -zone);
    }
    expected += parenthesis;
    EXPECT_EQ(TimeZoneText(zone, 1, kWinter), expected) << "zone " << zone;
  }
}

TEST(TimeZoneText, KeepsThePointUnderADecimalCommaLocale) {
  bool switched = false;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE"}) {
    if (std::setlocale(LC_NUMERIC, name) != nullptr &&
        std::string(std::localeconv()->decimal_point) == ",") {
      switched = true;
      break;
    }
  }
  if (!switched) {
    std::setlocale(LC_NUMERIC, "C");
    GTEST_SKIP() << "no locale with a decimal comma installed";
  }
  const std::string line = TimeZoneText(1.5f, 1, kWinter);
  std::setlocale(LC_NUMERIC, "C");
  EXPECT_EQ(line, "Newfoundland Standard Time (EST + 1.5 hours)");
}

TEST(TimeZoneText, WithoutADayUsesTodaysLocalDate) {
  // Retried once in case the date changes between the two calls.
  for (int attempt = 0; attempt < 2; ++attempt) {
    const CalendarDay before = LocalToday();
    const std::string line = TimeZoneText(-1, 1);
    const CalendarDay after = LocalToday();
    if (before.month != after.month || before.day != after.day) continue;
    EXPECT_EQ(line, TimeZoneText(-1, 1, before));
    return;
  }
}

TEST(LocalToday, AgreesWithTheCalendar) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  const CalendarDay today = LocalToday();
  const CalendarDay expected = Day(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                                   static_cast<unsigned>(local.tm_mday));
  if (today.day != expected.day) GTEST_SKIP() << "midnight passed during the test";
  EXPECT_EQ(today.month, expected.month);
  EXPECT_EQ(today.day, expected.day);
  EXPECT_EQ(today.weekday, expected.weekday);
}

}  // namespace
}  // namespace tq
