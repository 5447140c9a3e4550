// Arbitrary text through the place-name operations, which never fail: city
// names, state names and codes, the code page conversions, and the splitting
// of what the user typed.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "base/Text.h"
#include "lookup/SearchFlow.h"
#include "names/CityNames.h"
#include "names/StateNames.h"

using tq::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  std::string city = text;
  tq::NormalizeCityName(city);
  tq::AccentCityName(city);

  std::string state = text;
  tq::NormalizeStateText(state);
  if (text.size() == 2) {
    std::string upper = text;
    tq::MakeUpper(upper);
    if (upper == "NF") upper = "NL";  // the old code of Newfoundland
    Check(state == upper, "a two-character state is not just upper-cased");
  }
  tq::StateNameToAbbrev(text);
  tq::StateAbbrevToName(text);
  tq::StateDisplayForm(text);

  // Every byte has a UTF-8 form that comes back as the same byte.
  Check(tq::Utf8ToCp1252(tq::Cp1252ToUtf8(text)) == text, "code page round trip");
  const std::string fromUtf8 = tq::Utf8ToCp1252(text);
  Check(fromUtf8.size() <= text.size(), "UTF-8 conversion grew the text");

  std::string collapsed = text;
  tq::CollapseSpaces(collapsed);
  Check(collapsed.find("  ") == std::string::npos, "two spaces left");
  Check(collapsed.empty() || (collapsed.front() != ' ' && collapsed.back() != ' '),
        "space left at an end");
  std::string again = collapsed;
  tq::CollapseSpaces(again);
  Check(again == collapsed, "collapsing twice changes the text");

  std::string splitCity, splitState;
  const bool split = tq::SplitCityState(text, splitCity, splitState);
  const std::size_t comma = collapsed.find(',');
  Check(split == (comma != std::string::npos && comma > 0), "split flag and comma disagree");
  if (comma == std::string::npos) {
    Check(splitCity == collapsed && splitState.empty(), "text without a comma is not the city");
  }
  return 0;
}
