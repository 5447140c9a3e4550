#include "time/TimeZoneLine.h"

#include <charconv>

namespace tq {
namespace {

// "%.1f" without the process locale's decimal comma.
std::string OneDecimal(float value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                    std::chars_format::fixed, 1);
  return std::string(buffer, result.ptr);
}

}  // namespace

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

}  // namespace tq
