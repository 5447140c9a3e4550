#pragma once
// A telephone number as people write it: "(937) 222-1234", "+1 937.222.1234",
// "1-800-FLOWERS", "937-222-1234 ext. 5", "tel:+1-937-222-1234". Blanks (and
// no-break spaces), "-" (and the en and em dashes), ".", "/" and
// parentheses only separate; a leading "tel:" is dropped, a leading country
// code 1 ("+1", "1", "1-") is
// dropped; letters after the first three digits count by the telephone keypad
// (in capitals, or anywhere in a text without blanks, so that "100 Mile House"
// stays a place); an extension ("x", "ext", "ext.", "#" and digits) ends the
// number and is ignored. Texts with a comma are places, never numbers.

#include <cstdint>
#include <optional>
#include <string_view>

namespace tq {

struct PhoneNumber {
  enum class Kind {
    kOtherCountry,  // "+" and a country code other than 1
    kAreaCode,      // no exchange: `areaCode` is the value of the first group
    kExchange,      // ten digits, or three and three: area code and exchange
  };
  Kind kind = Kind::kAreaCode;
  // The first group's value (9999 when it is longer than four digits, so
  // that it is never taken for an area code).
  std::int32_t areaCode = 0;
  std::int32_t exchange = -1;  // 0..999 with kExchange
  std::int32_t line = -1;      // 0..9999 with kExchange of all ten digits
};

// Nothing when the text is not written as a number (a place, "-212", "").
std::optional<PhoneNumber> ParsePhoneNumber(std::string_view text);

}  // namespace tq
