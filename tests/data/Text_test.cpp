// Code page 1252 text: case mapping, case-insensitive comparison, the UTF-8
// conversions at the edges, and the total atoi/atof replacements.

#include "data/Text.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <limits>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace tq {
namespace {

std::string Hex(std::string_view bytes) {
  std::string out;
  char buffer[8];
  for (char c : bytes) {
    std::snprintf(buffer, sizeof buffer, "%02X ", static_cast<unsigned char>(c));
    out += buffer;
  }
  return out;
}

std::string Byte(int c) { return std::string(1, static_cast<char>(c)); }

std::string AllBytes() {
  std::string all;
  for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
  return all;
}

// ---------------------------------------------------------------------------
// Case mapping

struct CasePair {
  int upper;
  int lower;
};

// Every cased letter of code page 1252, written out independently of the
// library: A-Z, the four pairs of the 0x80 block, and 0xC0..0xDE except ×.
std::vector<CasePair> CasedLetters() {
  std::vector<CasePair> pairs;
  for (int c = 'A'; c <= 'Z'; ++c) pairs.push_back({c, c + 0x20});
  pairs.push_back({0x8A, 0x9A});  // Š š
  pairs.push_back({0x8C, 0x9C});  // Œ œ
  pairs.push_back({0x8E, 0x9E});  // Ž ž
  pairs.push_back({0x9F, 0xFF});  // Ÿ ÿ
  for (int c = 0xC0; c <= 0xDE; ++c) {
    if (c != 0xD7) pairs.push_back({c, c + 0x20});
  }
  return pairs;
}

class CasePairTest : public ::testing::TestWithParam<CasePair> {};

TEST_P(CasePairTest, MapsBothWaysAndKeepsItsOwnCase) {
  const auto upper = static_cast<unsigned char>(GetParam().upper);
  const auto lower = static_cast<unsigned char>(GetParam().lower);
  EXPECT_EQ(ToLower1252(upper), lower);
  EXPECT_EQ(ToUpper1252(lower), upper);
  EXPECT_EQ(ToLower1252(lower), lower);
  EXPECT_EQ(ToUpper1252(upper), upper);
}

INSTANTIATE_TEST_SUITE_P(Cp1252, CasePairTest, ::testing::ValuesIn(CasedLetters()),
                         [](const ::testing::TestParamInfo<CasePair>& info) {
                           char name[16];
                           std::snprintf(name, sizeof name, "x%02X_x%02X", info.param.upper,
                                         info.param.lower);
                           return std::string(name);
                         });

TEST(CaseMapping, CasedLetterCountIs60Pairs) {
  EXPECT_EQ(CasedLetters().size(), 60u);
}

TEST(CaseMapping, EveryOtherByteHasNoCase) {
  std::vector<int> lowerOf(256), upperOf(256);
  for (int c = 0; c < 256; ++c) lowerOf[c] = upperOf[c] = c;
  for (const CasePair& p : CasedLetters()) {
    lowerOf[p.upper] = p.lower;
    upperOf[p.lower] = p.upper;
  }
  for (int c = 0; c < 256; ++c) {
    const auto b = static_cast<unsigned char>(c);
    EXPECT_EQ(ToLower1252(b), lowerOf[c]) << "byte " << c;
    EXPECT_EQ(ToUpper1252(b), upperOf[c]) << "byte " << c;
  }
}

TEST(CaseMapping, CaselessSymbolsAndLettersStayPut) {
  // × ÷ ß µ ƒ ª º, the euro sign, digits, punctuation, NUL and the bytes that
  // code page 1252 leaves undefined.
  for (int c : std::initializer_list<int>{0xD7, 0xF7, 0xDF, 0xB5, 0x83, 0xAA, 0xBA, 0x80, '0', '9', '.', '\'', '-', ' ',
                0x00, 0x81, 0x8D, 0x8F, 0x90, 0x9D, 0xA0}) {
    const auto b = static_cast<unsigned char>(c);
    EXPECT_EQ(ToLower1252(b), b) << "byte " << c;
    EXPECT_EQ(ToUpper1252(b), b) << "byte " << c;
  }
}

TEST(CaseMapping, EveryByteRoundTripsThroughBothCases) {
  for (int c = 0; c < 256; ++c) {
    const auto b = static_cast<unsigned char>(c);
    const unsigned char lower = ToLower1252(b);
    const unsigned char upper = ToUpper1252(b);
    EXPECT_EQ(ToLower1252(ToUpper1252(lower)), lower) << "byte " << c;
    EXPECT_EQ(ToUpper1252(ToLower1252(upper)), upper) << "byte " << c;
    EXPECT_EQ(ToLower1252(lower), lower) << "byte " << c;
    EXPECT_EQ(ToUpper1252(upper), upper) << "byte " << c;
  }
}

TEST(CaseMapping, WholeTextsChangeByteForByte) {
  std::string text = "QU\xC9" "BEC \x8C" "UVRE \x8A" "IBENIK \x8E" "ALE \x9F \xCE" "LE \xD7\xF7\xDF\xB5";
  MakeLower(text);
  EXPECT_EQ(text, "qu\xE9" "bec \x9C" "uvre \x9A" "ibenik \x9E" "ale \xFF \xEE" "le \xD7\xF7\xDF\xB5");
  MakeUpper(text);
  EXPECT_EQ(text, "QU\xC9" "BEC \x8C" "UVRE \x8A" "IBENIK \x8E" "ALE \x9F \xCE" "LE \xD7\xF7\xDF\xB5");

  const std::string all = AllBytes();
  std::string lowered = all;
  MakeLower(lowered);
  std::string uppered = all;
  MakeUpper(uppered);
  ASSERT_EQ(lowered.size(), 256u);
  ASSERT_EQ(uppered.size(), 256u);
  for (int c = 0; c < 256; ++c) {
    EXPECT_EQ(static_cast<unsigned char>(lowered[c]), ToLower1252(static_cast<unsigned char>(c)));
    EXPECT_EQ(static_cast<unsigned char>(uppered[c]), ToUpper1252(static_cast<unsigned char>(c)));
  }
}

TEST(CaseMapping, LoweredLeavesItsArgumentAlone) {
  const std::string original = "MONTR\xC9" "AL";
  EXPECT_EQ(Lowered(original), "montr\xE9" "al");
  EXPECT_EQ(original, "MONTR\xC9" "AL");
  EXPECT_EQ(Lowered(""), "");
  EXPECT_EQ(Lowered(std::string("A\0B", 3)), std::string("a\0b", 3));
}

// ---------------------------------------------------------------------------
// Case-insensitive comparison

struct CompareCase {
  const char* a;
  const char* b;
  int sign;  // -1, 0, 1
};

void PrintTo(const CompareCase& c, std::ostream* os) {
  *os << "\"" << Hex(c.a) << "\" vs \"" << Hex(c.b) << "\"";
}

class CompareNoCaseTest : public ::testing::TestWithParam<CompareCase> {};

int Sign(int v) { return (v > 0) - (v < 0); }

TEST_P(CompareNoCaseTest, OrdersByLowerCaseBytes) {
  const CompareCase& c = GetParam();
  EXPECT_EQ(Sign(CompareNoCase(c.a, c.b)), c.sign) << c.a << " vs " << c.b;
  EXPECT_EQ(Sign(CompareNoCase(c.b, c.a)), -c.sign) << c.b << " vs " << c.a;
}

INSTANTIATE_TEST_SUITE_P(
    Table, CompareNoCaseTest,
    ::testing::Values(CompareCase{"", "", 0}, CompareCase{"abc", "ABC", 0},
                      CompareCase{"Dayton", "dAYTON", 0},
                      CompareCase{"Qu\xE9" "bec", "QU\xC9" "BEC", 0},
                      CompareCase{"\x8C", "\x9C", 0},       // Œ œ
                      CompareCase{"\x9F", "\xFF", 0},       // Ÿ ÿ
                      CompareCase{"\xC9", "\xE9", 0},       // É é
                      CompareCase{"a", "b", -1}, CompareCase{"B", "a", 1},
                      CompareCase{"", "a", -1}, CompareCase{"ab", "ABC", -1},
                      CompareCase{"Troy", "Troy Hills", -1},
                      CompareCase{"z", "\xE9", -1},         // bytes compare unsigned
                      CompareCase{"e", "\xE9", -1},         // an accent is not folded away
                      CompareCase{"\xD7", "\xF7", -1},      // × and ÷ have no case
                      CompareCase{"\xDF", "SS", 1},         // ß is not "ss"
                      // '[' and '_' lie between the ASCII capitals and small
                      // letters; the lower-case forms put them before "A".
                      CompareCase{"[", "A", -1}, CompareCase{"_", "a", -1}));

struct PrefixCase {
  const char* text;
  const char* prefix;
  bool expected;
};

void PrintTo(const PrefixCase& c, std::ostream* os) {
  *os << "\"" << Hex(c.text) << "\" / \"" << Hex(c.prefix) << "\"";
}

class StartsWithNoCaseTest : public ::testing::TestWithParam<PrefixCase> {};

TEST_P(StartsWithNoCaseTest, ComparesOnlyThePrefixLength) {
  EXPECT_EQ(StartsWithNoCase(GetParam().text, GetParam().prefix), GetParam().expected)
      << GetParam().text << " / " << GetParam().prefix;
}

INSTANTIATE_TEST_SUITE_P(
    Table, StartsWithNoCaseTest,
    ::testing::Values(PrefixCase{"Montr\xE9" "al-Nord", "MONTR\xC9" "AL", true},
                      PrefixCase{"Montreal", "montreal", true},
                      PrefixCase{"Mont", "Montreal", false},
                      PrefixCase{"anything", "", true}, PrefixCase{"", "", true},
                      PrefixCase{"", "a", false}, PrefixCase{"Qu\xE9" "bec", "QU\xC9", true},
                      PrefixCase{"Qu\xE9" "bec", "QUE", false},
                      PrefixCase{"Troy Hills", "troy ", true},
                      PrefixCase{"Troy", "troy ", false}));

// ---------------------------------------------------------------------------
// UTF-8 to code page 1252

struct ConvertCase {
  std::string input;
  std::string expected;
};

void PrintTo(const ConvertCase& c, std::ostream* os) { *os << Hex(c.input); }

class Utf8ToCp1252Test : public ::testing::TestWithParam<ConvertCase> {};

TEST_P(Utf8ToCp1252Test, Converts) {
  EXPECT_EQ(Hex(Utf8ToCp1252(GetParam().input)), Hex(GetParam().expected))
      << "input " << Hex(GetParam().input);
}

INSTANTIATE_TEST_SUITE_P(
    Valid, Utf8ToCp1252Test,
    ::testing::Values(ConvertCase{"", ""}, ConvertCase{"Dayton, OH", "Dayton, OH"},
                      ConvertCase{std::string("a\0b", 3), std::string("a\0b", 3)},
                      ConvertCase{"Montr\xC3\xA9" "al", "Montr\xE9" "al"},
                      ConvertCase{"\xC3\x89", "\xC9"},                // É
                      ConvertCase{"Sept-\xC3\x8E" "les", "Sept-\xCE" "les"},  // Î
                      ConvertCase{"Aga\xC3\xB1" "a", "Aga\xF1" "a"},  // ñ
                      ConvertCase{"\xC2\xA0", "\xA0"},                // no-break space
                      ConvertCase{"\xC3\x97\xC3\xB7", "\xD7\xF7"},    // × ÷
                      ConvertCase{"\xC3\xBF", "\xFF"},                // ÿ
                      ConvertCase{"\xE2\x82\xAC", "\x80"},            // €
                      ConvertCase{"\xC6\x92", "\x83"},                // ƒ
                      ConvertCase{"\xE2\x80\xA6", "\x85"},            // …
                      ConvertCase{"\xC5\xA0\xC5\xA1", "\x8A\x9A"},    // Š š
                      ConvertCase{"\xC5\x92\xC5\x93", "\x8C\x9C"},    // Œ œ
                      ConvertCase{"\xC5\xBD\xC5\xBE", "\x8E\x9E"},    // Ž ž
                      ConvertCase{"\xC5\xB8", "\x9F"},                // Ÿ
                      ConvertCase{"\xE2\x80\x98\xE2\x80\x99", "\x91\x92"},  // ‘ ’
                      ConvertCase{"\xE2\x80\x9C\xE2\x80\x9D", "\x93\x94"},  // “ ”
                      ConvertCase{"\xE2\x80\x93\xE2\x80\x94", "\x96\x97"},  // – —
                      ConvertCase{"\xE2\x84\xA2", "\x99"}));                // ™

INSTANTIATE_TEST_SUITE_P(
    NoCp1252Form, Utf8ToCp1252Test,
    ::testing::Values(ConvertCase{"\xC4\x80", "?"},               // Ā
                      ConvertCase{"\xC2\x80", "?"},               // U+0080, a C1 control
                      ConvertCase{"\xE2\x82\xAD", "?"},           // ₭, next to the euro
                      ConvertCase{"a\xE4\xB8\xAD" "b", "a?b"},    // 中: one "?" per character
                      ConvertCase{"\xF0\x9F\x98\x80", "?"},       // an emoji, four bytes
                      ConvertCase{"\xEF\xBF\xBD", "?"},           // the replacement character
                      ConvertCase{"\xF4\x8F\xBF\xBF", "?"}));     // U+10FFFF, the last one

INSTANTIATE_TEST_SUITE_P(
    Invalid, Utf8ToCp1252Test,
    ::testing::Values(ConvertCase{"\x80", "?"}, ConvertCase{"\xBF", "?"},
                      ConvertCase{"a\x80\x80" "b", "a??b"},
                      ConvertCase{"\xC3", "?"},                   // truncated at the end
                      ConvertCase{"\xE2\x82", "??"},
                      ConvertCase{"\xF0\x9F\x98", "???"},
                      ConvertCase{"\xC3 x", "? x"},               // cut short by ASCII
                      ConvertCase{"\xE2\x82" "A", "??A"},
                      ConvertCase{"\xE2\xC3\xA9", "?\xE9"},       // cut short by a new lead byte
                      ConvertCase{"\xC0\xAF", "??"},              // overlong "/"
                      ConvertCase{"\xC1\xBF", "??"},
                      ConvertCase{"\xE0\x80\xAF", "???"},
                      ConvertCase{"\xE0\x83\xA9", "???"},         // overlong é
                      ConvertCase{"\xF0\x80\x80\xAF", "????"},
                      ConvertCase{"\xED\xA0\x80", "???"},         // surrogates
                      ConvertCase{"\xED\xBF\xBF", "???"},
                      ConvertCase{"\xF4\x90\x80\x80", "????"},    // beyond U+10FFFF
                      ConvertCase{"\xF5\x80\x80\x80", "????"},
                      ConvertCase{"\xF8\x88\x80\x80\x80", "?????"},
                      ConvertCase{"\xFE\xFF", "??"}));

TEST(Utf8ToCp1252, BytesF8ToFFAreEachReplaced) {
  for (int c = 0xF8; c <= 0xFF; ++c) {
    EXPECT_EQ(Utf8ToCp1252(Byte(c)), "?") << "byte " << c;
    EXPECT_EQ(Utf8ToCp1252("x" + Byte(c) + "\x80\x80" "y"), "x???y") << "byte " << c;
  }
}

TEST(Utf8ToCp1252, AnyBytesGiveAtMostOneByteEach) {
  // Every two-byte input, then random inputs of up to 12 bytes biased towards
  // lead and continuation bytes: no crash, and the output never grows.
  for (int a = 0; a < 256; ++a) {
    for (int b = 0; b < 256; ++b) {
      const std::string input = Byte(a) + Byte(b);
      const std::string out = Utf8ToCp1252(input);
      ASSERT_GE(out.size(), 1u) << Hex(input);
      ASSERT_LE(out.size(), 2u) << Hex(input);
    }
  }
  std::mt19937 random(1252);
  std::uniform_int_distribution<int> length(0, 12);
  std::uniform_int_distribution<int> kind(0, 3);
  std::uniform_int_distribution<int> any(0, 255);
  std::uniform_int_distribution<int> continuation(0x80, 0xBF);
  std::uniform_int_distribution<int> lead(0xC0, 0xFF);
  for (int round = 0; round < 20000; ++round) {
    std::string input;
    for (int n = length(random); n > 0; --n) {
      const int k = kind(random);
      input += Byte(k == 0 ? any(random) : k == 1 ? lead(random) : continuation(random));
    }
    const std::string out = Utf8ToCp1252(input);
    ASSERT_LE(out.size(), input.size()) << Hex(input);
    ASSERT_EQ(out.empty(), input.empty()) << Hex(input);
  }
}

// ---------------------------------------------------------------------------
// Code page 1252 to UTF-8

class Cp1252ToUtf8Test : public ::testing::TestWithParam<ConvertCase> {};

TEST_P(Cp1252ToUtf8Test, Converts) {
  EXPECT_EQ(Hex(Cp1252ToUtf8(GetParam().input)), Hex(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Table, Cp1252ToUtf8Test,
    ::testing::Values(ConvertCase{"", ""}, ConvertCase{"Ohio (OH)", "Ohio (OH)"},
                      ConvertCase{std::string("\0", 1), std::string("\0", 1)},
                      ConvertCase{"Qu\xE9" "bec (QC)", "Qu\xC3\xA9" "bec (QC)"},
                      ConvertCase{"\x80", "\xE2\x82\xAC"}, ConvertCase{"\x8A", "\xC5\xA0"},
                      ConvertCase{"\x9F", "\xC5\xB8"}, ConvertCase{"\x99", "\xE2\x84\xA2"},
                      ConvertCase{"\xA0", "\xC2\xA0"}, ConvertCase{"\xCE", "\xC3\x8E"},
                      ConvertCase{"\xFF", "\xC3\xBF"},
                      // The five bytes without a character keep their C1 code point.
                      ConvertCase{"\x81\x8D\x8F\x90\x9D",
                                  "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"}));

TEST(Cp1252ToUtf8, AllBytesRoundTrip) {
  for (int c = 0; c < 256; ++c) {
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(Byte(c))), Byte(c)) << "byte " << c;
  }
  const std::string all = AllBytes();
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

// The C library's own converter as a second opinion for the 251 bytes that
// code page 1252 defines.
TEST(Cp1252ToUtf8, AgreesWithIconv) {
  iconv_t cd = iconv_open("UTF-8", "CP1252");
  if (cd == reinterpret_cast<iconv_t>(-1)) GTEST_SKIP() << "no CP1252 converter";
  for (int c = 0; c < 256; ++c) {
    if (c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D) continue;
    char in[1] = {static_cast<char>(c)};
    char out[8] = {};
    char* inPtr = in;
    char* outPtr = out;
    std::size_t inLeft = 1, outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft), static_cast<std::size_t>(-1))
        << "byte " << c;
    const std::string expected(out, outPtr);
    EXPECT_EQ(Hex(Cp1252ToUtf8(Byte(c))), Hex(expected)) << "byte " << c;
    EXPECT_EQ(Utf8ToCp1252(expected), Byte(c)) << "byte " << c;
  }
  iconv_close(cd);
}

