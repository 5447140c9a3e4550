#include "desktop/DesktopText.h"

#include <vector>

#include "base/Text.h"
#include "time/LocalTime.h"

namespace tq {
namespace {

constexpr char kSeparator[] = " \xB7 ";

}  // namespace

std::string ResultLine(const Answer& answer, std::int64_t utcSeconds) {
  if (answer.planned) return PlannedCodeText(*answer.planned);
  if (!answer.HasLists() || answer.outcome != AnswerOutcome::kFound) return {};
  // The place the answer's first clock is of: the typed place of a place
  // search, else the largest place of the codes.
  const std::vector<LocalTimeLine> clocks = LocalTimesAt(answer.times, utcSeconds);
  std::string place;
  if (answer.exchange && answer.exchange->status == NumberResult::Status::kOk) {
    place = answer.exchange->place + ", " + answer.exchange->state;
  } else if (!clocks.empty()) {
    place = clocks.front().place->name;
  } else if (answer.largestPlace) {
    place = answer.largestPlace->name + ", " + answer.largestPlace->state;
  } else {
    place = answer.largestCity.entries.front();
  }
  std::string time;
  if (!clocks.empty()) {
    const LocalTimeLine& line = clocks.front();
    time = Clock12(line.clock) + " " + line.zoneName.substr(0, line.zoneName.find(' '));
  }
  return JoinedNonEmpty({place, time, JoinedNonEmpty(answer.areaCodes.entries, "/")}, kSeparator);
}

}  // namespace tq
