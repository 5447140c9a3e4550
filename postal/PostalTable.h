#pragma once
// The place of each US ZIP code and Canadian forward sortation area, read
// from the optional "pst.bin" (format TQPOST 1, described in
// docs/data-format.md). Every record is checked once while the file loads:
// its layout, its order, and a place that cit.bin holds; the sound ones are
// found by binary search. A folder without the file has no codes, and
// answers as it always did; a damaged file is told, and what can be read is
// used.

#include <bitset>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "data/DataFile.h"
#include "postal/PostalCode.h"

namespace tq {

class CCitySet;

// How a code's place was found.
enum class PostalBasis : std::uint8_t {
  kWhole,       // a ZIP code's area lies in its place (or mostly, no other place holding a tenth)
  kShared,      // the place holds most of the area, another at least a tenth of it
  kPostOffice,  // a ZIP code without an area of its own: its post office's town
  kUnknown,     // a ZIP code that exists, whose place is not known
  kNamed,       // the place an FSA is named after
  kPoint,       // the place an FSA's point lies in
};

struct PostalPlace {
  std::int32_t cityId = 0;  // 0 with kUnknown
  PostalBasis basis = PostalBasis::kUnknown;
  bool operator==(const PostalPlace&) const = default;
};

class PostalTable {
 public:
  static constexpr char kFileName[] = "pst.bin";

  // Reads the folder's file (the current directory when empty), each place
  // checked against the loaded `cities`, and checks it against the folder's
  // manifest when there is one. A missing file gives kMissing, which costs
  // nothing and is told only where a code is searched.
  [[nodiscard]] LoadOutcome Read(const std::filesystem::path& folder, const CCitySet& cities);
  // Loads the bytes of a file; what is wrong with them ("" when nothing).
  [[nodiscard]] std::string Load(std::string_view bytes, const CCitySet& cities);
  const LoadOutcome& Outcome() const { return outcome_; }
  // Whether codes can be answered: the file was read and holds a code.
  bool HasCodes() const { return !zips_.empty() || !fsas_.empty(); }
  std::size_t Count() const { return zips_.size() + fsas_.size(); }

  // The place of the code's area; nothing when the code is not listed.
  const PostalPlace* Find(const PostalCode& code) const;
  // Whether a ZIP code of the first three digits of `code` is listed: one
  // that is not listed may still be a ZIP code whose place the data lacks
  // (post office boxes in Puerto Rico); one of a prefix without any is none.
  bool HasZipPrefix(const PostalCode& code) const {
    return code.kind == PostalCode::Kind::kZip && zipPrefixes_[code.key / 100];
  }

 private:
  struct Record {
    std::uint32_t key;
    PostalPlace place;
  };
  LoadOutcome outcome_;
  std::vector<Record> zips_, fsas_;  // strictly ascending keys
  std::bitset<1000> zipPrefixes_;
};

// "whole", "shared", "post_office", "unknown", "named", "point".
const char* PostalBasisName(PostalBasis basis);

}  // namespace tq
