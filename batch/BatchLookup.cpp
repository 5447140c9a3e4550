#include "batch/BatchLookup.h"

#include <algorithm>
#include <cstring>

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

}  // namespace

BatchLookup::BatchLookup(const std::filesystem::path& folder)
    : cities_(folder),
      areaCodes_(folder),
      exchangeByNumber_(std::make_unique<std::atomic<const Exchange*>[]>(1000 * 1000)) {
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
  place->zones = numbers_->ZonesOf(result);
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
  row.areaCodes = place->areaCodes;
  if (!place->zones.zones.empty()) FillTime(place->zones, utcSeconds, hours, row, memo);
}

const BatchLookup::Exchange& BatchLookup::ExchangeOf(const PhoneNumber& number) const {
  std::atomic<const Exchange*>& slot = exchangeByNumber_[number.areaCode * 1000 + number.exchange];
  if (const Exchange* known = slot.load(std::memory_order_acquire)) return *known;
  std::lock_guard lock(mutex_);
  if (const Exchange* known = slot.load(std::memory_order_relaxed)) return *known;
  auto exchange = std::make_unique<Exchange>();
  exchange->result = numbers_->Lookup(number, 0);
  exchange->place = Cp1252ToDisplayUtf8(exchange->result.place);
  exchange->state = Cp1252ToDisplayUtf8(exchange->result.state);
  exchange->zones = numbers_->ZonesOf(exchange->result);
  exchangesAsked_.push_back(std::move(exchange));
  slot.store(exchangesAsked_.back().get(), std::memory_order_release);
  return *exchangesAsked_.back();
}

void BatchLookup::FillTime(const ZoneSet& zones, std::int64_t utcSeconds,
                           const CallingHours& hours, BatchRow& row, Memo& memo) const {
  // Rows mostly share their instant and a handful of zones.
  const std::int64_t minute = utcSeconds / 60 - (utcSeconds % 60 < 0);
  Memo::Entry& entry = memo.entries[static_cast<std::size_t>(zones.id) % memo.entries.size()];
  if (zones.id != entry.zones || minute != entry.minute || hours != entry.hours) {
    entry.zones = zones.id;
    entry.minute = minute;
    entry.hours = hours;
    entry.verdict = VerdictAt(law_, zones.zones, utcSeconds, hours);
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
  const Exchange& exchange = ExchangeOf(*number);
  const NumberResult& result = exchange.result;
  row.SetStatus(RowStatus(result.status));
  if (result.areaCode >= 0) {
    WriteDigits(row.areaCodeText, result.areaCode, 3);
    row.areaCode = {row.areaCodeText, 3};
  }
  if (result.exchange >= 0) {
    WriteDigits(row.exchangeText, result.exchange, 3);
    row.exchange = {row.exchangeText, 3};
  }
  // The E.164 form is the core's, made for the last four digits 0000; the
  // row's own four digits take their place.
  if (number->line >= 0 && exchange.result.line == 0) {
    std::memcpy(row.numberText, result.e164.data(), sizeof row.numberText);
    WriteDigits(row.numberText + sizeof row.numberText - 4, number->line, 4);
    row.number = {row.numberText, sizeof row.numberText};
  }
  row.place = exchange.place;
  row.state = exchange.state;
  if (result.status == NumberResult::Status::kOk) row.area = result.area ? "true" : "false";
  if (!exchange.zones.zones.empty()) FillTime(exchange.zones, utcSeconds, hours, row, memo);
}

}  // namespace tq
