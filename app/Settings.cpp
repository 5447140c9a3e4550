#include "app/Settings.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "data/DataFile.h"
#include "data/Text.h"

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

bool WriteShowMapsSetting(const std::filesystem::path& file, int value) {
  const std::string text = std::to_string(value) + "\n";
  // mkstemp creates a new file of its own (O_EXCL): a link planted in the
  // folder under any name is never followed.
  std::string temporary = file.string() + ".XXXXXX";
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return false;
  const bool written =
      ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) &&
      ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || std::rename(temporary.c_str(), file.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace tq
