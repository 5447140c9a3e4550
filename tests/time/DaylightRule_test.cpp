#include "time/DaylightRule.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "support/TestData.h"
#include "time/ZoneLaw.h"

namespace tq {
namespace {

// The zone law of some zones of the shipped tzl.bin.
ZoneLaw ShippedZones(const std::string& zones, int count) {
  test::TempDir dir;
  test::WriteBytes(dir / "ctz.bin", test::Sealed(test::ZonePlacesHead(dir / "cit.bin") + "zones " +
                                                 std::to_string(count) + "\n" + zones + "places 0\n"));
  std::filesystem::copy_file(test::ShippedZoneLaw(), dir / "tzl.bin");
  ZoneLaw law;
  EXPECT_EQ(law.Open(dir.path()).text, "");
  return law;
}

std::int64_t Seconds(int year, int month, int day) {
  using namespace std::chrono;
  return std::int64_t{sys_days(std::chrono::year(year) / month / day).time_since_epoch().count()} * 86400;
}

// The law of each record's own zone and daylight flag keeps the time the
// zone law keeps for zones that follow the federal rule, in every hour of
// every day of change and at noon of every other day, for every year both
// cover: the one daylight rule in code cannot drift from tzl.bin.
TEST(DaylightRule, RecordZonesKeepTheZoneLawsTime) {
  const struct {
    float hours;
    int daylight;
    const char* zone;
    int since;  // the zone keeps the federal rule and today's names from this year
  } zones[] = {
      {0, 1, "America/New_York", 1970},    {-1, 1, "America/Chicago", 1970},
      {-2, 1, "America/Denver", 1970},     {-2, 0, "America/Phoenix", 1970},
      {-3, 1, "America/Los_Angeles", 1970}, {-4, 1, "America/Anchorage", 1984},
      {-5, 0, "Pacific/Honolulu", 1970},   {-5, 1, "America/Adak", 1984},
      {-6, 0, "Pacific/Pago_Pago", 1984},  {1, 0, "America/Puerto_Rico", 1970},
      {1, 1, "America/Halifax", 1976},     {1.5f, 1, "America/St_Johns", 2012},
      {15, 0, "Pacific/Guam", 2001},
  };
  std::vector<test::CityFixture> records;
  for (const auto& z : zones) {
    records.push_back({static_cast<std::int32_t>(records.size() + 1), "Place", "OH", "USA", 1,
                       z.daylight, std::to_string(z.hours).substr(0, 4), {}});
  }
  // The names of ctz.bin are sorted.
  std::vector<std::string> sorted;
  for (const auto& z : zones) sorted.push_back(z.zone);
  std::sort(sorted.begin(), sorted.end());
  std::string names;
  for (const std::string& name : sorted) names += name + "\n";
  const ZoneLaw shipped = ShippedZones(names, static_cast<int>(sorted.size()));
  test::TempDir dir;
  test::WriteRecordFiles(dir.path(), records);
  CCitySet cities(dir.path());
  cities.Open();
  ZoneLaw own;
  own.FromRecords(cities);
  for (std::size_t i = 0; i < std::size(zones); ++i) {
    const int law = shipped.FindZone(zones[i].zone), mine = own.ZoneOfPlace(static_cast<std::int32_t>(i + 1));
    ASSERT_GE(mine, 0) << zones[i].zone;
    for (int year = zones[i].since; year <= 2100; ++year) {
      const DaylightDays days = *NorthAmericanDaylightDays(year);
      std::vector<std::int64_t> instants;
      for (int hour = 0; hour < 24; ++hour) {
        instants.push_back(Seconds(year, days.startMonth, days.startDay) + hour * 3600);
        instants.push_back(Seconds(year, days.endMonth, days.endDay) + hour * 3600);
      }
      for (int day = 0; day < 365; ++day) instants.push_back(Seconds(year, 1, 1) + day * 86400 + 43200);
      for (const std::int64_t at : instants) {
        const std::optional<ZoneTime> want = shipped.TimeAt(law, at), got = own.TimeAt(mine, at);
        ASSERT_TRUE(want && got) << zones[i].zone << " " << at;
        const auto said = [](const ZoneTime& t) {
          return std::string(t.name) + " " + std::string(t.abbreviation) + " " + std::to_string(t.offsetSeconds);
        };
        ASSERT_EQ(said(*got), said(*want))
            << zones[i].zone << " at " << at;
      }
    }
  }
  EXPECT_EQ(own.ZoneOfPlace(99), -1);
  EXPECT_FALSE(NorthAmericanDaylightDays(1969));
  EXPECT_FALSE(NorthAmericanDaylightDays(2101));
}

}  // namespace
}  // namespace tq
