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
#include <vector>

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

// The lines of `bytes`, each with its line end (the last one may have none).
std::vector<std::string_view> LinesWithEnds(std::string_view bytes) {
  std::vector<std::string_view> lines;
  while (!bytes.empty()) {
    const std::size_t end = std::min(bytes.find('\n'), bytes.size() - 1);
    lines.push_back(bytes.substr(0, end + 1));
    bytes.remove_prefix(end + 1);
  }
  return lines;
}

}  // namespace

std::optional<CallingHours> ReadCallingHoursSetting(const std::filesystem::path& file) {
  const auto start = ReadFileStart(file, kMaxSettingsFile);
  if (!start) return std::nullopt;
  LineReader lines(*start);
  std::string_view line;
  if (!lines.Next(line) || line.size() > kMaxSettingsLine) return std::nullopt;
  while (lines.Next(line)) {
    if (line.starts_with(kCallingHoursWord)) {
      return ParseCallingHours(line.substr(kCallingHoursWord.size()));
    }
  }
  return std::nullopt;
}

bool WriteShowMapsSetting(const std::filesystem::path& file, int value,
                          const std::optional<CallingHours>& callingHours, std::string* why) {
  const auto notSaved = [&](const std::string& reason) {
    if (why) *why = file.string() + " " + reason + "; the map setting is not saved";
    return false;
  };
  struct stat info{};
  std::string old;
  mode_t mode = 0600;
  if (::lstat(file.c_str(), &info) == 0) {
    if (S_ISLNK(info.st_mode)) return notSaved("is a symbolic link, so it is left as it is");
    if (!S_ISREG(info.st_mode)) return notSaved("is not a regular file");
    if ((info.st_mode & 0222) == 0 || ::access(file.c_str(), W_OK) != 0) {
      return notSaved("is read-only, so it is left as it is");
    }
    std::optional<std::string> start = ReadFileStart(file, kMaxSettingsFile + 1);
    if (!start) return notSaved("cannot be read, so it is left as it is");
    if (start->size() > kMaxSettingsFile) {
      return notSaved("is longer than " + std::to_string(kMaxSettingsFile) +
                      " bytes, so it is left as it is");
    }
    old = std::move(*start);
    mode = info.st_mode & 07777;
  }
  // The first line and the calling hours' line are this program's; the
  // others go back as they were.
  const std::vector<std::string_view> lines = LinesWithEnds(old);
  std::size_t hoursAt = 1;  // the old calling hours' line, or where it goes
  while (hoursAt < lines.size() && !lines[hoursAt].starts_with(kCallingHoursWord)) ++hoursAt;
  const std::string hours =
      callingHours ? std::string(kCallingHoursWord) + CallingHoursText(*callingHours) + "\n" : "";
  std::string text = std::to_string(value) + "\n";
  if (hoursAt >= lines.size()) text += hours;  // second, when the file has none
  for (std::size_t i = 1; i < lines.size(); ++i) {
    text += i == hoursAt && callingHours ? std::string_view(hours) : lines[i];
  }
  // mkstemp creates a new file of its own (O_EXCL): a link planted in the
  // folder under any name is never followed.
  std::string temporary = file.string() + ".XXXXXX";
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return notSaved(std::string("cannot be written: ") + std::strerror(errno));
  const bool written =
      ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) &&
      ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || std::rename(temporary.c_str(), file.c_str()) != 0) {
    const std::string reason = std::strerror(errno);
    ::unlink(temporary.c_str());
    return notSaved("cannot be written: " + reason);
  }
  return true;
}

}  // namespace tq
