// The damage campaign: the shipped data files damaged as disks and editors
// damage them (300 one-byte changes per file, 80 cuts, zeroed 4 KiB blocks,
// a byte-order mark, and for the zone law's files the damages that change a
// clock: a place's zone digits, a kind's offset, flag or name, a count, a
// change of the table), each loaded as the program loads it, with and
// without the manifest beside it. Each damage is counted as told (the load
// reports a problem or a note; "same" among them when the records as loaded
// still equal the shipped ones), silent with the same answers, or silent
// with other answers: the case that must not occur with the manifest, nor
// ever for the zone law (each of its files is sealed with its SHA-256), and
// for the record files without one only where the format has nothing a
// reader could check (a letter of a name, a cut at a record's end, a digit
// that makes another valid number).
//
//   telquest_damage_campaign            (prints one table)
#include <cstdio>
#include <cstring>
#include <span>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "data/AreaCodeSet.h"
#include "data/CitySet.h"
#include "data/DataFile.h"
#include "data/ExchangeTable.h"
#include "data/Manifest.h"
#include "support/TestData.h"
#include "time/ZoneLaw.h"

namespace {

namespace fs = std::filesystem;

struct Loaded {
  bool told = false;
  std::vector<std::string> records;  // what the answers come from, one text per record
};

const fs::path kShipped = fs::path(TELQUEST_SOURCE_DIR) / "res";

// The shipped places, whose clocks the zone law's files give.
const tq::CCitySet& ShippedPlaces() {
  static const tq::CCitySet& places = []() -> const tq::CCitySet& {
    static tq::CCitySet set(kShipped);
    set.Open();
    return set;
  }();
  return places;
}

// `bytes`: for exc.bin, the texts whose line-leading keys are looked up.
Loaded Load(const fs::path& folder, const std::string& name, const std::string& bytes) {
  Loaded loaded;
  if (name == "ctz.bin" || name == "tzl.bin") {
    tq::ZoneLaw law;
    const tq::LoadOutcome outcome = law.OpenFor(folder, ShippedPlaces());
    loaded.told = outcome.problem != tq::FileProblem::kNone || !outcome.text.empty();
    // Each place's clock in winter and summer, in 1975 and 2026.
    for (const std::uint32_t id : ShippedPlaces().CityIds()) {
      std::string clock;
      for (const std::int64_t at : {158000000, 172000000, 1768000000, 1783000000}) {
        const auto time = law.TimeAt(law.ZoneOfPlace(static_cast<std::int32_t>(id)), at);
        if (time) {
          clock += std::to_string(time->offsetSeconds) + (time->daylight ? "d " : "s ") +
                   std::string(time->abbreviation) + " " + std::string(time->name) + "|";
        }
      }
      loaded.records.push_back(std::move(clock));
    }
  } else if (name == "cit.bin") {
    tq::CCitySet set(folder);
    set.Open();
    loaded.told = set.Outcome().problem != tq::FileProblem::kNone;
    for (std::size_t r = 0; r < set.RowCount(); ++r) {
      loaded.records.push_back(std::to_string(set.CityIds()[r]) + "|" + std::string(set.CityNames()[r]) +
                               "|" + std::string(set.States()[r]) + "|" + std::to_string(set.Populations()[r]) + "|" +
                               std::to_string(set.DaylightFlags()[r]) + "|" +
                               std::to_string(set.TimeZones()[r]));
    }
  } else if (name == "arc.bin") {
    tq::CAreaCodeSet set(folder);
    set.Open();
    loaded.told = set.Outcome().problem != tq::FileProblem::kNone;
    std::multiset<std::string> pairs;
    for (std::size_t r = 0; r < set.CityIds().size(); ++r) {
      pairs.insert(std::to_string(set.CityIds()[r]) + "|" + std::to_string(set.AreaCodes()[r]));
    }
    loaded.records.assign(pairs.begin(), pairs.end());
  } else {
    tq::ExchangeTable table;
    loaded.told = table.Open(folder).problem != tq::FileProblem::kNone;
    // Every key written at the start of a line, found or not.
    std::set<int> keys;
    for (std::size_t at = 0; at + 6 <= bytes.size(); at = bytes.find('\n', at) + 1) {
      int key = 0;
      bool digits = true;
      for (std::size_t i = 0; i < 6; ++i) {
        digits = digits && bytes[at + i] >= '0' && bytes[at + i] <= '9';
        key = key * 10 + (bytes[at + i] - '0');
      }
      if (digits) keys.insert(key);
      if (bytes.find('\n', at) == std::string::npos) break;
    }
    for (const int key : keys) {
      const auto place = table.Find(key / 1000, key % 1000);
      loaded.records.push_back(std::to_string(key) + (place ? place->city + place->state : "-"));
    }
  }
  return loaded;
}

struct Tally {
  int told = 0, toldSame = 0, same = 0, wrong = 0;
};

}  // namespace

