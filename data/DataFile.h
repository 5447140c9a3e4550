#pragma once
// Reading the line-oriented data files: the whole file at once, then one line
// at a time with its CR LF or LF stripped, and the byte shift that undoes the
// scrambling of their text lines.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tq {

// The file's bytes, or nothing when it cannot be opened or read (a missing
// file, a folder, no permission, no memory). Never throws.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

// The path of a data file: the bare name (the current directory) when no
// folder is given.
std::filesystem::path DataFilePath(const std::filesystem::path& folder,
                                   const char* name);

class LineReader {
 public:
  explicit LineReader(std::string_view bytes) : rest_(bytes) {}
  // The next line without its line end; false at the end of the file (a last
  // line without a line end still counts as a line).
  bool Next(std::string_view& line);

 private:
  std::string_view rest_;
};

// Raises (+1) or lowers (-1) every byte, modulo 256.
std::string ShiftText(std::string_view text, int direction);

}  // namespace tq
