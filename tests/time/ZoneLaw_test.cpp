#include "time/ZoneLaw.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "base/Sha256.h"
#include "data/CitySet.h"
#include "data/Manifest.h"
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

// A small pair of files in the format, each sealed with its check sum, that
// a case changes before (or after) they are sealed.
struct Files {
  std::vector<std::string> kinds = {"-18000\t0\tEST\tEastern Standard Time",
                                    "-14400\t1\tEDT\tEastern Daylight Time"};
  struct Change {
    std::uint32_t instant;
    std::uint16_t kind;
  };
  std::vector<std::pair<std::string, std::vector<Change>>> zones = {
      {"America/New_York", {{0, 0}, {1000, 1}, {2000, 0}}}};
  // Made for an empty cit.bin.
  std::string places = "TQCTZ 2\ncities 0 " + Sha256Hex("") +
                       "\nzones 1\nAmerica/New_York\nplaces 2\n5\t0\n9\t0\n";
  std::uint32_t until = 5000;
  // The count each zone line gives, when not that of its changes.
  std::map<std::string, std::uint32_t> countsTold;
  std::function<void(std::string&)> damageLaw = [](std::string&) {};
  std::function<void(std::string&)> damagePlaces = [](std::string&) {};

  std::string Places() const {
    std::string sealed = test::Sealed(places);
    damagePlaces(sealed);
    return sealed;
  }
  std::string Law() const {
    std::string head = "TQTZL 2\ngenerated\ntzdata 2026f\nuntil " + std::to_string(until) +
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
    std::string sealed =
        test::Sealed(head + "transitions " + std::to_string(body.size() / 6) + "\n" + body);
    damageLaw(sealed);
    return sealed;
  }
};

