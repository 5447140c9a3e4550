// Arbitrary bytes as "ctz.bin" and "tzl.bin" (a NUL byte divides them): the
// zone law is either refused with a reason and empty, or every zone answers
// every instant of its range with an offset within 15 hours and a name.
// When the input's first byte is even, both files are sealed with their
// check sums, so that the readers behind the sums are reached.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "support/TestData.h"
#include "time/ZoneLaw.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::size_t cut = bytes.find('\0');
  std::string places(bytes.substr(0, cut));
  std::string law(cut == std::string_view::npos ? "" : bytes.substr(cut + 1));
  if (data[0] % 2 == 0) {
    places = tq::test::Sealed(places);
    law = tq::test::Sealed(law);
  }
  tq::ZoneLaw zones;
  const std::string why = zones.Load(places, law);
  tq::fuzz::Check(why.empty() != zones.IsEmpty(), "a refused law that is not empty, or the reverse");
  tq::fuzz::Check(zones.IsEmpty() || zones.EasternZone() >= 0, "a law without Eastern time");
  for (int zone = 0; !zones.ZoneName(zone).empty(); ++zone) {
    for (std::int64_t at : {std::int64_t{0}, std::int64_t{1} << 20, std::int64_t{1} << 31}) {
      const auto time = zones.TimeAt(zone, at);
      tq::fuzz::Check((time || at > 0) && (!time || (!time->name.empty() &&
                                                     time->offsetSeconds >= -54000 &&
                                                     time->offsetSeconds <= 54000)),
                      "no time at 1970, or one out of range or without a name");
    }
  }
  return 0;
}
