#include "batch/BatchLookup.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <tuple>

#include "base/Text.h"
#include "number/PhoneNumber.h"
#include "time/LocalTime.h"

namespace tq {
namespace {

BatchStatus RowStatus(NumberResult::Status status) {
  using Status = NumberResult::Status;
  switch (status) {
    case Status::kOk: return BatchStatus::kOk;
    case Status::kInvalid: return BatchStatus::kInvalid;
    case Status::kNotGeographic: return BatchStatus::kNotGeographic;
    case Status::kUnknownExchange: return BatchStatus::kUnknownExchange;
    case Status::kUnknownAreaCode: return BatchStatus::kUnknownAreaCode;
    case Status::kNoExchangeData: return BatchStatus::kNoExchangeData;
  }
  return BatchStatus::kInvalid;
}

// The bits of the place and state columns whose texts are written as they are.
std::uint16_t PlainPlace(std::string_view place, std::string_view state) {
  return static_cast<std::uint16_t>((WrittenAsIs(place) ? ColumnBit("place") : 0) |
                                    (WrittenAsIs(state) ? ColumnBit("state") : 0));
}
// An exchange keeps them shifted to its byte.
constexpr int kPlaceShift = 6;
static_assert(ColumnBit("place") == 1 << kPlaceShift && ColumnBit("state") == 2 << kPlaceShift);

}  // namespace

BatchLookup::BatchLookup(const std::filesystem::path& folder)
    : cities_(folder),
      areaCodes_(folder) {
  cities_.Open();
  areaCodes_.Open();
  const auto tell = [this](LoadOutcome outcome) {
    // A note (the places' own zones standing in for a missing zone law) is kept too.
    if (outcome.problem != FileProblem::kNone || !outcome.text.empty()) {
      problems_.push_back(std::move(outcome));
    }
  };
  tell(cities_.Outcome());
  tell(areaCodes_.Outcome());
  tell(exchanges_.Open(folder));
  // A folder without the zone law's files takes each place's own zone.
  tell(law_.OpenFor(folder, cities_));
  numbers_ = std::make_unique<NumberLookup>(cities_, areaCodes_, exchanges_, &law_);
  // A zone alone, or the zones of an area code's places.
  zonesById_.resize(static_cast<std::size_t>(law_.ZoneCount()) + 1000);
  if (cities_.RowCount() > 0) {
    (void)postal_.Read(folder, cities_);
    if (postal_.Outcome().problem != FileProblem::kMissing) tell(postal_.Outcome());
  }
  postalByRow_ = std::make_unique<std::atomic<const PostalRow*>[]>(cities_.RowCount() + 1);
}

const BatchLookup::PostalRow* BatchLookup::PostalRowOf(std::int32_t cityId) const {
  const std::span<const std::uint32_t> rows =
      cityId > 0 ? cities_.RowsOfCity(static_cast<std::uint32_t>(cityId)) : std::span<const std::uint32_t>();
  if (rows.empty()) return nullptr;
  const std::uint32_t cityRow = rows.front();
  std::atomic<const PostalRow*>& slot = postalByRow_[cityRow];
  if (const PostalRow* known = slot.load(std::memory_order_acquire)) return known;
  std::lock_guard lock(mutex_);
  if (const PostalRow* known = slot.load(std::memory_order_relaxed)) return known;
  auto place = std::make_unique<PostalRow>();
  place->place = Cp1252ToDisplayUtf8(cities_.CityNames()[cityRow]);
  place->state = Cp1252ToDisplayUtf8(cities_.States()[cityRow]);
  place->plainColumns = PlainPlace(place->place, place->state);
  std::vector<std::int32_t> codes;
  for (const std::uint32_t link : areaCodes_.RowsOfCity(static_cast<std::uint32_t>(cityId))) {
    codes.push_back(static_cast<std::int32_t>(areaCodes_.AreaCodes()[link]));
  }
  std::sort(codes.begin(), codes.end());
  codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
  for (const std::int32_t code : codes) {
    if (!place->areaCodes.empty()) place->areaCodes += '/';
    place->areaCodes += std::to_string(code);
  }
  NumberResult result;
  result.status = NumberResult::Status::kOk;
  result.cityId = cityId;
  const ZoneSet zones = numbers_->ZonesOf(result);
  if (zones.id >= 0 && !zones.zones.empty()) {
    zonesById_.at(static_cast<std::size_t>(zones.id)) = zones.zones;
    place->zones = zones.id;
  }
  postalAsked_.push_back(std::move(place));
  slot.store(postalAsked_.back().get(), std::memory_order_release);
  return postalAsked_.back().get();
}

void BatchLookup::LookPostal(const PostalCode& code, std::int64_t utcSeconds,
                             const CallingHours& hours, BatchRow& row, Memo& memo) const {
  std::memcpy(row.postalText, code.text.data(), code.length);
  row.postalCode = {row.postalText, code.length};
  const PostalPlace* found = code.wellFormed ? postal_.Find(code) : nullptr;
  const PostalRow* place = found != nullptr ? PostalRowOf(found->cityId) : nullptr;
  if (place == nullptr) return row.SetStatus(BatchStatus::kUnknownPostalCode);
  row.SetStatus(BatchStatus::kPostal);
  row.place = place->place;
  row.state = place->state;
  row.plainColumns |= place->plainColumns;
  row.areaCodes = place->areaCodes;
  if (place->zones >= 0) FillTime(place->zones, utcSeconds, hours, row, memo);
}

const BatchLookup::AreaCode& BatchLookup::MakeAreaCode(std::int32_t areaCode) const {
  std::atomic<const AreaCode*>& slot = byAreaCode_[static_cast<std::size_t>(areaCode)];
  std::lock_guard lock(mutex_);
  if (const AreaCode* known = slot.load(std::memory_order_relaxed)) return *known;
  const auto text = [this](const std::string& cp1252) -> std::string_view {
    const auto [at, added] = texts_.try_emplace(cp1252);
    if (added) at->second = Cp1252ToDisplayUtf8(cp1252);
    return at->second;
  };
  auto made = std::make_unique<AreaCode>();
  std::map<std::tuple<const char*, std::uint32_t, std::uint32_t, int, BatchStatus, bool, bool>,
           std::uint16_t>
      distinct;
  PhoneNumber number;
  number.kind = PhoneNumber::Kind::kExchange;
  number.areaCode = areaCode;
  NumberResult last;
  for (std::int32_t exchange = 0; exchange < 1000; ++exchange) {
    number.exchange = exchange;
    NumberResult result = numbers_->Lookup(number, 0);
    // Neighbouring exchanges mostly answer alike (a place's block, the
    // code's unlisted ones): the answer before is taken again.
    result.exchange = last.exchange;
    result.e164 = last.e164;
    if (exchange > 0 && result == last) {
      made->exchangeOf[static_cast<std::size_t>(exchange)] =
          made->exchangeOf[static_cast<std::size_t>(exchange - 1)];
      continue;
    }
    const PlaceTexts& place = PlaceTextsOf(text(result.place), text(result.state));
    const ZoneSet zones = numbers_->ZonesOf(result);
    if (zones.id >= 0) zonesById_.at(static_cast<std::size_t>(zones.id)) = zones.zones;
    const Exchange answer{place.texts, place.placeSize, place.stateSize,
                          zones.zones.empty() ? -1 : zones.id, RowStatus(result.status),
                          result.line == 0, result.area, place.plainPlace};
    // Exchanges of one place answer alike.
    const auto [at, added] = distinct.try_emplace(
        std::tuple(answer.texts, answer.placeSize, answer.stateSize, answer.zones, answer.status,
                   answer.numbered, answer.area),
        static_cast<std::uint16_t>(made->exchanges.size()));
    if (added) made->exchanges.push_back(answer);
    made->exchangeOf[static_cast<std::size_t>(exchange)] = at->second;
    last = std::move(result);
  }
  made_.push_back(std::move(made));
  slot.store(made_.back().get(), std::memory_order_release);
  return *made_.back();
}

const BatchLookup::PlaceTexts& BatchLookup::PlaceTextsOf(std::string_view place,
                                                         std::string_view state) const {
  const auto [at, added] = placeOf_.try_emplace({place.data(), state.data()});
  PlaceTexts& kept = at->second;
  if (!added) return kept;
  const std::size_t size = place.size() + state.size();
  if (size > blockRoom_) {
    constexpr std::size_t kBlock = std::size_t{64} << 10;
    blockRoom_ = std::max(size, kBlock);
    textBlocks_.push_back(std::unique_ptr<char[]>(new char[blockRoom_]));
    blockAt_ = textBlocks_.back().get();
  }
  char* const texts = blockAt_;
  std::copy(place.begin(), place.end(), texts);
  std::copy(state.begin(), state.end(), texts + place.size());
  blockAt_ += size;
  blockRoom_ -= size;
  kept = {texts, static_cast<std::uint32_t>(place.size()), static_cast<std::uint32_t>(state.size()),
          static_cast<std::uint8_t>(PlainPlace(place, state) >> kPlaceShift)};
  return kept;
}

void BatchLookup::FillTime(std::int32_t zones, std::int64_t utcSeconds,
                           const CallingHours& hours, BatchRow& row, Memo& memo) const {
  // Rows mostly share their instant and a handful of zones.
  const std::int64_t minute = utcSeconds / 60 - (utcSeconds % 60 < 0);
  Memo::Entry& entry = memo.entries[static_cast<std::size_t>(zones) % memo.entries.size()];
  if (zones != entry.zones || minute != entry.minute || hours != entry.hours) {
    entry.zones = zones;
    entry.minute = minute;
    entry.hours = hours;
    entry.verdict = VerdictAt(law_, zonesById_[static_cast<std::size_t>(zones)], utcSeconds, hours);
    entry.zonePlain = entry.verdict.clock && WrittenAsIs(entry.verdict.clock->zoneName);
    entry.utcOffset.clear();
    entry.localTime.clear();
    if (entry.verdict.clock) {
      const LocalClock& clock = *entry.verdict.clock;
      entry.utcOffset = UtcOffsetText(clock);
      char text[] = "0000-00-00T00:00";
      WriteDigits(text, clock.year % 10000, 4);
      WriteDigits(text + 5, clock.month, 2);
      WriteDigits(text + 8, clock.day, 2);
      WriteDigits(text + 11, clock.hour, 2);
      WriteDigits(text + 14, clock.minute, 2);
      entry.localTime = std::string(text) + entry.utcOffset;
    }
  }
  if (!entry.verdict.clock || !entry.verdict.callable) return;
  row.timeZone = entry.verdict.clock->zoneName;
  if (entry.zonePlain) row.plainColumns |= ColumnBit("time_zone");
  row.utcOffset = entry.utcOffset;
  row.localTime = entry.localTime;
  row.callable = *entry.verdict.callable ? "true" : "false";
}

void BatchLookup::Look(std::string_view text, std::int64_t utcSeconds,
                       const CallingHours& hours, BatchRow& row, Memo& memo) const {
  if (postal_.HasCodes()) {
    if (const std::optional<PostalCode> code = ParsePostalCode(text)) {
      return LookPostal(*code, utcSeconds, hours, row, memo);
    }
  }
  const std::optional<PhoneNumber> number = ParsePhoneNumber(text);
  if (number && number->kind == PhoneNumber::Kind::kOtherCountry) {
    return row.SetStatus(BatchStatus::kOtherCountry);
  }
  if (!number || number->kind != PhoneNumber::Kind::kExchange || number->areaCode < 0 ||
      number->areaCode > 999 || number->exchange < 0 || number->exchange > 999) {
    return row.SetStatus(BatchStatus::kInvalid);
  }
  const AreaCode& code = AreaCodeOf(number->areaCode);
  const Exchange& exchange =
      code.exchanges[code.exchangeOf[static_cast<std::size_t>(number->exchange)]];
  row.SetStatus(exchange.status);
  WriteDigits(row.areaCodeText, number->areaCode, 3);
  row.areaCode = {row.areaCodeText, 3};
  WriteDigits(row.exchangeText, number->exchange, 3);
  row.exchange = {row.exchangeText, 3};
  // The E.164 form of all ten digits, as NumberResult writes it.
  if (number->line >= 0 && exchange.numbered) {
    row.numberText[0] = '+';
    row.numberText[1] = '1';
    WriteDigits(row.numberText + 2, number->areaCode, 3);
    WriteDigits(row.numberText + 5, number->exchange, 3);
    WriteDigits(row.numberText + 8, number->line, 4);
    row.number = {row.numberText, sizeof row.numberText};
  }
  row.place = {exchange.texts, exchange.placeSize};
  row.state = {exchange.texts + exchange.placeSize, exchange.stateSize};
  row.plainColumns |= static_cast<std::uint16_t>(exchange.plainPlace << kPlaceShift);
  if (exchange.status == BatchStatus::kOk) row.area = exchange.area ? "true" : "false";
  if (exchange.zones >= 0) FillTime(exchange.zones, utcSeconds, hours, row, memo);
}

}  // namespace tq
