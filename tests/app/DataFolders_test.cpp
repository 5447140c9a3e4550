#include "app/DataFolders.h"

#include <gtest/gtest.h>

#include "support/TestData.h"

namespace tq {
namespace {

using Paths = std::vector<std::filesystem::path>;

TEST(DataFolders, GivenFolderAloneElseHereBesideTheProgramAndConfigured) {
  const std::filesystem::path beside = "../share/telquest", configured = "/usr/share/telquest";
  EXPECT_EQ(DataFolderCandidates("/d", "/opt/tq/bin", beside, configured), Paths{"/d"});
  EXPECT_EQ(DataFolderCandidates({}, "/opt/tq/bin", beside, configured),
            (Paths{".", "/opt/tq/share/telquest", configured}));
  EXPECT_EQ(DataFolderCandidates({}, "/usr/bin", beside, configured), (Paths{".", configured}));
  EXPECT_EQ(DataFolderCandidates({}, "", beside, configured), (Paths{".", configured}));
}

TEST(DataFolders, FirstFolderWithACityFileWins) {
  test::TempDir dir;
  for (const char* folder : {"none", "dir/cit.bin", "file", "later"}) {
    std::filesystem::create_directories(dir / folder);
  }
  test::WriteBytes(dir / "file/cit.bin", "");
  test::WriteBytes(dir / "later/cit.bin", "");
  EXPECT_EQ(ChooseDataFolder({dir / "none", dir / "dir", dir / "file", dir / "later"}),
            dir / "file");
  EXPECT_EQ(ChooseDataFolder({dir / "none", dir / "dir"}), dir / "none");
}

}  // namespace
}  // namespace tq
