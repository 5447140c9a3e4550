#include "data/CitySet.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <numeric>
#include <string_view>

#include "base/HugePages.h"
#include "base/KeyedSort.h"
#include "base/Sha256.h"
#include "base/Text.h"
#include "data/DataFile.h"
#include "data/Manifest.h"
#include "names/StateNames.h"

namespace tq {
namespace {

// A code of two letters, or the name of a country or of the non-geographic
// codes.
bool PossibleStateLength(std::size_t length) {
  return length == 2 || (length >= 4 && length <= 40);
}

// Whether a line is the three bytes of `text`, compared byte by byte (a call
// to compare costs more than these lines).
bool IsThree(std::string_view line, const char (&text)[4]) {
  return line.size() == 3 && line[0] == text[0] && line[1] == text[1] && line[2] == text[2];
}

// "abc" (USA), "abo" (Canada), "abe" (non-geographic), or a country's name
// between two marker characters; compared as stored, every byte raised by one.
bool PossibleCountry(std::string_view stored) {
  return IsThree(stored, "bcd") || IsThree(stored, "bcp") || IsThree(stored, "bcf") ||
         (stored.size() >= 3 && stored.front() == stored.back());
}

// Names are stored with their first two characters moved to the end, every
// byte raised by one. Usual names are decoded on the stack and the column's
// string made from them at once.
void AddCityName(std::string_view line, std::vector<std::string>& names) {
  const std::size_t moved = line.size() >= 2 ? 2 : 0;
  const auto lower = [](char c) { return static_cast<char>(static_cast<unsigned char>(c) - 1); };
  const auto decode = [&](char* out) {
    std::transform(line.end() - moved, line.end(), out, lower);
    std::transform(line.begin(), line.end() - moved, out + moved, lower);
  };
  if (std::array<char, 64> buffer; line.size() <= buffer.size()) {
    decode(buffer.data());
    names.emplace_back(buffer.data(), line.size());
  } else {
    decode(names.emplace_back(line.size(), '\0').data());
  }
}

// "2AC" stands for "CA"; "abc" for a non-geographic code.
void AddState(std::string_view line, std::vector<std::string>& states) {
  if (line.size() == 3 && line[0] == '3') {
    const char code[2] = {static_cast<char>(line[2] - 1), static_cast<char>(line[1] - 1)};
    states.emplace_back(code, 2);
  } else if (IsThree(line, "bcd")) {
    states.emplace_back("Non-geographic area code");
  } else {
    states.push_back(ShiftText(line, -1));
  }
}

// The time zone line, `whole` when it was read as a whole number (most are
// whole hours); false for a line that is not a number.
bool ParseTimeZone(std::string_view line, const std::optional<std::int64_t>& whole,
                   float& hours) {
  if (whole) {
    hours = *whole == 0 && line[0] == '-' ? -0.0f : static_cast<float>(*whole);
    return true;
  }
  const std::optional<float> real = ParseReal(line);
  hours = real.value_or(0);
  return real.has_value();
}

// What makes the eight lines an unusable record, given that they are: a
// control byte anywhere comes first, then `found`.
const char* Unusable(const std::array<std::string_view, 8>& lines, const char* found) {
  for (const std::string_view line : lines) {
    if (HasControlBytes(line)) return "a control byte in a line";
  }
  return found;
}

// The numbers of a sound record.
struct CityNumbers {
  std::uint32_t cityId;
  std::uint32_t population;
  std::uint8_t daylight;
  float timeZone;
};

// The length of the state text that a stored state line decodes to.
std::size_t DecodedStateLength(std::string_view line) {
  if (line.size() == 3 && line[0] == '3') return 2;
  return IsThree(line, "bcd") ? std::string_view("Non-geographic area code").size() : line.size();
}

// The lines of a record read as whole numbers as well: the city id, the
// population, the two flags and the time zone.
constexpr std::uint32_t kCityNumberLines = 0b11110001;
using CityValues = RecordReader<8>::Values;

// Checks the eight lines, with the values of its number lines, and reads
// their numbers into `city`; nullptr, or the first thing that makes the
// record unusable. Number lines are read only as signs and digits, so a
// control byte in one fails its reading; text lines are checked for them.
const char* CheckCity(const std::array<std::string_view, 8>& lines, const CityValues& values,
                      CityNumbers& city) {
  const std::optional<std::int64_t>& stored = values[0];
  // One division: a multiple of 7 is 7 times its quotient.
  const std::int64_t id = stored ? (*stored + 1) / 7 : 0;
  if (!stored || id * 7 != *stored + 1 || *stored > INT32_MAX) {
    return Unusable(lines, "a city id line that is not 7 times an id less 1");
  }
  if (id < 0) return Unusable(lines, "a negative city id");
  if (!PossibleCountry(lines[3])) return Unusable(lines, "a country line of no known form");
  const std::optional<std::int64_t>& population = values[4];
  const std::optional<std::int64_t>& daylight = values[5];
  float timeZone = 0;
  if (!population || !daylight || lines[6].size() != 1 || lines[6][0] != '0' ||
      !ParseTimeZone(lines[7], values[7], timeZone)) {
    return Unusable(lines, "a number line that is not a number");
  }
  if (HasControlBytes(lines[1]) || HasControlBytes(lines[2]) || HasControlBytes(lines[3])) {
    return "a control byte in a line";
  }
  if (*population - id < 0 || *population - id > INT32_MAX) {
    return "a negative or impossibly large population";
  }
  if (!(timeZone >= -12 && timeZone <= 24)) return "a time zone outside -12 to +24 hours";
  if (!PossibleStateLength(DecodedStateLength(lines[2]))) return "a state text of impossible length";
  city = {static_cast<std::uint32_t>(id), static_cast<std::uint32_t>(*population - id),
          static_cast<std::uint8_t>(*daylight & 0xFF), timeZone};
  return nullptr;
}

// The first eight bytes of a name, lowered, as one number: names whose
// numbers differ are in the order of their numbers (a shorter name is filled
// with zero bytes, which no byte sorts below), so most comparisons of a sort
// never read the names; equal numbers leave it to the names. Names of ASCII
// bytes alone, most of them, are lowered eight bytes at a time.
std::uint64_t OrderKey(std::string_view name) {
  std::array<unsigned char, 8> bytes{};
  if (!name.empty()) std::memcpy(bytes.data(), name.data(), std::min<std::size_t>(name.size(), 8));
  std::uint64_t word;
  std::memcpy(&word, bytes.data(), 8);
  constexpr std::uint64_t kOnes = 0x0101010101010101u, kHigh = 0x8080808080808080u;
  if constexpr (std::endian::native == std::endian::little) {
    if ((word & kHigh) == 0) {
      // Below 0x80 no byte carries into the next: a byte gains its top bit
      // from 'A' on, and from past 'Z' on; 'A' to 'Z' gain 0x20.
      const std::uint64_t fromA = word + (0x80 - 'A') * kOnes;
      const std::uint64_t pastZ = word + (0x80 - 'Z' - 1) * kOnes;
      return __builtin_bswap64(word | (fromA & ~pastZ & kHigh) >> 2);
    }
  }
  std::uint64_t key = 0;
  for (const unsigned char byte : bytes) key = key << 8 | kLower1252[byte];
  return key;
}

// The length of the common beginning of two names, case aside. Names of one
// place share long beginnings, so equal bytes are compared eight at a time.
std::size_t CommonNoCase(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  std::size_t i = 0;
  while (i < n) {
    if (i + 8 <= n) {
      std::uint64_t x, y;
      std::memcpy(&x, a.data() + i, 8);
      std::memcpy(&y, b.data() + i, 8);
      if (x == y) {
        i += 8;
        continue;
      }
      if constexpr (std::endian::native == std::endian::little) i += std::countr_zero(x ^ y) / 8;
    }
    if (a[i] != b[i] && kLower1252[static_cast<unsigned char>(a[i])] !=
                            kLower1252[static_cast<unsigned char>(b[i])]) {
      break;
    }
    ++i;
  }
  return i;
}

// Whether `b` sorts before `a` without regard to case, given the length of
// their common beginning: as CompareNoCase(b, a) < 0.
bool SortsBefore(std::string_view a, std::string_view b, std::size_t common) {
  if (common < a.size() && common < b.size()) {
    return kLower1252[static_cast<unsigned char>(b[common])] <
           kLower1252[static_cast<unsigned char>(a[common])];
  }
  return b.size() < a.size();
}

// Sorts [first, last) by moving each element back into place, as long as
// no more than `moves` moves are needed: false, the range left in some
// order, when more would be.
template <class Iterator, class Before>
bool InsertionSort(Iterator first, Iterator last, const Before& before, std::size_t moves) {
  for (Iterator at = first; at != last; ++at) {
    if (at == first || !before(*at, *(at - 1))) continue;
    auto value = std::move(*at);
    Iterator to = at;
    for (; to != first && before(value, *(to - 1)); --to) {
      if (moves-- == 0) {
        *to = std::move(value);
        return false;
      }
      *to = std::move(*(to - 1));
    }
    *to = std::move(value);
  }
  return true;
}

// The rows in the order of their names without regard to case, equal names
// by row, and for each position the length of the beginning its name shares
// with the name before it (case aside; 0 at the first) and the size of its
// name. Files come sorted by
// name, or nearly so (a few names that the case of a letter puts elsewhere):
// one comparison with its neighbour orders each name and measures what they
// share, and moving the few others a short way into place costs little
// more. Anything less ordered is sorted by keys made of the names.
void SortRowsByName(std::vector<std::uint32_t>& rows, const std::vector<std::string>& names,
                    std::vector<std::uint32_t>& common, std::vector<std::uint32_t>& sizes) {
  const auto less = [&](std::uint32_t a, std::uint32_t b) {
    return CompareNoCase(names[a], names[b]) < 0;
  };
  const auto measure = [&](std::size_t position) {
    common[position] = static_cast<std::uint32_t>(
        CommonNoCase(names[rows[position - 1]], names[rows[position]]));
  };
  common.clear();
  ResizeLarge(common, rows.size(), 0u);
  std::size_t moves = 0;
  bool placed = true;
  for (std::size_t i = 1; i < rows.size() && placed; ++i) {
    const std::uint32_t row = rows[i];
    measure(i);
    if (!SortsBefore(names[rows[i - 1]], names[row], common[i])) continue;
    std::size_t j = i;
    for (; j > 0 && less(row, rows[j - 1]); --j) {
      if (++moves > rows.size() / 2 || i - j > 1024) {
        placed = false;
        break;
      }
      rows[j] = rows[j - 1];
    }
    rows[j] = row;
    // The names from j to i have new neighbours; the one after i is measured next.
    for (std::size_t k = std::max<std::size_t>(j, 1); k <= i; ++k) measure(k);
  }
  ResizeLarge(sizes, rows.size());
  if (placed) {
    for (std::size_t k = 0; k < rows.size(); ++k) {
      sizes[k] = static_cast<std::uint32_t>(names[rows[k]].size());
    }
    return;
  }

  // Sorted by their first sixteen bytes, lowered, as two numbers made in row
  // order: most comparisons, and most common beginnings, never read the
  // names, which lie all over memory.
  struct Keyed {
    std::uint64_t head, tail;
    std::uint32_t row, size;
  };
  std::vector<Keyed> keyed(rows.size());
  for (std::uint32_t r = 0; r < keyed.size(); ++r) {
    const std::string_view name = names[r];
    keyed[r] = {OrderKey(name), OrderKey(name.size() > 8 ? name.substr(8) : std::string_view()),
                r, static_cast<std::uint32_t>(name.size())};
  }
  // Equal keys are equal names unless the names differ in size or go on.
  const auto reads = [](const Keyed& x, const Keyed& y) { return x.size != y.size || x.size > 16; };
  const auto before = [&](const Keyed& x, const Keyed& y) {
    if (x.head != y.head) return x.head < y.head;
    if (x.tail != y.tail) return x.tail < y.tail;
    const int order = reads(x, y) ? CompareNoCase(names[x.row], names[y.row]) : 0;
    return order != 0 ? order < 0 : x.row < y.row;
  };
  // A file joined from a few files, each sorted or nearly so, is sorted part
  // by part, and the parts merged two at a time: a part ends where a name
  // sorts before the one a thousand names back (or the part's first), and
  // the few names out of place in a part are moved into place (unless they
  // are many).
  std::vector<std::size_t> parts = {0};
  for (std::size_t k = 1; k < keyed.size() && parts.size() <= 64; ++k) {
    const std::size_t back = std::max(parts.back(), k > 1024 ? k - 1024 : 0);
    if (before(keyed[k], keyed[k - 1]) && before(keyed[k], keyed[back])) {
      parts.push_back(k);
    }
  }
  if (parts.size() <= 64) {
    parts.push_back(keyed.size());
    for (std::size_t p = 1; p < parts.size(); ++p) {
      const auto first = keyed.begin() + static_cast<std::ptrdiff_t>(parts[p - 1]);
      const auto last = keyed.begin() + static_cast<std::ptrdiff_t>(parts[p]);
      if (!InsertionSort(first, last, before, parts[p] - parts[p - 1])) {
        std::sort(first, last, before);
      }
    }
    while (parts.size() > 2) {
      std::vector<std::size_t> merged = {0};
      for (std::size_t p = 2; p < parts.size(); p += 2) {
        std::inplace_merge(keyed.begin() + static_cast<std::ptrdiff_t>(parts[p - 2]),
                           keyed.begin() + static_cast<std::ptrdiff_t>(parts[p - 1]),
                           keyed.begin() + static_cast<std::ptrdiff_t>(parts[p]), before);
        merged.push_back(parts[p]);
      }
      if (parts.size() % 2 == 0) merged.push_back(parts.back());
      parts = std::move(merged);
    }
  } else {
    std::sort(keyed.begin(), keyed.end(), before);
  }
  for (std::size_t k = 0; k < keyed.size(); ++k) {
    rows[k] = keyed[k].row;
    sizes[k] = keyed[k].size;
    if (k == 0) continue;
    const Keyed &x = keyed[k - 1], &y = keyed[k];
    if (x.head != y.head) {
      common[k] = static_cast<std::uint32_t>(std::countl_zero(x.head ^ y.head) / 8);
    } else if (x.tail != y.tail) {
      common[k] = static_cast<std::uint32_t>(8 + std::countl_zero(x.tail ^ y.tail) / 8);
    } else {
      common[k] = reads(x, y) ? static_cast<std::uint32_t>(CommonNoCase(names[x.row], names[y.row]))
                              : x.size;
    }
  }
}

}  // namespace

CCitySet::CCitySet(std::filesystem::path folder) : folder_(std::move(folder)) {}

bool CCitySet::Load() {
  const std::optional<std::string> file = ReadDataFileOf(folder_, kFileName, outcome_);
  if (!file) return false;
  const std::string& bytes = *file;
  fileSize_ = bytes.size();
  fileSha256_ = Sha256Hex(bytes);
  // Columns held by answers of an earlier load stay as they are.
  columns_ = std::make_shared<CityColumns>();
  CityColumns& columns = *columns_;
  DamageReport damage;
  bool complete = true;
  try {
    // A record takes at least 16 bytes (eight lines of one character), so
    // this never reallocates; pages of the spare room are never touched.
    const std::size_t most = bytes.size() / 16;
    columns.ForEachColumn([most](auto& column) { ReserveLarge(column, most); });
    RecordReader<8> records(SkipByteOrderMark(bytes, damage), kCityNumberLines, damage);
    std::vector<bool> seen;  // by city id
    CityNumbers city{};
    const auto check = [&city](const auto& lines, const auto& values) {
      return CheckCity(lines, values, city);
    };
    while (records.Next(check)) {
      const auto& lines = records.RecordLines();
      if (city.cityId >= seen.size()) seen.resize(std::max<std::size_t>(city.cityId + 1, seen.size() * 2));
      if (seen[city.cityId]) {
        damage.Repeated(records.Line(), "city id");
        continue;
      }
      seen[city.cityId] = true;
      // The texts are decoded in place, into the columns.
      columns.aCityIds.push_back(city.cityId);
      AddCityName(lines[1], columns.aCityNames);
      AddState(lines[2], columns.aStates);
      columns.aPopulations.push_back(city.population);
      columns.aDaylightFlags.push_back(city.daylight);
      columns.aTimeZones.push_back(city.timeZone);
    }
  } catch (const std::exception&) {  // out of memory: keep whole records only
    complete = false;
  }
  try {
    std::size_t rows = SIZE_MAX;
    columns.ForEachColumn([&rows](const auto& column) { rows = std::min(rows, column.size()); });
    columns.ForEachColumn([rows](auto& column) { column.resize(rows); });
    BuildIndexes();
    outcome_ = complete ? DescribeLoad(FileProblem::kDamaged, kFileName, folder_,
                                       DamageWithManifest(folder_, kFileName, bytes, rows,
                                                          damage.Text(rows), fileSha256_))
                        : DescribeLoad(FileProblem::kUnreadable, kFileName, folder_,
                                       "there is not enough memory to read it");
  } catch (const std::exception&) {
    namePosition_.clear();
    nameFirst_.clear();
    nameAfter_.clear();
    columns.ForEachColumn([](auto& column) { column.clear(); });
    outcome_ = DescribeLoad(FileProblem::kUnreadable, kFileName, folder_,
                            "there is not enough memory to read it");
    return false;
  }
  return complete;
}

void CCitySet::BuildIndexes() {
  const CityColumns& columns = *columns_;
  byCityId_.Build(columns.aCityIds);
  // Names are ordered as the filters compare them, without regard to case.
  ResizeLarge(byName_, columns.aCityNames.size());
  std::iota(byName_.begin(), byName_.end(), 0u);
  std::vector<std::uint32_t> common, sizes;
  SortRowsByName(byName_, columns.aCityNames, common, sizes);
  // The names that begin with a name follow it in this order. The names
  // still open (each beginning the next, the last one the previous name)
  // stay open while the common beginning of a name and the previous one is
  // at least as long as they are, so one comparison per name finds where
  // each range ends.
  const std::size_t count = byName_.size();
  ResizeLarge(namePosition_, count);
  ResizeLarge(nameFirst_, count);
  ResizeLarge(nameAfter_, count);
  struct Open {
    std::uint32_t position;
    std::size_t size;
  };
  std::vector<Open> open;
  for (std::uint32_t pos = 0; pos < count; ++pos) {
    namePosition_[byName_[pos]] = pos;
    const bool same = pos > 0 && common[pos] == sizes[pos] && common[pos] == sizes[pos - 1];
    while (!open.empty() && open.back().size > common[pos]) {
      nameAfter_[open.back().position] = pos;
      open.pop_back();
    }
    nameFirst_[pos] = same ? nameFirst_[pos - 1] : pos;
    open.push_back({pos, sizes[pos]});
  }
  for (const Open& still : open) nameAfter_[still.position] = static_cast<std::uint32_t>(count);
  // The major places by state, each state's in row order: sorted by the
  // first eight bytes of the state as one number (shorter texts filled with
  // zero bytes, which no state holds) in stable passes of one byte, so rows
  // of a state stay in order; where keys agree and a state is longer, by the
  // whole text.
  std::vector<KeyedRow> majors;
  for (std::uint32_t row = 0; row < columns.aStates.size(); ++row) {
    if (!IsMajorCity(columns.aPopulations[row])) continue;
    const std::string& state = columns.aStates[row];
    std::array<unsigned char, 8> bytes{};
    std::memcpy(bytes.data(), state.data(), std::min<std::size_t>(state.size(), 8));
    std::uint64_t key = 0;
    for (const unsigned char byte : bytes) key = key << 8 | byte;
    majors.push_back({key, row});
  }
  SortByKey(majors);
  for (auto run = majors.begin(); run != majors.end();) {
    const auto end = std::find_if(run, majors.end(), [&](const KeyedRow& k) { return k.key != run->key; });
    if (columns.aStates[run->row].size() >= 8) {
      std::stable_sort(run, end, [&](const KeyedRow& a, const KeyedRow& b) {
        return columns.aStates[a.row] < columns.aStates[b.row];
      });
    }
    run = end;
  }
  majorByState_.resize(majors.size());
  for (std::size_t i = 0; i < majors.size(); ++i) majorByState_[i] = majors[i].row;
}

bool CCitySet::IsLoaded() const {
  return !columns_->aCityIds.empty() || !columns_->aCityNames.empty();
}

void CCitySet::SelectRows(std::vector<std::uint32_t>& rows) const {
  using Form = CityQuery::Form;
  const CityQuery query = ParseCityFilter(strFilter);
  switch (query.form) {
    case Form::kEverything:
      rows.resize(columns_->aCityIds.size());
      std::iota(rows.begin(), rows.end(), 0u);
      break;
    case Form::kCityId: {
      const auto found = byCityId_.Find(query.cityId);
      rows.assign(found.begin(), found.end());
      break;
    }
    case Form::kCityAndState:
      SelectNames(query, false, rows);
      std::erase_if(rows, [&](std::uint32_t row) {
        return CompareNoCase(CurrentStateCode(columns_->aStates[row]), query.state) != 0;
      });
      break;
    case Form::kCity:
      SelectNames(query, false, rows);
      break;
    case Form::kCityPrefix:
      SelectNames(query, true, rows);
      break;
    case Form::kStatePrefix: {
      const auto byState = [&](std::uint32_t row, std::string_view value) {
        return std::string_view(columns_->aStates[row]) < value;
      };
      // Newfoundland's places may be stored under its old code NF as well.
      // The states that begin with a code follow each other: their end is
      // found by halving, not by reading the state of every row.
      const auto addStartingWith = [&](std::string_view code) {
        const auto first = std::lower_bound(majorByState_.begin(), majorByState_.end(), code, byState);
        const auto last = std::partition_point(first, majorByState_.end(), [&](std::uint32_t row) {
          return std::string_view(columns_->aStates[row]).starts_with(code);
        });
        rows.insert(rows.end(), first, last);
      };
      addStartingWith(query.state);
      if (const std::string_view old = OldStateCode(query.state); !old.empty()) {
        addStartingWith(old);
      }
      // One state's rows are in order already.
      if (!std::is_sorted(rows.begin(), rows.end())) std::sort(rows.begin(), rows.end());
      break;
    }
    case Form::kNothing:
      break;
  }
}

// Rows whose name equals (or begins with) the city or its accented copy,
// case aside, in row order. Names that begin with a text form one run of the
// name order.
void CCitySet::SelectNames(const CityQuery& query, bool prefix,
                           std::vector<std::uint32_t>& rows) const {
  const auto collect = [&](const std::string& value) {
    const auto byName = [&](std::uint32_t row, const std::string& v) {
      return CompareNoCase(columns_->aCityNames[row], v) < 0;
    };
    auto it = std::lower_bound(byName_.begin(), byName_.end(), value, byName);
    for (; it != byName_.end(); ++it) {
      const std::string& name = columns_->aCityNames[*it];
      if (prefix ? !StartsWithNoCase(name, value) : CompareNoCase(name, value) != 0) break;
      rows.push_back(*it);
    }
  };
  collect(query.city);
  if (query.accentedCity != query.city) collect(query.accentedCity);
  if (!prefix) {
    for (const std::string& other : query.otherSpellings) collect(other);
  }
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
}

std::vector<std::uint32_t> CCitySet::RowsNamed(std::string_view name) const {
  auto it = std::lower_bound(byName_.begin(), byName_.end(), name, [&](std::uint32_t row, std::string_view n) {
    return CompareNoCase(columns_->aCityNames[row], n) < 0;
  });
  std::vector<std::uint32_t> rows;
  for (; it != byName_.end() && CompareNoCase(columns_->aCityNames[*it], name) == 0; ++it) rows.push_back(*it);
  std::sort(rows.begin(), rows.end());
  return rows;
}

void CCitySet::SetCurrent(std::uint32_t row) {
  iCityId = static_cast<std::int32_t>(columns_->aCityIds[row]);
  strCity = columns_->aCityNames[row];
  strStateOrProvince = columns_->aStates[row];
  iPopulation = static_cast<std::int32_t>(columns_->aPopulations[row]);
  bDaylightSaving = columns_->aDaylightFlags[row];
  fTimeZone = columns_->aTimeZones[row];
}

}  // namespace tq
