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
void AddCityName(std::string_view line, TextColumn& names) {
  const std::size_t moved = line.size() >= 2 ? 2 : 0;
  const auto lower = [](char c) { return static_cast<char>(static_cast<unsigned char>(c) - 1); };
  char* const out = names.Append(line.size());
  std::transform(line.end() - moved, line.end(), out, lower);
  std::transform(line.begin(), line.end() - moved, out + moved, lower);
}

// "2AC" stands for "CA"; "abc" for a non-geographic code.
void AddState(std::string_view line, TextColumn& states) {
  if (line.size() == 3 && line[0] == '3') {
    const char code[2] = {static_cast<char>(line[2] - 1), static_cast<char>(line[1] - 1)};
    states.push_back(std::string_view(code, 2));
  } else if (IsThree(line, "bcd")) {
    states.push_back("Non-geographic area code");
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

// Checks the eight lines, with the values of its number lines and the text
// lines that hold a control byte (`controls`, bit i for line i), and reads
// their numbers into `city`; nullptr, or the first thing that makes the
// record unusable. Number lines are read only as signs and digits, so a
// control byte in one fails its reading.
const char* CheckCity(const std::array<std::string_view, 8>& lines, const CityValues& values,
                      std::uint32_t controls, CityNumbers& city) {
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
  if (controls & 0b1110) return "a control byte in a line";
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
// `readable` bytes from the name's first may be read: where they are eight,
// the name is read as one word and what lies past its end dropped.
std::uint64_t OrderKey(std::string_view name, std::size_t readable) {
  std::array<unsigned char, 8> bytes{};
  std::uint64_t word;
  if (readable >= 8 && std::endian::native == std::endian::little) {
    std::memcpy(&word, name.data(), 8);
    if (name.size() < 8) word &= (std::uint64_t{1} << (8 * name.size())) - 1;
    std::memcpy(bytes.data(), &word, 8);
  } else {
    if (!name.empty()) std::memcpy(bytes.data(), name.data(), std::min<std::size_t>(name.size(), 8));
    std::memcpy(&word, bytes.data(), 8);
  }
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

// The rows in the order of their names without regard to case, equal names
// by row, and for each position the length of the beginning its name shares
// with the name before it (case aside; 0 at the first) and the size of its
// name. Files come sorted by
// name, or nearly so (a few names that the case of a letter puts elsewhere):
// one comparison with its neighbour orders each name and measures what they
// share, and moving the few others a short way into place costs little
// more. Anything less ordered is sorted by keys made of the names.
void SortRowsByName(std::vector<std::uint32_t>& rows, const TextColumn& names,
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

  // Sorted by their first 24 bytes, lowered, as three numbers made in row
  // order: most comparisons, and most common beginnings, never read the
  // names again (names of one place in several files share long beginnings:
  // "Saint-Jean-sur-Richelieu", "Saint-Jean-sur-Richelieu 2").
  struct Keyed {
    std::uint64_t head, mid, tail;
    std::uint32_t row, size;
  };
  std::vector<Keyed> keyed;
  ReserveLarge(keyed, rows.size());
  const char* const end = names.Block().data() + names.Block().size();
  for (std::uint32_t r = 0; r < rows.size(); ++r) {
    const std::string_view name = names[r];
    const std::size_t readable = static_cast<std::size_t>(end - name.data());
    const auto from = [&](std::size_t at) {
      return name.size() > at ? OrderKey(name.substr(at), readable - at) : 0;
    };
    keyed.push_back({from(0), from(8), from(16), r, static_cast<std::uint32_t>(name.size())});
  }
  // Equal keys are equal names unless the names differ in size or go on.
  const auto reads = [](const Keyed& x, const Keyed& y) { return x.size != y.size || x.size > 24; };
  const auto sameKeys = [](const Keyed& x, const Keyed& y) {
    return x.head == y.head && x.mid == y.mid && x.tail == y.tail;
  };
  // Keys that differ decide without a branch to mispredict.
  const auto keysBefore = [](const Keyed& x, const Keyed& y) -> bool {
    return (x.head < y.head) | ((x.head == y.head) & (x.mid < y.mid)) |
           ((x.head == y.head) & (x.mid == y.mid) & (x.tail < y.tail));
  };
  const auto before = [&](const Keyed& x, const Keyed& y) {
    if (!sameKeys(x, y)) return keysBefore(x, y);
    const int order = reads(x, y) ? CompareNoCase(names[x.row], names[y.row]) : 0;
    return order != 0 ? order < 0 : x.row < y.row;
  };
  // The names of two neighbours in order share what their keys share, or
  // (keys equal) what the names share.
  const auto emit = [&](std::size_t k, const Keyed& y, const Keyed* x) {
    rows[k] = y.row;
    sizes[k] = y.size;
    if (!x) return;
    if (x->head != y.head) {
      common[k] = static_cast<std::uint32_t>(std::countl_zero(x->head ^ y.head) / 8);
    } else if (x->mid != y.mid) {
      common[k] = static_cast<std::uint32_t>(8 + std::countl_zero(x->mid ^ y.mid) / 8);
    } else if (x->tail != y.tail) {
      common[k] = static_cast<std::uint32_t>(16 + std::countl_zero(x->tail ^ y.tail) / 8);
    } else {
      common[k] = reads(*x, y) ? static_cast<std::uint32_t>(CommonNoCase(names[x->row], names[y.row]))
                               : x->size;
    }
  };
  // A file joined from a few files, each sorted or nearly so, is sorted part
  // by part in one pass: a part ends where a name sorts before the one a
  // thousand names back (or the part's first), and the few names out of
  // place in a part are moved back into place. The parts are then merged at
  // once, their first names played off in a tree, so each name is moved
  // once more. More than 64 parts, or more moves than names, and the names
  // are sorted as they come.
  std::vector<std::size_t> parts = {0};
  bool few = true;
  for (std::size_t k = 1, moves = 0; k < keyed.size() && few; ++k) {
    if (!before(keyed[k], keyed[k - 1])) continue;
    const std::size_t back = std::max(parts.back(), k > 1024 ? k - 1024 : 0);
    if (before(keyed[k], keyed[back])) {
      parts.push_back(k);
      few = parts.size() <= 64;
      continue;
    }
    const Keyed moved = keyed[k];
    std::size_t to = k;
    for (; to > parts.back() && before(moved, keyed[to - 1]); --to) keyed[to] = keyed[to - 1];
    keyed[to] = moved;
    moves += k - to;
    few = moves <= keyed.size();
  }
  if (!few) {
    std::sort(keyed.begin(), keyed.end(), before);
    for (std::size_t k = 0; k < keyed.size(); ++k) emit(k, keyed[k], k ? &keyed[k - 1] : nullptr);
    return;
  }
  parts.push_back(keyed.size());
  const std::size_t count = parts.size() - 1;
  // next[p] is where part p goes on, stop[p] where it ends; the parts past
  // the last, up to a power of two, are empty.
  const std::size_t leaves = std::bit_ceil(count);
  std::vector<std::size_t> next(leaves, 0), stop(leaves, 0);
  // The next name of each part; a part that has ended holds keys above all.
  std::vector<Keyed> heads(leaves, Keyed{~std::uint64_t{0}, ~std::uint64_t{0}, ~std::uint64_t{0}, 0, 0});
  for (std::size_t p = 0; p < count; ++p) {
    next[p] = parts[p];
    stop[p] = parts[p + 1];
    if (next[p] != stop[p]) heads[p] = keyed[next[p]];
  }
  // Which of parts a and b goes first.
  const auto first = [&](std::uint32_t a, std::uint32_t b) {
    const Keyed &x = heads[a], &y = heads[b];
    if (sameKeys(x, y)) [[unlikely]] {
      if (next[a] == stop[a]) return b;
      if (next[b] == stop[b]) return a;
      return before(y, x) ? b : a;
    }
    return keysBefore(y, x) ? b : a;
  };
  // A tree of the parts' matches: each node keeps the part that lost there,
  // so a new name of the part that went out plays its way up against the
  // losers on its path alone.
  std::vector<std::uint32_t> loser(leaves);
  {
    std::vector<std::uint32_t> winner(2 * leaves);
    for (std::size_t p = 0; p < leaves; ++p) winner[leaves + p] = static_cast<std::uint32_t>(p);
    for (std::size_t node = leaves - 1; node >= 1; --node) {
      const std::uint32_t a = winner[2 * node], b = winner[2 * node + 1];
      winner[node] = first(a, b);
      loser[node] = winner[node] == a ? b : a;
    }
    loser[0] = winner[1];
  }
  Keyed last{};
  for (std::size_t k = 0; k < keyed.size(); ++k) {
    std::uint32_t p = loser[0];
    const Keyed y = heads[p];
    emit(k, y, k ? &last : nullptr);
    last = y;
    if (++next[p] != stop[p]) {
      heads[p] = keyed[next[p]];
    } else {
      heads[p].head = heads[p].mid = heads[p].tail = ~std::uint64_t{0};
    }
    for (std::size_t node = (leaves + p) / 2; node >= 1; node /= 2) {
      const std::uint32_t other = loser[node];
      const std::uint32_t won = first(p, other);
      loser[node] = won == p ? other : p;
      p = won;
    }
    loser[0] = p;
  }
}

}  // namespace

CCitySet::CCitySet(std::filesystem::path folder) : folder_(std::move(folder)) {}

bool CCitySet::Load() {
  const std::optional<std::string> file = ReadDataFileOf(folder_, kFileName, outcome_);
  if (!file) return false;
  const std::string& bytes = *file;
  fileSize_ = bytes.size();
  // Columns held by answers of an earlier load stay as they are.
  columns_ = std::make_shared<CityColumns>();
  CityColumns& columns = *columns_;
  DamageReport damage;
  bool complete = true;
  try {
    // A record takes at least 16 bytes (eight lines of one character), so
    // this never reallocates; pages of the spare room are never touched.
    const std::size_t most = bytes.size() / 16;
    columns.ForEachColumn([&](auto& column) {
      if constexpr (std::is_same_v<std::decay_t<decltype(column)>, TextColumn>) {
        column.Reserve(most, bytes.size());
      } else {
        ReserveLarge(column, most);
      }
    });
    RecordReader<8> records(SkipByteOrderMark(bytes, damage), kCityNumberLines, damage);
    std::vector<bool> seen;  // by city id
    CityNumbers city{};
    const auto check = [&city, &records](const auto& lines, const auto& values) {
      return CheckCity(lines, values, records.ControlLines(), city);
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
    // A manifest beside the file takes the sum itself where it needs it.
    fileSha256_ = takeFileSum_ ? Sha256Hex(bytes) : std::string();
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
  // first two bytes of the state as one number (a shorter text filled with a
  // zero byte, which no state holds) in stable passes of one byte, so rows
  // of a state stay in order; where keys agree and a state is not of two
  // bytes, by the whole text. Nearly every state is a code of two letters.
  std::vector<KeyedRow> majors;
  for (std::uint32_t row = 0; row < columns.aStates.size(); ++row) {
    if (!IsMajorCity(columns.aPopulations[row])) continue;
    const std::string_view state = columns.aStates[row];
    const auto byte = [&](std::size_t at) {
      return at < state.size() ? static_cast<unsigned char>(state[at]) : 0u;
    };
    majors.push_back({std::uint64_t{byte(0)} << 8 | byte(1), row});
  }
  SortByKey(majors);
  for (auto run = majors.begin(); run != majors.end();) {
    bool plain = true;  // every state of the run is of two bytes
    const auto end = std::find_if(run, majors.end(), [&](const KeyedRow& k) {
      if (k.key != run->key) return true;
      plain = plain && columns.aStates[k.row].size() == 2;
      return false;
    });
    if (!plain) {
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
        return columns_->aStates[row] < value;
      };
      // Newfoundland's places may be stored under its old code NF as well.
      // The states that begin with a code follow each other: their end is
      // found by halving, not by reading the state of every row.
      const auto addStartingWith = [&](std::string_view code) {
        const auto first = std::lower_bound(majorByState_.begin(), majorByState_.end(), code, byState);
        const auto last = std::partition_point(first, majorByState_.end(), [&](std::uint32_t row) {
          return columns_->aStates[row].starts_with(code);
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
      const std::string_view name = columns_->aCityNames[*it];
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
