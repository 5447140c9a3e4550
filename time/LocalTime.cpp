#include "time/LocalTime.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <clocale>
#include <ctime>
#include <langinfo.h>

#include "base/Text.h"

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

std::vector<ZoneClock> DistinctClocksAt(const ZoneLaw& law, std::span<const int> zones,
                                        std::int64_t utcSeconds) {
  std::vector<ZoneClock> clocks;
  for (std::size_t i = 0; i < zones.size(); ++i) {
    std::optional<LocalClock> clock = LocalClockAt(law, zones[i], utcSeconds);
    if (!clock) continue;
    const bool same = std::any_of(clocks.begin(), clocks.end(), [&](const ZoneClock& known) {
      return known.clock.offsetMinutes == clock->offsetMinutes &&
             known.clock.zoneName == clock->zoneName;
    });
    if (!same) clocks.push_back({std::move(*clock), i});
  }
  return clocks;
}

CallVerdict VerdictAt(const ZoneLaw& law, std::span<const int> zones, std::int64_t utcSeconds,
                      const CallingHours& hours) {
  std::vector<ZoneClock> clocks = DistinctClocksAt(law, zones, utcSeconds);
  if (clocks.size() != 1) return {};
  const bool callable = IsCallable(clocks.front().clock, hours);
  return {std::move(clocks.front().clock), callable};
}

std::string ZoneFamily(std::string_view zoneName) {
  for (const std::string_view kind : {" Double Daylight Time", " Daylight Time", " Standard Time"}) {
    if (zoneName.ends_with(kind)) {
      zoneName.remove_suffix(kind.size());
      break;
    }
  }
  return std::string(zoneName);
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
  // A no-break space keeps the number and its unit on one line.
  return hours + (minutes < 0 ? "\xA0h behind you" : "\xA0h ahead of you");
}

std::optional<int> ParseTimeOfDay(std::string_view text, bool endOfDay) {
  const std::size_t colon = text.find(':');
  if (colon != 1 && colon != 2) return std::nullopt;
  if (text.size() != colon + 3) return std::nullopt;
  const int hour = DigitsValue(text.substr(0, colon));
  const int minute = DigitsValue(text.substr(colon + 1));
  if (hour < 0 || minute < 0 || minute >= 60) return std::nullopt;
  // 24:00 is the end of a day, and nothing later.
  if (hour > 24 || (hour == 24 && (minute != 0 || !endOfDay))) return std::nullopt;
  return hour * 60 + minute;
}

std::optional<CallingHours> CallingHoursOf(int first, int end) {
  if (first < 0 || first >= 24 * 60 || end < 0 || end > 24 * 60) return std::nullopt;
  if (first == end % (24 * 60)) return std::nullopt;  // an empty window
  return CallingHours{first, end};
}

std::optional<CallingHours> ParseCallingHours(std::string_view text) {
  const std::size_t dash = text.find('-');
  if (dash == std::string_view::npos) return std::nullopt;
  const std::optional<int> first = ParseTimeOfDay(text.substr(0, dash), false);
  const std::optional<int> end = ParseTimeOfDay(text.substr(dash + 1), true);
  if (!first || !end) return std::nullopt;
  return CallingHoursOf(*first, *end);
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
  std::snprintf(text, sizeof text, "%d:%02d\xA0%s", hour, clock.minute % 60,
                clock.hour < 12 ? "AM" : "PM");
  return text;
}

ClockStyle LocaleClockStyle() {
  const char* locale = std::setlocale(LC_TIME, nullptr);
  const std::string_view name = locale ? locale : "C";
  if (name == "C" || name == "POSIX" || name.starts_with("C.")) return ClockStyle::k12Hour;
  const std::string_view format = nl_langinfo(T_FMT);
  for (const char* twelve : {"%p", "%r", "%I", "%l"}) {
    if (format.find(twelve) != std::string_view::npos) return ClockStyle::k12Hour;
  }
  return format.empty() ? ClockStyle::k12Hour : ClockStyle::k24Hour;
}

std::string ClockText(const LocalClock& clock, ClockStyle style) {
  return style == ClockStyle::k12Hour ? Clock12(clock) : Clock24(clock);
}

std::string HoursText(const CallingHours& hours, ClockStyle style) {
  const auto at = [style](int minutes) {
    // 24:00, the end of a day, is midnight to a 12-hour clock.
    if (style == ClockStyle::k24Hour && minutes == 24 * 60) return std::string("24:00");
    LocalClock clock{};
    clock.hour = minutes / 60 % 24;
    clock.minute = minutes % 60;
    return ClockText(clock, style);
  };
  return at(hours.first) + "\x96" + at(hours.end);
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

std::optional<std::int64_t> ParseIsoInstant(std::string_view text) {
  // The digits of the field of `count` characters at `at`; -1 when they are
  // not all digits or the text ends first.
  const auto field = [&](std::size_t at, std::size_t count) {
    return at + count <= text.size() ? DigitsValue(text.substr(at, count)) : -1;
  };
  const int y = field(0, 4), mo = field(5, 2), d = field(8, 2), h = field(11, 2),
            mi = field(14, 2);
  if (y < 0 || mo < 0 || d < 0 || h < 0 || mi < 0 || text[4] != '-' || text[7] != '-' ||
      (text[10] != 'T' && text[10] != 't' && text[10] != ' ') || text[13] != ':' || h > 23 ||
      mi > 59) {
    return std::nullopt;
  }
  std::size_t at = 16;
  int s = 0;
  if (at < text.size() && text[at] == ':') {
    s = field(at + 1, 2);
    if (s < 0 || s > 60) return std::nullopt;
    at += 3;
    if (at < text.size() && (text[at] == '.' || text[at] == ',')) {
      const std::size_t fraction = ++at;
      while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
      if (at == fraction) return std::nullopt;
    }
  }
  int offset = 0;  // minutes east of UTC
  const std::string_view zone = text.substr(std::min(at, text.size()));
  if (zone != "Z" && zone != "z") {
    if (zone.empty() || (zone[0] != '+' && zone[0] != '-')) return std::nullopt;
    const int oh = zone.size() >= 3 ? DigitsValue(zone.substr(1, 2)) : -1;
    int om = 0;
    if (zone.size() == 6 && zone[3] == ':') {
      om = DigitsValue(zone.substr(4, 2));
    } else if (zone.size() == 5) {
      om = DigitsValue(zone.substr(3, 2));
    } else if (zone.size() != 3) {
      return std::nullopt;
    }
    if (oh < 0 || om < 0 || oh > 23 || om > 59) return std::nullopt;
    offset = (zone[0] == '-' ? -1 : 1) * (oh * 60 + om);
  }
  const year_month_day date{year(y), month(static_cast<unsigned>(mo)),
                            day(static_cast<unsigned>(d))};
  if (!date.ok()) return std::nullopt;
  const std::int64_t instant = SecondsOf(date) + h * kHour + mi * 60 + s - offset * 60;
  if (instant < kFirstInstant || instant >= kEndOfInstants) return std::nullopt;
  return instant;
}

}  // namespace tq
