#include "base/Json.h"

#include "base/Text.h"

namespace tq {

std::string JsonString(const std::string& cp1252) {
  std::string json;
  AppendJsonString(json, Cp1252ToUtf8(cp1252));
  return json;
}

void AppendJsonString(std::string& json, std::string_view utf8) {
  json += '"';
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const char c = utf8[i];
    const auto byte = static_cast<unsigned char>(c);
    // C1 controls (U+0080..U+009F, from the five bytes code page 1252 leaves
    // undefined) are escaped like the C0 ones: no control reaches a terminal.
    const bool c1 = byte == 0xC2 && i + 1 < utf8.size() &&
                    static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                    static_cast<unsigned char>(utf8[i + 1]) <= 0x9F;
    if (c == '"' || c == '\\') {
      json += '\\';
      json += c;
    } else if (byte < 0x20 || byte == 0x7F || c1) {
      const unsigned code = c1 ? static_cast<unsigned char>(utf8[++i]) : byte;
      const char escaped[] = {'\\', 'u', '0', '0', "0123456789ABCDEF"[code >> 4],
                              "0123456789ABCDEF"[code & 15]};
      json.append(escaped, sizeof escaped);
    } else {
      json += c;
    }
  }
  json += '"';
}

}  // namespace tq
