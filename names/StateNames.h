#pragma once
// The 51 United States entries (50 states and the District of Columbia), the
// five inhabited US territories (PR, VI, GU, MP, AS) and the 13 Canadian
// provinces and territories, and the four conversions between what users
// type, the two-letter codes of the data and the names shown. "NF", the code
// of Newfoundland before 2002, is still understood as a typed code ("NL").
// None of them fails: text that is not in the table comes back unchanged.

#include <string>
#include <string_view>

namespace tq {

// "ohio", "OHIO" -> "OH"; an unknown name comes back as given.
std::string StateNameToAbbrev(std::string_view name);
// "QC", "qc" -> "Québec", "NF" -> "Newfoundland"; an unknown code comes back
// as given.
std::string StateAbbrevToName(std::string_view abbrev);
// "OH" -> "Ohio (OH)"; an unknown code stands alone, "" stays "".
std::string StateDisplayForm(std::string_view abbrev);
// Two characters are upper-cased ("nf" becomes "NL"); anything else is looked
// up as a full name.
void NormalizeStateText(std::string& text);
// The code a stored state stands for now: Newfoundland's old "NF" (any
// capitals) is "NL", files written before 2002 store it so; any other text
// as it is.
std::string_view CurrentStateCode(std::string_view stored);
// The old code stored files may use for a code: "NF" for "NL"; "" for others.
std::string_view OldStateCode(std::string_view code);

}  // namespace tq
