#pragma once
// Reading the line-oriented data files: the whole file at once, safely (only
// a regular file, never more than a fixed size, never blocking on a FIFO or a
// device), then one line at a time with its CR LF or LF stripped, and the
// byte shift that undoes the scrambling of their text lines. What became of
// a load is kept as a LoadOutcome that the front ends tell the user.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/Words.h"

namespace tq {

// Data files larger than this are refused (docs/data-format.md, "Limits").
inline constexpr std::size_t kMaxDataFileSize = std::size_t{64} << 20;

// Why a data file could not be used, or was used only in part.
enum class FileProblem {
  kNone,
  kMissing,     // no such file (or folder)
  kUnreadable,  // no permission, a read error, no memory
  kRefused,     // not a regular file, or larger than the limit
  kDamaged,     // read, but holds no record, stops early or has impossible fields
};

struct [[nodiscard]] FileBytes {
  std::optional<std::string> bytes;  // nothing unless problem is kNone
  FileProblem problem = FileProblem::kNone;
  std::string why;  // what is wrong, e.g. "it is a FIFO"
};

// Reads a regular file of at most `limit` bytes whole. Never blocks, never
// throws.
[[nodiscard]] FileBytes ReadDataFile(const std::filesystem::path& path,
                       std::size_t limit = kMaxDataFileSize);

struct LoadOutcome;

// The bytes of the data file `name` in `folder`; nothing, with `outcome`
// telling why, when it cannot be read.
[[nodiscard]] std::optional<std::string> ReadDataFileOf(const std::filesystem::path& folder,
                                                        const char* name, LoadOutcome& outcome);

// At most the first `count` bytes of a regular file of any size (the settings
// file); nothing when it is missing, unreadable or not a regular file.
[[nodiscard]] std::optional<std::string> ReadFileStart(const std::filesystem::path& path,
                                                       std::size_t count);

// The path of a data file: the bare name (the current directory) when no
// folder is given.
std::filesystem::path DataFilePath(const std::filesystem::path& folder,
                                   const char* name);

// What loading a data file came to: the one result of every data file load
// (the record sets' Outcome(), ExchangeTable::Open, ZoneLaw::Open), and the
// data problem an answer carries: the file ("cit.bin"), the kind of problem,
// and the text told (code page 1252, empty when all is well) that names the
// file, what is wrong and the folder it was looked for in.
struct [[nodiscard]] LoadOutcome {
  FileProblem problem = FileProblem::kNone;
  std::string text;
  std::string file;
  bool operator==(const LoadOutcome&) const = default;
};

// The exit status of tqlookup, a single lookup and a batch alike, when the
// data came with these problems: kExitNoData when a place file (cit.bin,
// arc.bin) is missing, unreadable or refused, so nothing can be answered;
// kExitDamagedData when the answers may be incomplete: a file is damaged,
// or the exchanges or the zone law are there but cannot be read; else 0 (an
// optional file that is missing is told, and costs nothing).
inline constexpr int kExitNoData = 5;
inline constexpr int kExitDamagedData = 6;
int ExitStatusFor(std::span<const LoadOutcome> problems);

// The folder as texts about its files name it: absolute, code page 1252.
std::string DescribeFolder(const std::filesystem::path& folder);

// "Data file cit.bin in /some/folder is damaged: ..." and the like; `why`
// says what is wrong. Damage without a `why` is no problem.
LoadOutcome DescribeLoad(FileProblem problem, const char* fileName,
                         const std::filesystem::path& folder, const std::string& why);

// Whether the line holds a C0 control byte (a tab only where `tabs` allows).
inline bool HasControlBytes(std::string_view line, bool tabs = false);

class LineReader {
 public:
  explicit LineReader(std::string_view bytes) : rest_(bytes) {}
  // The next line without its line end; false at the end of the file (a last
  // line without a line end still counts as a line).
  bool Next(std::string_view& line);
  // Next, and the line read as ParseWhole reads it, in one pass over a line
  // that is a number.
  bool NextNumber(std::string_view& line, std::optional<std::int64_t>& value) {
    if constexpr (std::endian::native == std::endian::little) {
      // Most lines are up to seven digits: the sign, the digits and the byte
      // that ends them come from the first sixteen bytes, read at once, so
      // the next line's place is known without waiting on another read.
      if (rest_.size() >= 16) {
        const char* const begin = rest_.data();
        std::uint64_t low, high;
        std::memcpy(&low, begin, 8);
        std::memcpy(&high, begin + 8, 8);
        const unsigned char first = low & 0xFF;
        const bool sign = first == '-' || first == '+';
        const std::uint64_t word = sign ? low >> 8 | high << 56 : low;
        const int count = std::countr_zero(NonDigits(word)) / 8;  // 8 when all are digits
        const unsigned stop = count < 8 ? (word >> (8 * count)) & 0xFF : 0;
        const unsigned next = count < 7 ? (word >> (8 * count + 8)) & 0xFF : 0;
        const std::size_t digits = static_cast<std::size_t>(count) + sign;
        // The line and its end, where it ends in these bytes.
        const std::size_t after = stop == '\n' ? digits + 1
                                  : stop == '\r' && next == '\n' ? digits + 2
                                                                 : 0;
        if (count > 0 && after > 0) {
          const auto number = static_cast<std::int64_t>(EightDigits(word, count));
          line = std::string_view(begin, digits);
          rest_.remove_prefix(after);
          value = first == '-' ? -number : number;
          return true;
        }
      }
    }
    return NextNumberSlow(line, value);
  }
  // Next, and whether the line holds a control byte (as HasControlBytes
  // finds them), in one pass: the first byte below 0x20 is the line's end,
  // unless the line holds one.
  bool NextText(std::string_view& line, bool& control) {
    if constexpr (std::endian::native == std::endian::little) {
      const char* const begin = rest_.data();
      for (std::size_t at = 0; at + 9 <= rest_.size(); at += 8) {
        const std::uint64_t below = BytesBelow(LoadWord(begin + at), 0x20);
        if (below == 0) continue;
        const std::size_t end = at + static_cast<std::size_t>(std::countr_zero(below)) / 8;
        const std::size_t after = begin[end] == '\n'                          ? end + 1
                                  : begin[end] == '\r' && begin[end + 1] == '\n' ? end + 2
                                                                              : 0;
        if (after == 0) break;  // a control byte inside the line
        line = std::string_view(begin, end);
        rest_.remove_prefix(after);
        control = false;
        return true;
      }
    }
    if (!Next(line)) return false;
    control = HasControlBytes(line);
    return true;
  }
  // What is not read yet.
  std::string_view Rest() const { return rest_; }

