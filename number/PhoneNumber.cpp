#include "number/PhoneNumber.h"

#include <array>

#include "base/Text.h"

namespace tq {
namespace {

// What a character of a number is, told by one look-up.
enum class Kind : std::uint8_t { kOther, kDigit, kSeparator, kUpper, kLower };
constexpr std::array<Kind, 256> kKinds = [] {
  std::array<Kind, 256> kinds{};
  for (int c = '0'; c <= '9'; ++c) kinds[static_cast<std::size_t>(c)] = Kind::kDigit;
  for (int c = 'A'; c <= 'Z'; ++c) kinds[static_cast<std::size_t>(c)] = Kind::kUpper;
  for (int c = 'a'; c <= 'z'; ++c) kinds[static_cast<std::size_t>(c)] = Kind::kLower;
  // Blanks (the no-break space 0xA0 too), hyphens, the en and em dashes of
  // code page 1252 (0x96, 0x97), points, slashes and parentheses.
  for (const unsigned char c : {' ', '-', '.', '/', '(', ')', '\xA0', '\x96', '\x97'}) {
    kinds[c] = Kind::kSeparator;
  }
  return kinds;
}();
Kind KindOf(char c) { return kKinds[static_cast<unsigned char>(c)]; }
bool IsDigit(char c) { return KindOf(c) == Kind::kDigit; }
bool IsLower(char c) { return KindOf(c) == Kind::kLower; }

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
      const Kind kind = KindOf(c);
      if (kind != Kind::kDigit && kind != Kind::kUpper && kind != Kind::kLower && c != '-') return false;
    }
    if (end == std::string_view::npos) return true;
    parameters.remove_prefix(end + 1);
  }
}

// The value of a group of digits, fed one digit at a time: leading zeros
// count for nothing ("00937" is 937, as its number value), and a group of
// more than four digits after them is 9999, never taken for an area code.
class GroupValue {
 public:
  void Add(char digit) {
    if (significant_ == 0 && digit == '0') return;
    if (++significant_ <= 4) value_ = value_ * 10 + (digit - '0');
  }
  std::int32_t Value() const { return significant_ > 4 ? 9999 : value_; }

 private:
  int significant_ = 0;
  std::int32_t value_ = 0;
};

// The value of the group of digits that begins at `at` in `text` and ends
// at a separator or at `end`, its first `skip` digits left out.
std::int32_t ValueOfGroup(std::string_view text, std::size_t at, std::size_t end,
                          std::size_t skip) {
  GroupValue group;
  for (; at < end && KindOf(text[at]) != Kind::kSeparator; ++at) {
    const char c = text[at];
    if (skip > 0) {
      --skip;
      continue;
    }
    group.Add(IsDigit(c) ? c : KeypadDigit(c));
  }
  return group.Value();
}

}  // namespace

std::optional<PhoneNumber> ParsePhoneNumber(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  if (text.find(',') != std::string_view::npos) return std::nullopt;
  if (!text.empty() && (text.front() == 't' || text.front() == 'T') &&
      StartsWithNoCase(text, "tel:")) {
    text.remove_prefix(4);  // a link's number
  }
  if (const std::size_t semicolon = text.find(';'); semicolon != std::string_view::npos) {
    if (!AreLinkParameters(text.substr(semicolon + 1))) return std::nullopt;
    text = text.substr(0, semicolon);  // "+1-416-979-0100;ext=12"
  }
  const bool plus = text.starts_with('+');
  if (plus) text.remove_prefix(1);
  if (text.empty() || !(IsDigit(text.front()) || text.front() == '(')) return std::nullopt;

  // Only the first eleven digits can be the number; beyond them only their
  // count matters, and where the first two groups begin (the area code may
  // be a group after a leading 1): their values are read again when they
  // are asked for. Nothing is allocated.
  char digits[11];
  std::size_t count = 0;
  std::size_t groups = 0;
  std::size_t firstEnd = 0, secondSize = 0;  // the digits up to the first group's end, of the second
  std::size_t firstAt = 0;  // where the first two groups begin in `text`
  std::size_t secondAt = std::string_view::npos;
  bool inGroup = false;
  bool vanity = false;
  std::size_t end = 0;
  for (; end < text.size(); ++end) {
    const char c = text[end];
    const Kind kind = KindOf(c);
    char digit = c;
    if (kind != Kind::kDigit) {
      if (kind == Kind::kSeparator) {
        inGroup = false;
        continue;
      }
      const bool letter = kind == Kind::kUpper || kind == Kind::kLower;
      // A letter that goes on from a letter is of a word ("GO-FEDEX"), not an
      // extension's marker.
      const bool inWord = letter && end > 0 && (KindOf(text[end - 1]) == Kind::kUpper || KindOf(text[end - 1]) == Kind::kLower);
      if (count > 0 && (c == '#' || letter) && !inWord && IsExtension(text.substr(end))) break;
      if (!letter) return std::nullopt;
      // Small letters only in a text without blanks ("100 Mile House" is a place).
      const bool lowerLettersAllowed =
          kind != Kind::kLower || text.find(' ') == std::string_view::npos;
      if (count < 3 || (kind == Kind::kLower && !lowerLettersAllowed)) return std::nullopt;
      vanity = true;
      digit = KeypadDigit(c);
    }
    if (!inGroup) {
      inGroup = true;
      // The sizes of the first two groups are known as the next ones begin.
      if (++groups == 1) {
        firstAt = end;
      } else if (groups == 2) {
        secondAt = end;
        firstEnd = count;
      } else if (groups == 3) {
        secondSize = count - firstEnd;
      }
    }
    if (count < sizeof digits) digits[count] = digit;
    ++count;
  }
  if (groups == 1) firstEnd = count;
  if (groups == 2) secondSize = count - firstEnd;
  if (count == 0) return std::nullopt;

  std::size_t begin = 0;
  if (plus) {
    if (digits[0] != '1') return PhoneNumber{PhoneNumber::Kind::kOtherCountry};
    begin = 1;
  } else if (digits[0] == '1' && ((firstEnd == 1 && groups > 1) || count == 11)) {
    begin = 1;
  }
  std::size_t national = count - begin;
  if (vanity && national > 10) national = 10;  // "1-800-MATTRESS"
  const std::size_t firstSize = begin == 0 ? firstEnd : firstEnd > 1 ? firstEnd - 1 : secondSize;

  PhoneNumber number;
  const auto value = [&](std::size_t at, std::size_t size) {
    GroupValue group;
    for (std::size_t i = 0; i < size; ++i) group.Add(digits[begin + at + i]);
    return group.Value();
  };
  if (national == 10 || (national == 6 && firstSize == 3)) {
    number.kind = PhoneNumber::Kind::kExchange;
    number.areaCode = value(0, 3);
    number.exchange = value(3, 3);
    if (national == 10) number.line = value(6, 4);
  } else if (begin == 0) {
    number.areaCode = ValueOfGroup(text, firstAt, end, 0);
  } else if (firstEnd > 1) {
    number.areaCode = ValueOfGroup(text, firstAt, end, 1);  // the first group without its 1
  } else {
    number.areaCode = ValueOfGroup(text, secondAt, end, 0);  // the 1 stood alone
  }
  return number;
}

}  // namespace tq
