#pragma once
// Text as the lookup keeps it: single-byte strings in Windows code page 1252
// ("é" is the one byte 0xE9). Conversions to and from UTF-8 happen only at the
// edges (the window, the command line).

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tq {

// Case mapping of code page 1252: ASCII letters, the accented Latin-1 letters
// and the four pairs of the 0x80..0x9F block (Š, Œ, Ž, Ÿ). Other bytes
// (× ÷ ß µ digits, punctuation) have no case and map to themselves.
unsigned char ToLower1252(unsigned char c);
unsigned char ToUpper1252(unsigned char c);
void MakeLower(std::string& text);
void MakeUpper(std::string& text);
std::string Lowered(std::string_view text);
// Lower-cased with the accents taken off, as a user types a name on a plain
// keyboard: "Montréal" -> "montreal", "Contrecœur" -> "contrecoeur". Letters
// without a plain form (ø, ß, ð, þ) stay.
std::string PlainLowered(std::string_view text);

// Case-insensitive order and prefix test, as the list boxes use them. The
// order is that of the bytes after ToLower1252; inline, for the sorted lists
// compare entries many times a search.
extern const std::array<unsigned char, 256> kLower1252;

inline int CompareNoCase(std::string_view a, std::string_view b) {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (a[i] == b[i]) continue;
    const int ca = kLower1252[static_cast<unsigned char>(a[i])];
    const int cb = kLower1252[static_cast<unsigned char>(b[i])];
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

inline bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         CompareNoCase(text.substr(0, prefix.size()), prefix) == 0;
}

// UTF-8 <-> code page 1252. What pasting brings is taken as meant: bidi and
// zero-width marks are dropped; the hyphens and dashes U+2010..U+2015 and
// the minus sign without a 1252 form become "-", the other spaces a blank,
// full-width characters their ASCII ones. Any other character without a
// 1252 form, and every byte of an invalid UTF-8 sequence, becomes "?".
std::string Utf8ToCp1252(std::string_view utf8);
std::string Cp1252ToUtf8(std::string_view text);
// Cp1252ToUtf8 for showing a text on a terminal or in a window, where no byte
// of the data may act as a control: C0 controls and DEL become their Control
// Pictures (U+2400..U+241F, U+2421; ESC shows as U+241B), and C1 controls
// (U+0080..U+009F: the five bytes code page 1252 leaves undefined) become
// the replacement character U+FFFD.
std::string Cp1252ToDisplayUtf8(std::string_view text);

// A blank between the parts of what people type or paste: the space, the
// tab and the no-break space (0xA0), which web pages and spreadsheets put
// between the groups of a number and which pasting keeps. IsBlankText: the
// text holds nothing else (an empty text too).
inline bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\xA0'; }
bool IsBlankText(std::string_view text);

// The value of 1 to 9 decimal digits with nothing else; -1 for any other
// text (a sign, a blank, no digit at all).
std::int32_t DigitsValue(std::string_view digits);
// Writes `value` (0 or more) as exactly `width` digits at `to`, with leading
// zeros; higher digits that do not fit are left out. Inline: the batch
// writes several for every row.
inline void WriteDigits(char* to, std::int32_t value, int width) {
  for (int i = width - 1; i >= 0; --i, value /= 10) to[i] = static_cast<char>('0' + value % 10);
}

// The length of the well-formed UTF-8 sequence at the start of `text` (1 to
// 4), or 0 when it begins with none: an overlong form, a surrogate, a code
// point above U+10FFFF, a stray or missing continuation byte, or NUL.
std::size_t Utf8SequenceLength(std::string_view text);
// Whether the text is UTF-8 without NUL; `ascii`, when given, is set to
// whether it is ASCII alone.
bool IsValidUtf8(std::string_view text, bool* ascii = nullptr);
// Appends `text` with every byte that is not part of a well-formed sequence,
// and every NUL, written as U+FFFD.
void AppendValidUtf8(std::string& out, std::string_view text);

// The C library's atoi, made total: leading white space, an optional sign,
// then digits; no digits gives 0. It saturates at the 32-bit limits instead
// of overflowing.
std::int32_t AtoI(std::string_view text);

// "1,434,625": a count with its thousands separated; empty for 0 or less.
std::string GroupedCount(std::int64_t count);
// The parts that are not empty, joined by `separator`.
std::string JoinedNonEmpty(const std::vector<std::string>& parts, std::string_view separator);

}  // namespace tq
