#include "postal/PostalCode.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "postal/QueryKind.h"

namespace tq {
namespace {

struct CodeCase {
  const char* text;
  std::optional<std::string> said;  // the code said back; none: not a code's shape
  bool zip = true;
  bool wellFormed = true;
};

TEST(PostalCode, ReadsTheFormsPeopleWrite) {
  const CodeCase cases[] = {
      {"45402", "45402"},
      {" 45402-1234 ", "45402-1234"},
      {"45402 1234", "45402-1234"},
      {"00000", "00000"},  // the shape of one: the table says whether it is one
      {"k1a0b1", "K1A 0B1", false},
      {"K1A 0B1", "K1A 0B1", false},
      {"k1a", "K1A", false},
      {"D1A", "D1A", false, false},       // no FSA begins with D
      {"W1A 0B1", "W1A 0B1", false, false},
      {"K1A 0O1", "K1A 0O1", false, false},  // nor holds an O
      {"K1Z", "K1Z", false, true},
      {"4540", std::nullopt},
      {"454021", std::nullopt},
      {"45402-123", std::nullopt},
      {"45402x1234", std::nullopt},
      {"45402  1234", std::nullopt},
      {"K1A  0B1", std::nullopt},
      {"K1A-0B1", std::nullopt},
      {"K1", std::nullopt},
      {"1A1", std::nullopt},
      {"+45402", std::nullopt},
      {"", std::nullopt},
  };
  for (const CodeCase& c : cases) {
    const std::optional<PostalCode> code = ParsePostalCode(c.text);
    ASSERT_EQ(code.has_value(), c.said.has_value()) << c.text;
    if (!code) continue;
    EXPECT_EQ(code->Text(), *c.said) << c.text;
    EXPECT_EQ(code->kind == PostalCode::Kind::kZip, c.zip) << c.text;
    EXPECT_EQ(code->wellFormed, c.wellFormed) << c.text;
  }
  // The key names the code's area, whatever follows it.
  EXPECT_EQ(ParsePostalCode("45402-1234")->key, 45402u);
  EXPECT_EQ(ParsePostalCode("00601")->key, 601u);
  EXPECT_EQ(ParsePostalCode("k1a 0b1")->key, FsaKey('K', '1', 'A'));
  EXPECT_EQ(PostalCodeName(*ParsePostalCode("k1a")), "postal code K1A");
}

struct KindCase {
  const char* text;
  const char* kind;
  const char* placeText = "";
};

TEST(QueryKind, OneRecognizerTellsWhatATextIs) {
  const KindCase cases[] = {
      {"937", "area_code"},
      {"00937", "zip"},  // five digits are a ZIP code, even with leading zeros
      {"4540", "area_code"},
      {"454021", "area_code"},
      {"937-222-1234", "number"},
      {"+44 20 7946 0000", "other_country"},
      {"45402", "zip"},
      {"45402-1234", "zip"},
      {"k1a 0b1", "postal_code"},
      {"D1A", "postal_code"},
      {"Dayton, OH", "place"},
      {"Dayton, OH 45402", "place", "Dayton, OH"},
      {"Dayton, OH 45402-1234 ", "place", "Dayton, OH"},
      {"Ottawa, ON K1A 0B1", "place", "Ottawa, ON"},
      {"Ottawa, ON K1A0B1", "place", "Ottawa, ON"},
      {"Ottawa, ON K1A", "place"},      // an FSA alone is no address's end
      {"Dayton 45402", "place"},        // nor a code after a city without its state
      {"Britannia No. 502, SK", "place"},
      {"  ", "empty"},
  };
  for (const KindCase& c : cases) {
    const RecognizedQuery what = RecognizeQuery(c.text);
    EXPECT_STREQ(QueryKindName(what.kind), c.kind) << c.text;
    EXPECT_EQ(what.placeText, c.placeText) << c.text;
    EXPECT_EQ(what.postal.has_value(), what.kind == QueryKind::kZip ||
                                           what.kind == QueryKind::kPostalCode || *c.placeText)
        << c.text;
  }
}

}  // namespace
}  // namespace tq
