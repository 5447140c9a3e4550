// Damaged data files: each damage is told with its file and line, and the
// sound records around it are still used; a manifest tells the damage that
// no record check can see.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/Sha256.h"
#include "data/AreaCodeSet.h"
#include "data/CitySet.h"
#include "data/Manifest.h"
#include "support/TestData.h"

namespace tq {
namespace {

using Lines = std::vector<std::string>;

std::string Joined(const Lines& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return bytes;
}

// Dayton (42), Kettering (43) and Bellbrook (44): 24 lines.
Lines ThreeCities() {
  Lines lines;
  for (const int id : {42, 43, 44}) {
    for (const std::string& line : test::EncodeCity(test::SampleCities()[id - 42])) {
      lines.push_back(line);
    }
  }
  return lines;
}

// The outcome's text and the ids of the records used.
template <class Set>
std::pair<std::string, std::string> Load(const std::string& bytes) {
  test::TempDir dir;
  test::WriteBytes(dir / Set::kFileName, bytes);
  Set set(dir.path());
  set.Open();
  std::string ids;
  for (const std::uint32_t id : set.CityIds()) ids += std::to_string(id) + " ";
  return {set.Outcome().text, ids};
}

TEST(DamagedData, CityRecordsAreCheckedOneByOne) {
  const auto changed = [](const std::function<void(Lines&)>& change) {
    Lines lines = ThreeCities();
    change(lines);
    return Joined(lines);
  };
  const struct {
    std::string bytes, told, used;
  } cases[] = {
      {"\xEF\xBB\xBF" + Joined(ThreeCities()), "byte-order mark, which is skipped", "42 43 44 "},
      // Numbers are a sign and digits only; ids are 7 times an id less one.
      {changed([](Lines& l) { l[0] = "29x3"; }), "line 1 has a city id line that is not", "43 44 "},
      {changed([](Lines& l) { l[8] = "299"; }), "line 9 has a city id line that is not", "42 44 "},
      {changed([](Lines& l) { l[12] = "57905 "; }), "line 9 has a number line that is not", "42 44 "},
      {changed([](Lines& l) { l[6] = "1"; }), "line 1 has a number line that is not", "43 44 "},
      {changed([](Lines& l) { l[7] = "1,5"; }), "line 1 has a number line that is not", "43 44 "},
      {changed([](Lines& l) { l[8] = "293"; }), "line 9 repeats the city id", "42 44 "},
      // A lost line, a zeroed block: the next whole record is found again.
      {changed([](Lines& l) { l.erase(l.begin() + 9); }), "line 9 has", "42 44 "},
      {changed([](Lines& l) { l.erase(l.begin() + 9); }), "large population, so it is left out", "42 44 "},
      {changed([](Lines& l) { l.erase(l.begin() + 3, l.begin() + 12); l.insert(l.begin() + 3, std::string(9, '\0')); }),
       "line 1 has a control byte", "44 "},
      {changed([](Lines& l) { l[2] = "P"; }), "line 1 has a state text of impossible", "43 44 "},
      {changed([](Lines& l) { l[3] = "bcx"; }), "line 1 has a country line", "43 44 "},
      {changed([](Lines& l) { l[4] = "41"; }), "line 1 has a negative or impossibly", "43 44 "},
      {changed([](Lines& l) { l[7] = "25"; }), "line 1 has a time zone outside", "43 44 "},
      {changed([](Lines& l) { l[12] = ""; }), "line 13 is empty, so the rest", "42 "},
      {changed([](Lines& l) { l.resize(20); }), "the file ends inside the record that begins at line 17",
       "42 43 "},
      {"", "it holds no usable record", ""},
  };
  for (const auto& [bytes, told, used] : cases) {
    const auto [text, ids] = Load<CCitySet>(bytes);
    EXPECT_NE(text.find(told), std::string::npos) << told << " | " << text;
    EXPECT_NE(text.find("cit.bin"), std::string::npos) << text;
    EXPECT_EQ(ids, used) << told;
  }
}

TEST(DamagedData, AreaCodePairsAreCheckedOneByOne) {
  const Lines pairs = {"461", "2853", "472", "2854", "461", "2853", "76", "1846"};
  const auto changed = [&](std::size_t line, const std::string& to) {
    Lines lines = pairs;
    lines[line] = to;
    return Joined(lines);
  };
  const struct {
    std::string bytes, told, used;
  } cases[] = {
      {Joined(pairs), "line 5 repeats the city and area code", "42 43 7 "},
      {changed(0, "46l"), "line 1 has a line that is not a number", "43 42 7 "},
      {changed(0, "462"), "line 1 has a city id line that is not 11 times", "43 42 7 "},
      {changed(1, "2854"), "line 1 has an area code line that is not 3 times", "43 42 7 "},
      {changed(1, "127"), "line 1 has an area code line", "43 42 7 "},
      {changed(3, "28\x01" "54"), "line 3 has a control byte", "42 7 "},
      {"\xEF\xBB\xBF" + changed(4, "472"), "byte-order mark", "42 43 7 "},
      // After a damaged stretch, a repeat is told at its own line.
      {Joined({"461", "2853", "x", "472", "2854", "461", "2853"}), "line 6 repeats", "42 43 "},
  };
  for (const auto& [bytes, told, used] : cases) {
    const auto [text, ids] = Load<CAreaCodeSet>(bytes);
    EXPECT_NE(text.find(told), std::string::npos) << told << " | " << text;
    EXPECT_EQ(ids, used) << told;
  }
}

TEST(DamagedData, AManifestTellsWhatTheRecordsCannotShow) {
  const std::string good = Joined(ThreeCities());
  const auto entry = [](const std::string& bytes, int records) {
    return "file cit.bin " + std::to_string(records) + " " + std::to_string(bytes.size()) + " " +
           Sha256Hex(bytes) + "\n";
  };
  std::string renamed = good;
  renamed[renamed.find("zupoEb")] = 'y';  // a letter of a name
  const struct {
    std::string manifest, bytes, told;
  } cases[] = {
      {"", good, ""},
      {"TQMANIFEST 1\n# made by hand\n" + entry(good, 3), good, ""},
      {"TQMANIFEST 1\n" + entry(good, 3), renamed, "cit.bin does not match its manifest: its SHA-256"},
      {"TQMANIFEST 1\n" + entry(good, 3), good.substr(0, good.size() - 2),
       "it has 121 bytes where the manifest lists 123"},
      {"TQMANIFEST 1\n" + entry(good, 4), good, "3 records are used where it lists 4"},
      {"TQMANIFEST 1\nfile arc.bin 1 1 " + std::string(64, '0') + "\n", good,
       "cit.bin is not listed in its manifest"},
      {"TQMANIFEST 2\n" + entry(good, 3), good, "is not of the format TQMANIFEST 1"},
      {"TQMANIFEST 1\n" + entry(good, 3) + "file x.bin 1 1 Z\n", good, "is not of the format"},
  };
  for (const auto& [manifest, bytes, told] : cases) {
    test::TempDir dir;
    test::WriteBytes(dir / "cit.bin", bytes);
    if (!manifest.empty()) test::WriteBytes(dir / kManifestFileName, manifest);
    CCitySet set(dir.path());
    set.Open();
    EXPECT_EQ(set.Outcome().problem, told.empty() ? FileProblem::kNone : FileProblem::kDamaged);
    EXPECT_NE(set.Outcome().text.find(told), std::string::npos) << told << " | " << set.Outcome().text;
  }
}

TEST(DamagedData, Sha256OfKnownTexts) {
  // FIPS 180-4 examples, and lengths on both sides of a block's end, with and
  // without the processor's SHA instructions.
  const std::pair<std::string, const char*> cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const bool portable : {true, false}) {
    for (const auto& [text, sha256] : cases) EXPECT_EQ(Sha256Hex(text, portable), sha256) << portable;
  }
  // A prefix and the whole in one pass: cut inside, at and around a block's end.
  const std::string text = cases[3].first.substr(0, 200);
  for (const std::size_t prefix : {0, 1, 55, 63, 64, 65, 128, 199, 200, 300}) {
    EXPECT_EQ(Sha256HexOfPrefixAndWhole(text, prefix),
              std::pair(Sha256Hex(text.substr(0, prefix)), Sha256Hex(text)))
        << prefix;
  }
}

}  // namespace
}  // namespace tq
