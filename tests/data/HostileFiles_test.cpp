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

struct NoChoice : CityChooser {
  CityChoiceReply ChooseCity(const std::vector<CityChoice>&) override { return {}; }
};

std::vector<std::string> Problems(const fs::path& folder) {
  NoChoice chooser;
  SearchFlow flow(folder, chooser);
  flow.OpenData();
  std::vector<std::string> texts;
  for (const LoadOutcome& problem : flow.DataProblems()) texts.push_back(problem.text);
  return texts;
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
      // Without its own zone law the folder keeps the places' own zones: a note.
      {"missing (looked in", [](const fs::path&) {}},
  };
  for (const auto& [why, make] : cases) {
    test::TempDir dir;
    for (const char* file : {"cit.bin", "arc.bin", "exc.bin", "ctz.bin", "tzl.bin"}) {
      make(dir / file);
    }
    ExpectProblems(dir.path(), {"cit.bin", "arc.bin", "exc.bin", "ctz.bin"}, why);
  }
}

}  // namespace
}  // namespace tq
