// The shipped data files with the fuzzer's edits (bytes changed, removed,
// inserted, the file cut, a block zeroed), beside the shipped manifest:
// the loaders must never crash, keep their columns whole, and tell every
// edit that changed the file as damage (the manifest sees what no record
// check can); an unchanged file loads without a word. The zone law's two
// files are read for the shipped places. Input: the file (first byte), then
// edits of five bytes: offset (three), kind, value.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "FuzzCheck.h"
#include "data/AreaCodeSet.h"
#include "data/CitySet.h"
#include "data/DataFile.h"
#include "data/ExchangeTable.h"
#include "data/Manifest.h"
#include "support/TestData.h"
#include "time/ZoneLaw.h"

namespace {

namespace fs = std::filesystem;

std::string Edited(std::string bytes, const std::uint8_t* data, std::size_t size) {
  for (std::size_t at = 0; at + 5 <= size; at += 5) {
    if (bytes.empty()) break;
    const std::size_t offset = (std::size_t{data[at]} << 16 | std::size_t{data[at + 1]} << 8 |
                                data[at + 2]) * 97 % bytes.size();
    const char value = static_cast<char>(data[at + 4]);
    switch (data[at + 3] % 5) {
      case 0: bytes[offset] = value; break;
      case 1: bytes.erase(offset, 1); break;
      case 2: bytes.insert(offset, 1, value); break;
      case 3: bytes.resize(offset); break;
      default: bytes.replace(offset, std::min<std::size_t>(4096, bytes.size() - offset),
                             std::min<std::size_t>(4096, bytes.size() - offset), '\0');
    }
  }
  return bytes;
}

void CheckTold(const tq::LoadOutcome& outcome, bool changed) {
  tq::fuzz::Check((outcome.problem == tq::FileProblem::kNone) == outcome.text.empty(),
                  "a problem without a text, or a text without a problem");
  tq::fuzz::Check(changed == (outcome.problem == tq::FileProblem::kDamaged),
                  changed ? "a changed file loads without a word" : "the shipped file is damaged");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fs::path shipped = fs::path(TELQUEST_SOURCE_DIR) / "res";
  static const tq::test::TempDir folder;
  static const bool copied = [] {
    for (const char* name :
         {"cit.bin", "arc.bin", "exc.bin", "ctz.bin", "tzl.bin", tq::kManifestFileName}) {
      fs::copy_file(shipped / name, folder / name, fs::copy_options::overwrite_existing);
    }
    return true;
  }();
  static const tq::CCitySet& places = []() -> const tq::CCitySet& {
    static tq::CCitySet set(shipped);
    set.Open();
    return set;
  }();
  if (size == 0 || !copied) return 0;
  const char* names[] = {"cit.bin", "arc.bin", "exc.bin", "ctz.bin", "tzl.bin"};
  const char* name = names[data[0] % 5];
  const std::string original = *tq::ReadDataFile(shipped / name).bytes;
  const std::string bytes = Edited(original, data + 1, size - 1);
  const bool changed = bytes != original;
  tq::test::WriteBytes(folder / name, bytes);
  if (data[0] % 5 >= 3) {
    tq::ZoneLaw law;
    CheckTold(law.OpenFor(folder.path(), places), changed);
  } else if (data[0] % 5 == 0) {
    tq::CCitySet cities(folder.path());
    cities.Open();
    CheckTold(cities.Outcome(), changed);
    tq::fuzz::Check(cities.CityNames().size() == cities.RowCount() &&
                        cities.TimeZones().size() == cities.RowCount(),
                    "city columns of different lengths");
  } else if (data[0] % 5 == 1) {
    tq::CAreaCodeSet areaCodes(folder.path());
    areaCodes.Open();
    CheckTold(areaCodes.Outcome(), changed);
    tq::fuzz::Check(areaCodes.CityIds().size() == areaCodes.AreaCodes().size(),
                    "area code columns of different lengths");
  } else {
    tq::ExchangeTable exchanges;
    CheckTold(exchanges.Open(folder.path()), changed);
    for (const int areaCode : {212, 416, 937}) (void)exchanges.Find(areaCode, 222);
  }
  tq::test::WriteBytes(folder / name, original);
  return 0;
}
