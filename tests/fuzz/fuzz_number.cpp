// Arbitrary text through the number parser, the one every search and every
// batch row uses: what it gives stays in its ranges, a text with a comma is
// never a number, and a full number written out again in the common forms
// reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "FuzzCheck.h"
#include "number/PhoneNumber.h"

using tq::fuzz::Check;

namespace {

bool Same(const std::optional<tq::PhoneNumber>& a, const tq::PhoneNumber& b) {
  return a && a->kind == b.kind && a->areaCode == b.areaCode && a->exchange == b.exchange &&
         a->line == b.line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::optional<tq::PhoneNumber> number = tq::ParsePhoneNumber(text);
  if (text.find(',') != std::string::npos) Check(!number, "a text with a comma read as a number");
  if (!number || number->kind != tq::PhoneNumber::Kind::kExchange) {
    Check(!number || (number->areaCode >= 0 && number->areaCode <= 9999),
          "an area code out of range");
    return 0;
  }
  Check(number->areaCode >= 0 && number->areaCode <= 999 && number->exchange >= 0 &&
            number->exchange <= 999 && number->line >= -1 && number->line <= 9999,
        "a number out of range");
  // Written out again in the common forms (a NANP number: area code and
  // exchange from 200 on), it reads back the same.
  if (number->line < 0 || number->areaCode < 200 || number->exchange < 200) return 0;
  char written[64];
  for (const char* form : {"(%03d) %03d-%04d", "+1 %03d.%03d.%04d", "1-%03d-%03d-%04d",
                           "%03d%03d%04d", "tel:+1-%03d-%03d-%04d x12"}) {
    std::snprintf(written, sizeof written, form, number->areaCode, number->exchange,
                  number->line);
    Check(Same(tq::ParsePhoneNumber(written), *number), "a number written out reads otherwise");
  }
  return 0;
}
