#include "data/DataFolders.h"

#include <gtest/gtest.h>

#include "support/TestData.h"

namespace tq {
namespace {

using Paths = std::vector<std::filesystem::path>;

TEST(DataFolders, GivenFolderAloneElseHereBesideTheProgramAndConfigured) {
  const std::filesystem::path beside = "../share/telquest", configured = "/usr/share/telquest";
  EXPECT_EQ(DataFolderCandidates("/d", "/opt/bin", beside, configured), Paths{"/d"});
  EXPECT_EQ(DataFolderCandidates({}, "/opt/bin", beside, configured),
            (Paths{".", "/opt/share/telquest", configured}));
  EXPECT_EQ(DataFolderCandidates({}, "/usr/bin", beside, configured), (Paths{".", configured}));
}

TEST(DataFolders, FirstFolderWithACityFileWinsElseTheFirst) {
  test::TempDir dir;
  std::filesystem::create_directories(dir / "dir/cit.bin");
  std::filesystem::create_directories(dir / "file");
  test::WriteBytes(dir / "file/cit.bin", "");
  EXPECT_EQ(ChooseDataFolder({dir / "none", dir / "dir", dir / "file", dir.path()}), dir / "file");
  EXPECT_EQ(ChooseDataFolder({dir / "none", dir / "dir"}), dir / "none");
}

}  // namespace
}  // namespace tq
