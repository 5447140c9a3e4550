#include "data/DataFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <new>

#include "base/HugePages.h"
#include "base/Text.h"
#include "data/AreaCodeSet.h"
#include "data/CitySet.h"

namespace tq {
namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

const char* KindOfFile(mode_t mode) {
  if (S_ISDIR(mode)) return "it is a folder";
  if (S_ISFIFO(mode)) return "it is a FIFO";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "it is a device";
  if (S_ISSOCK(mode)) return "it is a socket";
  return nullptr;
}

// Opens a regular file for reading without blocking on a FIFO and without
// opening a device at all; -1 with `result` telling why not.
int OpenRegular(const std::filesystem::path& path, FileBytes& result) {
  struct stat info{};
  if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    const char* kind = KindOfFile(info.st_mode);
    result = {std::nullopt, FileProblem::kRefused, kind ? kind : "it is not a regular file"};
    return -1;
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    const bool missing = error == ENOENT || error == ENOTDIR;
    result = {std::nullopt, missing ? FileProblem::kMissing : FileProblem::kUnreadable,
              std::strerror(error)};
    return -1;
  }
  // Checked again on what was opened: the name may have changed meanwhile.
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    result = {std::nullopt, FileProblem::kRefused, "it is not a regular file"};
    return -1;
  }
  return fd;
}

// Reads up to `count` bytes; false on a read error.
bool ReadUpTo(int fd, std::size_t count, std::string& bytes) {
  char buffer[1 << 16];
  while (bytes.size() < count) {
    const std::size_t want = std::min(sizeof buffer, count - bytes.size());
    const ssize_t got = ::read(fd, buffer, want);
    if (got == 0) return true;
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  return true;
}

}  // namespace

FileBytes ReadDataFile(const std::filesystem::path& path, std::size_t limit) {
  FileBytes result;
  const FileDescriptor fd(OpenRegular(path, result));
  if (fd.get() < 0) return result;
  const std::string tooLarge = "it is larger than " + std::to_string(limit >> 20) + " MiB";
  struct stat info{};
  if (::fstat(fd.get(), &info) == 0 && static_cast<std::uintmax_t>(info.st_size) > limit) {
    return {std::nullopt, FileProblem::kRefused, tooLarge};
  }
  try {
    std::string bytes;
    ReserveLarge(bytes, static_cast<std::size_t>(info.st_size));
    // One byte more than allowed tells a file that grew past the limit.
    if (!ReadUpTo(fd.get(), limit + 1, bytes)) {
      return {std::nullopt, FileProblem::kUnreadable, std::strerror(errno)};
    }
    if (bytes.size() > limit) return {std::nullopt, FileProblem::kRefused, tooLarge};
    result.bytes = std::move(bytes);
  } catch (const std::bad_alloc&) {
    return {std::nullopt, FileProblem::kUnreadable, "there is not enough memory to read it"};
  }
  return result;
}

std::optional<std::string> ReadFileStart(const std::filesystem::path& path, std::size_t count) {
  FileBytes result;
  const FileDescriptor fd(OpenRegular(path, result));
  std::string bytes;
  if (fd.get() < 0 || !ReadUpTo(fd.get(), count, bytes)) return std::nullopt;
  return bytes;
}

std::filesystem::path DataFilePath(const std::filesystem::path& folder,
                                   const char* name) {
  return folder.empty() ? std::filesystem::path(name) : folder / name;
}

std::string DescribeFolder(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::path where = folder.empty() ? std::filesystem::current_path(error)
                                               : std::filesystem::absolute(folder, error);
  if (error) where = folder.empty() ? "." : folder;
  where = where.lexically_normal();
  if (!where.has_filename() && where.has_parent_path()) where = where.parent_path();  // "dir/"
  return Utf8ToCp1252(where.string());
}

