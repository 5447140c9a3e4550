#include "postal/QueryKind.h"

#include "base/Text.h"

namespace tq {

RecognizedQuery RecognizeQuery(std::string_view text) {
  RecognizedQuery what;
  if (IsBlankText(text)) return what;
  if ((what.postal = ParsePostalCode(text))) {
    what.kind = what.postal->kind == PostalCode::Kind::kZip ? QueryKind::kZip : QueryKind::kPostalCode;
    return what;
  }
  if ((what.phone = ParsePhoneNumber(text))) {
    switch (what.phone->kind) {
      case PhoneNumber::Kind::kExchange: what.kind = QueryKind::kNumber; break;
      case PhoneNumber::Kind::kAreaCode: what.kind = QueryKind::kAreaCode; break;
      case PhoneNumber::Kind::kOtherCountry: what.kind = QueryKind::kOtherCountry; break;
    }
    return what;
  }
  what.kind = QueryKind::kPlace;
  // "Dayton, OH 45402", "Ottawa, ON K1A 0B1", "Ottawa, ON K1A0B1".
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  if (text.find(',') == std::string_view::npos) return what;
  for (const std::size_t length : {std::size_t{10}, std::size_t{7}, std::size_t{6}, std::size_t{5}}) {
    if (text.size() <= length || !IsBlank(text[text.size() - length - 1])) continue;
    std::optional<PostalCode> code = ParsePostalCode(text.substr(text.size() - length));
    if (!code || (code->kind == PostalCode::Kind::kFsa && code->length != 7)) continue;
    std::string_view place = text.substr(0, text.size() - length);
    while (!place.empty() && IsBlank(place.back())) place.remove_suffix(1);
    if (place.find(',') == std::string_view::npos) continue;
    what.postal = code;
    what.placeText = place;
    break;
  }
  return what;
}

const char* QueryKindName(QueryKind kind) {
  switch (kind) {
    case QueryKind::kEmpty: return "empty";
    case QueryKind::kNumber: return "number";
    case QueryKind::kAreaCode: return "area_code";
    case QueryKind::kOtherCountry: return "other_country";
    case QueryKind::kZip: return "zip";
    case QueryKind::kPostalCode: return "postal_code";
    case QueryKind::kPlace: return "place";
  }
  return "place";
}

}  // namespace tq
