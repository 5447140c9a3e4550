// Data files that fight back: not regular files, too large, missing or
// damaged. Each is refused or reported (through SearchFlow::dataProblems,
// which both front ends show) and never blocks.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>

#include "lookup/SearchFlow.h"
#include "support/TestData.h"

namespace tq {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

class NoChoice : public CityChooser {
 public:
  std::optional<std::string> ChooseCity(const std::vector<std::string>&) override { return {}; }
};

std::vector<std::string> Problems(const fs::path& folder) {
  NoChoice chooser;
  SearchFlow flow(folder, chooser);
  flow.OpenData();
  return flow.dataProblems;
}

TEST(HostileFiles, RefusedAndMissingFilesAreToldWithTheFolder) {
  const std::vector<std::pair<std::string, std::function<void(const fs::path&)>>> cases = {
      {"it is a FIFO", [](const fs::path& f) { ASSERT_EQ(mkfifo(f.c_str(), 0600), 0); }},
      {"it is a device", [](const fs::path& f) { fs::create_symlink("/dev/zero", f); }},
      {"it is a folder", [](const fs::path& f) { fs::create_directory(f); }},
      {"larger than 64 MiB",
       [](const fs::path& f) {
         test::WriteBytes(f, "");
         fs::resize_file(f, kMaxDataFileSize + 1);  // sparse
       }},
      {"is missing (looked in", [](const fs::path&) {}},
  };
  for (const auto& [why, make] : cases) {
    TempDir dir;
    make(dir / "cit.bin");
    make(dir / "arc.bin");
    const auto problems = Problems(dir.path());
    ASSERT_EQ(problems.size(), 2u) << why;
    EXPECT_NE(problems[0].find("cit.bin"), std::string::npos) << problems[0];
    EXPECT_NE(problems[1].find("arc.bin"), std::string::npos) << problems[1];
    for (const std::string& problem : problems) {
      EXPECT_NE(problem.find(why), std::string::npos) << problem;
      EXPECT_NE(problem.find(dir.path().string()), std::string::npos) << problem;
    }
  }
}

TEST(HostileFiles, DamageIsToldAndWhatCanBeReadIsUsed) {
  const test::CityFixture good{42, "Dayton", "OH", "USA", 950, 1, "0", {937}};
  // The good record, then a second one with `changed` applied.
  const auto after = [&](const std::function<void(test::CityFixture&)>& changed) {
    test::CityFixture bad = good;
    changed(bad);
    std::vector<std::string> all = test::EncodeCity(good);
    for (std::string& line : test::EncodeCity(bad)) all.push_back(line);
    return all;
  };
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{}, "holds no record"},
      {{"293", "zupoEb", "", "bcd"}, "no record is read: line 3 is empty"},
      {after([](auto& c) { c.id = -5; }), "record 2 (line 9) has a negative city id"},
      {after([](auto& c) { c.state = "O"; }), "state text of impossible length"},
      {after([](auto& c) { c.population = -9; }), "negative population"},
      {after([](auto& c) { c.timeZone = "99"; }), "time zone outside -12 to +24"},
      {{"293", "zupoEb", "3IP", "bcd", "992", "1", "0", "0", "293", "zupoEb"},
       "the file ends inside the record that begins at line 9"},
  };
  for (const auto& [cityLines, why] : cases) {
    TempDir dir;
    test::WriteLines(dir / "cit.bin", cityLines);
    test::WriteLines(dir / "arc.bin", test::EncodeLink(42, 937));
    const auto problems = Problems(dir.path());
    ASSERT_EQ(problems.size(), 1u) << why;
    EXPECT_NE(problems[0].find("cit.bin in " + dir.path().string() + " is damaged"), std::string::npos);
    EXPECT_NE(problems[0].find(why), std::string::npos) << problems[0];
  }
}

// One CR turned into LF used to load nothing, silently.
TEST(HostileFiles, ALineEndTurnedIntoAnEmptyLineIsDamage) {
  TempDir dir;
  test::WriteSampleData(dir.path());
  std::string bytes = *ReadWholeFile(dir / "arc.bin");
  bytes[bytes.find('\r', bytes.size() / 2)] = '\n';
  test::WriteBytes(dir / "arc.bin", bytes);
  CAreaCodeSet areaCodes(dir.path());
  areaCodes.Open();
  EXPECT_EQ(areaCodes.Outcome().problem, FileProblem::kDamaged);
  EXPECT_NE(areaCodes.Outcome().text.find("is empty, so the rest is not read"), std::string::npos);
  EXPECT_GT(areaCodes.CityIds().size(), 0u);
  EXPECT_EQ(Problems(dir.path()).size(), 1u);
}

}  // namespace
}  // namespace tq
