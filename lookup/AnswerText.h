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
// The status line (code page 1252): data problems, the local times, the
// exchange, joined by " \xB7 ".
std::string StatusText(const Answer& answer, std::int64_t utcSeconds);
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
