#include "time/DaylightRule.h"

#include <chrono>

namespace tq {
namespace {

using namespace std::chrono;

// The day of the `nth` Sunday of a month (0: the last).
int SundayOf(int year, int month, unsigned nth) {
  const std::chrono::year y(year);
  const std::chrono::month m(static_cast<unsigned>(month));
  const sys_days day = nth == 0 ? sys_days(y / m / Sunday[last]) : sys_days(y / m / Sunday[nth]);
  return static_cast<int>(unsigned(year_month_day(day).day()));
}

}  // namespace

std::optional<DaylightDays> NorthAmericanDaylightDays(int year) {
  if (year < 1970 || year > 2100) return std::nullopt;
  if (year >= 2007) return DaylightDays{3, SundayOf(year, 3, 2), 11, SundayOf(year, 11, 1)};
  if (year >= 1987) return DaylightDays{4, SundayOf(year, 4, 1), 10, SundayOf(year, 10, 0)};
  if (year == 1974) return DaylightDays{1, 6, 10, SundayOf(year, 10, 0)};
  if (year == 1975) return DaylightDays{2, 23, 10, SundayOf(year, 10, 0)};
  return DaylightDays{4, SundayOf(year, 4, 0), 10, SundayOf(year, 10, 0)};
}

}  // namespace tq
