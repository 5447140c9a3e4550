#include "batch/BatchLookup.h"

#include <algorithm>
#include <cstring>

#include "base/Text.h"
#include "number/PhoneNumber.h"
#include "time/LocalTime.h"

namespace tq {
namespace {

// The zone of an area code while its places are read.
constexpr int kNoZone = -1, kSeveralZones = -2;

// Writes `value` as exactly `width` digits at `to`.
void PutDigits(char* to, int value, int width) {
  for (int i = width - 1; i >= 0; --i, value /= 10) to[i] = static_cast<char>('0' + value % 10);
}

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
      zoneOfCode_(1000, kNoZone),
      exchangeByNumber_(std::make_unique<std::atomic<const Exchange*>[]>(1000 * 1000)) {
  cities_.Open();
  areaCodes_.Open();
  if (std::string problem = exchanges_.Open(folder); !problem.empty()) {
    exchangesOutcome_ = {FileProblem::kUnreadable, std::move(problem)};
  }
  numbers_ = std::make_unique<NumberLookup>(cities_, areaCodes_, exchanges_);
  if (std::string problem = law_.Open(folder); !problem.empty()) {
    zoneLawOutcome_ = {FileProblem::kDamaged, problem + " Local times are not shown."};
  }

  // An exchange without a known place has a clock only when every place of
  // its area code keeps the time of one zone: any other would be a guess.
  for (std::size_t link = 0; link < areaCodes_.AreaCodes().size(); ++link) {
    const std::uint32_t code = areaCodes_.AreaCodes()[link];
    const int zone = law_.ZoneOfPlace(static_cast<std::int32_t>(areaCodes_.CityIds()[link]));
    if (code >= zoneOfCode_.size() || zone < 0) continue;
    int& known = zoneOfCode_[code];
    known = known == kNoZone || known == zone ? zone : kSeveralZones;
  }
  for (int& zone : zoneOfCode_) zone = std::max(zone, -1);
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
  // The clock of the place called, as a single lookup of the number shows it.
  if (exchange->result.status == NumberResult::Status::kOk && exchange->result.cityId >= 0) {
    exchange->zone = law_.ZoneOfPlace(exchange->result.cityId);
  } else if (exchange->result.status == NumberResult::Status::kUnknownExchange) {
    exchange->zone = zoneOfCode_[static_cast<std::size_t>(number.areaCode)];
  }
  exchangesAsked_.push_back(std::move(exchange));
  slot.store(exchangesAsked_.back().get(), std::memory_order_release);
  return *exchangesAsked_.back();
}

void BatchLookup::FillTime(int zone, std::int64_t utcSeconds, const CallingHours& hours,
                           BatchRow& row, Memo& memo) const {
  // Rows mostly share their instant and a handful of zones.
  const std::int64_t minute = utcSeconds / 60 - (utcSeconds % 60 < 0);
  Memo::Entry& entry = memo.entries[static_cast<std::size_t>(zone) % memo.entries.size()];
  if (zone != entry.zone || minute != entry.minute) {
    entry.zone = zone;
    entry.minute = minute;
    entry.clock = LocalClockAt(law_, zone, utcSeconds);
    entry.utcOffset.clear();
    entry.localTime.clear();
    if (entry.clock) {
      const LocalClock& clock = *entry.clock;
      entry.utcOffset = UtcOffsetText(clock);
      char text[] = "0000-00-00T00:00";
      PutDigits(text, clock.year % 10000, 4);
      PutDigits(text + 5, clock.month, 2);
      PutDigits(text + 8, clock.day, 2);
      PutDigits(text + 11, clock.hour, 2);
      PutDigits(text + 14, clock.minute, 2);
      entry.localTime = std::string(text) + entry.utcOffset;
    }
  }
  if (!entry.clock) return;
  row.timeZone = entry.clock->zoneName;
  row.utcOffset = entry.utcOffset;
  row.localTime = entry.localTime;
  row.callable = IsCallable(*entry.clock, hours) ? "true" : "false";
}

void BatchLookup::Look(std::string_view text, std::int64_t utcSeconds,
                       const CallingHours& hours, BatchRow& row, Memo& memo) const {
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
    PutDigits(row.areaCodeText, result.areaCode, 3);
    row.areaCode = {row.areaCodeText, 3};
  }
  if (result.exchange >= 0) {
    PutDigits(row.exchangeText, result.exchange, 3);
    row.exchange = {row.exchangeText, 3};
  }
  // The E.164 form is the core's, made for the last four digits 0000; the
  // row's own four digits take their place.
  if (number->line >= 0 && exchange.result.line == 0) {
    std::memcpy(row.numberText, result.e164.data(), sizeof row.numberText);
    PutDigits(row.numberText + sizeof row.numberText - 4, number->line, 4);
    row.number = {row.numberText, sizeof row.numberText};
  }
  row.place = exchange.place;
  row.state = exchange.state;
  if (result.status == NumberResult::Status::kOk) row.area = result.area ? "true" : "false";
  if (exchange.zone >= 0) FillTime(exchange.zone, utcSeconds, hours, row, memo);
}

}  // namespace tq
