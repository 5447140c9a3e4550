#include "app/Settings.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "data/DataFile.h"
#include "data/Text.h"

namespace tq {

int ReadShowMapsSetting(const std::filesystem::path& file) {
  const auto bytes = ReadWholeFile(file);
  if (!bytes) return 0;
  LineReader lines(*bytes);
  std::string_view first;
  return lines.Next(first) ? AtoI(first) : 0;
}

bool WriteShowMapsSetting(const std::filesystem::path& file, int value) {
  const std::string text = std::to_string(value) + "\n";
  std::filesystem::path temporary = file;
  temporary += ".tmp" + std::to_string(::getpid());
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
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
