#include "lookup/AnswerText.h"

#include "base/Text.h"
#include "data/PlannedCodes.h"
#include "names/StateNames.h"

namespace tq {
namespace {

constexpr char kStatusSeparator[] = " \xB7 ";

// Control characters of the data show as visible placeholders, never raw.
void AddList(std::string& text, const std::string& heading,
             const std::vector<std::string>& entries) {
  text += Cp1252ToDisplayUtf8(heading) + "\n";
  for (const std::string& entry : entries) text += "  " + Cp1252ToDisplayUtf8(entry) + "\n";
}

std::string JsonArray(const std::vector<std::string>& entries) {
  std::string json = "[";
  for (const std::string& entry : entries) {
    if (json.size() > 1) json += ", ";
    json += JsonString(entry);
  }
  return json + "]";
}

std::vector<std::string> ProblemTexts(const Answer& answer) {
  std::vector<std::string> texts;
  for (const LoadOutcome& problem : answer.problems) texts.push_back(problem.text);
  return texts;
}

}  // namespace

std::string CodeRegionText(const NumberResult& exchange) {
  const char* shared = SharedRegionLine(exchange.areaCode);
  return shared ? shared : StateDisplayForm(exchange.state);
}

std::string ExchangeText(const NumberResult& exchange) {
  using Status = NumberResult::Status;
  const std::string number = exchange.NumberText();
  const std::string code = number.substr(0, 3);
  switch (exchange.status) {
    case Status::kOk:
      return exchange.place + (exchange.area ? " area, " : ", ") + exchange.state;
    case Status::kUnknownExchange:
      return number + " is not listed; area code " + code + " is in " + CodeRegionText(exchange);
    case Status::kNotGeographic:
      return "No place for " + number + ": area code " + code + " is not geographic";
    case Status::kUnknownAreaCode:
    case Status::kInvalid:
    case Status::kNoExchangeData:
      break;
  }
  return "No known place for " + number;
}

std::string AnswerText(const Answer& answer, std::int64_t utcSeconds) {
  // What was asked, where it rings, its time and whether to call come first;
  // the lists follow.
  std::string text = "Input: " + Cp1252ToDisplayUtf8(answer.query) + "\n";
  if (answer.exchange) {
    text += "Exchange:\n  " + Cp1252ToDisplayUtf8(ExchangeText(*answer.exchange)) + "\n";
  }
  if (answer.postal && answer.postal->place) {
    text += "Postal code:\n  " + Cp1252ToDisplayUtf8(PostalText(*answer.postal)) + "\n";
  }
  const std::vector<LocalTimeLine> clocks = LocalTimesAt(answer.times, utcSeconds);
  if (!clocks.empty()) text += "Local time:\n";
  for (const LocalTimeLine& line : clocks) {
    text += "  " + Clock24(line.clock) + " " + line.clock.zoneName + " (UTC" +
            UtcOffsetText(line.clock) + "), " + Cp1252ToDisplayUtf8(line.place) + "\n";
  }
  const std::string split = SplitZonesText(answer.times, utcSeconds);
  if (!split.empty()) text += "Time zones:\n  " + split + "\n";
  if (const std::optional<bool> callable = CallableAt(answer.times, utcSeconds)) {
    text += std::string("Callable now (") + CallingHoursText(answer.times.callingHours) +
            "):\n  " + (*callable ? "yes" : "no") + "\n";
  }
  AddList(text, answer.areaCodes.heading, answer.areaCodes.entries);
  AddList(text, answer.largestCity.heading, answer.largestCity.entries);
  AddList(text, answer.majorCities.heading, answer.majorCities.entries.Texts());
  AddList(text, kStateOrProvinceHeading, answer.stateOrProvince);
  AddList(text, kTimeZoneHeading, ZoneLineAt(answer.times, utcSeconds));
  if (answer.namesakes) text += "Namesakes:\n  " + Cp1252ToDisplayUtf8(NamesakesText(*answer.namesakes)) + "\n";
  return text;
}

AnswerBrief BriefOf(const Answer& answer, std::int64_t utcSeconds, ClockStyle style) {
  AnswerBrief brief;
  if (answer.planned) {
    brief.place = PlannedCodeText(*answer.planned);
    return brief;
  }
  if (!answer.HasLists() || answer.outcome != AnswerOutcome::kFound) return brief;
  using Status = NumberResult::Status;
  const std::optional<NumberResult>& exchange = answer.exchange;
  if (exchange && exchange->status == Status::kOk) {
    brief.place = ExchangeText(*exchange);  // "Dayton, OH", "New York area, NY"
  } else if (exchange && exchange->status == Status::kUnknownExchange) {
    brief.place = exchange->NumberText() + " not listed, " + CodeRegionText(*exchange);
  } else if (answer.postal && answer.postal->place) {
    brief.place = PostalText(*answer.postal);  // "ZIP 45402: Dayton, OH"
  } else if (answer.times.searchedPlace && !answer.times.clockPlaces.empty()) {
    brief.place = answer.times.clockPlaces.front().name;
  } else if (answer.largestPlace) {
    brief.place = answer.largestPlace->name + ", " + answer.largestPlace->state;
  }
  const CallVerdict verdict = VerdictOf(answer.times, utcSeconds);
  brief.time = verdict.clock ? ClockText(*verdict.clock, style) + " " + ZoneFamily(verdict.clock->zoneName)
                             : ZoneFamiliesText(answer.times, utcSeconds);
  if (verdict.callable) brief.verdict = *verdict.callable ? "can call now" : "outside calling hours";
  brief.codes = JoinedNonEmpty(answer.areaCodes.entries, "/");
  return brief;
}

std::string SpokenText(const Answer& answer, std::int64_t utcSeconds, ClockStyle style) {
  const AnswerBrief brief = BriefOf(answer, utcSeconds, style);
  if (brief.place.empty() && brief.time.empty()) {
    // Nothing found, or a code not yet in service: the one message.
    return answer.largestCity.entries.empty() ? "" : answer.largestCity.entries.front();
  }
  if (answer.planned) return brief.place;
  const std::vector<std::string>& codes = answer.areaCodes.entries;
  std::string codesSaid;
  if (codes.size() == 1) codesSaid = "area code " + codes.front();
  if (codes.size() > 1 && codes.size() <= 3) {
    const std::vector<std::string> first(codes.begin(), codes.end() - 1);
    codesSaid = "area codes " + JoinedNonEmpty(first, ", ") + " and " + codes.back();
  }
  if (codes.size() > 3) codesSaid = std::to_string(codes.size()) + " area codes";
  std::vector<std::string> parts;
  if (answer.exchange) {
    parts = {answer.query + ": " + brief.place, codesSaid};
  } else if (answer.times.searchedPlace) {
    parts = {brief.place + ": " + codesSaid};
  } else {
    if (!codesSaid.empty()) codesSaid[0] = 'A';
    parts = {codesSaid.empty() ? brief.place : codesSaid + ": largest city " + brief.place};
  }
  parts.push_back(brief.time);
  parts.push_back(brief.verdict);
  return JoinedNonEmpty(parts, ", ");
}

std::string AnswerJson(const Answer& answer, std::int64_t utcSeconds) {
  std::string json = "{\n  \"input\": " + JsonString(answer.query) + ",\n";
  json += "  \"areaCodes\": " + JsonArray(answer.areaCodes.entries) + ",\n";
  json += "  \"largestCity\": " + JsonArray(answer.largestCity.entries) + ",\n";
  json += "  \"majorCities\": " + JsonArray(answer.majorCities.entries.Texts()) + ",\n";
  json += "  \"stateOrProvince\": " + JsonArray(answer.stateOrProvince) + ",\n";
  json += "  \"timeZone\": " + JsonArray(ZoneLineAt(answer.times, utcSeconds)) + ",\n";
  json += "  \"localTimes\": [";
  bool first = true;
  for (const LocalTimeLine& line : LocalTimesAt(answer.times, utcSeconds)) {
    json += first ? "\n" : ",\n";
    first = false;
    json += "    {\"time\": \"" + Clock24(line.clock) + "\", \"zone\": " +
            JsonString(line.clock.zoneName) + ", \"utcOffset\": \"" + UtcOffsetText(line.clock) +
            "\", \"place\": " + JsonString(line.place) + "}";
  }
  json += first ? "],\n" : "\n  ],\n";
  const std::string split = SplitZonesText(answer.times, utcSeconds);
  json += "  \"splitZones\": " + (split.empty() ? std::string("null") : JsonString(split)) + ",\n";
  const std::optional<bool> callable = CallableAt(answer.times, utcSeconds);
  json += "  \"callable\": " + std::string(!callable ? "null" : *callable ? "true" : "false") +
          ",\n  \"callingHours\": \"" + CallingHoursText(answer.times.callingHours) + "\",\n";
  json += "  \"dataProblems\": " + JsonArray(ProblemTexts(answer)) + ",\n";
  json += "  \"exchange\": ";
  if (!answer.exchange) {
    json += "null";
  } else {
    const NumberResult& exchange = *answer.exchange;
    const bool placed = exchange.status == NumberResult::Status::kOk;
    json += "{\"number\": " + JsonString(exchange.NumberText()) + ", \"place\": " +
            (placed ? JsonString(exchange.place + ", " + exchange.state) : "null") +
            ", \"status\": \"" + NumberStatusName(exchange.status) + "\", \"state\": " +
            (exchange.state.empty() ? "null" : JsonString(exchange.state)) +
            (placed && exchange.area ? ", \"area\": true}" : "}");
  }
  json += ",\n  \"query\": " + JsonString(answer.queryGiven);
  json += ",\n  \"e164\": " + (answer.e164.empty() ? "null" : JsonString(answer.e164));
  json += ",\n  \"outcome\": \"" + std::string(AnswerOutcomeName(answer.outcome)) + "\"";
  json += ",\n  \"places\": [";
  for (std::size_t at = 0; at < answer.places.size(); ++at) {
    const PlaceFacts place = answer.places[at];
    json += at == 0 ? "\n" : ",\n";
    json += "    {\"name\": " + JsonString(place.name) + ", \"state\": " +
            JsonString(place.state) + ", \"population\": " + std::to_string(place.population) +
            ", \"listed\": " + (place.listed ? "true" : "false") + "}";
  }
  json += answer.places.empty() ? "]" : "\n  ]";
  json += ",\n  \"namesakes\": ";
  if (!answer.namesakes) {
    json += "null";
  } else {
    const Namesakes& namesakes = *answer.namesakes;
    json += "{\"name\": " + JsonString(namesakes.name) + ", \"state\": " +
            JsonString(namesakes.state) + ", \"count\": " + std::to_string(namesakes.places.size()) +
            ", \"text\": " + JsonString(NamesakesText(namesakes)) + ", \"places\": [";
    for (const PlaceFacts& place : namesakes.places) {
      json += (&place == &namesakes.places.front() ? "" : ", ");
      json += "{\"name\": " + JsonString(place.name) + ", \"population\": " +
              std::to_string(place.population) + "}";
    }
    json += "]}";
  }
  json += ",\n  \"postalCode\": ";
  if (!answer.postal) {
    json += "null";
  } else {
    const PostalAnswer& postal = *answer.postal;
    json += "{\"code\": " + JsonString(std::string(postal.code.Text())) + ", \"place\": " +
            (postal.place ? JsonString(postal.place->name + ", " + postal.place->state) : "null") +
            ", \"kind\": \"" + (postal.code.kind == PostalCode::Kind::kZip ? "zip" : "fsa") +
            "\", \"basis\": " + (postal.place ? "\"" + std::string(PostalBasisName(postal.basis)) + "\""
                                                : std::string("null")) +
            ", \"listed\": " + (postal.listed ? "true" : "false") + "}";
  }
  json += ",\n  \"planned\": ";
  if (!answer.planned) {
    json += "null";
  } else {
    std::vector<std::string> overlays;
    for (const std::int32_t code : answer.planned->overlays) overlays.push_back(std::to_string(code));
    json += "{\"areaCode\": \"" + std::to_string(answer.planned->code) + "\", \"begins\": " +
            JsonString(answer.planned->begins) + ", \"overlays\": " + JsonArray(overlays) + "}";
  }
  return json + "\n}\n";
}

std::string ChoicesJson(const Answer& answer) {
  std::vector<std::string> texts;
  for (const CityChoice& choice : answer.choices) texts.push_back(choice.text);
  std::string json = "{\n  \"input\": " + JsonString(answer.queryGiven) +
                     ",\n  \"choices\": " + JsonArray(texts) +
                     ",\n  \"outcome\": \"" + AnswerOutcomeName(answer.outcome) +
                     "\",\n  \"places\": [";
  for (const CityChoice& choice : answer.choices) {
    json += &choice == &answer.choices.front() ? "\n" : ",\n";
    json += "    {\"choice\": " + JsonString(choice.text) + ", \"name\": " +
            JsonString(choice.city) + ", \"state\": " + JsonString(choice.state) +
            ", \"population\": " + std::to_string(choice.population) + ", \"areaCodes\": [";
    for (std::size_t i = 0; i < choice.areaCodes.size(); ++i) {
      json += (i ? ", \"" : "\"") + std::to_string(choice.areaCodes[i]) + "\"";
    }
    json += "]}";
  }
  return json + (answer.choices.empty() ? "]" : "\n  ]") + "\n}\n";
}

std::string StatusText(const Answer& answer, std::int64_t utcSeconds, ClockStyle style) {
  std::vector<std::string> parts = ProblemTexts(answer);
  if (answer.postal && answer.postal->place) parts.push_back(PostalText(*answer.postal));
  if (answer.namesakes) parts.push_back(NamesakesText(*answer.namesakes));
  const int yours = ThisComputerOffsetSeconds(utcSeconds);
  for (const LocalTimeLine& line : LocalTimesAt(answer.times, utcSeconds)) {
    parts.push_back(line.place + ", " + ClockText(line.clock, style) + " " + WeekdayName(line.clock) +
                    ", " + line.clock.zoneName + " (UTC" + UtcOffsetText(line.clock) + "), " +
                    DifferenceFromYou(line.clock.offsetMinutes * 60, yours));
  }
  const std::string split = SplitZonesText(answer.times, utcSeconds);
  if (!split.empty()) parts.push_back(split);
  if (const std::optional<bool> callable = CallableAt(answer.times, utcSeconds)) {
    parts.push_back(std::string(*callable ? "can call now" : "outside calling hours") + " (" +
                    HoursText(answer.times.callingHours, style) + ")");
  }
  if (answer.exchange) {
    const NumberResult& exchange = *answer.exchange;
    std::string told = "place not known";
    if (exchange.status == NumberResult::Status::kOk) told = ExchangeText(exchange);
    if (exchange.status == NumberResult::Status::kNotGeographic) told = "not geographic";
    if (exchange.status == NumberResult::Status::kUnknownExchange) {
      told = "not listed, area code " + exchange.NumberText().substr(0, 3) + " is in " +
             CodeRegionText(exchange);
    }
    parts.push_back("exchange " + exchange.NumberText() + ": " + told);
  }
  std::string text;
  for (const std::string& part : parts) {
    if (!text.empty()) text += kStatusSeparator;
    text += part;
  }
  return text;
}

std::string PostalText(const PostalAnswer& postal) {
  if (!postal.place) return {};
  const bool zip = postal.code.kind == PostalCode::Kind::kZip;
  std::string text = (zip ? "ZIP " : "Postal code ") + std::string(postal.code.Text()) + ": " +
                     postal.place->name + ", " + postal.place->state;
  if (postal.basis == PostalBasis::kShared) text += " (most of it; shared with other places)";
  if (postal.basis == PostalBasis::kPostOffice) text += " (its post office)";
  return text;
}

std::string NamesakesText(const Namesakes& namesakes) {
  const std::size_t others = namesakes.places.size();
  return "also " + std::to_string(others) + " other " + (others == 1 ? "place" : "places") +
         " named " + namesakes.name + " in " + StateAbbrevToName(namesakes.state);
}

std::string ChoiceDetails(const CityChoice& choice) {
  std::vector<std::string> codes;
  for (const std::int32_t code : choice.areaCodes) codes.push_back(std::to_string(code));
  return JoinedNonEmpty({GroupedCount(choice.population), JoinedNonEmpty(codes, "/")},
                        kStatusSeparator);
}

}  // namespace tq
