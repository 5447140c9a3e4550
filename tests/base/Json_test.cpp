#include "base/Json.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "base/Text.h"

namespace tq {
namespace {

// A JSON string read back as a strict reader does: nothing when it holds a
// raw control character or an escape JSON does not know.
std::optional<std::string> ReadJsonString(std::string_view json) {
  if (json.size() < 2 || json.front() != '"' || json.back() != '"') return std::nullopt;
  std::string text;
  for (std::size_t i = 1; i + 1 < json.size(); ++i) {
    const auto c = static_cast<unsigned char>(json[i]);
    if (c < 0x20 || c == '"') return std::nullopt;
    if (c != '\\') {
      text += static_cast<char>(c);
      continue;
    }
    const char escape = json[++i];
    if (escape == '"' || escape == '\\') {
      text += escape;
    } else if (escape == 'u' && i + 5 < json.size()) {
      const unsigned code = static_cast<unsigned>(std::stoul(std::string(json.substr(i + 1, 4)), nullptr, 16));
      i += 4;
      if (code >= 0x80) {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
      } else {
        text += static_cast<char>(code);
      }
    } else {
      return std::nullopt;
    }
  }
  return text;
}

// Every byte of the data, between letters, reads back as its character, and
// no control character (C0, DEL, C1) is written raw.
TEST(JsonString, EveryByteReadsBackAndNoControlIsRaw) {
  for (int byte = 0; byte < 256; ++byte) {
    const std::string text = std::string("a") + static_cast<char>(byte) + "z";
    const std::string json = JsonString(text);
    EXPECT_EQ(ReadJsonString(json), Cp1252ToUtf8(text)) << byte;
    EXPECT_EQ(json.find('\x7F'), std::string::npos) << byte;
    for (std::size_t i = 0; i + 1 < json.size(); ++i) {
      const auto next = static_cast<unsigned char>(json[i + 1]);
      EXPECT_FALSE(json[i] == '\xC2' && next >= 0x80 && next <= 0x9F) << byte;
    }
  }
}

}  // namespace
}  // namespace tq
