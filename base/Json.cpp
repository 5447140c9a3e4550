#include "base/Json.h"

#include <cstring>

#include "base/Text.h"

namespace tq {

std::string JsonString(const std::string& cp1252) {
  std::string json;
  AppendJsonString(json, Cp1252ToUtf8(cp1252));
  return json;
}

std::size_t ControlLength(std::string_view text, unsigned& code) {
  if (text.empty()) return 0;
  const auto byte = static_cast<unsigned char>(text[0]);
  if (byte < 0x20 || byte == 0x7F) {
    code = byte;
    return 1;
  }
  // C1 controls (U+0080..U+009F, from the five bytes code page 1252 leaves
  // undefined) are escaped like the C0 ones: no control reaches a terminal.
  if (byte == 0xC2 && text.size() > 1) {
    const auto next = static_cast<unsigned char>(text[1]);
    if (next >= 0x80 && next <= 0x9F) {
      code = next;
      return 2;
    }
  }
  return 0;
}

char* WriteControlEscape(char* to, unsigned code) {
  const char escaped[] = {'\\', 'u', '0', '0', "0123456789ABCDEF"[(code >> 4) & 15],
                          "0123456789ABCDEF"[code & 15]};
  std::memcpy(to, escaped, sizeof escaped);
  return to + sizeof escaped;
}

void AppendControlEscape(std::string& out, unsigned code) {
  char escaped[6];
  out.append(escaped, WriteControlEscape(escaped, code));
}

char* WriteJsonString(char* to, std::string_view utf8) {
  *to++ = '"';
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const char c = utf8[i];
    unsigned code = 0;
    if (c == '"' || c == '\\') {
      *to++ = '\\';
      *to++ = c;
    } else if (const std::size_t length = ControlLength(utf8.substr(i), code)) {
      to = WriteControlEscape(to, code);
      i += length - 1;
    } else {
      *to++ = c;
    }
  }
  *to++ = '"';
  return to;
}

void AppendJsonString(std::string& json, std::string_view utf8) {
  const std::size_t size = json.size();
  json.resize(size + 6 * utf8.size() + 2);
  json.resize(static_cast<std::size_t>(WriteJsonString(json.data() + size, utf8) - json.data()));
}

}  // namespace tq
