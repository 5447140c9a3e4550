// The damage campaign: the shipped data files damaged as disks and editors
// damage them (300 one-byte changes per file, 240 cuts, zeroed 4 KiB blocks,
// a byte-order mark), each loaded as the program loads it, with and without
// the manifest beside it. Each damage is counted as told (the load reports
// a problem; "same" among them when the records as loaded still equal the
// shipped ones), silent with the same answers, or silent with other answers:
// the case that must not occur with the manifest, and without one only where
// the format has nothing a reader could check (a letter of a name, a cut at
// a record's end, a digit that makes another valid number).
//
//   telquest_damage_campaign            (prints one table)
#include <cstdio>
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

namespace {

namespace fs = std::filesystem;

struct Loaded {
  bool told = false;
  std::vector<std::string> records;  // what the answers come from, one text per record
};

// `bytes`: for exc.bin, the texts whose line-leading keys are looked up.
Loaded Load(const fs::path& folder, const std::string& name, const std::string& bytes) {
  Loaded loaded;
  if (name == "cit.bin") {
    tq::CCitySet set(folder);
    set.Open();
    loaded.told = set.Outcome().problem != tq::FileProblem::kNone;
    for (std::size_t r = 0; r < set.RowCount(); ++r) {
      loaded.records.push_back(std::to_string(set.CityIds()[r]) + "|" + set.CityNames()[r] + "|" +
                               set.States()[r] + "|" + std::to_string(set.Populations()[r]) + "|" +
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

int main() {
  const fs::path shipped = fs::path(TELQUEST_SOURCE_DIR) / "res";
  std::mt19937 random(19);
  std::printf("%-34s %-9s %6s %6s %10s %12s %6s\n", "damage", "manifest", "cases", "told",
              "told,same", "silent,same", "WRONG");
  for (const bool manifest : {true, false}) {
    for (const std::string name : {"cit.bin", "arc.bin", "exc.bin"}) {
      const std::string original = *tq::ReadDataFile(shipped / name).bytes;
      const tq::test::TempDir pristine;
      tq::test::WriteBytes(pristine / name, original);
      const tq::test::TempDir folder;
      if (manifest) fs::copy_file(shipped / tq::kManifestFileName, folder / tq::kManifestFileName);
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
      for (const auto& [kind, damaged] : kinds) {
        Tally tally;
        for (const std::string& bytes : damaged) {
          tq::test::WriteBytes(folder / name, bytes);
          // Exchanges: the keys of the damaged file and of the shipped one.
          const std::string keys = bytes + "\n" + original;
          const Loaded now = Load(folder.path(), name, keys);
          const Loaded before = Load(pristine.path(), name, keys);
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
