#pragma once
// An answer (Answer.h) as text to print, copy or show, in UTF-8: the blocks
// that tqlookup prints (one per list, then the local times and the
// exchange), one JSON object with the same content, and the status line of
// the window. Local times are those at the instant given. These only show
// the answer; they decide nothing.

#include <cstdint>
#include <string>
#include <vector>

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

// A JSON string of code page 1252 text, quotes included; control characters
// become \u00XX.
std::string JsonString(const std::string& cp1252);

}  // namespace tq
