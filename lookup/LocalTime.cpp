#include "lookup/LocalTime.h"

#include <chrono>
#include <cmath>
#include <cstdio>

#include "lookup/TimeZoneLine.h"

namespace tq {
namespace {

using namespace std::chrono;

constexpr std::int64_t kHour = 3600;

std::int64_t SecondsOf(const year_month_day& date) {
  return static_cast<std::int64_t>(sys_days(date).time_since_epoch().count()) * 86400;
}

// Daylight time at a moment given in local standard time (seconds): the
// day rule of IsDaylightTimeInForce, with the change at 2:00 local time. In
// spring that is 2:00 standard time, in autumn 2:00 daylight time, which is
// 1:00 standard time: the day the moment is in once shifted back by that.
bool DaylightAt(std::int64_t standardSeconds) {
  const year_month_day date{floor<days>(sys_seconds(seconds(standardSeconds)))};
  const std::int64_t change = static_cast<unsigned>(date.month()) <= 6 ? 2 * kHour : kHour;
  const sys_days day = floor<days>(sys_seconds(seconds(standardSeconds - change)));
  const year_month_day shifted(day);
  return IsDaylightTimeInForce(static_cast<int>(static_cast<unsigned>(shifted.month())),
                               static_cast<int>(static_cast<unsigned>(shifted.day())),
                               static_cast<int>(weekday(day).c_encoding()) + 1);
}

}  // namespace

std::int64_t UtcNow() {
  return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

bool HasLocalClock(float fTimeZone) { return fTimeZone < 24.0f && fTimeZone >= -12.0f; }

std::optional<LocalClock> LocalClockAt(std::int64_t utcSeconds, float fTimeZone,
                                       int bDaylightSaving) {
  if (!HasLocalClock(fTimeZone)) return std::nullopt;
  int offsetMinutes = static_cast<int>(std::lround((fTimeZone - 5.0f) * 60.0f));
  const std::int64_t standard = utcSeconds + offsetMinutes * 60;
  const bool daylight = (bDaylightSaving & 0xFF) != 0 && DaylightAt(standard);
  if (daylight) offsetMinutes += 60;
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
                    offsetMinutes};
}

std::string ZoneTimeName(float fTimeZone, bool daylight) {
  std::string name = ZoneName(fTimeZone);
  if (!name.empty()) name += ' ';
  return name + (daylight ? "Daylight Time" : "Standard Time");
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
      length != 17 || h > 23 || mi > 59 || h < 0 || mi < 0) {
    return std::nullopt;
  }
  const year_month_day date{year(y), month(static_cast<unsigned>(mo)),
                            day(static_cast<unsigned>(d))};
  if (!date.ok()) return std::nullopt;
  return SecondsOf(date) + h * kHour + mi * 60;
}

}  // namespace tq
