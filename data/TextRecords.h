#pragma once
// The versioned text files of one record a line (knd.bin, pln.bin): a
// format line, a count line, then the records, each ended by a line feed,
// keyed and in the order of their keys. Each loader judges its own lines;
// these read the file's frame around them and choose the records used.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "data/DataFile.h"

namespace tq {

// Reads the file `bytes`: its format line, exactly `format` ("TQKIND 1"),
// the count line "`counted` N" ("places 12"), then calls `record(line,
// number)` with each record's line and its number in the file (from 1). A
// last line without its line end is told as damage and not given; lines
// other than N in number are told as a note ("it holds 3 place lines where
// its header says 4", `item` naming one record). Gives N, or nothing with
// `why` telling which of the first two lines is wrong.
template <class Record>
std::optional<std::size_t> ReadRecordLines(std::string_view bytes, std::string_view format,
                                           std::string_view counted, std::string_view item,
                                           DamageReport& damage, std::string& why,
                                           Record&& record) {
  std::string_view rest = SkipByteOrderMark(bytes, damage);
  std::string_view line;
  if (!NextLfLine(rest, line) || line != format) {
    why = "it is not a file of the format " + std::string(format);
    return std::nullopt;
  }
  std::optional<std::size_t> declared;
  if (!NextLfLine(rest, line) || !(declared = ParseCountLine(line, counted))) {
    why = "its second line is not a count of " + std::string(counted);
    return std::nullopt;
  }
  std::size_t number = 2, lines = 0;
  while (!rest.empty()) {
    ++number;
    ++lines;
    if (!NextLfLine(rest, line)) {
      rest = {};
      damage.Damaged(number, "a last line without its line end");
      continue;
    }
    record(line, number);
  }
  if (lines != *declared) {
    damage.Note("it holds " + std::to_string(lines) + " " + std::string(item) +
                " lines where its header says " + std::to_string(*declared));
  }
  return declared;
}

// Chooses the records used of `count` read in file order, `keyOf(i)` giving
// the key of the i-th and `lineOf(i)` its line: each whose key lies strictly
// between its neighbours' and after the last one used, so that a changed
// key costs at most itself and a neighbour. Calls `use(i)` for those, and
// tells the others as a repeated `item` or "a `item` out of order".
template <class KeyOf, class LineOf, class Use>
void UseInKeyOrder(std::size_t count, KeyOf&& keyOf, LineOf&& lineOf, const char* item,
                   DamageReport& damage, Use&& use) {
  std::optional<std::decay_t<decltype(keyOf(0))>> last;
  for (std::size_t i = 0; i < count; ++i) {
    const auto key = keyOf(i);
    if (last && key == *last) {
      damage.Repeated(lineOf(i), item);
    } else if ((i > 0 && keyOf(i - 1) > key) || (i + 1 < count && key > keyOf(i + 1)) ||
               (last && key < *last)) {
      damage.Damaged(lineOf(i), std::string("a ") + item + " out of order");
    } else {
      last = key;
      use(i);
    }
  }
}

}  // namespace tq
