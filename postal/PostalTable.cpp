#include "postal/PostalTable.h"

#include <algorithm>

#include "base/Text.h"
#include "data/CitySet.h"
#include "data/Manifest.h"

namespace tq {
namespace {

constexpr std::size_t kIdDigits = 6;

// "45402 000042 w" (ZIP) or "K1A 006083 n" (FSA): the key, the place id and
// the basis; false for any other line.
bool ParseRecord(std::string_view line, bool zip, std::uint32_t& key, PostalPlace& place) {
  const std::size_t codeLength = zip ? 5 : 3;
  if (line.size() != codeLength + kIdDigits + 3 || line[codeLength] != ' ' ||
      line[codeLength + kIdDigits + 1] != ' ') {
    return false;
  }
  if (zip) {
    const std::int32_t value = DigitsValue(line.substr(0, 5));
    if (value < 0) return false;
    key = static_cast<std::uint32_t>(value);
  } else {
    const auto code = ParsePostalCode(line.substr(0, 3));
    if (!code || !code->wellFormed || code->Text() != line.substr(0, 3)) return false;
    key = code->key;
  }
  const std::int32_t id = DigitsValue(line.substr(codeLength + 1, kIdDigits));
  if (id < 0) return false;
  place.cityId = id;
  switch (line.back()) {
    case 'w': place.basis = PostalBasis::kWhole; break;
    case 's': place.basis = PostalBasis::kShared; break;
    case 'o': place.basis = PostalBasis::kPostOffice; break;
    case 'u': place.basis = PostalBasis::kUnknown; break;
    case 'n': place.basis = PostalBasis::kNamed; break;
    case 'p': place.basis = PostalBasis::kPoint; break;
    default: return false;
  }
  const bool zipBasis = place.basis == PostalBasis::kWhole || place.basis == PostalBasis::kShared ||
                        place.basis == PostalBasis::kPostOffice || place.basis == PostalBasis::kUnknown;
  return zipBasis == zip && (id == 0) == (place.basis == PostalBasis::kUnknown);
}

}  // namespace

LoadOutcome PostalTable::Read(const std::filesystem::path& folder, const CCitySet& cities) {
  *this = {};
  LoadOutcome outcome;
  const std::optional<std::string> bytes = ReadDataFileOf(folder, kFileName, outcome);
  if (!bytes) {
    outcome_ = outcome;
    outcome_.text += " ZIP and postal codes are not answered.";
    return outcome_;
  }
  const std::string damage = Load(*bytes, cities);
  outcome_ = DescribeLoad(FileProblem::kDamaged, kFileName, folder,
                          DamageWithManifest(folder, kFileName, *bytes, Count(), damage));
  if (outcome_.problem != FileProblem::kNone && !HasCodes()) {
    outcome_.text += " ZIP and postal codes are not answered.";
  }
  return outcome_;
}

std::string PostalTable::Load(std::string_view bytes, const CCitySet& cities) {
  *this = {};
  DamageReport damage;
  std::string_view rest = SkipByteOrderMark(bytes, damage);
  std::string_view line;
  if (!NextLfLine(rest, line) || line != "TQPOST 1") return "it is not a file of the format TQPOST 1";
  if (!NextLfLine(rest, line) || HasControlBytes(line)) return "its second line is not a line of text";
  std::size_t lineNumber = 2;
  std::int32_t heldId = 0;  // the last place id found in cit.bin
  // Each section: its count line, then its records, each read as a line of
  // its own so that a lost or added byte costs only its record. A record is
  // used when it lies after the last one used; one that is out of order is
  // told and skipped.
  for (const bool zip : {true, false}) {
    const char* word = zip ? "zips" : "fsas";
    ++lineNumber;
    const std::optional<std::size_t> count = NextLfLine(rest, line) ? ParseCountLine(line, word)
                                                                     : std::nullopt;
    if (!count && zip) return "its third line is not the count of ZIP codes";
    if (!count) {
      // The ZIP codes read stay: only the FSAs are lost.
      damage.Damaged(lineNumber, "a line that is not the count of FSAs");
      break;
    }
    std::vector<Record>& records = zip ? zips_ : fsas_;
    records.reserve(std::min(*count, rest.size() / 13 + 1));
    std::size_t read = 0;
    while (read < *count && !rest.empty() && !(zip && rest.starts_with("fsas "))) {
      ++lineNumber;
      ++read;
      // Records are of one length: a sound one ends where its LF is due.
      const std::size_t length = zip ? 14 : 12;
      if (rest.size() > length && rest[length] == '\n') {
        line = rest.substr(0, length);
        rest.remove_prefix(length + 1);
      } else if (!NextLfLine(rest, line)) {
        line = rest;
        rest = {};
        damage.Damaged(lineNumber, "a record without its line end");
        continue;
      }
      Record record{};
      if (!ParseRecord(line, zip, record.key, record.place)) {
        damage.Damaged(lineNumber, zip ? "a ZIP record that is not five digits, a blank, six "
                                         "digits, a blank and w, s, o or u"
                                       : "an FSA record that is not an FSA, a blank, six digits, "
                                         "a blank and n or p");
      } else if (!records.empty() && record.key <= records.back().key) {
        if (record.key == records.back().key) {
          damage.Repeated(lineNumber, zip ? "ZIP code" : "FSA");
        } else {
          damage.Damaged(lineNumber, "a code out of order");
        }
      } else if (record.place.cityId != 0 && record.place.cityId != heldId &&
                 cities.RowsOfCity(static_cast<std::uint32_t>(record.place.cityId)).empty()) {
        damage.Damaged(lineNumber, "a place id that cit.bin does not hold");
      } else {
        records.push_back(record);
        heldId = record.place.cityId;  // neighbouring codes mostly share their place
        if (zip) zipPrefixes_.set(record.key / 100);
      }
    }
    if (read != *count) {
      damage.Note("it holds " + std::to_string(read) + " " + word + " records where its header says " +
                  std::to_string(*count));
    }
  }
  if (!rest.empty()) damage.Note("something follows its last record");
  return damage.Text(Count());
}

const PostalPlace* PostalTable::Find(const PostalCode& code) const {
  const std::vector<Record>& records = code.kind == PostalCode::Kind::kZip ? zips_ : fsas_;
  const auto found = std::lower_bound(records.begin(), records.end(), code.key,
                                      [](const Record& r, std::uint32_t k) { return r.key < k; });
  if (found == records.end() || found->key != code.key) return nullptr;
  return &found->place;
}

const char* PostalBasisName(PostalBasis basis) {
  switch (basis) {
    case PostalBasis::kWhole: return "whole";
    case PostalBasis::kShared: return "shared";
    case PostalBasis::kPostOffice: return "post_office";
    case PostalBasis::kUnknown: return "unknown";
    case PostalBasis::kNamed: return "named";
    case PostalBasis::kPoint: return "point";
  }
  return "unknown";
}

}  // namespace tq
