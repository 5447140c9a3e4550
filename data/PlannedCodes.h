#pragma once
// Area codes announced but not yet in service, read from the optional
// "pln.bin" (format TQPLAN 1, described in docs/data-format.md): the day each
// begins and the codes it overlays, the parent code first. No file is no
// problem; a damaged one is told and its sound lines are used.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "data/DataFile.h"

namespace tq {

struct PlannedCode {
  std::int32_t code = 0;
  std::string begins;                   // "2027-02-27"
  std::vector<std::int32_t> overlays;   // in the order to be said
  bool operator==(const PlannedCode&) const = default;
};

class PlannedCodes {
 public:
  static constexpr char kFileName[] = "pln.bin";

  [[nodiscard]] LoadOutcome Read(const std::filesystem::path& folder);
  // Loads the bytes of a file; what is wrong with them ("" when nothing).
  [[nodiscard]] std::string Load(std::string_view bytes);
  const LoadOutcome& Outcome() const { return outcome_; }

  // The planned code `code`, or null.
  const PlannedCode* Find(std::int32_t code) const;
  std::size_t Count() const { return codes_.size(); }

 private:
  LoadOutcome outcome_;
  std::vector<PlannedCode> codes_;  // ascending
};

// "Area code 273 begins service on 2027-02-27, overlaying 418, 367 and 581".
std::string PlannedCodeText(const PlannedCode& planned);

}  // namespace tq