 private:
  // Where a byte of a word is below '0' it borrows, above '9' adding 0x46
  // carries into its top bit; the digits before it do neither. The top bits
  // of the bytes that are no digits.
  static std::uint64_t NonDigits(std::uint64_t word) {
    return ((word - 0x3030303030303030u) | (word + 0x4646464646464646u) | word) &
           0x8080808080808080u;
  }
  // The value of the first `count` (1 to 8) digits of a word read from
  // memory on a little-endian machine: moved to the top as if led by zeros,
  // their '0' taken off, they are added up in three multiplications.
  static std::uint64_t EightDigits(std::uint64_t word, int count) {
    std::uint64_t v = (word - 0x3030303030303030u) << (8 * (8 - count));
    v = (v * 10 + (v >> 8)) & 0x00FF00FF00FF00FFu;
    v = (v * (1 + (100ull << 16)) >> 16) & 0x0000FFFF0000FFFFu;
    return v * (1 + (10000ull << 32)) >> 32;
  }
  // NextNumber for lines near the file's end, long numbers, anything unusual.
  bool NextNumberSlow(std::string_view& line, std::optional<std::int64_t>& value);

  std::string_view rest_;
};

class DamageReport;

// Reads the next record, `lines.size()` lines beginning at line `firstLine`
// (from 1); the lines marked in `numbers` (bit i for line i) are read as
// numbers too, into `values` (as ParseWhole reads them), and the others are
// marked in `controls` where they hold a control byte. False when the file
// ends or an empty line comes first: the load stops there, and `damage` is
// told.
[[nodiscard]] bool ReadRecord(LineReader& reader, std::span<std::string_view> lines,
                              std::uint32_t numbers, std::span<std::optional<std::int64_t>> values,
                              std::uint32_t& controls, std::size_t firstLine, DamageReport& damage);

// Collects what is wrong with a data file while it loads. Damage is counted
// in stretches: a run of lines that holds no usable record is one damaged
// stretch, however many records it spoils.
class DamageReport {
 public:
  // The load stopped before the end of the file. `unread` starts at the
  // record that could not be completed; `line` (from 1) is the empty line
  // that stopped it, or, when the file ended there (`ended`), the first line
  // of that record. Nothing but line ends left over is no damage.
  void Stopped(std::string_view unread, std::size_t line, bool ended);
  // The record at line `line` is not used: it has `what` ("a negative city
  // id"). The first one is named, the others counted.
  void Damaged(std::size_t line, const std::string& what);
  // The record at line `line` repeats the key of an earlier one and is not
  // used (the first record of a key is kept).
  void Repeated(std::size_t line, const char* key);
  // Something wrong that costs no record (a byte-order mark skipped, a count
  // that does not match).
  void Note(const std::string& what);
  bool Any() const { return !stopped_.empty() || damaged_ || repeated_ || !notes_.empty(); }
  // What is wrong ("" when nothing) after `loaded` records were read.
  std::string Text(std::size_t loaded) const;

