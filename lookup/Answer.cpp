#include "lookup/Answer.h"

namespace tq {

const char* SharedRegionLine(std::int32_t areaCode) {
  if (areaCode == 867) return "Yukon (YT), Northwest Territories (NT) and Nunavut (NU)";
  if (areaCode == 902 || areaCode == 782) return "Nova Scotia (NS) and Prince Edward Island (PE)";
  return nullptr;
}

const char* AnswerOutcomeName(AnswerOutcome outcome) {
  switch (outcome) {
    case AnswerOutcome::kNone: return "none";
    case AnswerOutcome::kFound: return "found";
    case AnswerOutcome::kNotFound: return "not_found";
    case AnswerOutcome::kNoCities: return "no_cities";
    case AnswerOutcome::kChoices: return "choices";
    case AnswerOutcome::kCancelled: return "cancelled";
  }
  return "none";
}

std::vector<LocalTimeLine> LocalTimesAt(const AnswerTimes& times, std::int64_t utcSeconds) {
  std::vector<LocalTimeLine> lines;
  for (const TimePlace& place : times.clockPlaces) {
    if (const auto clock = LocalClockAt(utcSeconds, place.fTimeZone, place.bDaylightSaving)) {
      lines.push_back({*clock, ZoneTimeName(place.fTimeZone, clock->daylight), &place});
    }
  }
  return lines;
}

}  // namespace tq
