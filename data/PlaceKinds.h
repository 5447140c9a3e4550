#pragma once
// The kind of each place (a city, a town, a census-designated place ...) and
// the name people say for it, read from the optional "knd.bin" (format TQKIND
// 1, described in docs/data-format.md), and the two rules that use them:
//
// - Namesakes are the places of one state that share a plain name (the name
//   people say: "Washington" for "Washington Township (Fayette County)"; the
//   stored name when the file gives none). Among them people mean the one of
//   the lowest rank (a city before a town, a town before a CDP ...), then the
//   most populous; it stands out when its rank is lower than every other's,
//   or, at the same rank, when it has at least kStandOutFactor times the
//   people of the next.
// - A code's largest city is the most populous of its places that may be one
//   (not a township that holds a larger place, a community or a region); when
//   none may, the most populous place.
//
// Without the file every place may be a largest city, namesakes share their
// stored name and rank by population alone. A file that is present but
// damaged is told; its sound lines are used.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "data/CitySet.h"
#include "data/DataFile.h"

namespace tq {

enum class PlaceKind : std::uint8_t {
  kUnknown,  // no knd.bin, or a place it does not list
  kCity,
  kTown,
  kTownship,
  kCdp,
  kCentre,
  kCommunity,
  kRegion,
};

// The word of a kind in knd.bin ("cdp"); nothing for an unknown word.
std::optional<PlaceKind> PlaceKindOfWord(std::string_view word);
std::string_view PlaceKindWord(PlaceKind kind);
// 0 (city) to 4 (region); 0 for kUnknown, so that a place the file does not
// list ranks by its population as without the file.
int NamesakeRank(PlaceKind kind);
bool MayBeLargestCity(PlaceKind kind);

// A namesake stands out at the same rank with this many times the people of
// the next.
inline constexpr std::int64_t kStandOutFactor = 3;

class PlaceKinds {
 public:
  static constexpr char kFileName[] = "knd.bin";

  // Reads the folder's knd.bin (the current directory when empty) for the
  // places of `cities`, which are loaded. No file is no problem; it is
  // checked against the folder's manifest when there is one.
  [[nodiscard]] LoadOutcome Read(const std::filesystem::path& folder, const CCitySet& cities);
  // Loads the bytes of a file; what is wrong with them ("" when nothing).
  [[nodiscard]] std::string Load(std::string_view bytes, const CCitySet& cities);
  const LoadOutcome& Outcome() const { return outcome_; }
  // The number of places whose kind was read.
  std::size_t Count() const { return count_; }
  bool HasPlainNames() const { return !plain_.empty(); }

  PlaceKind KindOfRow(std::uint32_t row) const {
    return row < kinds_.size() ? static_cast<PlaceKind>(kinds_[row]) : PlaceKind::kUnknown;
  }
  // The name people say for the place of `row`.
  std::string_view PlainName(const CCitySet& cities, std::uint32_t row) const;
  // The places whose plain name is `name` (case aside), in row order.
  std::vector<std::uint32_t> RowsWithPlainName(const CCitySet& cities, std::string_view name) const;
  // The namesakes of the place of `row` (itself included), in row order.
  std::vector<std::uint32_t> NamesakesOf(const CCitySet& cities, std::uint32_t row) const;

  // Whether the place of `a` is meant before that of `b`: lower rank, then
  // more people, then the earlier row.
  bool MeantBefore(const CCitySet& cities, std::uint32_t a, std::uint32_t b) const;
  // The place of `rows` that stands out (see above); nothing when none does
  // or `rows` is empty.
  std::optional<std::uint32_t> StandingOut(const CCitySet& cities,
                                           std::span<const std::uint32_t> rows) const;
  bool MayBeLargestCityRow(std::uint32_t row) const { return MayBeLargestCity(KindOfRow(row)); }

 private:
  struct Plain {
    std::uint32_t row;
    std::string name;  // code page 1252
  };
  LoadOutcome outcome_;
  std::size_t count_ = 0;
  std::vector<std::uint8_t> kinds_;         // by row; empty without the file
  std::vector<Plain> plain_;                // places with a plain name of their own, by name
  std::vector<std::int32_t> plainOfRow_;    // row -> index in plain_, or -1
};

}  // namespace tq