// ---------------------------------------------------------------------------
// AtoI

struct AtoICase {
  std::string text;
  std::int32_t expected;
};

void PrintTo(const AtoICase& c, std::ostream* os) { *os << "\"" << c.text.substr(0, 50) << "\""; }

class AtoITest : public ::testing::TestWithParam<AtoICase> {};

TEST_P(AtoITest, ReadsLikeAtoiButSaturates) {
  EXPECT_EQ(AtoI(GetParam().text), GetParam().expected) << "text \"" << GetParam().text << "\"";
}

constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();
const std::string k40Digits = "1234567890123456789012345678901234567890";

INSTANTIATE_TEST_SUITE_P(
    Table, AtoITest,
    ::testing::Values(
        AtoICase{"0", 0}, AtoICase{"42", 42}, AtoICase{"937", 937}, AtoICase{"0012", 12},
        AtoICase{"   42", 42}, AtoICase{"\t\n\v\f\r 7", 7}, AtoICase{"\n-8", -8},
        AtoICase{"+5", 5}, AtoICase{"-5", -5}, AtoICase{"-0", 0},
        AtoICase{"12abc", 12}, AtoICase{"3.9", 3}, AtoICase{"1 2", 1}, AtoICase{"7\n", 7},
        AtoICase{std::string("1\0" "2", 3), 1},
        AtoICase{"", 0}, AtoICase{"abc", 0}, AtoICase{"-", 0}, AtoICase{"+", 0},
        AtoICase{"+-5", 0}, AtoICase{"--5", 0}, AtoICase{"- 5", 0}, AtoICase{"x5", 0},
        AtoICase{"\xA0" "5", 0},  // a no-break space is not white space
        AtoICase{"2147483647", kIntMax}, AtoICase{"2147483648", kIntMax},
        AtoICase{"2147483657", kIntMax}, AtoICase{"9999999999", kIntMax},
        AtoICase{"-2147483647", -2147483647}, AtoICase{"-2147483648", kIntMin},
        AtoICase{"-2147483649", kIntMin}, AtoICase{"-9999999999", kIntMin},
        AtoICase{k40Digits, kIntMax}, AtoICase{"-" + k40Digits, kIntMin},
        AtoICase{"+" + k40Digits + "x", kIntMax},
        AtoICase{std::string(40, '0') + "42", 42}));

