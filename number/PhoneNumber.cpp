#include "number/PhoneNumber.h"

#include <string>
#include <vector>

#include "base/Text.h"

namespace tq {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsLower(char c) { return c >= 'a' && c <= 'z'; }
// Blanks (the no-break space 0xA0 too), hyphens, the en and em dashes of
// code page 1252 (0x96, 0x97), points, slashes and parentheses.
bool IsSeparator(char c) {
  return c == ' ' || c == '-' || c == '.' || c == '/' || c == '(' || c == ')' || c == '\xA0' ||
         c == '\x96' || c == '\x97';
}

// The digit of a letter on the telephone keypad.
char KeypadDigit(char letter) {
  static constexpr char kDigits[] = "22233344455566677778889999";
  return kDigits[(IsLower(letter) ? letter - 'a' : letter - 'A')];
}

// True when `rest` is an extension: its marker, blanks, and digits or none
// ("937-222-1234 x", "212x": the number before it stands).
bool IsExtension(std::string_view rest) {
  if (StartsWithNoCase(rest, "ext")) {
    rest.remove_prefix(3);
    if (rest.starts_with('.')) rest.remove_prefix(1);
  } else if (rest.starts_with('#') || rest.starts_with('x') || rest.starts_with('X')) {
    rest.remove_prefix(1);
  } else {
    return false;
  }
  while (rest.starts_with(' ')) rest.remove_prefix(1);
  for (char c : rest) {
    if (!IsDigit(c)) return false;
  }
  return true;
}

// True when `parameters` (after the number's first ";") are parameters of a
// tel: link: "ext=12", "phone-context=example.com", each a name of letters,
// digits and hyphens with an optional value, split by ";". They say nothing
// of the place: the extension and the others are left aside.
bool AreLinkParameters(std::string_view parameters) {
  while (true) {
    const std::size_t end = parameters.find(';');
    const std::string_view parameter = parameters.substr(0, end);
    const std::string_view name = parameter.substr(0, parameter.find('='));
    if (name.empty()) return false;
    for (char c : name) {
      if (!IsDigit(c) && !IsUpper(c) && !IsLower(c) && c != '-') return false;
    }
    if (end == std::string_view::npos) return true;
    parameters.remove_prefix(end + 1);
  }
}

// Leading zeros count for nothing ("00937" is 937, as its number value).
std::int32_t GroupValue(std::string_view digits) {
  while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);
  if (digits.size() > 4) return 9999;
  std::int32_t value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  return value;
}

}  // namespace

std::optional<PhoneNumber> ParsePhoneNumber(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  if (text.find(',') != std::string_view::npos) return std::nullopt;
  if (StartsWithNoCase(text, "tel:")) text.remove_prefix(4);  // a link's number
  if (const std::size_t semicolon = text.find(';'); semicolon != std::string_view::npos) {
    if (!AreLinkParameters(text.substr(semicolon + 1))) return std::nullopt;
    text = text.substr(0, semicolon);  // "+1-416-979-0100;ext=12"
  }
  const bool plus = text.starts_with('+');
  if (plus) text.remove_prefix(1);
  if (text.empty() || !(IsDigit(text.front()) || text.front() == '(')) return std::nullopt;

  const bool lowerLettersAllowed = text.find(' ') == std::string_view::npos;

  std::string digits;
  std::vector<std::size_t> groupEnds;  // where each group of digits ends in `digits`
  bool inGroup = false;
  bool vanity = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool letter = IsUpper(c) || IsLower(c);
    // A letter that goes on from a letter is of a word ("GO-FEDEX"), not an
    // extension's marker.
    const bool inWord = letter && i > 0 && (IsUpper(text[i - 1]) || IsLower(text[i - 1]));
    if (!digits.empty() && (c == '#' || letter) && !inWord && IsExtension(text.substr(i))) break;
    if (IsSeparator(c)) {
      inGroup = false;
      continue;
    }
    if (letter) {
      if (digits.size() < 3 || (IsLower(c) && !lowerLettersAllowed)) return std::nullopt;
      vanity = true;
    } else if (!IsDigit(c)) {
      return std::nullopt;
    }
    digits += letter ? KeypadDigit(c) : c;
    if (!inGroup) groupEnds.push_back(0);
    groupEnds.back() = digits.size();
    inGroup = true;
  }
  if (digits.empty()) return std::nullopt;

  std::size_t begin = 0;
  if (plus) {
    if (digits.front() != '1') return PhoneNumber{PhoneNumber::Kind::kOtherCountry};
    begin = 1;
  } else if (digits.front() == '1' &&
             ((groupEnds.front() == 1 && groupEnds.size() > 1) || digits.size() == 11)) {
    begin = 1;
  }
  std::string_view national = std::string_view(digits).substr(begin);
  if (vanity && national.size() > 10) national = national.substr(0, 10);  // "1-800-MATTRESS"

  std::size_t firstEnd = groupEnds.front();
  if (begin == 1 && firstEnd == 1) firstEnd = groupEnds.size() > 1 ? groupEnds[1] : 1;
  const std::string_view firstGroup = std::string_view(digits).substr(begin, firstEnd - begin);

  PhoneNumber number;
  if (national.size() == 10 || (national.size() == 6 && firstGroup.size() == 3)) {
    number.kind = PhoneNumber::Kind::kExchange;
    number.areaCode = GroupValue(national.substr(0, 3));
    number.exchange = GroupValue(national.substr(3, 3));
    if (national.size() == 10) number.line = GroupValue(national.substr(6, 4));
  } else {
    number.areaCode = GroupValue(firstGroup);
  }
  return number;
}

}  // namespace tq
