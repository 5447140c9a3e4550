#include "data/DataFile.h"

#include <fstream>
#include <new>

namespace tq {

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
  try {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes;
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
      bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) return std::nullopt;  // e.g. a folder of that name
    return bytes;
  } catch (const std::exception&) {  // out of memory, stream errors
    return std::nullopt;
  }
}

std::filesystem::path DataFilePath(const std::filesystem::path& folder,
                                   const char* name) {
  return folder.empty() ? std::filesystem::path(name) : folder / name;
}

bool LineReader::Next(std::string_view& line) {
  if (rest_.empty()) return false;
  const std::size_t end = rest_.find('\n');
  if (end == std::string_view::npos) {
    line = rest_;
    rest_ = {};
  } else {
    line = rest_.substr(0, end);
    rest_.remove_prefix(end + 1);
  }
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return true;
}

std::string ShiftText(std::string_view text, int direction) {
  std::string shifted(text);
  for (char& c : shifted) {
    c = static_cast<char>(static_cast<unsigned char>(c) + direction);
  }
  return shifted;
}

}  // namespace tq
