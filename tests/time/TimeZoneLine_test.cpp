// The time zone line built from the kind of time at a place and Eastern
// time's at the same instant (which kinds of time the law gives at an
// instant: ZoneLaw_test).

#include "time/TimeZoneLine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "support/CommaLocale.h"

namespace tq {
namespace {

constexpr ZoneTime kEst{-18000, false, "EST", "Eastern Standard Time"};
constexpr ZoneTime kEdt{-14400, true, "EDT", "Eastern Daylight Time"};

ZoneTime Place(int offsetMinutes) {
  return {offsetMinutes * 60, false, "XST", "Some Standard Time"};
}

// Every quarter hour from -23.75 to 23.75 hours from Eastern time, against
// the C library's own "%.1f", from EST and from EDT.
TEST(TimeZoneText, DistanceFromEasternWithOneDecimal) {
  for (const ZoneTime& eastern : {kEst, kEdt}) {
    for (int quarters = -95; quarters <= 95; ++quarters) {
      const int minutes = quarters * 15;
      std::string expected = "Some Standard Time";
      if (minutes != 0) {
        char tail[64];
        std::snprintf(tail, sizeof tail, " (%s %c %.1f hours)", eastern.abbreviation.data(),
                      minutes > 0 ? '+' : '-', std::fabs(minutes / 60.0));
        expected += tail;
      }
      EXPECT_EQ(TimeZoneText(Place(eastern.offsetSeconds / 60 + minutes), eastern), expected);
    }
  }
}

TEST(TimeZoneText, KeepsThePointUnderADecimalCommaLocale) {
  test::CommaLocale comma;
  if (!comma.active()) GTEST_SKIP() << "no locale with a decimal comma installed";
  EXPECT_EQ(TimeZoneText(Place(-18000 / 60 + 90), kEst), "Some Standard Time (EST + 1.5 hours)");
}

}  // namespace
}  // namespace tq