LoadOutcome DescribeLoad(FileProblem problem, const char* fileName,
                         const std::filesystem::path& folder, const std::string& why) {
  if (problem == FileProblem::kNone || (problem == FileProblem::kDamaged && why.empty())) return {};
  const std::string in = DescribeFolder(folder);
  std::string text = std::string("Data file ") + fileName;
  switch (problem) {
    case FileProblem::kMissing:
      text += " is missing (looked in " + in + ")";
      break;
    case FileProblem::kUnreadable:
      text += " in " + in + " cannot be read: " + why;
      break;
    case FileProblem::kRefused:
      text += " in " + in + " is not read: " + why;
      break;
    case FileProblem::kDamaged:
      text += " in " + in + " is damaged: " + why;
      break;
    case FileProblem::kNone:
      break;
  }
  return {problem, text + ".", fileName};
}

int ExitStatusFor(std::span<const LoadOutcome> problems) {
  int status = 0;
  for (const LoadOutcome& problem : problems) {
    if (problem.problem == FileProblem::kNone) continue;
    const bool placeFile =
        problem.file == CCitySet::kFileName || problem.file == CAreaCodeSet::kFileName;
    if (placeFile && problem.problem != FileProblem::kDamaged) return kExitNoData;
    // A folder of cit.bin and arc.bin alone is sound data: the files it lacks
    // are told as a note (numbers without their exchange), not as damage.
    if (!placeFile && problem.problem == FileProblem::kMissing) continue;
    status = kExitDamagedData;
  }
  return status;
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

void DamageReport::Stopped(std::string_view unread, std::size_t line, bool ended) {
  if (unread.find_first_not_of("\r\n") == std::string_view::npos) return;
  stopped_ = ended ? "the file ends inside the record that begins at line " + std::to_string(line)
                   : "line " + std::to_string(line) + " is empty, so the rest is not read";
}

void DamageReport::Damaged(std::size_t line, const std::string& what) {
  if (damaged_++ == 0) firstDamaged_ = "the record at line " + std::to_string(line) + " has " + what;
}

void DamageReport::Repeated(std::size_t line, const char* key) {
  if (repeated_++ == 0) {
    firstRepeated_ = std::string("the record at line ") + std::to_string(line) + " repeats the " +
                     key + " of an earlier one (the first is used)";
  }
}

void DamageReport::Note(const std::string& what) {
  notes_ += (notes_.empty() ? "" : "; ") + what;
}

std::string DamageReport::Text(std::size_t loaded) const {
  std::string text = notes_;
  const auto add = [&](const std::string& part) {
    if (!part.empty()) text += (text.empty() ? "" : "; ") + part;
  };
  if (loaded == 0) {
    add(stopped_.empty() ? "it holds no usable record" : "no record is read: " + stopped_);
  } else {
    add(stopped_);
  }
  if (damaged_ > 0) {
    add(firstDamaged_ + (damaged_ > 1 ? ", and " + std::to_string(damaged_ - 1) +
                                            " more damaged stretches are left out"
                                      : ", so it is left out"));
  }
  if (repeated_ > 0) {
    add(firstRepeated_ +
        (repeated_ > 1 ? ", and " + std::to_string(repeated_ - 1) + " more records repeat one" : ""));
  }
  if (!text.empty() && loaded > 0) text += "; records read and used: " + std::to_string(loaded);
  return text;
}

std::string_view SkipByteOrderMark(std::string_view bytes, DamageReport& damage) {
  constexpr std::string_view kMark = "\xEF\xBB\xBF";
  if (!bytes.starts_with(kMark)) return bytes;
  damage.Note("it begins with a UTF-8 byte-order mark, which is skipped");
  return bytes.substr(kMark.size());
}

std::optional<float> ParseReal(std::string_view line) {
  const std::size_t point = line.find('.');
  if (!ParseWhole(line.substr(0, point))) return std::nullopt;
  if (point != std::string_view::npos) {
    const std::string_view fraction = line.substr(point + 1);
    if (fraction.empty() || fraction.find_first_not_of("0123456789") != std::string_view::npos) {
      return std::nullopt;
    }
  }
  if (line.starts_with('+')) line.remove_prefix(1);
  float value = 0;  // from_chars: a point, whatever the process locale
  const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), value);
  if (error != std::errc() || end != line.data() + line.size()) return std::nullopt;
  return value;
}

