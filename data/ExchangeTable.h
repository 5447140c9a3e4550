#pragma once
// The place of each exchange (NPA-NXX), read from "exc.bin" (format TQEXC 1,
// described in docs/data-format.md). The records stay as the bytes read and
// are found by binary search; a file that is missing, refused or damaged
// leaves the table empty with a text that says why.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tq {

struct ExchangePlace {
  std::string city;   // code page 1252
  std::string state;  // "OH", or a country name
};

class ExchangeTable {
 public:
  static constexpr char kFileName[] = "exc.bin";

  // Reads the file of the folder (the current directory when empty); "" when
  // it was read, else what is wrong with it (see DescribeLoad).
  std::string Open(const std::filesystem::path& folder);
  // Reads the bytes of a file; false (and an empty table) when they are
  // damaged or of another format or version.
  bool Load(std::string bytes);

  // The place of the exchange `exchange` (0..999) of `areaCode`; nothing when
  // the exchange is not listed (or its record is damaged).
  std::optional<ExchangePlace> Find(std::int32_t areaCode, std::int32_t exchange) const;
  bool IsEmpty() const { return count_ == 0; }

 private:
  std::string bytes_;
  struct PlaceLine {  // where a place's line lies in `bytes_`
    std::size_t at, tab, end;
  };
  std::vector<PlaceLine> places_;
  std::size_t recordsAt_ = 0;
  std::size_t count_ = 0;
};

}  // namespace tq
