#include "app/Settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "base/Text.h"
#include "data/DataFile.h"

namespace tq {

int ReadShowMapsSetting(const std::filesystem::path& file) {
  const auto start = ReadFileStart(file, kMaxSettingsLine + 1);
  if (!start) return 0;
  const std::string_view bytes = *start;
  const std::size_t end = bytes.find('\n');
  if (end == std::string_view::npos && bytes.size() > kMaxSettingsLine) return 0;
  LineReader lines(bytes.substr(0, end == std::string_view::npos ? bytes.size() : end + 1));
  std::string_view first;
  return lines.Next(first) ? AtoI(first) : 0;
}

namespace {
constexpr std::string_view kCallingHoursWord = "calling-hours ";
}  // namespace

std::optional<CallingHours> ReadCallingHoursSetting(const std::filesystem::path& file) {
  const auto start = ReadFileStart(file, 2 * (kMaxSettingsLine + 1));
  if (!start) return std::nullopt;
  LineReader lines(*start);
  std::string_view line;
  if (!lines.Next(line) || line.size() > kMaxSettingsLine || !lines.Next(line) ||
      !line.starts_with(kCallingHoursWord)) {
    return std::nullopt;
  }
  return ParseCallingHours(line.substr(kCallingHoursWord.size()));
}

bool WriteShowMapsSetting(const std::filesystem::path& file, int value,
                          const std::optional<CallingHours>& callingHours, std::string* why) {
  const auto notSaved = [&](const std::string& reason) {
    if (why) *why = file.string() + " " + reason + "; the map setting is not saved";
    return false;
  };
  struct stat info{};
  if (::lstat(file.c_str(), &info) == 0) {
    if (S_ISLNK(info.st_mode)) return notSaved("is a symbolic link, so it is left as it is");
    if (!S_ISREG(info.st_mode)) return notSaved("is not a regular file");
    if ((info.st_mode & 0222) == 0 || ::access(file.c_str(), W_OK) != 0) {
      return notSaved("is read-only, so it is left as it is");
    }
  }
  std::string text = std::to_string(value) + "\n";
  if (callingHours) {
    text += std::string(kCallingHoursWord) + CallingHoursText(*callingHours) + "\n";
  }
  // mkstemp creates a new file of its own (O_EXCL): a link planted in the
  // folder under any name is never followed.
  std::string temporary = file.string() + ".XXXXXX";
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return notSaved(std::string("cannot be written: ") + std::strerror(errno));
  const bool written =
      ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) &&
      ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || std::rename(temporary.c_str(), file.c_str()) != 0) {
    const std::string reason = std::strerror(errno);
    ::unlink(temporary.c_str());
    return notSaved("cannot be written: " + reason);
  }
  return true;
}

}  // namespace tq
