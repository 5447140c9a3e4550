#include "lookup/Answer.h"

#include <set>
#include <string_view>

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
    case AnswerOutcome::kPlanned: return "planned";
  }
  return "none";
}

std::vector<std::string> AllPlaceEntries(const Answer& answer) {
  std::vector<std::string> entries;
  for (const PlaceFacts& place : answer.places) {
    if (!place.ownEntry) continue;
    entries.push_back(place.withState ? place.name + ", " + place.state : place.name);
  }
  return entries;
}

bool HasUnlistedPlaces(const Answer& answer) {
  for (const PlaceFacts& place : answer.places) {
    if (!place.listed) return true;
  }
  return false;
}

std::vector<LocalTimeLine> LocalTimesAt(const AnswerTimes& times, std::int64_t utcSeconds) {
  std::vector<LocalTimeLine> lines;
  if (!times.law) return lines;
  for (const TimePlace& place : times.clockPlaces) {
    std::optional<LocalClock> clock = LocalClockAt(*times.law, place.zone, utcSeconds);
    if (!clock) continue;
    // Zones that keep the same time at this instant show one clock.
    bool same = false;
    for (const LocalTimeLine& line : lines) {
      same = same || (line.clock.offsetMinutes == clock->offsetMinutes &&
                      line.zoneName == clock->zoneName);
    }
    if (!same) lines.push_back({*clock, clock->zoneName, &place});
  }
  return lines;
}

std::vector<std::string> ZoneLineAt(const AnswerTimes& times, std::int64_t utcSeconds) {
  if (!times.zonePlace) return {};
  // A largest city without a zone (or no law) keeps its empty line.
  if (!times.law) return {""};
  return {TimeZoneText(*times.law, times.zonePlace->zone, utcSeconds)};
}

namespace {

// "Central" of "Central Daylight Time".
std::string ZoneFamily(std::string zone) {
  for (const char* kind : {" Double Daylight Time", " Daylight Time", " Standard Time"}) {
    if (zone.ends_with(kind)) {
      zone.resize(zone.size() - std::string_view(kind).size());
      break;
    }
  }
  return zone;
}

}  // namespace

std::string SplitZonesText(const AnswerTimes& times, std::int64_t utcSeconds) {
  if (times.searchedPlace) return {};
  const std::vector<LocalTimeLine> lines = LocalTimesAt(times, utcSeconds);
  if (lines.size() < 2) return {};
  std::vector<std::string> zones;
  for (const LocalTimeLine& line : lines) zones.push_back(ZoneFamily(line.zoneName));
  // Two clocks of one family (Eastern Standard beside Eastern Daylight) are
  // told by their full names.
  if (std::set<std::string>(zones.begin(), zones.end()).size() < zones.size()) {
    zones.clear();
    for (const LocalTimeLine& line : lines) zones.push_back(line.zoneName);
  }
  std::string text = times.areaCode.empty() ? "" : times.areaCode + ": ";
  for (std::size_t i = 0; i < zones.size(); ++i) {
    if (i > 0) text += i + 1 == zones.size() ? " and " : ", ";
    text += zones[i];
  }
  return text;
}

std::optional<bool> CallableAt(const AnswerTimes& times, std::int64_t utcSeconds) {
  if (!times.searchedPlace) return std::nullopt;
  const std::vector<LocalTimeLine> lines = LocalTimesAt(times, utcSeconds);
  if (lines.size() != 1) return std::nullopt;
  return IsCallable(lines.front().clock, times.callingHours);
}

}  // namespace tq
