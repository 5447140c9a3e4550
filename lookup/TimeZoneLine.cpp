#include "lookup/TimeZoneLine.h"

#include <charconv>
#include <cmath>
#include <ctime>

namespace tq {
namespace {

struct ZoneEntry {
  float offset;
  const char* name;
};

constexpr ZoneEntry kZoneNames[] = {
    {0.0f, "Eastern"},  {-1.0f, "Central"}, {-2.0f, "Mountain"},
    {-3.0f, "Pacific"}, {-4.0f, "Alaska"},  {-5.0f, "Hawaii"},
    {1.0f, "Atlantic"}, {1.5f, "Newfoundland"},
    {-6.0f, "Samoa"},     // American Samoa, UTC-11
    {15.0f, "Chamorro"},  // Guam and the Northern Mariana Islands, UTC+10
};

// "%.1f" without the process locale's decimal comma.
std::string OneDecimal(float value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                    std::chars_format::fixed, 1);
  return std::string(buffer, result.ptr);
}

}  // namespace

const char* ZoneName(float fTimeZone) {
  for (const ZoneEntry& zone : kZoneNames) {
    if (fTimeZone == zone.offset) return zone.name;
  }
  return "";
}

CalendarDay LocalDayAt(std::int64_t utcSeconds) {
  const std::time_t at = static_cast<std::time_t>(utcSeconds);
  std::tm local{};
  localtime_r(&at, &local);
  return {local.tm_mon + 1, local.tm_mday, local.tm_wday + 1};
}

CalendarDay LocalToday() { return LocalDayAt(std::time(nullptr)); }

bool IsDaylightTimeInForce(int month, int day, int weekday) {
  // day - weekday + 1 is the date of the latest Sunday, today included (it
  // is 0 or less before the month's first Sunday).
  const int latestSunday = day - weekday + 1;
  switch (month) {
    case 3:
      return latestSunday >= 8;  // the second Sunday falls on the 8th to 14th
    case 11:
      return latestSunday < 1;  // until the first Sunday
    default:
      return month > 3 && month < 11;
  }
}

std::string TimeZoneText(float fTimeZone, int bDaylightSaving, const CalendarDay& today) {
  if (!(fTimeZone < 24.0f)) return {};  // also NaN: no line rather than garbage
  std::string text = ZoneName(fTimeZone);
  const bool daylight = IsDaylightTimeInForce(today.month, today.day, today.weekday);
  text += daylight && bDaylightSaving ? " Daylight Time" : " Standard Time";
  const char* reference = daylight ? "EDT" : "EST";
  float offset = fTimeZone;
  if (daylight && !bDaylightSaving) offset -= 1.0f;
  if (offset > 0) {
    text += std::string(" (") + reference + " + " + OneDecimal(offset) + " hours)";
  } else if (offset < 0) {
    text += std::string(" (") + reference + " - " + OneDecimal(std::fabs(offset)) + " hours)";
  }
  return text;
}

std::string TimeZoneText(const ZoneTime& place, const ZoneTime& eastern) {
  std::string text(place.name);
  const int minutes = (place.offsetSeconds - eastern.offsetSeconds) / 60;
  const std::string reference(eastern.abbreviation);
  if (minutes > 0) {
    text += " (" + reference + " + " + OneDecimal(static_cast<float>(minutes) / 60) + " hours)";
  } else if (minutes < 0) {
    text += " (" + reference + " - " + OneDecimal(static_cast<float>(-minutes) / 60) + " hours)";
  }
  return text;
}

std::string TimeZoneText(const ZoneLaw& law, int zone, std::int64_t utcSeconds) {
  const std::optional<ZoneTime> place = law.TimeAt(zone, utcSeconds);
  const std::optional<ZoneTime> eastern = law.TimeAt(law.EasternZone(), utcSeconds);
  if (!place || !eastern) return {};
  return TimeZoneText(*place, *eastern);
}

std::string TimeZoneText(float fTimeZone, int bDaylightSaving) {
  return TimeZoneText(fTimeZone, bDaylightSaving, LocalToday());
}

}  // namespace tq