TEST(AtoI, MegabyteLongTextsSaturateOrStayExact) {
  const std::string digits(1 << 20, '9');
  EXPECT_EQ(AtoI(digits), kIntMax);
  EXPECT_EQ(AtoI("-" + digits), kIntMin);
  EXPECT_EQ(AtoI(std::string(1 << 20, '0') + "7"), 7);
  EXPECT_EQ(AtoI(std::string(1 << 20, ' ') + "-31"), -31);
  EXPECT_EQ(AtoI(std::string(1 << 20, ' ')), 0);
}

// ---------------------------------------------------------------------------
// AtoF

struct AtoFCase {
  std::string text;
  float expected;
};

void PrintTo(const AtoFCase& c, std::ostream* os) { *os << "\"" << c.text.substr(0, 50) << "\""; }

class AtoFTest : public ::testing::TestWithParam<AtoFCase> {};

TEST_P(AtoFTest, ReadsLikeAtof) {
  EXPECT_EQ(AtoF(GetParam().text), GetParam().expected) << "text \"" << GetParam().text << "\"";
}

constexpr float kInf = std::numeric_limits<float>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Table, AtoFTest,
    ::testing::Values(
        AtoFCase{"1.5", 1.5f}, AtoFCase{"-3", -3.0f}, AtoFCase{"1e3", 1000.0f},
        AtoFCase{"0", 0.0f}, AtoFCase{"-1.5", -1.5f}, AtoFCase{"23.5", 23.5f},
        AtoFCase{"24", 24.0f}, AtoFCase{"0.1", 0.1f}, AtoFCase{"+.5", 0.5f},
        AtoFCase{"5.", 5.0f}, AtoFCase{"2.5E-1", 0.25f}, AtoFCase{"  \t-2.25", -2.25f},
        AtoFCase{"1.5xyz", 1.5f}, AtoFCase{"1e", 1.0f}, AtoFCase{"1,5", 1.0f},
        AtoFCase{"3.4e38", 3.4e38f}, AtoFCase{"1e-50", 0.0f},
        AtoFCase{"", 0.0f}, AtoFCase{"abc", 0.0f}, AtoFCase{"-", 0.0f}, AtoFCase{".", 0.0f},
        AtoFCase{"e5", 0.0f}, AtoFCase{",5", 0.0f},
        AtoFCase{"1e39", kInf}, AtoFCase{"-1e39", -kInf}, AtoFCase{"1e400", kInf},
        AtoFCase{"-1e400", -kInf}, AtoFCase{std::string(60, '9'), kInf},
        AtoFCase{"inf", kInf},
        // Around the top of the float range: up to FLT_MAX plus half a step
        // the value rounds to FLT_MAX, from there on it is infinite.
        AtoFCase{"3.40282347e+38", FLT_MAX}, AtoFCase{"3.4028235e38", FLT_MAX},
        AtoFCase{"-3.4028235e38", -FLT_MAX}, AtoFCase{"3.40282356e38", FLT_MAX},
        AtoFCase{"3.40282357e38", kInf}, AtoFCase{"-3.40282357e38", -kInf}));

