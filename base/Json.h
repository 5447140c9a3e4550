#pragma once
// JSON strings: the one escaper of every JSON and CSV writer. Control
// characters (C0, DEL and the C1 range) become \u00XX, so no control byte of
// a data file or an input reaches a terminal raw.

#include <string>
#include <string_view>

namespace tq {

// A JSON string of code page 1252 text, quotes included.
std::string JsonString(const std::string& cp1252);
// The same for UTF-8 text, appended to `json`.
void AppendJsonString(std::string& json, std::string_view utf8);

}  // namespace tq
