#pragma once
// The one-line results of the desktop search (code page 1252). They only
// show the answer; they decide nothing.

#include <cstdint>
#include <string>

#include "lookup/Answer.h"

namespace tq {

// "Dayton, OH \xB7 3:42 PM Eastern \xB7 326/937": what the answer is of (the
// exchange's own place; for an exchange that is not listed, its number and
// the area code's state or province; the typed place of a place search;
// else the largest place of the codes), its local time when it is certain,
// or the zones it is split between ("Eastern and Central"), at
// `utcSeconds`, and the area codes. Empty when the answer holds no place.
std::string ResultLine(const Answer& answer, std::int64_t utcSeconds);

}  // namespace tq
