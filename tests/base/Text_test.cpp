// Code page 1252 text: case mapping, case-insensitive comparison, the UTF-8
// conversions at the edges, and the total atoi/atof replacements.

#include "base/Text.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <tuple>
#include <vector>


namespace tq {
namespace {

std::string Byte(int c) { return std::string(1, static_cast<char>(c)); }

// 26 ASCII pairs, 4 in the 0x80 block and 30 accented ones: each byte of a
// pair maps to the other, every other byte to itself.
TEST(CaseMapping, EveryByteIsPairedAtMostOnceAndRoundTrips) {
  int lowered = 0, uppered = 0;
  for (int c = 0; c < 256; ++c) {
    const unsigned char lower = ToLower1252(c), upper = ToUpper1252(c);
    EXPECT_TRUE(lower == c || upper == c) << "byte " << c << " has both cases";
    EXPECT_EQ(ToUpper1252(lower), lower == c ? upper : c) << "byte " << c;
    EXPECT_EQ(ToLower1252(upper), upper == c ? lower : c) << "byte " << c;
    lowered += lower != c, uppered += upper != c;
  }
  EXPECT_EQ(lowered, 60);
  EXPECT_EQ(uppered, 60);
}

TEST(CaseMapping, WholeTextsChangeByteForByte) {
  std::string text = "QU\xC9" "BEC \x8C" "UVRE \xD7";
  MakeLower(text);
  EXPECT_EQ(text, "qu\xE9" "bec \x9C" "uvre \xD7");
  MakeUpper(text);
  EXPECT_EQ(text, "QU\xC9" "BEC \x8C" "UVRE \xD7");
  EXPECT_EQ(Lowered(std::string("A\0B", 3)), std::string("a\0b", 3));
}

// As typed on a plain keyboard: accents off, ligatures as two letters, letters
// without a plain form kept.
TEST(CaseMapping, PlainLoweredTakesOffAccents) {
  EXPECT_EQ(PlainLowered("MONTR\xC9" "AL \xC0\xC7\xCB\xCF\xD1\xD6\xDC\xDD\x8A\x8E"),
            "montreal aceinouysz");
  EXPECT_EQ(PlainLowered("Contrec\x9C" "ur \xC6 \xD8\xDF\xF0\xFE\xD7"),
            "contrecoeur ae \xF8\xDF\xF0\xFE\xD7");
}

TEST(CompareNoCase, OrdersByLowerCaseBytes) {
  struct Case {
    const char* a;
    const char* b;
    int sign;
  };
  for (const Case& c : std::vector<Case>{
           {"", "", 0}, {"Dayton", "dAYTON", 0}, {"Qu\xE9" "bec", "QU\xC9" "BEC", 0},
           {"a", "b", -1}, {"B", "a", 1}, {"ab", "ABC", -1}, {"Troy", "Troy Hills", -1},
           {"z", "\xE9", -1},  // bytes compare unsigned
           {"e", "\xE9", -1},  // an accent is not folded away
           {"_", "a", -1}}) {   // lower-case forms put '_' before "A"
    const auto sign = [](int v) { return (v > 0) - (v < 0); };
    EXPECT_EQ(sign(CompareNoCase(c.a, c.b)), c.sign) << c.a << "vs " << c.b;
    EXPECT_EQ(sign(CompareNoCase(c.b, c.a)), -c.sign) << c.b << "vs " << c.a;
  }
}

TEST(StartsWithNoCase, ComparesOnlyThePrefixLength) {
  for (const auto& [text, prefix, expected] : std::vector<std::tuple<const char*, const char*, bool>>{
           {"Montr\xE9" "al-Nord", "MONTR\xC9" "AL", true}, {"Mont", "Montreal", false},
           {"", "", true}, {"", "a", false}, {"Qu\xE9" "bec", "QUE", false},
           {"Troy Hills", "troy ", true}, {"Troy", "troy ", false}}) {
    EXPECT_EQ(StartsWithNoCase(text, prefix), expected) << text << " / " << prefix;
  }
}

// Valid characters with a form are checked against iconv below.
TEST(Utf8ToCp1252, ReplacesWhatHasNoForm) {
  for (const auto& [input, expected] : std::vector<std::pair<std::string, std::string>>{
           {std::string("a\0b", 3), std::string("a\0b", 3)},
           // No code page 1252 form: one "?" per character, whatever its length.
           {"\xC4\x80", "?"}, {"\xC2\x80", "?"}, {"a\xE4\xB8\xAD" "b", "a?b"},
           {"\xF0\x9F\x98\x80", "?"},
           // What pasting brings: dashes, bidi and zero-width marks, spaces,
           // full-width characters, as meant.
           {"\u2010\u2011\u2012\u2015\u2212", "-----"}, {"\u2013\u2014", "\x96\x97"},
           {"a\u200E\u200F\u202A\u2066\u200B\uFEFF" "b", "ab"}, {"\u202F\u3000\u2009", "   "},
           {"\uFF0B\uFF11\uFF08\uFF19\uFF13\uFF17\uFF09", "+1(937)"},
           // Invalid UTF-8: one "?" per byte.
           {"a\x80\x80" "b", "a??b"}, {"\xF0\x9F\x98", "???"},    // cut short at the end
           {"\xE2\x82" "A", "??A"}, {"\xE2\xC3\xA9", "?\xE9"},    // by ASCII, by a lead byte
           {"\xC0\xAF", "??"}, {"\xE0\x80\xAF", "???"},          // overlong
           {"\xED\xA0\x80", "???"},                                 // a surrogate
           {"\xF4\x90\x80\x80", "????"}, {"\xF8\x88\x80\x80\x80", "?????"}, {"\xFE\xFF", "??"}}) {
    EXPECT_EQ(Utf8ToCp1252(input), expected) << "input " << input;
  }
}

// What is not well-formed UTF-8 is shown as U+FFFD, byte by byte.
TEST(ValidUtf8, KeepsWellFormedSequencesOnly) {
  const std::pair<std::string, std::string> cases[] = {
      {"Montr\xC3\xA9" "al", "Montr\xC3\xA9" "al"},
      {"a\xE9z", "a\xEF\xBF\xBDz"},                       // Latin-1, not UTF-8
      {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},           // overlong
      {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // a surrogate
      {std::string("a\0b", 3), "a\xEF\xBF\xBD" "b"},
      {"\xF0\x9F\x93\x9E", "\xF0\x9F\x93\x9E"},
  };
  for (const auto& [text, shown] : cases) {
    std::string out;
    AppendValidUtf8(out, text);
    EXPECT_EQ(out, shown);
    EXPECT_EQ(IsValidUtf8(text), text == shown);
  }
  // ASCII is told eight bytes at a time: a NUL or a stray byte is found at
  // every place of texts of 1 to 17 bytes.
  for (std::size_t length = 1; length <= 17; ++length) {
    bool ascii = false;
    EXPECT_TRUE(IsValidUtf8(std::string(length, '\x7F'), &ascii) && ascii) << length;
    for (std::size_t at = 0; at < length; ++at) {
      for (const char stray : {'\0', '\x80'}) {
        std::string text(length, 'a');
        text[at] = stray;
        EXPECT_FALSE(IsValidUtf8(text)) << length << " bytes, at " << at;
      }
    }
  }
}

TEST(DigitsValue, OneToNineDigitsAndNothingElse) {
  const std::pair<const char*, std::int32_t> cases[] = {
      {"0", 0}, {"007", 7}, {"999999999", 999999999}, {"1234567890", -1}, {"", -1},
      {"+1", -1}, {"-1", -1}, {" 1", -1}, {"1 ", -1}, {"1a", -1}};
  for (const auto& [text, value] : cases) EXPECT_EQ(DigitsValue(text), value) << text;
}

TEST(Cp1252ToUtf8, EveryByteRoundTripsAndUndefinedBytesKeepTheirCodePoint) {
  EXPECT_EQ(Cp1252ToUtf8("\x81\x9D"), "\xC2\x81\xC2\x9D");
  std::string all;
  for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

// ESC sequences of a stored name must not reach a terminal.
TEST(Cp1252ToDisplayUtf8, ShowsControlCharactersAsPlaceholders) {
  EXPECT_EQ(Cp1252ToDisplayUtf8(std::string("\x1B]0;x\a\0\t\x7F\x81\x9D", 11) + "\xE9\x80"),
            "\xE2\x90\x9B]0;x\xE2\x90\x87\xE2\x90\x80\xE2\x90\x89\xE2\x90\xA1"
            "\xEF\xBF\xBD\xEF\xBF\xBD\xC3\xA9\xE2\x82\xAC");
}

// The C library's own converter as a second opinion for the 251 bytes that
// code page 1252 defines, in both directions.
TEST(Cp1252ToUtf8, AgreesWithIconv) {
  iconv_t cd = iconv_open("UTF-8", "CP1252");
  if (cd == reinterpret_cast<iconv_t>(-1)) GTEST_SKIP() << "no CP1252 converter";
  for (int c = 0; c < 256; ++c) {
    if (c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D) continue;
    char in[1] = {static_cast<char>(c)}, out[8] = {};
    char *inPtr = in, *outPtr = out;
    std::size_t inLeft = 1, outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft), static_cast<std::size_t>(-1))
        << "byte " << c;
    const std::string expected(out, outPtr);
    EXPECT_EQ(Cp1252ToUtf8(Byte(c)), expected) << "byte " << c;
    EXPECT_EQ(Utf8ToCp1252(expected), Byte(c)) << "byte " << c;
  }
  iconv_close(cd);
}

TEST(AtoI, ReadsLikeAtoiButSaturates) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  const std::string k40Digits = "1234567890123456789012345678901234567890";
  for (const auto& [text, expected] : std::vector<std::pair<std::string, std::int32_t>>{
           {"937", 937}, {"\t\n\v\f\r 7", 7}, {"+5", 5}, {"-5", -5}, {"12abc", 12},
           {std::string("1\0" "2", 3), 1}, {"", 0}, {"+-5", 0}, {"- 5", 0},
           {"\xA0" "5", 0},  // a no-break space is not white space
           {"2147483647", kMax}, {"2147483648", kMax}, {"-2147483648", kMin},
           {"-2147483649", kMin}, {"+" + k40Digits + "x", kMax}, {"-" + k40Digits, kMin},
           {std::string(40, '0') + "42", 42}}) {
    EXPECT_EQ(AtoI(text), expected) << "text \"" << text << "\"";
  }
}

}  // namespace
}  // namespace tq