TEST(ZoneLaw, ReadsAndAnswersASmallTable) {
  ZoneLaw law;
  ASSERT_EQ(law.Load(Files().Places(), Files().Law()), "");
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
// Each file's sum covers every byte of it, its head included.
TEST(ZoneLaw, RefusesDamagedFiles) {
  const std::vector<std::tuple<const char*, std::function<void(Files&)>, const char*>> cases = {
      {"law: its head's summer offset",
       [](Files& f) { f.damageLaw = [](std::string& b) { b.replace(b.find("14400"), 5, "10800"); }; },
       "its bytes fail its check sum"},
      {"law: a change's kind",
       [](Files& f) { f.damageLaw = [](std::string& b) { b[b.size() - 80] ^= 1; }; },
       "its bytes fail its check sum"},
      {"law: cut short", [](Files& f) { f.damageLaw = [](std::string& b) { b.pop_back(); }; },
       "it does not end in its check sum"},
      {"law: the old format", [](Files& f) { f.damageLaw = [](std::string& b) { b[6] = '1'; }; },
       "it is not of the format TQTZL 2"},
      {"law: kind out of range", [](Files& f) { f.zones[0].second[1].kind = 2; },
       "the changes of America/New_York are damaged"},
      {"law: changes out of order", [](Files& f) { f.zones[0].second[2].instant = 1000; },
       "the changes of America/New_York are damaged"},
      {"law: first change after 1970", [](Files& f) { f.zones[0].second[0].instant = 5; },
       "the changes of America/New_York are damaged"},
      {"law: change after the end", [](Files& f) { f.zones[0].second[2].instant = 5000; },
       "the changes of America/New_York are damaged"},
      {"law: offset beyond 15 h", [](Files& f) { f.kinds[0] = "-54060\t0\tEST\tEastern"; },
       "kind of time 1 is damaged"},
      {"law: daylight flag", [](Files& f) { f.kinds[0] = "-18000\t2\tEST\tEastern"; },
       "kind of time 1 is damaged"},
      {"law: kind without name", [](Files& f) { f.kinds[0] = "-18000\t0\tEST"; },
       "kind of time 1 is damaged"},
      {"law: a control byte in a name", [](Files& f) { f.kinds[1] = "-14400\t1\tEDT\tEastern\x01"; },
       "kind of time 2 is damaged"},
      {"law: no Eastern time", [](Files& f) { f.zones[0].first = "America/Chicago"; },
       "it holds no America/New_York"},
      {"law: a zone twice", [](Files& f) { f.zones.push_back(f.zones[0]); }, "zone 2 is damaged or out of order"},
      {"places: a place's zone digit",
       [](Files& f) { f.damagePlaces = [](std::string& b) { b[b.size() - 74] = '1'; }; },
       "its bytes fail its check sum"},
      {"places: the old format",
       [](Files& f) { f.places = "TQCTZ 1\nzones 1\nAmerica/New_York\nplaces 0\n"; },
       "it is not of the format TQCTZ 2"},
      {"places: no cit.bin named",
       [](Files& f) { f.places.replace(8, f.places.find("zones") - 8, "cities 0\n"); },
       "it does not name the cit.bin it was made for"},
      {"places: zone not in law",
       [](Files& f) { f.places.replace(f.places.find("America/New_York"), 16, "America/Boise"); },
       "its zone America/Boise is not in tzl.bin"},
      {"places: zone index", [](Files& f) { f.places.replace(f.places.size() - 2, 1, "1"); },
       "place 2 is damaged or out of order"},
      {"places: out of order",
       [](Files& f) { f.places.replace(f.places.find("5\t0\n9"), 7, "9\t0\n5\t0"); },
       "place 2 is damaged or out of order"},
      {"places: a place twice", [](Files& f) { f.places.replace(f.places.find("9\t0"), 1, "5"); },
       "place 2 is damaged or out of order"},
      {"places: a signed id", [](Files& f) { f.places.replace(f.places.find("9\t0"), 1, "+9"); },
       "place 2 is damaged or out of order"},
      {"places: a carriage return", [](Files& f) { f.places.replace(f.places.find("9\t0") + 3, 0, "\r"); },
       "place 2 is damaged or out of order"},
      {"places: id 0", [](Files& f) { f.places.replace(f.places.find("5\t0"), 1, "0"); },
       "place 1 is damaged or out of order"},
      {"places: cut short", [](Files& f) { f.places.resize(f.places.size() - 5); },
       "place 1 is damaged or out of order"},
      {"places: go on", [](Files& f) { f.places += "12\t0\n"; },
       "it goes on after its last place"},
  };
  for (const auto& [name, damage, told] : cases) {
    Files files;
    damage(files);
    ZoneLaw law;
    const std::string why = law.Load(files.Places(), files.Law());
    EXPECT_EQ(why, told) << name;
    EXPECT_TRUE(law.IsEmpty()) << name;
    EXPECT_FALSE(law.TimeAt(0, 100)) << name;
    EXPECT_EQ(law.ZoneOfPlace(5), -1) << name;
  }
}

// With a manifest, each zone file is held to it: one that passes its own
// checks but differs from the manifest is told as damage and still used.
TEST(ZoneLaw, EachFileIsHeldToTheManifest) {
  const test::TempDir dir;
  test::WriteSampleData(dir.path());
  CCitySet cities(dir.path());
  cities.Open();
  const std::string places = *ReadDataFile(dir / "ctz.bin").bytes;
  const std::string law = *ReadDataFile(dir / "tzl.bin").bytes;
  const auto entry = [](const char* name, const std::string& bytes, const char* count) {
    const std::size_t at = bytes.find(count) + std::strlen(count);
    return "file " + std::string(name) + " " + bytes.substr(at, bytes.find('\n', at) - at) + " " +
           std::to_string(bytes.size()) + " " + Sha256Hex(bytes) + "\n";
  };
  const std::string listed = "TQMANIFEST 1\n" + entry("ctz.bin", places, "\nplaces ") +
                             entry("tzl.bin", law, "\ntransitions ");
  // Dayton moved to Chicago's zone (0) in a file sealed anew.
  std::string moved = places.substr(0, places.size() - 72);
  moved.replace(moved.find("\n42\t5\n"), 6, "\n42\t0\n");
  moved = test::Sealed(moved);
  std::string spoilt = places;
  spoilt[spoilt.find("\n42\t5\n") + 4] = '0';
  const std::string damaged = "Data file ctz.bin in " + DescribeFolder(dir.path()) + " is damaged: ";
  const struct {
    std::string manifest, places, told, zone;
  } cases[] = {
      {listed, places, "", "America/New_York"},
      {listed, moved, damaged + "ctz.bin does not match its manifest: its SHA-256 checksum differs.",
       "America/Chicago"},
      {listed, spoilt,
       damaged + "ctz.bin does not match its manifest: its SHA-256 checksum differs; its bytes "
                 "fail its check sum. Local times are not shown.",
       ""},
      {"TQMANIFEST 1\n" + entry("ctz.bin", places, "\nplaces "), places,
       "Data file tzl.bin in " + DescribeFolder(dir.path()) +
           " is damaged: tzl.bin is not listed in its manifest.",
       "America/New_York"},
  };
  for (const auto& [manifest, placesFile, told, zone] : cases) {
    test::WriteBytes(dir / kManifestFileName, manifest);
    test::WriteBytes(dir / "ctz.bin", placesFile);
    ZoneLaw zones;
    EXPECT_EQ(zones.OpenFor(dir.path(), cities).text, told);
    EXPECT_EQ(zones.ZoneName(zones.ZoneOfPlace(42)), zone) << told;
  }
}

// A user's own cit.bin holding the documented record, Dayton, OH as place
// 42, beside the shipped zone files, whose place 42 is another: the zone
// file is not used, and each record's own zone tells the time, with a note.
TEST(ZoneLaw, AZoneFileMadeForAnotherCitBinIsNotUsed) {
  const test::TempDir dir;
  test::WriteLines(dir / "cit.bin", {"293", "zupoEb", "3IP", "bcd", "992", "1", "0", "0"});
  for (const char* name : {"ctz.bin", "tzl.bin"}) std::filesystem::copy_file(kShipped / name, dir / name);
  CCitySet cities(dir.path());
  cities.Open();
  ZoneLaw law;
  EXPECT_EQ(law.OpenFor(dir.path(), cities),
            (LoadOutcome{FileProblem::kNone,
                         "Data file ctz.bin in " + DescribeFolder(dir.path()) +
                             " was made for another cit.bin: local times follow each place's own "
                             "time zone and daylight-saving flag, by the North American daylight "
                             "saving rule.",
                         "ctz.bin"}));
  const auto time = law.TimeAt(law.ZoneOfPlace(42), *ParseIsoInstant("2026-07-04T22:42Z"));
  ASSERT_TRUE(time);
  EXPECT_EQ(std::string(time->name) + " " + std::to_string(time->offsetSeconds),
            "Eastern Daylight Time -14400");
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
    EXPECT_EQ(law.Load(files.Places(), files.Law()).empty(), readable) << count;
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
  test::WriteBytes(dir / ZoneLaw::kPlacesFileName, files.Places());
  test::WriteBytes(dir / ZoneLaw::kLawFileName, files.Law());
  ZoneLaw law;
  EXPECT_EQ(law.Open(dir.path()).problem, FileProblem::kDamaged);
  EXPECT_TRUE(law.IsEmpty());
}

}  // namespace
}  // namespace tq
