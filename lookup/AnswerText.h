#pragma once
// A finished search as text to print or copy, in UTF-8: the blocks that
// tqlookup prints (one per list, then the local times and the exchange), or
// one JSON object with the same content. Local times are those of the flow's
// clock at the moment of the call.

#include <string>
#include <vector>

#include "lookup/SearchFlow.h"

namespace tq {

std::string AnswerText(const SearchFlow& flow);
std::string AnswerJson(const SearchFlow& flow);
// The JSON of a search that needs a choice: the input and the choices
// (code page 1252).
std::string ChoicesJson(const std::string& input, const std::vector<std::string>& choices);

// A JSON string of code page 1252 text, quotes included; control characters
// become \u00XX.
std::string JsonString(const std::string& cp1252);

}  // namespace tq
