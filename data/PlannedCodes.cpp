#include "data/PlannedCodes.h"

#include <algorithm>
#include <chrono>

#include "data/Manifest.h"
#include "data/TextRecords.h"

namespace tq {
namespace {

// Three digits from 100 to 999.
std::optional<std::int32_t> AreaCode(std::string_view text) {
  if (text.size() != 3 || text[0] < '1' || text[0] > '9' ||
      text.find_first_not_of("0123456789") != std::string_view::npos) {
    return std::nullopt;
  }
  return (text[0] - '0') * 100 + (text[1] - '0') * 10 + (text[2] - '0');
}

// "2027-02-27": four, two and two digits naming a day of the calendar.
bool IsCalendarDay(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  int fields[3] = {0, 0, 0};
  const std::size_t starts[3] = {0, 5, 8}, ends[3] = {4, 7, 10};
  for (int f = 0; f < 3; ++f) {
    for (std::size_t i = starts[f]; i < ends[f]; ++i) {
      if (text[i] < '0' || text[i] > '9') return false;
      fields[f] = fields[f] * 10 + (text[i] - '0');
    }
  }
  return std::chrono::year_month_day(std::chrono::year(fields[0]),
                                     std::chrono::month(static_cast<unsigned>(fields[1])),
                                     std::chrono::day(static_cast<unsigned>(fields[2])))
      .ok();
}

// "418 367 581": the codes overlaid, each once and none the planned code.
std::optional<std::vector<std::int32_t>> Overlays(std::string_view text, std::int32_t code) {
  std::vector<std::int32_t> codes;
  for (std::size_t start = 0;;) {
    const std::size_t blank = text.find(' ', start);
    const std::optional<std::int32_t> one = AreaCode(text.substr(start, blank - start));
    if (!one || *one == code || std::find(codes.begin(), codes.end(), *one) != codes.end()) {
      return std::nullopt;
    }
    codes.push_back(*one);
    if (blank == std::string_view::npos) return codes;
    start = blank + 1;
  }
}

}  // namespace

LoadOutcome PlannedCodes::Read(const std::filesystem::path& folder) {
  *this = {};
  LoadOutcome outcome;
  const std::optional<std::string> bytes = ReadDataFileOf(folder, kFileName, outcome);
  if (!bytes) {
    outcome_ = outcome.problem == FileProblem::kMissing ? LoadOutcome{} : outcome;
    return outcome_;
  }
  const std::string damage = Load(*bytes);
  outcome_ = DescribeLoad(FileProblem::kDamaged, kFileName, folder,
                          DamageWithManifest(folder, kFileName, *bytes, codes_.size(), damage));
  return outcome_;
}

std::string PlannedCodes::Load(std::string_view bytes) {
  *this = {};
  DamageReport damage;
  struct Candidate {
    PlannedCode planned;
    std::size_t line;
  };
  std::vector<Candidate> candidates;
  std::string why;
  const std::optional<std::size_t> declared = ReadRecordLines(
      bytes, "TQPLAN 1", "codes", "code", damage, why,
      [&](std::string_view line, std::size_t lineNumber) {
        const std::size_t tab = line.find('\t');
        const std::size_t tab2 = tab == std::string_view::npos ? tab : line.find('\t', tab + 1);
        const std::optional<std::int32_t> code =
            tab == std::string_view::npos ? std::nullopt : AreaCode(line.substr(0, tab));
        const std::optional<std::vector<std::int32_t>> overlays =
            !code || tab2 == std::string_view::npos ? std::nullopt
                                                    : Overlays(line.substr(tab2 + 1), *code);
        if (!overlays || !IsCalendarDay(line.substr(tab + 1, tab2 - tab - 1))) {
          damage.Damaged(lineNumber,
                         "a line that is not a code, its first day and the codes it overlays");
          return;
        }
        candidates.push_back(
            {{*code, std::string(line.substr(tab + 1, 10)), *overlays}, lineNumber});
      });
  if (!declared) return why;
  // A code is used when it lies strictly between its neighbours and after
  // the last code used: a changed code costs at most itself and a neighbour.
  UseInKeyOrder(
      candidates.size(), [&](std::size_t i) { return candidates[i].planned.code; },
      [&](std::size_t i) { return candidates[i].line; }, "code", damage,
      [&](std::size_t i) { codes_.push_back(std::move(candidates[i].planned)); });
  return *declared == 0 && codes_.empty() ? damage.Text(1) : damage.Text(codes_.size());
}

const PlannedCode* PlannedCodes::Find(std::int32_t code) const {
  const auto found = std::lower_bound(codes_.begin(), codes_.end(), code,
                                      [](const PlannedCode& p, std::int32_t c) { return p.code < c; });
  return found != codes_.end() && found->code == code ? &*found : nullptr;
}

std::string PlannedCodeText(const PlannedCode& planned) {
  std::string text = "Area code " + std::to_string(planned.code) + " begins service on " +
                     planned.begins + ", overlaying ";
  for (std::size_t i = 0; i < planned.overlays.size(); ++i) {
    if (i > 0) text += i + 1 == planned.overlays.size() ? " and " : ", ";
    text += std::to_string(planned.overlays[i]);
  }
  return text;
}

}  // namespace tq
