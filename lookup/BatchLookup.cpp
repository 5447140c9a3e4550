#include "lookup/BatchLookup.h"


#include "data/Text.h"
#include "lookup/LocalTime.h"
#include "lookup/PhoneNumber.h"

namespace tq {

BatchLookup::BatchLookup(const std::filesystem::path& folder)
    : cities_(folder),
      areaCodes_(folder),
      byAreaCode_(1000),
      placeByNumber_(std::make_unique<std::atomic<const Place*>[]>(1000 * 1000)) {
  cities_.Open();
  areaCodes_.Open();
  if (std::string problem = exchanges_.Open(folder); !problem.empty()) {
    exchangesOutcome_ = {FileProblem::kUnreadable, std::move(problem)};
  }

  const auto& names = cities_.CityNames();
  const auto& states = cities_.States();
  const auto& populations = cities_.Populations();
  const auto& zones = cities_.TimeZones();
  const auto& daylight = cities_.DaylightFlags();
  std::unordered_map<std::uint32_t, std::size_t> rowOfCity;
  std::unordered_map<std::string, std::uint32_t> populationOfPlace;
  for (std::size_t row = 0; row < cities_.RowCount(); ++row) {
    rowOfCity.emplace(cities_.CityIds()[row], row);
    // Namesakes in one state: the most populous place's zone.
    const std::string key = names[row] + '\t' + states[row];
    const auto [at, added] = populationOfPlace.emplace(key, populations[row]);
    if (added || populations[row] > at->second) {
      at->second = populations[row];
      zoneByPlace_[key] = {zones[row], daylight[row]};
    }
  }

  std::vector<std::int64_t> largest(byAreaCode_.size(), -1);
  for (std::size_t link = 0; link < areaCodes_.AreaCodes().size(); ++link) {
    const std::uint32_t code = areaCodes_.AreaCodes()[link];
    const auto city = rowOfCity.find(areaCodes_.CityIds()[link]);
    if (code >= byAreaCode_.size() || city == rowOfCity.end()) continue;
    const std::size_t row = city->second;
    AreaCode& entry = byAreaCode_[code];
    entry.known = true;
    entry.geographic |= HasLocalClock(zones[row]);
    if (static_cast<std::int64_t>(populations[row]) > largest[code]) {
      largest[code] = populations[row];
      entry.state = Cp1252ToDisplayUtf8(states[row]);
      entry.zone = {zones[row], daylight[row]};
    }
  }
}

namespace {

// Writes `value` as exactly `width` digits at `to`.
void PutDigits(char* to, int value, int width) {
  for (int i = width - 1; i >= 0; --i, value /= 10) to[i] = static_cast<char>('0' + value % 10);
}

}  // namespace

const BatchLookup::Place& BatchLookup::PlaceOf(std::int32_t areaCode,
                                               std::int32_t exchange) const {
  std::atomic<const Place*>& slot = placeByNumber_[areaCode * 1000 + exchange];
  if (const Place* place = slot.load(std::memory_order_acquire)) return *place;
  std::lock_guard lock(placesMutex_);
  if (const Place* place = slot.load(std::memory_order_relaxed)) return *place;
  auto place = std::make_unique<Place>();
  if (const std::optional<ExchangePlace> found = exchanges_.Find(areaCode, exchange)) {
    place->known = true;
    place->city = Cp1252ToDisplayUtf8(found->city);
    place->state = Cp1252ToDisplayUtf8(found->state);
    const auto zone = zoneByPlace_.find(found->city + '\t' + found->state);
    place->zone = zone != zoneByPlace_.end() ? zone->second : byAreaCode_[areaCode].zone;
  }
  places_.push_back(std::move(place));
  slot.store(places_.back().get(), std::memory_order_release);
  return *places_.back();
}

void BatchLookup::FillTime(const Zone& zone, std::int64_t utcSeconds, BatchRow& row,
                           Memo& memo) const {
  // Rows mostly share their instant and a handful of zones.
  const std::int64_t minute = utcSeconds / 60 - (utcSeconds % 60 < 0);
  const auto zoneKey = static_cast<std::size_t>(static_cast<int>(zone.fTimeZone * 2) * 2 +
                                                (zone.bDaylightSaving & 1));
  Memo::Entry& entry = memo.entries[zoneKey % memo.entries.size()];
  if (zone.fTimeZone != entry.fTimeZone || zone.bDaylightSaving != entry.bDaylightSaving ||
      minute != entry.minute) {
    const std::optional<LocalClock> clock =
        LocalClockAt(utcSeconds, zone.fTimeZone, zone.bDaylightSaving);
    entry.fTimeZone = zone.fTimeZone;
    entry.bDaylightSaving = zone.bDaylightSaving;
    entry.minute = minute;
    entry.timeZone.clear();
    entry.utcOffset.clear();
    entry.localTime.clear();
    if (clock) {
      entry.timeZone = ZoneTimeName(zone.fTimeZone, clock->daylight);
      entry.utcOffset = UtcOffsetText(*clock);
      char text[] = "0000-00-00T00:00";
      PutDigits(text, clock->year % 10000, 4);
      PutDigits(text + 5, clock->month, 2);
      PutDigits(text + 8, clock->day, 2);
      PutDigits(text + 11, clock->hour, 2);
      PutDigits(text + 14, clock->minute, 2);
      entry.localTime = std::string(text) + entry.utcOffset;
    }
  }
  row.timeZone = entry.timeZone;
  row.utcOffset = entry.utcOffset;
  row.localTime = entry.localTime;
}

void BatchLookup::Look(std::string_view text, std::int64_t utcSeconds, BatchRow& row,
                       Memo& memo) const {
  const std::optional<PhoneNumber> number = ParsePhoneNumber(text);
  if (!number) {
    row.SetStatus(BatchStatus::kInvalid);
    return;
  }
  if (number->kind == PhoneNumber::Kind::kOtherCountry) {
    row.SetStatus(BatchStatus::kOtherCountry);
    return;
  }
  if (number->kind != PhoneNumber::Kind::kExchange || number->areaCode < 100 ||
      number->areaCode > 999) {
    row.SetStatus(BatchStatus::kInvalid);
    return;
  }
  PutDigits(row.areaCodeText, number->areaCode, 3);
  row.areaCode = {row.areaCodeText, 3};
  PutDigits(row.exchangeText, number->exchange, 3);
  row.exchange = {row.exchangeText, 3};
  const AreaCode& code = byAreaCode_[static_cast<std::size_t>(number->areaCode)];
  if (!code.known) {
    row.SetStatus(BatchStatus::kUnknownAreaCode);
    return;
  }
  if (!code.geographic) {
    row.SetStatus(BatchStatus::kNotGeographic);
    return;
  }
  const Place& place = PlaceOf(number->areaCode, number->exchange);
  if (!place.known) {
    row.SetStatus(BatchStatus::kUnknownExchange);
    row.state = code.state;
    FillTime(code.zone, utcSeconds, row, memo);
    return;
  }
  row.SetStatus(BatchStatus::kOk);
  row.place = place.city;
  row.state = place.state;
  FillTime(place.zone, utcSeconds, row, memo);
}

}  // namespace tq