 private:
  std::string stopped_;
  std::string firstDamaged_;
  std::size_t damaged_ = 0;
  std::string firstRepeated_;
  std::size_t repeated_ = 0;
  std::string notes_;
};

// The bytes after a leading UTF-8 byte-order mark, which editors add; the
// mark is noted in `damage`.
std::string_view SkipByteOrderMark(std::string_view bytes, DamageReport& damage);

// Reads a data file's records of N lines one after another. A record its
// check finds unusable spoils what follows only until the next line that
// begins a whole, sound record: the reading goes on one line further, and
// the stretch is told once, at its first record.
template <std::size_t N>
class RecordReader {
 public:
  using Lines = std::array<std::string_view, N>;
  using Values = std::array<std::optional<std::int64_t>, N>;
  // `numbers`: the lines (bit i for line i) also read as numbers, into
  // Values(), as ParseWhole reads them.
  RecordReader(std::string_view bytes, std::uint32_t numbers, DamageReport& damage)
      : reader_(bytes), numbers_(numbers), damage_(damage) {}
  // The next sound record; false when the file ends or an empty line stops
  // the load. `check(lines, values)` gives nullptr for a sound record, or
  // what makes it unusable.
  template <class Check>
  [[nodiscard]] bool Next(Check&& check) {
    for (;;) {
      const LineReader atRecord = reader_;
      if (!ReadRecord(reader_, lines_, numbers_, values_, controls_, nextLine_,
                      inDamage_ ? withinDamage_ : damage_)) {
        return false;
      }
      if (const char* what = check(lines_, values_)) {
        if (!inDamage_) damage_.Damaged(nextLine_, what);
        inDamage_ = true;
        reader_ = atRecord;
        std::string_view skipped;
        (void)reader_.Next(skipped);  // ReadRecord read it, so it is there
        ++nextLine_;
        continue;
      }
      afterDamage_ = inDamage_;
      inDamage_ = false;
      line_ = nextLine_;
      nextLine_ += N;
      return true;
    }
  }
  const Lines& RecordLines() const { return lines_; }
  // The lines of the record being read that are not numbers and hold a
  // control byte (bit i for line i): for the check, which is given no more.
  std::uint32_t ControlLines() const { return controls_; }
  // The first line (from 1) of the record Next gave, and whether a damaged
  // stretch came just before it.
  std::size_t Line() const { return line_; }
  bool AfterDamage() const { return afterDamage_; }

 private:
  LineReader reader_;
  std::uint32_t numbers_;
  DamageReport& damage_;
  DamageReport withinDamage_;  // the end of a damaged stretch is told already
  Lines lines_;
  Values values_;
  std::uint32_t controls_ = 0;
  std::size_t nextLine_ = 1, line_ = 0;
  bool inDamage_ = false, afterDamage_ = false;
};

// A whole number as the data files write it: an optional sign and 1 to 18
// digits, nothing else; nothing for any other line. Inline: the loaders read
// several numbers of every record.
inline std::optional<std::int64_t> ParseWhole(std::string_view line) {
  const bool negative = !line.empty() && line[0] == '-';
  if (!line.empty() && (line[0] == '-' || line[0] == '+')) line.remove_prefix(1);
  if (line.empty() || line.size() > 18) return std::nullopt;
  std::int64_t value = 0;
  for (const char c : line) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return negative ? -value : value;
}
// A real number: a whole number, optionally followed by a point and digits.
std::optional<float> ParseReal(std::string_view line);
inline bool HasControlBytes(std::string_view line, bool tabs) {
  if (tabs) {
    for (const char c : line) {
      if (static_cast<unsigned char>(c) < 0x20 && c != '\t') return true;
    }
    return false;
  }
  return !EveryWord(line, [](std::uint64_t word) { return BytesBelow(word, 0x20) == 0; });
}

// The count of a header line "word N" ("places 12"): N, 1 to 9 digits and
// at most `most`; nothing for any other line.
std::optional<std::int64_t> CountLine(std::string_view line, std::string_view word,
                                      std::int64_t most);

// Cuts the next LF-ended line off `rest` (without its LF); false when there
// is none, so a last line without its LF is never read as whole.
bool NextLfLine(std::string_view& rest, std::string_view& line);

// "places 12" gives 12: the line is `word`, a blank and 1 to 9 digits;
// nothing for any other line.
std::optional<std::size_t> ParseCountLine(std::string_view line, std::string_view word);

// Raises (+1) or lowers (-1) every byte, modulo 256.
std::string ShiftText(std::string_view text, int direction);

}  // namespace tq
