#include "postal/PostalCode.h"

#include "base/Text.h"

namespace tq {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
bool AllDigits(std::string_view text) {
  for (const char c : text) {
    if (!IsDigit(c)) return false;
  }
  return true;
}
// The letters Canada Post uses first in an FSA, and in the other places.
bool IsFirstLetter(char c) {
  return c != 'D' && c != 'F' && c != 'I' && c != 'O' && c != 'Q' && c != 'U' && c != 'W' && c != 'Z';
}
bool IsOtherLetter(char c) { return c != 'D' && c != 'F' && c != 'I' && c != 'O' && c != 'Q' && c != 'U'; }

}  // namespace

std::optional<PostalCode> ParsePostalCode(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  PostalCode code;
  if ((text.size() == 5 || text.size() == 10) && IsDigit(text[0])) {
    if (!AllDigits(text.substr(0, 5))) return std::nullopt;
    if (text.size() == 10 && ((text[5] != '-' && text[5] != ' ') || !AllDigits(text.substr(6)))) {
      return std::nullopt;
    }
    code.kind = PostalCode::Kind::kZip;
    for (std::size_t i = 0; i < text.size(); ++i) code.text[i] = text[i];
    if (text.size() == 10) code.text[5] = '-';
    code.length = static_cast<std::uint8_t>(text.size());
    for (std::size_t i = 0; i < 5; ++i) code.key = code.key * 10 + static_cast<std::uint32_t>(text[i] - '0');
    return code;
  }
  // An FSA, and its local delivery unit after one blank or none.
  if (text.size() != 3 && text.size() != 6 && text.size() != 7) return std::nullopt;
  if (!IsLetter(text[0]) || !IsDigit(text[1]) || !IsLetter(text[2])) return std::nullopt;
  std::string_view unit = text.substr(3);
  if (unit.size() == 4) {
    if (unit[0] != ' ') return std::nullopt;
    unit.remove_prefix(1);
  }
  if (!unit.empty() && (!IsDigit(unit[0]) || !IsLetter(unit[1]) || !IsDigit(unit[2]))) {
    return std::nullopt;
  }
  code.kind = PostalCode::Kind::kFsa;
  const char letter = Upper(text[0]), second = Upper(text[2]);
  code.text = {letter, text[1], second};
  code.length = 3;
  code.wellFormed = IsFirstLetter(letter) && IsOtherLetter(second);
  if (!unit.empty()) {
    const char unitLetter = Upper(unit[1]);
    code.text[3] = ' ';
    code.text[4] = unit[0];
    code.text[5] = unitLetter;
    code.text[6] = unit[2];
    code.length = 7;
    code.wellFormed = code.wellFormed && IsOtherLetter(unitLetter);
  }
  code.key = FsaKey(letter, text[1], second);
  return code;
}

std::string PostalCodeName(const PostalCode& code) {
  return (code.kind == PostalCode::Kind::kZip ? "ZIP code " : "postal code ") + std::string(code.Text());
}

}  // namespace tq
