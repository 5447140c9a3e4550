#pragma once
// The one-line results of the desktop search (code page 1252). They only
// show the answer; they decide nothing.

#include <cstdint>
#include <string>

#include "lookup/Answer.h"

namespace tq {

// "Dayton, OH \xB7 3:42 PM Eastern \xB7 326/937": the place of the answer
// (the exchange's place of a number, the typed place of a place search,
// else the largest place of the codes), its local time and zone at
// `utcSeconds`, and the area codes. Empty when the answer holds no place.
std::string ResultLine(const Answer& answer, std::int64_t utcSeconds);

}  // namespace tq
