#include "lookup/Answer.h"

#include <algorithm>
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

namespace {

std::vector<int> ZonesOf(const AnswerTimes& times) {
  std::vector<int> zones;
  zones.reserve(times.clockPlaces.size());
  for (const TimePlace& place : times.clockPlaces) zones.push_back(place.zone);
  return zones;
}

}  // namespace

PlaceFacts PlaceList::operator[](std::size_t at) const {
  const Row& place = rows_[at];
  const CityColumns& columns = *columns_;
  return PlaceFacts{std::string(columns.aCityNames[place.row]),
                    std::string(columns.aStates[place.row]),
                    static_cast<std::int32_t>(columns.aPopulations[place.row]),
                    static_cast<std::int32_t>(columns.aCityIds[place.row]),
                    place.listed,
                    place.ownEntry,
                    place.withState};
}

bool PlaceList::operator==(const PlaceList& other) const {
  if (columns_ == other.columns_ || rows_.empty()) return rows_ == other.rows_;
  if (rows_.size() != other.rows_.size()) return false;
  const CityColumns &mine = *columns_, &theirs = *other.columns_;
  for (std::size_t at = 0; at < rows_.size(); ++at) {
    const Row &a = rows_[at], &b = other.rows_[at];
    if (a.listed != b.listed || a.ownEntry != b.ownEntry || a.withState != b.withState ||
        mine.aPopulations[a.row] != theirs.aPopulations[b.row] ||
        mine.aCityIds[a.row] != theirs.aCityIds[b.row] ||
        mine.aCityNames[a.row] != theirs.aCityNames[b.row] ||
        mine.aStates[a.row] != theirs.aStates[b.row]) {
      return false;
    }
  }
  return true;
}

std::string PlaceEntries::operator[](std::size_t at) const {
  const Row& entry = rows_[at];
  std::string text = columns_->PlaceText(entry.row, entry.withState);
  return text;
}

std::vector<std::string> PlaceEntries::Texts() const { return {begin(), end()}; }

bool PlaceEntries::operator==(const PlaceEntries& other) const {
  if (columns_ == other.columns_ || rows_.empty()) return rows_ == other.rows_;
  if (rows_.size() != other.rows_.size()) return false;
  for (std::size_t at = 0; at < rows_.size(); ++at) {
    if ((*this)[at] != other[at]) return false;
  }
  return true;
}

bool PlaceEntries::operator==(const std::vector<std::string>& texts) const {
  return std::equal(begin(), end(), texts.begin(), texts.end());
}

std::vector<std::string> AllPlaceEntries(const Answer& answer) {
  std::vector<std::string> entries;
  for (const PlaceFacts place : answer.places) {
    if (!place.ownEntry) continue;
    entries.push_back(place.withState ? place.name + ", " + place.state : place.name);
  }
  return entries;
}

bool HasUnlistedPlaces(const Answer& answer) {
  for (std::size_t at = 0; at < answer.places.size(); ++at) {
    if (!answer.places.Listed(at)) return true;
  }
  return false;
}

std::vector<LocalTimeLine> LocalTimesAt(const AnswerTimes& times, std::int64_t utcSeconds) {
  std::vector<LocalTimeLine> lines;
  if (!times.law) return lines;
  for (ZoneClock& clock : DistinctClocksAt(*times.law, ZonesOf(times), utcSeconds)) {
    lines.push_back({std::move(clock.clock), times.clockPlaces[clock.index].name});
  }
  return lines;
}

std::vector<std::string> ZoneLineAt(const AnswerTimes& times, std::int64_t utcSeconds) {
  if (!times.zonePlace) return {};
  // A largest city without a zone (or no law) keeps its empty line.
  if (!times.law) return {""};
  return {TimeZoneText(*times.law, times.zonePlace->zone, utcSeconds)};
}

std::string ZoneFamiliesText(const AnswerTimes& times, std::int64_t utcSeconds) {
  const std::vector<LocalTimeLine> lines = LocalTimesAt(times, utcSeconds);
  if (lines.size() < 2) return {};
  std::vector<std::string> zones;
  for (const LocalTimeLine& line : lines) zones.push_back(ZoneFamily(line.clock.zoneName));
  // Two clocks of one family (Eastern Standard beside Eastern Daylight) are
  // told by their full names.
  if (std::set<std::string>(zones.begin(), zones.end()).size() < zones.size()) {
    zones.clear();
    for (const LocalTimeLine& line : lines) zones.push_back(line.clock.zoneName);
  }
  std::string text;
  for (std::size_t i = 0; i < zones.size(); ++i) {
    if (i > 0) text += i + 1 == zones.size() ? " and " : ", ";
    text += zones[i];
  }
  return text;
}

std::string SplitZonesText(const AnswerTimes& times, std::int64_t utcSeconds) {
  const std::string families = ZoneFamiliesText(times, utcSeconds);
  if (families.empty() || times.areaCode.empty()) return families;
  return times.areaCode + ": " + families;
}

CallVerdict VerdictOf(const AnswerTimes& times, std::int64_t utcSeconds) {
  if (!times.law) return {};
  return VerdictAt(*times.law, ZonesOf(times), utcSeconds, times.callingHours);
}

std::optional<bool> CallableAt(const AnswerTimes& times, std::int64_t utcSeconds) {
  return VerdictOf(times, utcSeconds).callable;
}

}  // namespace tq
