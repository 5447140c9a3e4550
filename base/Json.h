#pragma once
// JSON strings: the one escaper of every JSON and CSV writer. Control
// characters (C0, DEL and the C1 range) become \u00XX, so no control byte of
// a data file or an input reaches a terminal raw.

#include <string>
#include <string_view>

namespace tq {

// The length of the control character at the start of UTF-8 `text` (1 for
// C0 and DEL, 2 for C1), with its code in `code`; 0 when there is none.
std::size_t ControlLength(std::string_view text, unsigned& code);
// Appends "\u00XX", the escape of a control character's code; Write...
// writes it at `to` and gives the end.
void AppendControlEscape(std::string& out, unsigned code);
char* WriteControlEscape(char* to, unsigned code);

// A JSON string of code page 1252 text, quotes included.
std::string JsonString(const std::string& cp1252);
// The same for UTF-8 text, appended to `json`; Write... writes it at `to`,
// which has room for 6 * utf8.size() + 2 bytes, and gives the end.
void AppendJsonString(std::string& json, std::string_view utf8);
char* WriteJsonString(char* to, std::string_view utf8);

}  // namespace tq
