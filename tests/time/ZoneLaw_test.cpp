#include "time/ZoneLaw.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/TestData.h"
#include "time/LocalTime.h"
#include "time/TimeZoneLine.h"

namespace tq {
namespace {

const std::filesystem::path kShipped = std::filesystem::path(TELQUEST_SOURCE_DIR) / "res";

class ShippedLaw : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(law_.Open(kShipped).text, ""); }
  // "2026-01-15 12:00 CST Central Standard Time"
  std::string At(const char* zone, const char* utc) const {
    const auto clock = LocalClockAt(law_, law_.FindZone(zone), *ParseIsoInstant(utc));
    if (!clock) return "";
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %s %+d ", clock->year, clock->month,
                  clock->day, Clock24(*clock).c_str(), clock->offsetMinutes);
    return text + clock->zoneName;
  }
  ZoneLaw law_;
};

// Changes of the law since 1970, the switch hours, and the ends of the range.
TEST_F(ShippedLaw, LocalTimeByTheLawOfThatDay) {
  const struct {
    const char *zone, *utc, *local;
  } cases[] = {
      {"America/Winnipeg", "2026-01-15T18:00Z", "2026-01-15 12:00 -360 Central Standard Time"},
      {"America/Winnipeg", "2026-11-01T07:59Z", "2026-11-01 02:59 -300 Eastern Standard Time"},
      {"America/Winnipeg", "2027-07-01T12:00Z", "2027-07-01 07:00 -300 Eastern Standard Time"},
      {"America/Vancouver", "2026-12-01T12:00Z", "2026-12-01 05:00 -420 Mountain Standard Time"},
      {"America/Edmonton", "2027-01-15T18:00Z", "2027-01-15 12:00 -360 Central Standard Time"},
      {"America/New_York", "2026-03-08T06:59Z", "2026-03-08 01:59 -300 Eastern Standard Time"},
      {"America/New_York", "2026-03-08T07:00Z", "2026-03-08 03:00 -240 Eastern Daylight Time"},
      {"America/New_York", "2026-11-01T06:00Z", "2026-11-01 01:00 -300 Eastern Standard Time"},
      {"America/New_York", "1974-01-06T07:00Z", "1974-01-06 03:00 -240 Eastern Daylight Time"},
      {"America/Chicago", "2100-11-07T06:59Z", "2100-11-07 01:59 -300 Central Daylight Time"},
      {"America/Chicago", "2100-11-07T07:00Z", "2100-11-07 01:00 -360 Central Standard Time"},
      {"America/Phoenix", "2026-07-04T19:00Z", "2026-07-04 12:00 -420 Mountain Standard Time"},
      {"America/St_Johns", "1988-07-01T12:00Z", "1988-07-01 10:30 -90 Newfoundland Double Daylight Time"},
      {"America/St_Johns", "2026-07-04T19:00Z", "2026-07-04 16:30 -150 Newfoundland Daylight Time"},
      {"Pacific/Guam", "2026-07-04T19:00Z", "2026-07-05 05:00 +600 Chamorro Standard Time"},
      {"Pacific/Pago_Pago", "2026-07-04T19:00Z", "2026-07-04 08:00 -660 Samoa Standard Time"},
      {"Pacific/Honolulu", "1970-01-01T00:00Z", "1969-12-31 14:00 -600 Hawaii-Aleutian Standard Time"},
      {"America/Anchorage", "1970-01-01T00:00Z", "1969-12-31 14:00 -600 Alaska-Hawaii Standard Time"},
      {"Europe/Paris", "2026-07-04T19:00Z", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(At(c.zone, c.utc), c.local) << c.zone << " " << c.utc;
  EXPECT_EQ(law_.TzdataVersion(), "2026f");
}

// Python's zoneinfo, asked on its own by the zone law generator, gives the
// same time one minute before, at and one minute after every change of every
// shipped zone from 1970 through 2100.
TEST_F(ShippedLaw, AgreesWithZoneinfoAtEveryChange) {
  std::ifstream in(std::filesystem::path(TELQUEST_SOURCE_DIR) / "tools" / "tz" /
                   "zoneinfo_expectations.tsv");
  ASSERT_TRUE(in) << "no zoneinfo expectations";
  std::string line, name, mismatches;
  int zone = -1, compared = 0, wrong = 0;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::int64_t instant = 0;
    if (!(fields >> instant)) {  // a zone's name starts its changes
      name = line;
      zone = law_.FindZone(name);
      EXPECT_GE(zone, 0) << name;
      continue;
    }
    std::string before[3], at[3];
    fields >> before[0] >> before[1] >> before[2] >> at[0] >> at[1] >> at[2];
    for (const std::int64_t shift : {-60, 0, 60}) {
      if (instant + shift < 0) continue;  // before 1970 the law gives nothing
      const std::string* want = shift < 0 ? before : at;
      const auto time = law_.TimeAt(zone, instant + shift);
      std::string ours = "nothing";
      if (time) {
        ours = std::to_string(time->offsetSeconds) + (time->daylight ? " 1 " : " 0 ");
        ours += time->abbreviation;
      }
      const std::string theirs = want[0] + " " + want[1] + " " + want[2];
      ++compared;
      if (ours != theirs && ++wrong <= 3) {
        mismatches += "\n  " + name + " at " + std::to_string(instant + shift) + ": " +
                      ours + ", zoneinfo " + theirs;
      }
    }
  }
  EXPECT_GT(compared, 25000);
  EXPECT_EQ(wrong, 0) << wrong << " of " << compared << " zone-instants differ" << mismatches;
}

// The line of the largest city follows the same law: at 01:30 in Chicago on
// the spring switch day Eastern time has already moved on.
TEST_F(ShippedLaw, TimeZoneLineAtTheSameInstant) {
  const struct {
    const char *zone, *utc, *line;
  } cases[] = {
      {"America/New_York", "2026-03-08T06:59Z", "Eastern Standard Time"},
      {"America/New_York", "2026-03-08T07:00Z", "Eastern Daylight Time"},
      {"America/Chicago", "2026-03-08T07:30Z", "Central Standard Time (EDT - 2.0 hours)"},
      {"America/Chicago", "2026-07-04T19:00Z", "Central Daylight Time (EDT - 1.0 hours)"},
      {"America/Winnipeg", "2027-07-04T19:00Z", "Eastern Standard Time (EDT - 1.0 hours)"},
      {"America/Phoenix", "2026-01-15T19:00Z", "Mountain Standard Time (EST - 2.0 hours)"},
      {"America/St_Johns", "2026-01-15T19:00Z", "Newfoundland Standard Time (EST + 1.5 hours)"},
      {"America/Puerto_Rico", "2026-07-04T19:00Z", "Atlantic Standard Time"},
      {"Europe/Paris", "2026-07-04T19:00Z", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TimeZoneText(law_, law_.FindZone(c.zone), *ParseIsoInstant(c.utc)), c.line)
        << c.zone << " " << c.utc;
  }
}

// A small pair of files in the format, with a correct check sum, that a
// case changes before it is written out.
struct Files {
  std::vector<std::string> kinds = {"-18000\t0\tEST\tEastern Standard Time",
                                    "-14400\t1\tEDT\tEastern Daylight Time"};
  struct Change {
    std::uint32_t instant;
    std::uint16_t kind;
  };
  std::vector<std::pair<std::string, std::vector<Change>>> zones = {
      {"America/New_York", {{0, 0}, {1000, 1}, {2000, 0}}}};
  std::string places = "TQCTZ 1\nzones 1\nAmerica/New_York\nplaces 2\n5\t0\n9\t0\n";
  std::uint32_t until = 5000;
  // The count each zone line gives, when not that of its changes.
  std::map<std::string, std::uint32_t> countsTold;
  std::function<void(std::string&)> damageBody = [](std::string&) {};

  std::string Law() const {
    std::string head = "TQTZL 1\ngenerated\ntzdata 2026f\nuntil " + std::to_string(until) +
                       "\ntypes " + std::to_string(kinds.size()) + "\n";
    for (const std::string& kind : kinds) head += kind + "\n";
    head += "zones " + std::to_string(zones.size()) + "\n";
    std::string body;
    for (const auto& [name, changes] : zones) {
      const auto told = countsTold.find(name);
      head += name + "\t" +
              std::to_string(told != countsTold.end() ? told->second : changes.size()) + "\n";
      for (const Change& change : changes) {
        for (int shift = 0; shift < 32; shift += 8) body += char(change.instant >> shift);
        body += char(change.kind);
        body += char(change.kind >> 8);
      }
    }
    std::uint32_t sum = 0x811C9DC5u;
    for (const char c : body) sum = (sum ^ static_cast<unsigned char>(c)) * 0x01000193u;
    char line[48];
    std::snprintf(line, sizeof line, "transitions %zu %08x\n", body.size() / 6, sum);
    std::string damaged = body;
    damageBody(damaged);
    return head + line + damaged;
  }
};

TEST(ZoneLaw, ReadsAndAnswersASmallTable) {
  ZoneLaw law;
  ASSERT_EQ(law.Load(Files().places, Files().Law()), "");
  const int zone = law.ZoneOfPlace(9);
  EXPECT_EQ(law.ZoneName(zone), "America/New_York");
  EXPECT_EQ(law.ZoneOfPlace(7), -1);
  std::string kinds;
  for (const std::int64_t at : {-1, 0, 999, 1000, 1999, 2000, 4999, 5000}) {
    const auto time = law.TimeAt(zone, at);
    kinds += time ? std::string(time->abbreviation) + " " : "- ";
  }
  EXPECT_EQ(kinds, "- EST EST EDT EDT EST EST - ");
}

// Every kind of damage empties the law and says why: never a wrong time.
TEST(ZoneLaw, RefusesDamagedFiles) {
  const std::vector<std::pair<const char*, std::function<void(Files&)>>> cases = {
      {"flipped byte", [](Files& f) { f.damageBody = [](std::string& b) { b[4] ^= 1; }; }},
      {"cut short", [](Files& f) { f.damageBody = [](std::string& b) { b.pop_back(); }; }},
      {"kind out of range", [](Files& f) { f.zones[0].second[1].kind = 2; }},
      {"changes out of order", [](Files& f) { f.zones[0].second[2].instant = 1000; }},
      {"first change after 1970", [](Files& f) { f.zones[0].second[0].instant = 5; }},
      {"change after the end", [](Files& f) { f.zones[0].second[2].instant = 5000; }},
      {"offset beyond 16 h", [](Files& f) { f.kinds[0] = "-90000\t0\tEST\tEastern"; }},
      {"daylight flag", [](Files& f) { f.kinds[0] = "-18000\t2\tEST\tEastern"; }},
      {"kind without name", [](Files& f) { f.kinds[0] = "-18000\t0\tEST"; }},
      {"no Eastern time", [](Files& f) { f.zones[0].first = "America/Chicago"; }},
      {"place zone not in law",
       [](Files& f) { f.places = "TQCTZ 1\nzones 1\nAmerica/Boise\nplaces 0\n"; }},
      {"place zone index", [](Files& f) { f.places.replace(f.places.size() - 2, 1, "1"); }},
      {"places out of order",
       [](Files& f) { f.places = "TQCTZ 1\nzones 1\nAmerica/New_York\nplaces 2\n9\t0\n5\t0\n"; }},
      {"places cut short", [](Files& f) { f.places.resize(f.places.size() - 5); }},
      {"places go on", [](Files& f) { f.places += "12\t0\n"; }},
      {"other format", [](Files& f) { f.places[6] = '2'; }},
  };
  for (const auto& [name, damage] : cases) {
    Files files;
    damage(files);
    ZoneLaw law;
    EXPECT_NE(law.Load(files.places, files.Law()), "") << name;
    EXPECT_TRUE(law.IsEmpty()) << name;
    EXPECT_FALSE(law.TimeAt(0, 100)) << name;
    EXPECT_EQ(law.ZoneOfPlace(5), -1) << name;
  }
}

// A zone holds 1 to 65,535 changes: a zone of none would have no time at
// all, and a count beyond the bound is damage, however the counts add up.
TEST(ZoneLaw, BoundsEachZonesCountOfChanges) {
  for (const auto& [count, readable] : {std::pair{0u, false}, {1u, true}, {65535u, true},
                                        {65536u, false}}) {
    Files files;
    files.until = 100000;
    files.zones[0].second.clear();
    for (std::uint32_t i = 0; i < count; ++i) {
      files.zones[0].second.push_back({i, static_cast<std::uint16_t>(i % 2)});
    }
    ZoneLaw law;
    EXPECT_EQ(law.Load(files.places, files.Law()).empty(), readable) << count;
    EXPECT_EQ(law.TimeAt(law.EasternZone(), 99999).has_value(), readable) << count;
  }
  // 256 zones claim 2^24 - 1 changes each and one more 259: the counts add
  // up to 2^32 + 3, which a 32-bit sum takes for the 3 changes given.
  Files files;
  for (int i = 0; i < 256; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "Zone/%03d", i);
    files.zones.push_back({name, {}});
    files.countsTold[name] = 0xFFFFFF;
  }
  files.countsTold["America/New_York"] = 259;
  const test::TempDir dir;  // read from files, its bytes fill their buffer exactly
  test::WriteBytes(dir / ZoneLaw::kPlacesFileName, files.places);
  test::WriteBytes(dir / ZoneLaw::kLawFileName, files.Law());
  ZoneLaw law;
  EXPECT_EQ(law.Open(dir.path()).problem, FileProblem::kDamaged);
  EXPECT_TRUE(law.IsEmpty());
}

}  // namespace
}  // namespace tq
