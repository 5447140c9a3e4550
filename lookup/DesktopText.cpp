#include "lookup/DesktopText.h"

#include <vector>

#include "lookup/LocalTime.h"

namespace tq {
namespace {

constexpr char kSeparator[] = " \xB7 ";

// "1,434,625"; empty for none.
std::string Grouped(std::int64_t count) {
  if (count <= 0) return {};
  const std::string digits = std::to_string(count);
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

std::string Joined(const std::vector<std::string>& parts, const char* separator) {
  std::string text;
  for (const std::string& part : parts) {
    if (part.empty()) continue;
    if (!text.empty()) text += separator;
    text += part;
  }
  return text;
}

}  // namespace

std::string ChoiceDetails(const CityChoice& choice) {
  std::vector<std::string> codes;
  for (const std::int32_t code : choice.areaCodes) codes.push_back(std::to_string(code));
  return Joined({Grouped(choice.population), Joined(codes, "/")}, kSeparator);
}

std::string ResultLine(const Answer& answer, std::int64_t utcSeconds) {
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
  return Joined({place, time, Joined(answer.areaCodes.entries, "/")}, kSeparator);
}

}  // namespace tq
