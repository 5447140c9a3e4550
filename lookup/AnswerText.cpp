#include "lookup/AnswerText.h"

#include <cstdio>

#include "data/Text.h"

namespace tq {
namespace {

// Control characters of the data show as visible placeholders, never raw.
void AddList(std::string& text, const std::string& heading, const ListBox& list) {
  text += Cp1252ToDisplayUtf8(heading) + "\n";
  for (const std::string& entry : list.Entries()) text += "  " + Cp1252ToDisplayUtf8(entry) + "\n";
}

struct ClockLine {
  LocalClock clock;
  const TimePlace* place;
};

std::vector<ClockLine> Clocks(const SearchFlow& flow) {
  std::vector<ClockLine> lines;
  const std::int64_t now = flow.nowUtc();
  for (const TimePlace& place : flow.timePlaces) {
    if (const auto clock = LocalClockAt(now, place.fTimeZone, place.bDaylightSaving)) {
      lines.push_back({*clock, &place});
    }
  }
  return lines;
}

std::string ExchangePlaceText(const SearchFlow& flow) {
  return flow.exchangePlace ? flow.exchangePlace->city + ", " + flow.exchangePlace->state
                            : std::string();
}

std::string JsonArray(const std::vector<std::string>& entries) {
  std::string json = "[";
  for (const std::string& entry : entries) {
    if (json.size() > 1) json += ", ";
    json += JsonString(entry);
  }
  return json + "]";
}

}  // namespace

std::string JsonString(const std::string& cp1252) {
  std::string json = "\"";
  for (char c : Cp1252ToUtf8(cp1252)) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      json += '\\';
      json += c;
    } else if (byte < 0x20 || byte == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04X", byte);
      json += escaped;
    } else {
      json += c;
    }
  }
  return json + "\"";
}

std::string AnswerText(const SearchFlow& flow) {
  std::string text = "Input: " + Cp1252ToDisplayUtf8(flow.editQuery) + "\n";
  AddList(text, flow.lblAreaCodes, flow.listAreaCodes);
  AddList(text, flow.lblLargestCity, flow.listLargestCity);
  AddList(text, flow.lblMajorCities, flow.listMajorCities);
  AddList(text, kStateOrProvinceHeading, flow.listStateOrProvince);
  AddList(text, kTimeZoneHeading, flow.listTimeZone);
  const std::vector<ClockLine> clocks = Clocks(flow);
  if (!clocks.empty()) text += "Local time:\n";
  for (const ClockLine& line : clocks) {
    text += "  " + Clock24(line.clock) + " " +
            ZoneTimeName(line.place->fTimeZone, line.clock.daylight) + ", " +
            Cp1252ToDisplayUtf8(line.place->name) + "\n";
  }
  if (!flow.exchangeNumber.empty()) {
    text += "Exchange:\n  " +
            (flow.exchangePlace ? Cp1252ToDisplayUtf8(ExchangePlaceText(flow))
                                : "No known place for " + flow.exchangeNumber) +
            "\n";
  }
  return text;
}

std::string AnswerJson(const SearchFlow& flow) {
  std::string json = "{\n  \"input\": " + JsonString(flow.editQuery) + ",\n";
  json += "  \"areaCodes\": " + JsonArray(flow.listAreaCodes.Entries()) + ",\n";
  json += "  \"largestCity\": " + JsonArray(flow.listLargestCity.Entries()) + ",\n";
  json += "  \"majorCities\": " + JsonArray(flow.listMajorCities.Entries()) + ",\n";
  json += "  \"stateOrProvince\": " + JsonArray(flow.listStateOrProvince.Entries()) + ",\n";
  json += "  \"timeZone\": " + JsonArray(flow.listTimeZone.Entries()) + ",\n";
  json += "  \"localTimes\": [";
  bool first = true;
  for (const ClockLine& line : Clocks(flow)) {
    json += first ? "\n" : ",\n";
    first = false;
    json += "    {\"time\": \"" + Clock24(line.clock) + "\", \"zone\": " +
            JsonString(ZoneTimeName(line.place->fTimeZone, line.clock.daylight)) +
            ", \"utcOffset\": \"" + UtcOffsetText(line.clock) +
            "\", \"place\": " + JsonString(line.place->name) + "}";
  }
  json += first ? "],\n" : "\n  ],\n";
  json += "  \"dataProblems\": " + JsonArray(flow.dataProblems) + ",\n";
  json += "  \"exchange\": ";
  if (flow.exchangeNumber.empty()) {
    json += "null";
  } else {
    json += "{\"number\": " + JsonString(flow.exchangeNumber) + ", \"place\": " +
            (flow.exchangePlace ? JsonString(ExchangePlaceText(flow)) : "null") + "}";
  }
  return json + "\n}\n";
}

std::string ChoicesJson(const std::string& input, const std::vector<std::string>& choices) {
  return "{\n  \"input\": " + JsonString(input) + ",\n  \"choices\": " + JsonArray(choices) +
         "\n}\n";
}

}  // namespace tq
