#pragma once
// What a typed text is, decided once for every front end (the window, the
// suggestions, tqlookup, the batch and the desktop search): a telephone
// number with its exchange, an area code (or another number that is no
// exchange), a number of another country, a ZIP code, a Canadian postal
// code, or a place. Five digits are a ZIP code ("45402", "00937"), three
// digits an area code, four, six or more digits a number as before; a text
// of a postal code's shape is one (PostalCode.h), a text of a number's shape
// a number (PhoneNumber.h), anything else a place or nothing. A place
// written as an address ends, "Dayton, OH 45402", "Ottawa, ON K1A 0B1", is a
// place with its code: `postal` holds the code and `placeText` the rest.

#include <optional>
#include <string_view>

#include "number/PhoneNumber.h"
#include "postal/PostalCode.h"

namespace tq {

enum class QueryKind {
  kEmpty,         // blanks only
  kNumber,        // an area code and exchange: `phone` holds them
  kAreaCode,      // digits that are no exchange: `phone` holds the first group
  kOtherCountry,  // "+" and a country code other than 1
  kZip,           // `postal` holds it
  kPostalCode,    // a Canadian postal code or FSA: `postal` holds it
  kPlace,         // anything else: a place, a state, or text that finds nothing
};

struct RecognizedQuery {
  QueryKind kind = QueryKind::kEmpty;
  std::optional<PhoneNumber> phone;
  std::optional<PostalCode> postal;
  std::string_view placeText;  // with kPlace and a code: the place before the code
};

RecognizedQuery RecognizeQuery(std::string_view text);

// "number", "area_code", "zip", "postal_code", "place" ...: the word of a
// kind for scripts.
const char* QueryKindName(QueryKind kind);

}  // namespace tq
