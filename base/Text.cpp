#include "base/Text.h"

#include <array>
#include <limits>

#include "base/Words.h"

namespace tq {
namespace {

struct CasePair {
  unsigned char upper;
  unsigned char lower;
};

// Every cased letter of code page 1252 beyond ASCII. 0xD7 (×) and 0xF7 (÷)
// sit between the accented letters but have no case.
constexpr CasePair kCasePairs[] = {
    {0x8A, 0x9A},  // Š š
    {0x8C, 0x9C},  // Œ œ
    {0x8E, 0x9E},  // Ž ž
    {0x9F, 0xFF},  // Ÿ ÿ
    {0xC0, 0xE0}, {0xC1, 0xE1}, {0xC2, 0xE2}, {0xC3, 0xE3}, {0xC4, 0xE4},
    {0xC5, 0xE5}, {0xC6, 0xE6}, {0xC7, 0xE7}, {0xC8, 0xE8}, {0xC9, 0xE9},
    {0xCA, 0xEA}, {0xCB, 0xEB}, {0xCC, 0xEC}, {0xCD, 0xED}, {0xCE, 0xEE},
    {0xCF, 0xEF}, {0xD0, 0xF0}, {0xD1, 0xF1}, {0xD2, 0xF2}, {0xD3, 0xF3},
    {0xD4, 0xF4}, {0xD5, 0xF5}, {0xD6, 0xF6}, {0xD8, 0xF8}, {0xD9, 0xF9},
    {0xDA, 0xFA}, {0xDB, 0xFB}, {0xDC, 0xFC}, {0xDD, 0xFD}, {0xDE, 0xFE},
};

struct CaseTables {
  std::array<unsigned char, 256> lower{};
  std::array<unsigned char, 256> upper{};
};

constexpr CaseTables MakeCaseTables() {
  CaseTables t;
  for (int c = 0; c < 256; ++c) {
    t.lower[c] = t.upper[c] = static_cast<unsigned char>(c);
  }
  for (int c = 'A'; c <= 'Z'; ++c) {
    t.lower[c] = static_cast<unsigned char>(c + 32);
    t.upper[c + 32] = static_cast<unsigned char>(c);
  }
  for (const CasePair& p : kCasePairs) {
    t.lower[p.upper] = p.lower;
    t.upper[p.lower] = p.upper;
  }
  return t;
}

constexpr CaseTables kCase = MakeCaseTables();

// The plain letter of each accented lower-case letter; 0 for none. œ and æ
// become two letters and are handled apart.
constexpr std::array<char, 256> MakePlainLetters() {
  std::array<char, 256> plain{};
  const auto set = [&](const char* bytes, char letter) {
    for (; *bytes; ++bytes) plain[static_cast<unsigned char>(*bytes)] = letter;
  };
  set("\xE0\xE1\xE2\xE3\xE4\xE5", 'a');
  set("\xE7", 'c');
  set("\xE8\xE9\xEA\xEB", 'e');
  set("\xEC\xED\xEE\xEF", 'i');
  set("\xF1", 'n');
  set("\xF2\xF3\xF4\xF5\xF6", 'o');
  set("\xF9\xFA\xFB\xFC", 'u');
  set("\xFD\xFF", 'y');
  set("\x9A", 's');
  set("\x9E", 'z');
  return plain;
}

constexpr std::array<char, 256> kPlainLetter = MakePlainLetters();

// Unicode code points of the bytes 0x80..0x9F. The five bytes that code page
// 1252 leaves undefined keep their C1 code point, so every byte round-trips.
constexpr char16_t kHighBlock[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t CodePointOf(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b >= 0x80 && b < 0xA0 ? kHighBlock[b - 0x80] : b;
}

// What pasting brings beyond code page 1252, in the plain form a user means:
// nothing for invisible bidi and zero-width marks (-1), "-" for hyphens and
// dashes, a blank for the wide and narrow spaces, and the ASCII character of
// a full-width one ("９３７" is 937). 0 for any other character.
int PastedForm(char32_t cp) {
  if (cp == 0x061C || (cp >= 0x200B && cp <= 0x200F) || (cp >= 0x202A && cp <= 0x202E) ||
      (cp >= 0x2060 && cp <= 0x2064) || (cp >= 0x2066 && cp <= 0x2069) || cp == 0xFEFF) {
    return -1;
  }
  if (cp == 0x2010 || cp == 0x2011 || cp == 0x2012 || cp == 0x2015 || cp == 0x2212) return '-';
  if ((cp >= 0x2000 && cp <= 0x200A) || cp == 0x202F || cp == 0x205F || cp == 0x3000) return ' ';
  if (cp >= 0xFF01 && cp <= 0xFF5E) return static_cast<int>(cp - 0xFEE0);
  return 0;
}

char FromCodePoint(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (int i = 0; i < 32; ++i) {
    if (kHighBlock[i] == cp) return static_cast<char>(0x80 + i);
  }
  return '?';
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool IsCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' ||
         c == '\r';
}

}  // namespace

const std::array<unsigned char, 256> kLower1252 = kCase.lower;

unsigned char ToLower1252(unsigned char c) { return kCase.lower[c]; }
unsigned char ToUpper1252(unsigned char c) { return kCase.upper[c]; }

void MakeLower(std::string& text) {
  for (char& c : text) c = static_cast<char>(kCase.lower[static_cast<unsigned char>(c)]);
}

void MakeUpper(std::string& text) {
  for (char& c : text) c = static_cast<char>(kCase.upper[static_cast<unsigned char>(c)]);
}

std::string Lowered(std::string_view text) {
  std::string copy(text);
  MakeLower(copy);
  return copy;
}

std::string PlainLowered(std::string_view text) {
  std::string plain;
  plain.reserve(text.size());
  for (char c : text) {
    const unsigned char lower = kCase.lower[static_cast<unsigned char>(c)];
    if (lower == 0x9C) {
      plain += "oe";
    } else if (lower == 0xE6) {
      plain += "ae";
    } else {
      plain += kPlainLetter[lower] ? kPlainLetter[lower] : static_cast<char>(lower);
    }
  }
  return plain;
}

bool IsBlankText(std::string_view text) {
  for (const char c : text) {
    if (!IsBlank(c)) return false;
  }
  return true;
}

std::int32_t DigitsValue(std::string_view digits) {
  if (digits.empty() || digits.size() > 9) return -1;
  std::int32_t value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::size_t Utf8SequenceLength(std::string_view text) {
  if (text.empty()) return 0;
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return lead == 0 ? 0 : 1;
  std::size_t length;
  unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

bool IsValidUtf8(std::string_view text, bool* ascii) {
  // Nearly every text is ASCII without NUL, told eight bytes at a time: a
  // byte is 1 to 0x7F when it is not below 1 and has no high bit.
  const auto ascii1To7F = [](std::uint64_t word) {
    return (BytesBelow(word, 1) | (word & kByteHighs)) == 0;
  };
  if (EveryWord(text, ascii1To7F)) {
    if (ascii) *ascii = true;
    return true;
  }
  bool plain = true;
  while (!text.empty()) {
    if (static_cast<unsigned char>(text.front()) - 1u < 0x7Fu) {
      text.remove_prefix(1);
      continue;
    }
    const std::size_t length = Utf8SequenceLength(text);
    if (length == 0) return false;
    plain = false;
    text.remove_prefix(length);
  }
  if (ascii) *ascii = plain;
  return true;
}

void AppendValidUtf8(std::string& out, std::string_view text) {
  while (!text.empty()) {
    std::size_t plain = 0;  // ASCII without NUL, the common case
    while (plain < text.size() && static_cast<unsigned char>(text[plain]) - 1u < 0x7Fu) ++plain;
    out += text.substr(0, plain);
    text.remove_prefix(plain);
    if (text.empty()) break;
    const std::size_t length = Utf8SequenceLength(text);
    if (length == 0) {
      out += "\xEF\xBF\xBD";
      text.remove_prefix(1);
    } else {
      out += text.substr(0, length);
      text.remove_prefix(length);
    }
  }
}

std::string Utf8ToCp1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  while (!utf8.empty()) {
    const auto lead = static_cast<unsigned char>(utf8.front());
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      utf8.remove_prefix(1);
      continue;
    }
    const std::size_t length = Utf8SequenceLength(utf8);
    if (length == 0) {
      out += '?';
      utf8.remove_prefix(1);
      continue;
    }
    // The lead byte's bits, then six of each continuation byte.
    char32_t cp = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[k]) & 0x3F);
    }
    const int pasted = PastedForm(cp);
    if (pasted > 0) out += static_cast<char>(pasted);
    if (pasted == 0) out += FromCodePoint(cp);
    utf8.remove_prefix(length);
  }
  return out;
}

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  for (char c : text) AppendUtf8(out, CodePointOf(c));
  return out;
}

std::string Cp1252ToDisplayUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  for (char c : text) {
    const char32_t cp = CodePointOf(c);
    if (cp < 0x20) {
      AppendUtf8(out, 0x2400 + cp);
    } else if (cp == 0x7F) {
      AppendUtf8(out, 0x2421);
    } else if (cp >= 0x80 && cp < 0xA0) {
      AppendUtf8(out, 0xFFFD);
    } else {
      AppendUtf8(out, cp);
    }
  }
  return out;
}

std::int32_t AtoI(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsCSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > kMax + 1) value = kMax + 1;  // saturated; keep reading digits
  }
  if (negative) value = -value;
  if (value > kMax) return static_cast<std::int32_t>(kMax);
  if (value < kMin) return static_cast<std::int32_t>(kMin);
  return static_cast<std::int32_t>(value);
}

std::string GroupedCount(std::int64_t count) {
  if (count <= 0) return {};
  const std::string digits = std::to_string(count);
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

std::string JoinedNonEmpty(const std::vector<std::string>& parts, std::string_view separator) {
  std::string text;
  for (const std::string& part : parts) {
    if (part.empty()) continue;
    if (!text.empty()) text += separator;
    text += part;
  }
  return text;
}

}  // namespace tq