// The damages that change a clock, each a replacement of the first `from`
// after `after` (in the shipped file) by `to`.
struct Targeted {
  const char* after;
  const char* from;
  const char* to;
};
constexpr Targeted kZoneDamages[] = {
    {"\n6697\t", "34", "17"},                 // Dayton, OH: Eastern to Central (Indiana/Knox)
    {"\n6697\t", "34", "31"},                 // ... to Pacific, same size
    {"\nzones ", "America/Chicago", "America/Chicagp"},
    {"\nplaces ", "\n1\t", "\n7\t"},          // the first place's id
    {"TQCTZ ", "2", "1"},                       // the older format
    {"\ncities ", "1204107", "1204108"},       // the cit.bin it was made for
    {"\nsha256 ", "5", "6"},                   // the seal itself
};
constexpr Targeted kLawDamages[] = {
    {"\ntypes ", "-14400\t1\tEDT", "-10800\t1\tEDT"},  // the summer offset of New York
    {"\ntypes ", "-18000\t1\tCDT", "-18000\t0\tCDT"},  // a daylight flag
    {"\ntypes ", "\tCDT\t", "\tCST\t"},                // an abbreviation
    {"\ntypes ", "Central Daylight", "Central Standard"},  // a name, same size
    {"\nuntil ", "4133980800", "4133980799"},
    {"\ntzdata ", "2026f", "2026e"},
    {"generated by ", "tools", "tooly"},                  // the line no reader reads
    {"\nAmerica/Chicago\t", "2", "3"},                  // a zone's count of changes
    {"\ntransitions ", "9905", "9904"},
    {"sha256 ", "9", "8"},                              // the seal itself (after the table)
};

// The targeted damages of the zone law's files, applied to the shipped bytes.
std::vector<std::string> TargetedDamages(const std::string& name, const std::string& original) {
  std::vector<std::string> damaged;
  const bool places = name == "ctz.bin";
  for (const Targeted& d : places ? std::span<const Targeted>(kZoneDamages)
                                  : std::span<const Targeted>(kLawDamages)) {
    const std::size_t after = original.find(d.after);
    const std::size_t at = after == std::string::npos ? after : original.find(d.from, after);
    if (at == std::string::npos) {
      std::fprintf(stderr, "%s: no %s after %s\n", name.c_str(), d.from, d.after);
      continue;
    }
    std::string bytes = original;
    bytes.replace(at, std::strlen(d.from), d.to);
    damaged.push_back(std::move(bytes));
  }
  // A change of the binary table: an instant and a kind.
  if (!places) {
    for (const std::size_t back : {100, 95}) {
      std::string bytes = original;
      bytes[bytes.size() - back] ^= 1;
      damaged.push_back(std::move(bytes));
    }
  }
  return damaged;
}

int main() {
  const fs::path shipped = kShipped;
  std::mt19937 random(19);
  std::printf("%-34s %-9s %6s %6s %10s %12s %6s\n", "damage", "manifest", "cases", "told",
              "told,same", "silent,same", "WRONG");
  for (const bool manifest : {true, false}) {
    for (const std::string name : {"cit.bin", "arc.bin", "exc.bin", "ctz.bin", "tzl.bin"}) {
      const std::string original = *tq::ReadDataFile(shipped / name).bytes;
      const tq::test::TempDir pristine;
      tq::test::WriteBytes(pristine / name, original);
      const tq::test::TempDir folder;
      if (manifest) fs::copy_file(shipped / tq::kManifestFileName, folder / tq::kManifestFileName);
      // The zone law is read from its two files together.
      const bool zoneLaw = name == "ctz.bin" || name == "tzl.bin";
      if (zoneLaw) {
        const char* other = name == "ctz.bin" ? "tzl.bin" : "ctz.bin";
        fs::copy_file(shipped / other, folder / other);
        fs::copy_file(shipped / other, pristine / other);
      }
      std::vector<std::pair<std::string, std::vector<std::string>>> kinds;
      auto& changes = kinds.emplace_back("one byte changed", std::vector<std::string>{}).second;
      for (int i = 0; i < 300; ++i) {
        std::string bytes = original;
        const std::size_t at = random() % bytes.size();
        char value;
        do value = static_cast<char>(random() % 256); while (value == bytes[at]);
        bytes[at] = value;
        changes.push_back(bytes);
      }
      auto& cuts = kinds.emplace_back("cut (half at line ends)", std::vector<std::string>{}).second;
      for (int i = 0; i < 80; ++i) {
        std::size_t at = random() % original.size();
        if (i % 2 == 0) at = original.find('\n', at) + 1;
        cuts.push_back(original.substr(0, at));
      }
      auto& zeroed = kinds.emplace_back("4 KiB block zeroed", std::vector<std::string>{}).second;
      for (std::size_t block = 0; block * 4096 < original.size(); block += 5) {
        std::string bytes = original;
        const std::size_t length = std::min<std::size_t>(4096, bytes.size() - block * 4096);
        bytes.replace(block * 4096, length, length, '\0');
        zeroed.push_back(bytes);
      }
      kinds.emplace_back("byte-order mark added", std::vector<std::string>{"\xEF\xBB\xBF" + original});
      if (zoneLaw) kinds.emplace_back("a clock changed (targeted)", TargetedDamages(name, original));
      // The zone law's records do not hang on the bytes: read once.
      const Loaded shippedZones = zoneLaw ? Load(pristine.path(), name, original) : Loaded{};
      for (const auto& [kind, damaged] : kinds) {
        Tally tally;
        for (const std::string& bytes : damaged) {
          tq::test::WriteBytes(folder / name, bytes);
          // Exchanges: the keys of the damaged file and of the shipped one.
          const std::string keys = bytes + "\n" + original;
          const Loaded now = Load(folder.path(), name, keys);
          const Loaded before = zoneLaw ? shippedZones : Load(pristine.path(), name, keys);
          if (now.told) {
            ++tally.told;
            if (now.records == before.records) ++tally.toldSame;
          } else if (now.records == before.records) {
            ++tally.same;
          } else {
            ++tally.wrong;
          }
        }
        std::printf("%-7s %-26s %-9s %6zu %6d %10d %12d %6d\n", name.c_str(), kind.c_str(),
                    manifest ? "with" : "without", damaged.size(), tally.told, tally.toldSame,
                    tally.same, tally.wrong);
        std::fflush(stdout);
      }
    }
  }
  return 0;
}
