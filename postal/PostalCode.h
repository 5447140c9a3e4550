#pragma once
// A US ZIP code or a Canadian postal code as people write it: "45402",
// "45402-1234", "45402 1234"; "K1A 0B1", "k1a0b1", or the forward sortation
// area alone, "K1A". A ZIP code is five digits (its ZIP+4 after a hyphen or
// a blank); a postal code is letter, digit, letter, then optionally digit,
// letter, digit, in any capitals, with or without one blank between the two
// halves. A text of that shape whose letters Canada does not use ("D1A",
// "K1A 0B0" is sound, "W1A" is not) is still a postal code, not well formed,
// so that it is told as no postal code rather than searched as a place.
// Made for many rows: parsing allocates nothing.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tq {

struct PostalCode {
  enum class Kind : std::uint8_t { kZip, kFsa };
  Kind kind = Kind::kZip;
  // The code as it is said back, in capitals: "45402", "45402-1234", "K1A",
  // "K1A 0B1".
  std::array<char, 11> text{};
  std::uint8_t length = 0;
  // The key of the code's area: a ZIP code's five digits as a number, an
  // FSA's three characters packed (FsaKey).
  std::uint32_t key = 0;
  // False for a postal code with a letter Canada does not use there.
  bool wellFormed = true;

  std::string_view Text() const { return {text.data(), length}; }
  // "45402" or "K1A": the part that names the code's area.
  std::string_view AreaText() const { return {text.data(), kind == Kind::kZip ? 5u : 3u}; }
  bool operator==(const PostalCode&) const = default;
};

// The key of an FSA of three capitals and digits ("K1A").
constexpr std::uint32_t FsaKey(char letter, char digit, char second) {
  return (static_cast<std::uint32_t>(static_cast<unsigned char>(letter)) << 16) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(digit)) << 8) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(second));
}

// Nothing when the text (blanks around it aside) is not of a code's shape.
std::optional<PostalCode> ParsePostalCode(std::string_view text);

// "ZIP code 45402" or "postal code K1A 0B1": the code with the words that
// say what it is.
std::string PostalCodeName(const PostalCode& code);

}  // namespace tq