// Whatever "%.9g" prints for a float reads back as the same float.
TEST(AtoF, ReadsBackEveryPrintedFloat) {
  for (float value : {FLT_MAX, -FLT_MAX, FLT_MIN, std::numeric_limits<float>::denorm_min(),
                      1.0f / 3.0f, -23.5f, 1.5f, 16777217.0f, 0.1f, 1e38f}) {
    char text[64];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    EXPECT_EQ(AtoF(text), value) << text;
  }
}

TEST(AtoF, NanTextGivesNan) { EXPECT_TRUE(std::isnan(AtoF("nan"))); }

// Switches LC_NUMERIC to a locale with a decimal comma for the life of the
// object, if this machine has one, and back to "C" afterwards.
class CommaLocale {
 public:
  CommaLocale() {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE"}) {
      if (std::setlocale(LC_NUMERIC, name) != nullptr) {
        active_ = std::string(std::localeconv()->decimal_point) == ",";
        if (active_) return;
      }
    }
    std::setlocale(LC_NUMERIC, "C");
  }
  ~CommaLocale() { std::setlocale(LC_NUMERIC, "C"); }
  CommaLocale(const CommaLocale&) = delete;
  CommaLocale& operator=(const CommaLocale&) = delete;
  bool active() const { return active_; }

 private:
  bool active_ = false;
};

TEST(AtoF, IgnoresTheProcessLocale) {
  {
    CommaLocale comma;
    if (!comma.active()) GTEST_SKIP() << "no locale with a decimal comma installed";
    EXPECT_EQ(AtoF("1.5"), 1.5f);
    EXPECT_EQ(AtoF("-23.5"), -23.5f);
    EXPECT_EQ(AtoF("1,5"), 1.0f);
  }
  EXPECT_STREQ(std::localeconv()->decimal_point, ".");
}

}  // namespace
}  // namespace tq