std::optional<std::int64_t> CountLine(std::string_view line, std::string_view word,
                                      std::int64_t most) {
  if (!line.starts_with(word) || line.size() <= word.size() || line[word.size()] != ' ') {
    return std::nullopt;
  }
  const std::int32_t count = DigitsValue(line.substr(word.size() + 1));
  if (count < 0 || count > most) return std::nullopt;
  return count;
}

bool NextLfLine(std::string_view& rest, std::string_view& line) {
  const std::size_t end = rest.find('\n');
  if (end == std::string_view::npos) return false;
  line = rest.substr(0, end);
  rest.remove_prefix(end + 1);
  return true;
}

std::string ShiftText(std::string_view text, int direction) {
  std::string shifted(text);
  for (char& c : shifted) {
    c = static_cast<char>(static_cast<unsigned char>(c) + direction);
  }
  return shifted;
}

bool LineReader::NextNumberSlow(std::string_view& line, std::optional<std::int64_t>& value) {
  const char* const begin = rest_.data();
  const char* const end = begin + rest_.size();
  const char* at = begin;
  const bool negative = at != end && *at == '-';
  if (at != end && (*at == '-' || *at == '+')) ++at;
  const char* const digits = at;
  std::uint64_t number = 0;  // nineteen digits, read to tell a number too long, fit
  for (; at != end && at - digits < 19 && static_cast<unsigned char>(*at - '0') < 10; ++at) {
    number = number * 10 + static_cast<unsigned>(*at - '0');
  }
  const std::size_t count = static_cast<std::size_t>(at - digits);
  const char* after = nullptr;  // where the next line begins
  if (at == end) {
    after = end;
  } else if (*at == '\n') {
    after = at + 1;
  } else if (*at == '\r' && (at + 1 == end || at[1] == '\n')) {
    after = at + 1 == end ? end : at + 2;
  }
  if (count == 0 || count > 18 || after == nullptr) {
    if (!Next(line)) return false;
    value = ParseWhole(line);
    return true;
  }
  line = std::string_view(begin, static_cast<std::size_t>(at - begin));
  rest_.remove_prefix(static_cast<std::size_t>(after - begin));
  value = negative ? -static_cast<std::int64_t>(number) : static_cast<std::int64_t>(number);
  return true;
}

bool ReadRecord(LineReader& reader, std::span<std::string_view> lines, std::uint32_t numbers,
                std::span<std::optional<std::int64_t>> values, std::uint32_t& controls,
                std::size_t firstLine, DamageReport& damage) {
  const LineReader atRecord = reader;
  controls = 0;
  for (std::size_t got = 0; got < lines.size(); ++got) {
    bool control = false;
    const bool ended = numbers >> got & 1 ? !reader.NextNumber(lines[got], values[got])
                                          : !reader.NextText(lines[got], control);
    controls |= std::uint32_t{control} << got;
    if (ended || lines[got].empty()) {
      damage.Stopped(atRecord.Rest(), ended ? firstLine : firstLine + got, ended);
      return false;
    }
  }
  return true;
}

std::optional<std::string> ReadDataFileOf(const std::filesystem::path& folder, const char* name,
                                          LoadOutcome& outcome) {
  FileBytes file = ReadDataFile(DataFilePath(folder, name));
  if (!file.bytes) outcome = DescribeLoad(file.problem, name, folder, file.why);
  return std::move(file.bytes);
}

std::optional<std::size_t> ParseCountLine(std::string_view line, std::string_view word) {
  if (!line.starts_with(word) || line.size() <= word.size() + 1 || line[word.size()] != ' ' ||
      line.size() > word.size() + 10) {
    return std::nullopt;
  }
  std::size_t count = 0;
  for (const char c : line.substr(word.size() + 1)) {
    if (c < '0' || c > '9') return std::nullopt;
    count = count * 10 + static_cast<std::size_t>(c - '0');
  }
  return count;
}

}  // namespace tq
