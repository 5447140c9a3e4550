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

// What the outcome tells of the file, without its "Data file cit.bin in
// ... is damaged: " and its closing point, and the ids of the records used.
template <class Set>
std::pair<std::string, std::string> Load(const std::string& bytes, const std::string& manifest = "") {
  test::TempDir dir;
  test::WriteBytes(dir / Set::kFileName, bytes);
  if (!manifest.empty()) test::WriteBytes(dir / kManifestFileName, manifest);
  Set set(dir.path());
  set.Open();
  std::string ids;
  for (const std::uint32_t id : set.CityIds()) ids += std::to_string(id) + " ";
  std::string text = set.Outcome().text;
  const std::string head =
      std::string("Data file ") + Set::kFileName + " in " + DescribeFolder(dir.path()) + " is damaged: ";
  if (text.starts_with(head) && text.ends_with('.')) text = text.substr(head.size(), text.size() - head.size() - 1);
  EXPECT_EQ(set.Outcome().problem, text.empty() ? FileProblem::kNone : FileProblem::kDamaged) << text;
  return {text, ids};
}

const std::string kLeftOut = ", so it is left out; records read and used: ";

TEST(DamagedData, CityRecordsAreCheckedOneByOne) {
  const auto changed = [](const std::function<void(Lines&)>& change) {
    Lines lines = ThreeCities();
    change(lines);
    return Joined(lines);
  };
  const std::string id = " has a city id line that is not 7 times an id less 1";
  const std::string number = " has a number line that is not a number";
  const std::string zone = "the record at line 1 has a time zone outside -12 to +24 hours" + kLeftOut + "2";
  const std::string state = "the record at line 1 has a state text of impossible length" + kLeftOut + "2";
  const struct {
    std::string bytes, told, used;
  } cases[] = {
      {"\xEF\xBB\xBF" + Joined(ThreeCities()),
       "it begins with a UTF-8 byte-order mark, which is skipped; records read and used: 3", "42 43 44 "},
      // Numbers are a sign and digits only; ids are 7 times an id less one.
      {changed([](Lines& l) { l[0] = "29x3"; }), "the record at line 1" + id + kLeftOut + "2", "43 44 "},
      {changed([](Lines& l) { l[8] = "299"; }), "the record at line 9" + id + kLeftOut + "2", "42 44 "},
      {changed([](Lines& l) { l[12] = "57905 "; }), "the record at line 9" + number + kLeftOut + "2", "42 44 "},
      {changed([](Lines& l) { l[6] = "1"; }), "the record at line 1" + number + kLeftOut + "2", "43 44 "},
      {changed([](Lines& l) { l[7] = "1,5"; }), "the record at line 1" + number + kLeftOut + "2", "43 44 "},
      {changed([](Lines& l) { l[8] = "293"; }),
       "the record at line 9 repeats the city id of an earlier one (the first is used); records read and used: 2",
       "42 44 "},
      // A lost line, a zeroed block: the next whole record is found again.
      {changed([](Lines& l) { l.erase(l.begin() + 9); }),
       "the record at line 9 has a negative or impossibly large population" + kLeftOut + "2", "42 44 "},
      {changed([](Lines& l) { l.erase(l.begin() + 3, l.begin() + 12); l.insert(l.begin() + 3, std::string(9, '\0')); }),
       "the record at line 1 has a control byte in a line" + kLeftOut + "1", "44 "},
      {changed([](Lines& l) { l[2] = "P"; }), state, "43 44 "},
      {changed([](Lines& l) { l[2] = std::string(41, 'P'); }), state, "43 44 "},
      {changed([](Lines& l) { l[2] = std::string(40, 'P'); }), "", "42 43 44 "},
      {changed([](Lines& l) { l[3] = "bcx"; }), "the record at line 1 has a country line of no known form" + kLeftOut + "2",
       "43 44 "},
      {changed([](Lines& l) { l[4] = "41"; }),
       "the record at line 1 has a negative or impossibly large population" + kLeftOut + "2", "43 44 "},
      {changed([](Lines& l) { l[7] = "25"; }), zone, "43 44 "},
      {changed([](Lines& l) { l[7] = "-13"; }), zone, "43 44 "},
      {changed([](Lines& l) { l[7] = "24"; }), "", "42 43 44 "},
      {changed([](Lines& l) { l[7] = "-12"; }), "", "42 43 44 "},
      {changed([](Lines& l) { l[12] = ""; }), "line 13 is empty, so the rest is not read; records read and used: 1", "42 "},
      {changed([](Lines& l) { l.resize(20); }),
       "the file ends inside the record that begins at line 17; records read and used: 2", "42 43 "},
      // A damaged stretch that runs to the end of the file is told once.
      {changed([](Lines& l) { l[16] = "29x3"; }), "the record at line 17" + id + kLeftOut + "2", "42 43 "},
      {"", "it holds no usable record", ""},
  };
  for (const auto& [bytes, told, used] : cases) {
    const auto [text, ids] = Load<CCitySet>(bytes);
    EXPECT_EQ(text, told);
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
  const std::string code =
      "the record at line 1 has an area code line that is not 3 times an area code from 100 to 999 plus the id";
  const auto repeats = [](int line) {
    return "the record at line " + std::to_string(line) +
           " repeats the city and area code of an earlier one (the first is used); records read and used: ";
  };
  const struct {
    std::string bytes, told, used;
  } cases[] = {
      {Joined(pairs), repeats(5) + "3", "42 43 7 "},
      {changed(0, "46l"), "the record at line 1 has a line that is not a number" + kLeftOut + "3", "43 42 7 "},
      {changed(0, "462"), "the record at line 1 has a city id line that is not 11 times an id less 1" + kLeftOut + "3",
       "43 42 7 "},
      {changed(1, "2854"), code + kLeftOut + "3", "43 42 7 "},
      {changed(1, "127"), code + kLeftOut + "3", "43 42 7 "},
      {changed(1, "339"), code + kLeftOut + "3", "43 42 7 "},   // 99
      {changed(1, "3042"), code + kLeftOut + "3", "43 42 7 "},  // 1000
      {changed(3, "28\x01" "54"), "the record at line 3 has a control byte in a line, so it is left out; " + repeats(5) + "2",
       "42 7 "},
      {"\xEF\xBB\xBF" + changed(4, "472"),
       "it begins with a UTF-8 byte-order mark, which is skipped; the record at line 5 has an area code line that is "
       "not 3 times an area code from 100 to 999 plus the id" + kLeftOut + "3",
       "42 43 7 "},
      // After a damaged stretch, a repeat is told at its own line.
      {Joined({"461", "2853", "x", "472", "2854", "461", "2853"}),
       "the record at line 3 has a line that is not a number, so it is left out; " + repeats(6) + "2", "42 43 "},
  };
  for (const auto& [bytes, told, used] : cases) {
    const auto [text, ids] = Load<CAreaCodeSet>(bytes);
    EXPECT_EQ(text, told);
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
  const std::string notAManifest = "its manifest tqdata.manifest is not of the format TQMANIFEST 1";
  const struct {
    std::string manifest, bytes, told;
  } cases[] = {
      {"", good, ""},
      {"TQMANIFEST 1\n# made by hand\n" + entry(good, 3), good, ""},
      {"TQMANIFEST 1\n" + entry(good, 3), renamed, "cit.bin does not match its manifest: its SHA-256 checksum differs"},
      {"TQMANIFEST 1\n" + entry(good, 3), good.substr(0, good.size() - 2),
       "cit.bin does not match its manifest: it has 121 bytes where the manifest lists 123"},
      {"TQMANIFEST 1\n" + entry(good, 4), good, "cit.bin does not match its manifest: 3 records are used where it lists 4"},
      {"TQMANIFEST 1\n" + entry(good, 2), good, "cit.bin does not match its manifest: 3 records are used where it lists 2"},
      {"TQMANIFEST 1\nfile arc.bin 1 1 " + std::string(64, '0') + "\n", good,
       "cit.bin is not listed in its manifest"},
      {"TQMANIFEST 2\n" + entry(good, 3), good, notAManifest},
      {"TQMANIFEST 10\n" + entry(good, 3), good, notAManifest},
      {"TQMANIFEST 1\n" + entry(good, 3) + "file x.bin 1 1 Z\n", good, notAManifest},
  };
  for (const auto& [manifest, bytes, told] : cases) EXPECT_EQ(Load<CCitySet>(bytes, manifest).first, told);
}

TEST(DamagedData, Sha256OfKnownTexts) {
  // FIPS 180-4 examples, and lengths on both sides of a block's end, with and
  // without the processor's SHA instructions (the sums are sha256sum's).
  const std::pair<std::string, const char*> cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
      // The padding's edges: 55 bytes fill one block, 56 to 63 two; 119 and
      // 120 the same one block on.
      {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
      {std::string(63, 'a'), "7d3e74a05d7db15bce4ad9ec0658ea98e3f06eeecf16b4c6fff2da457ddc2f34"},
      {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
      {std::string(119, 'a'), "31eba51c313a5c08226adf18d4a359cfdfd8d2e816b13f4af952f7ea6584dcfb"},
      {std::string(120, 'a'), "2f3d335432c70b580af0e8e1b3674a7c020d683aa5f73aaaedfdc55af904c21c"},
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
