#pragma once
// Short forms of an answer for the desktop (code page 1252): what tells a
// place of the city choice from its namesakes, and the one-line results of
// the desktop search. They only show the answer; they decide nothing.

#include <cstdint>
#include <string>

#include "lookup/Answer.h"

namespace tq {

// "114,394 \xB7 217", "1,434,625 \xB7 210/726": population with thousands
// separated, then the area codes; a part that is not known is left out.
std::string ChoiceDetails(const CityChoice& choice);

// "Dayton, OH \xB7 3:42 PM Eastern \xB7 326/937": the place of the answer
// (the exchange's place of a number, the typed place of a place search,
// else the largest place of the codes), its local time and zone at
// `utcSeconds`, and the area codes. Empty when the answer holds no place.
std::string ResultLine(const Answer& answer, std::int64_t utcSeconds);

}  // namespace tq
