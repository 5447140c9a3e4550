// Data files that fight back are refused or reported through
// SearchFlow::DataProblems(), which both front ends show, and never block;
// what can be read of a damaged file is used.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>

#include "lookup/SearchFlow.h"
#include "support/TestData.h"

namespace tq {
namespace {

namespace fs = std::filesystem;
using test::CityFixture;

struct NoChoice : CityChooser {
  CityChoiceReply ChooseCity(const std::vector<CityChoice>&) override { return {}; }
};

std::vector<std::string> Problems(const fs::path& folder) {
  NoChoice chooser;
  SearchFlow flow(folder, chooser);
  flow.OpenData();
  return flow.DataProblems();
}

void ExpectProblems(const fs::path& folder, const std::vector<std::string>& files,
                    const std::string& why) {
  const auto problems = Problems(folder);
  ASSERT_EQ(problems.size(), files.size()) << why;
  for (std::size_t i = 0; i < files.size(); ++i) {
    for (const std::string& part : {files[i], folder.string(), why}) {
      EXPECT_NE(problems[i].find(part), std::string::npos) << problems[i] << " lacks " << part;
    }
  }
}

TEST(HostileFiles, RefusedAndMissingFilesAreToldWithTheFolder) {
  const std::vector<std::pair<std::string, std::function<void(const fs::path&)>>> cases = {
      {"it is a FIFO", [](const fs::path& f) { mkfifo(f.c_str(), 0600); }},
      {"it is a device", [](const fs::path& f) { fs::create_symlink("/dev/zero", f); }},
      {"it is a folder", [](const fs::path& f) { fs::create_directory(f); }},
      {"larger than 64 MiB", [](const fs::path& f) {
         test::WriteBytes(f, "");
         fs::resize_file(f, kMaxDataFileSize + 1);  // sparse
       }},
      {"is missing (looked in", [](const fs::path&) {}},
  };
  for (const auto& [why, make] : cases) {
    test::TempDir dir;
    for (const char* file : {"cit.bin", "arc.bin", "exc.bin", "ctz.bin", "tzl.bin"}) {
      make(dir / file);
    }
    ExpectProblems(dir.path(), {"cit.bin", "arc.bin", "exc.bin", "ctz.bin"}, why);
  }
}

TEST(HostileFiles, DamageIsToldAndWhatCanBeReadIsUsed) {
  const CityFixture good{42, "Dayton", "OH", "USA", 950, 1, "0", {937}};
  const auto after = [&](const std::function<void(CityFixture&)>& change) {
    CityFixture bad = good;
    change(bad);
    std::vector<std::string> lines = test::EncodeCity(good);
    for (const std::string& line : test::EncodeCity(bad)) lines.push_back(line);
    return lines;
  };
  std::vector<std::string> crToLf = after([](auto&) {});
  crToLf.insert(crToLf.begin() + 11, "");  // one CR of line 11 turned into LF
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{}, "damaged: it holds no record"},
      {crToLf, "damaged: line 12 is empty, so the rest is not read; records read and used: 1"},
      {after([](auto& c) { c.id = -5; }), "record 2 (line 9) has a negative city id"},
      {after([](auto& c) { c.state = "O"; }), "record 2 (line 9) has a state text of impossible"},
      {after([](auto& c) { c.population = -9; }), "record 2 (line 9) has a negative population"},
      {after([](auto& c) { c.timeZone = "99"; }), "record 2 (line 9) has a time zone outside -12"},
      {{"293", "zupoEb", "3IP", "bcd", "992", "1", "0", "0", "293"},
       "damaged: the file ends inside the record that begins at line 9"},
  };
  for (const auto& [lines, why] : cases) {
    test::TempDir dir;
    test::WriteLines(dir / "cit.bin", lines);
    test::WriteLines(dir / "arc.bin", test::EncodeLink(42, 937));
    test::WriteBytes(dir / "exc.bin", test::kSampleExchanges);
    test::WriteZoneFiles(dir.path(), {good});
    ExpectProblems(dir.path(), {"cit.bin"}, why);
  }
}

}  // namespace
}  // namespace tq
