#include "time/LocalTime.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>


namespace tq {
namespace {

using namespace std::chrono;

constexpr std::int64_t kHour = 3600;

std::int64_t SecondsOf(const year_month_day& date) {
  return static_cast<std::int64_t>(sys_days(date).time_since_epoch().count()) * 86400;
}

}  // namespace

std::int64_t UtcNow() {
  return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

namespace {

LocalClock ClockOf(std::int64_t utcSeconds, int offsetMinutes, bool daylight) {
  const std::int64_t local = utcSeconds + offsetMinutes * 60;
  const sys_days day = floor<days>(sys_seconds(seconds(local)));
  const year_month_day date(day);
  const std::int64_t secondOfDay = local - SecondsOf(date);
  return LocalClock{static_cast<int>(date.year()),
                    static_cast<int>(static_cast<unsigned>(date.month())),
                    static_cast<int>(static_cast<unsigned>(date.day())),
                    static_cast<int>(weekday(day).c_encoding()),
                    static_cast<int>(secondOfDay / kHour),
                    static_cast<int>(secondOfDay % kHour / 60),
                    daylight,
                    offsetMinutes,
                    {}};
}

}  // namespace

bool HasLocalClock(float fTimeZone) { return fTimeZone < 24.0f && fTimeZone >= -12.0f; }

std::optional<LocalClock> LocalClockAt(const ZoneLaw& law, int zone, std::int64_t utcSeconds) {
  const std::optional<ZoneTime> time = law.TimeAt(zone, utcSeconds);
  if (!time) return std::nullopt;
  // Offsets in whole minutes: every offset since 1970 is one.
  LocalClock clock = ClockOf(utcSeconds, time->offsetSeconds / 60, time->daylight);
  clock.zoneName = time->name;
  return clock;
}

int ThisComputerOffsetSeconds(std::int64_t utcSeconds) {
  const std::time_t at = static_cast<std::time_t>(utcSeconds);
  std::tm local{};
  if (!localtime_r(&at, &local)) return 0;
  return static_cast<int>(local.tm_gmtoff);
}

std::string DifferenceFromYou(int placeOffsetSeconds, int yourOffsetSeconds) {
  const int minutes = (placeOffsetSeconds - yourOffsetSeconds) / 60;
  if (minutes == 0) return "same time as you";
  const int size = std::abs(minutes);
  std::string hours = std::to_string(size / 60);
  if (size % 60 == 30) {
    hours += ".5";
  } else if (size % 60 != 0) {
    char rest[8];
    std::snprintf(rest, sizeof rest, ":%02d", size % 60);
    hours += rest;
  }
  return hours + (minutes < 0 ? " h behind you" : " h ahead of you");
}

std::optional<CallingHours> ParseCallingHours(std::string_view text) {
  int h1 = 0, m1 = 0, h2 = 0, m2 = 0, length = 0;
  const std::string copy(text);
  if (copy.size() != 11 ||
      std::sscanf(copy.c_str(), "%2d:%2d-%2d:%2d%n", &h1, &m1, &h2, &m2, &length) != 4 ||
      length != 11 || copy[0] == ' ' || copy[6] == ' ') {
    return std::nullopt;
  }
  // 24:00 ends a window at midnight.
  const bool valid = h1 >= 0 && h1 < 24 && m1 >= 0 && m1 < 60 && h2 >= 0 && m2 >= 0 &&
                     m2 < 60 && (h2 < 24 || (h2 == 24 && m2 == 0));
  if (!valid) return std::nullopt;
  const CallingHours hours{h1 * 60 + m1, h2 * 60 + m2};
  if (hours.first == hours.end % (24 * 60)) return std::nullopt;
  return hours;
}

std::string CallingHoursText(const CallingHours& hours) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d-%02d:%02d", hours.first / 60 % 100,
                hours.first % 60, hours.end / 60 % 100, hours.end % 60);
  return text;
}

bool IsCallable(const LocalClock& clock, const CallingHours& hours) {
  const int minute = clock.hour * 60 + clock.minute;
  if (hours.first < hours.end) return minute >= hours.first && minute < hours.end;
  return minute >= hours.first || minute < hours.end;
}

std::string Clock24(const LocalClock& clock) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d:%02d", clock.hour % 24, clock.minute % 60);
  return text;
}

std::string Clock12(const LocalClock& clock) {
  char text[16];
  const int hour = clock.hour % 12 == 0 ? 12 : clock.hour % 12;
  std::snprintf(text, sizeof text, "%d:%02d %s", hour, clock.minute % 60,
                clock.hour < 12 ? "AM" : "PM");
  return text;
}

const char* WeekdayName(const LocalClock& clock) {
  static constexpr const char* kNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                           "Thursday", "Friday", "Saturday"};
  return kNames[clock.weekday % 7];
}

std::string UtcOffsetText(const LocalClock& clock) {
  char text[8];
  const int minutes = std::abs(clock.offsetMinutes);
  std::snprintf(text, sizeof text, "%c%02d:%02d", clock.offsetMinutes < 0 ? '-' : '+',
                minutes / 60 % 100, minutes % 60);
  return text;
}

std::optional<std::int64_t> ParseUtcInstant(const std::string& text) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, length = 0;
  if (text.size() != 17 ||
      std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2dZ%n", &y, &mo, &d, &h, &mi, &length) != 5 ||
      length != 17 || h > 23 || mi > 59 || h < 0 || mi < 0 || y < 1970 || y > 2100) {
    return std::nullopt;
  }
  const year_month_day date{year(y), month(static_cast<unsigned>(mo)),
                            day(static_cast<unsigned>(d))};
  if (!date.ok()) return std::nullopt;
  return SecondsOf(date) + h * kHour + mi * 60;
}

}  // namespace tq
