#pragma once
// An answer (Answer.h) as text to print, copy or show, in UTF-8: the blocks
// that tqlookup prints (one per list, then the local times and the
// exchange), one JSON object with the same content, and the status line of
// the window. Local times are those at the instant given. These only show
// the answer; they decide nothing.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/Json.h"
#include "lookup/Answer.h"

namespace tq {

std::string AnswerText(const Answer& answer, std::int64_t utcSeconds);
std::string AnswerJson(const Answer& answer, std::int64_t utcSeconds);
// The JSON of a search that needs a choice: the input and the choices.
std::string ChoicesJson(const Answer& answer);
// The answer in brief (code page 1252): what it is of (the exchange's place,
// or the city its area code is known by, "New York area, NY"; for an
// exchange that is not listed, its number and the area code's
// state or province; the typed place of a place search; else the largest
// place of the codes), its local time when it is certain, else the zones it
// is split between, whether one may call now, and its area codes. Every
// field is empty when the answer holds no place; a code not yet in service
// gives its text as the place.
struct AnswerBrief {
  std::string place;    // "Dayton, OH"
  std::string time;     // "3:42 PM Eastern", "Eastern and Central"
  std::string verdict;  // "can call now", "outside calling hours"
  std::string codes;    // "326/937"
};
AnswerBrief BriefOf(const Answer& answer, std::int64_t utcSeconds,
                    ClockStyle style = LocaleClockStyle());
// The answer as a screen reader announces it (code page 1252), the brief in
// words: "(937) 222-1234: Dayton, OH, area code 937, 3:42 PM Eastern, can
// call now"; "Area code 937: largest city Dayton, OH, 3:42 PM Eastern, can
// call now"; "Dayton, OH: area codes 326 and 937, ..."; or the message of
// an answer that found nothing ("City not found in database").
std::string SpokenText(const Answer& answer, std::int64_t utcSeconds,
                       ClockStyle style = LocaleClockStyle());
// The status line (code page 1252): data problems, the local times, the
// verdict, the exchange, joined by " \xB7 ". Its clocks and the calling
// hours are written in one style, the user's locale's by default. The
// brief and the spoken text write their time so too.
std::string StatusText(const Answer& answer, std::int64_t utcSeconds,
                       ClockStyle style = LocaleClockStyle());
// What the answer says of its exchange (code page 1252): "Dayton, OH", or
// why no place is known.
std::string ExchangeText(const NumberResult& exchange);
// "ZIP 45402: Dayton, OH", "Postal code K1A 0B1: Ottawa, ON", "ZIP 45424:
// Huber Heights, OH (most of it; shared with other places)" (code page
// 1252); "" for a code without a known place.
std::string PostalText(const PostalAnswer& postal);
// "also 17 other places named Washington in Pennsylvania" (code page 1252).
std::string NamesakesText(const Namesakes& namesakes);
// The state or province of the exchange's area code, as the state line
// writes it: "Ohio (OH)", or the shared line of 867, 902 and 782.
std::string CodeRegionText(const NumberResult& exchange);
// What tells a place of the city choice from its namesakes (code page 1252):
// "114,394 \xB7 217", "1,434,625 \xB7 210/726", its population with
// thousands separated, then its area codes; a part not known is left out.
std::string ChoiceDetails(const CityChoice& choice);

}  // namespace tq
