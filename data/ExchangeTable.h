#pragma once
// The place of each exchange (NPA-NXX), read from "exc.bin" (format TQEXC 1
// or 2, described in docs/data-format.md). Every record is checked once while the
// file loads; the sound ones are found by binary search. A file of another
// format leaves the table empty; damage is told, and what can be read is
// used.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/DataFile.h"

namespace tq {

struct ExchangePlace {
  std::string city;   // code page 1252
  std::string state;  // "OH", or a country name
  bool area = false;  // the city the area code is known by, for an exchange no source names
};

class ExchangeTable {
 public:
  static constexpr char kFileName[] = "exc.bin";

  // Reads the file of the folder (the current directory when empty) and
  // checks it against the folder's manifest when there is one. When nothing
  // can be read, the text ends in saying that numbers are answered without
  // their exchange.
  LoadOutcome Open(const std::filesystem::path& folder);
  // What the last Open came to (none before).
  const LoadOutcome& Outcome() const { return outcome_; }
  // Loads the bytes of a file; what is wrong with them ("" when nothing).
  // The table is empty when they are of another format or version.
  [[nodiscard]] std::string Load(std::string bytes);

  // The place of the exchange `exchange` (0..999) of `areaCode`; nothing when
  // the exchange is not listed (or its record is damaged).
  std::optional<ExchangePlace> Find(std::int32_t areaCode, std::int32_t exchange) const;
  bool IsEmpty() const { return records_.empty(); }
  std::size_t Count() const { return records_.size(); }

 private:
  struct PlaceLine {  // where a place's line lies in `bytes_`; `tab` 0 when unusable
    std::size_t at, tab, end;  // `end`: the end of the state
    bool area;
  };
  struct Record {
    std::uint32_t key;    // NPA-NXX as a number
    std::uint32_t place;  // from 1
  };
  LoadOutcome outcome_;
  std::string bytes_;
  std::vector<PlaceLine> places_;
  std::vector<Record> records_;  // strictly ascending keys
};

}  // namespace tq
