#include "app/Settings.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>

#include "support/TestData.h"

namespace tq {
namespace {

using test::TempDir;
using test::WriteBytes;

TEST(Settings, ReadsTheFirstLineAsAtoiDoes) {
  TempDir dir;
  const auto file = dir / kSettingsFileName;
  EXPECT_EQ(ReadShowMapsSetting(file), 0);  // missing
  for (const auto& [text, value] : std::vector<std::pair<std::string, int>>{
           {"1\n", 1}, {"\n1\n", 0}, {"  7 maps\n", 7}, {"99999999999", 2147483647},
           // A first line of kMaxSettingsLine bytes is read; one byte more is not.
           {std::string(kMaxSettingsLine - 1, ' ') + "1\n", 1},
           {std::string(kMaxSettingsLine, ' ') + "1\n", 0}}) {
    WriteBytes(file, text);
    EXPECT_EQ(ReadShowMapsSetting(file), value) << text;
  }
}

TEST(Settings, WritesOneLineAndLeavesNoTemporaryFile) {
  TempDir dir;
  const auto file = dir / kSettingsFileName;
  ASSERT_TRUE(WriteShowMapsSetting(file, 1));
  EXPECT_EQ(ReadShowMapsSetting(file), 1);
  ASSERT_TRUE(WriteShowMapsSetting(file, 0));
  std::ifstream in(file);
  std::string content((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(content, "0\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

// The calling hours ride on an optional second line that the first line's
// reading never sees.
TEST(Settings, KeepsCallingHoursOnASecondLine) {
  TempDir dir;
  const auto file = dir / kSettingsFileName;
  ASSERT_TRUE(WriteShowMapsSetting(file, 1, CallingHours{9 * 60, 20 * 60}));
  EXPECT_EQ(ReadShowMapsSetting(file), 1);
  EXPECT_EQ(ReadCallingHoursSetting(file), (CallingHours{9 * 60, 20 * 60}));
  for (const char* text : {"1\n", "1\ncalling-hours 9-20\n", "1\n09:00-20:00\n",
                           "1\ncalling-hours 09:00-09:00\n"}) {
    WriteBytes(file, text);
    EXPECT_FALSE(ReadCallingHoursSetting(file)) << text;
  }
}

// Lines the program does not understand are written back as they were, and
// the calling hours' line is rewritten where it stands.
TEST(Settings, WritingKeepsTheLinesItDoesNotUnderstand) {
  TempDir dir;
  const auto file = dir / kSettingsFileName;
  const CallingHours nine{9 * 60, 20 * 60};
  const struct {
    std::string before;
    std::optional<CallingHours> hours;
    std::string after;
  } cases[] = {
      {"1\ntheme dark\r\n# mine\n\n", std::nullopt, "0\ntheme dark\r\n# mine\n\n"},
      {"1\r\ncalling-hours 9-20\nx", std::nullopt, "0\ncalling-hours 9-20\nx"},
      {"1\ncalling-hours 9-20\nx", nine, "0\ncalling-hours 09:00-20:00\nx"},
      {"1\nx\n", nine, "0\ncalling-hours 09:00-20:00\nx\n"},
      {"1\nx\ncalling-hours 10:00-18:00\ncalling-hours 7", nine,
       "0\nx\ncalling-hours 09:00-20:00\ncalling-hours 7"},
  };
  for (const auto& [before, hours, after] : cases) {
    WriteBytes(file, before);
    ASSERT_TRUE(WriteShowMapsSetting(file, 0, hours)) << before;
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), after) << before;
  }
  EXPECT_EQ(ReadCallingHoursSetting(file), nine);  // on the third line
}

// The file keeps its mode; one too long to be read whole is left as it is.
TEST(Settings, WritingKeepsTheModeAndLeavesALongFile) {
  TempDir dir;
  const auto file = dir / kSettingsFileName;
  WriteBytes(file, "1\n");
  chmod(file.c_str(), 0640);
  ASSERT_TRUE(WriteShowMapsSetting(file, 0));
  struct stat info{};
  ASSERT_EQ(stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  const std::string long_ = "1\n" + std::string(kMaxSettingsFile, '#');
  WriteBytes(file, long_);
  std::string why;
  EXPECT_FALSE(WriteShowMapsSetting(file, 0, std::nullopt, &why));
  EXPECT_EQ(why, file.string() + " is longer than 4096 bytes, so it is left as it is; "
                                 "the map setting is not saved");
  EXPECT_EQ(ReadShowMapsSetting(file), 1);
}

// True when writing into a read-only folder fails and leaves the old file.
bool UnwritableFolderKeepsTheOldFile() {
  TempDir dir;
  const auto file = dir / kSettingsFileName;
  const bool written = WriteShowMapsSetting(file, 1);
  chmod(dir.path().c_str(), 0500);
  const bool refused = !WriteShowMapsSetting(file, 0);
  chmod(dir.path().c_str(), 0700);
  return written && refused && ReadShowMapsSetting(file) == 1;
}

TEST(Settings, UnwritableFolderKeepsTheOldFile) {
  if (geteuid() != 0) {
    EXPECT_TRUE(UnwritableFolderKeepsTheOldFile());
    return;
  }
  // Root may write anywhere: the check runs in a child that becomes nobody.
  const pid_t child = fork();
  if (child == 0) {
    const unsigned nobody = 65534;  // nobody, and its group nogroup
    const bool dropped = setgroups(0, nullptr) == 0 && setresgid(nobody, nobody, nobody) == 0 &&
                         setresuid(nobody, nobody, nobody) == 0;
    _exit(!dropped ? 2 : UnwritableFolderKeepsTheOldFile() ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "wait status " << status;
}

TEST(Settings, MissingFolderOrAFolderInThePlaceOfTheFileIsLeftAlone) {
  TempDir dir;
  EXPECT_FALSE(WriteShowMapsSetting(dir / "missing" / kSettingsFileName, 1));
  std::filesystem::create_directory(dir / kSettingsFileName);
  EXPECT_EQ(ReadShowMapsSetting(dir / kSettingsFileName), 0);
  EXPECT_FALSE(WriteShowMapsSetting(dir / kSettingsFileName, 1));
  EXPECT_TRUE(std::filesystem::is_directory(dir / kSettingsFileName));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

// Only the start of the file is read, and never from a FIFO or a device.
TEST(Settings, ReadsOnlyTheStartOfRegularFiles) {
  TempDir dir;
  const auto sparse = dir / "sparse", fifo = dir / "fifo", zero = dir / "zero";
  WriteBytes(sparse, "1\n");
  std::filesystem::resize_file(sparse, std::uintmax_t{500} << 20);
  mkfifo(fifo.c_str(), 0600);
  std::filesystem::create_symlink("/dev/zero", zero);
  EXPECT_EQ(ReadShowMapsSetting(sparse), 1);
  EXPECT_EQ(ReadShowMapsSetting(fifo) + ReadShowMapsSetting(zero), 0);
}

// A link planted where a predictable temporary would be is never written
// through; a link or a read-only file in the place of the file is the
// user's: left as it is, and the setting not saved, with the reason.
TEST(Settings, WritingFollowsNoPlantedLinkAndLeavesTheUsersFiles) {
  TempDir dir;
  const auto file = dir / kSettingsFileName;
  const auto victim = dir / "victim";
  WriteBytes(victim, "precious");
  for (const std::string& tail : {std::string(".tmp"), ".tmp" + std::to_string(getpid())}) {
    std::filesystem::create_symlink(victim, file.string() + tail);
  }
  std::filesystem::create_symlink(victim, file);
  std::string why;
  EXPECT_FALSE(WriteShowMapsSetting(file, 1, std::nullopt, &why));
  EXPECT_NE(why.find("is a symbolic link, so it is left as it is"), std::string::npos) << why;
  std::filesystem::remove(file);
  WriteBytes(file, "0\n");
  chmod(file.c_str(), 0444);
  EXPECT_FALSE(WriteShowMapsSetting(file, 1, std::nullopt, &why));
  EXPECT_NE(why.find("is read-only"), std::string::npos) << why;
  EXPECT_EQ(ReadShowMapsSetting(file), 0);
  std::ifstream in(victim);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "precious");
}

}  // namespace
}  // namespace tq
