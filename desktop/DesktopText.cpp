#include "desktop/DesktopText.h"

#include <vector>

#include "base/Text.h"
#include "lookup/AnswerText.h"
#include "time/LocalTime.h"

namespace tq {
namespace {

constexpr char kSeparator[] = " \xB7 ";

}  // namespace

std::string ResultLine(const Answer& answer, std::int64_t utcSeconds) {
  if (answer.planned) return PlannedCodeText(*answer.planned);
  if (!answer.HasLists() || answer.outcome != AnswerOutcome::kFound) return {};
  using Status = NumberResult::Status;
  const std::optional<NumberResult>& exchange = answer.exchange;
  std::string place;
  if (exchange && exchange->status == Status::kOk) {
    place = exchange->place + ", " + exchange->state;
  } else if (exchange && exchange->status == Status::kUnknownExchange) {
    place = exchange->NumberText() + " not listed, " + CodeRegionText(*exchange);
  } else if (answer.postal && answer.postal->place) {
    place = PostalText(*answer.postal);  // "ZIP 45402: Dayton, OH"
  } else if (answer.times.searchedPlace && !answer.times.clockPlaces.empty()) {
    place = answer.times.clockPlaces.front().name;
  } else if (answer.largestPlace) {
    place = answer.largestPlace->name + ", " + answer.largestPlace->state;
  }
  const CallVerdict verdict = VerdictOf(answer.times, utcSeconds);
  const std::string time = verdict.clock ? Clock12(*verdict.clock) + " " +
                                               ZoneFamily(verdict.clock->zoneName)
                                         : ZoneFamiliesText(answer.times, utcSeconds);
  return JoinedNonEmpty({place, time, JoinedNonEmpty(answer.areaCodes.entries, "/")}, kSeparator);
}

}  // namespace tq
