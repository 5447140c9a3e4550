#include "time/ZoneLaw.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <span>

#include "base/Sha256.h"
#include "base/Text.h"
#include "data/DataFile.h"
#include "data/Manifest.h"
#include "time/DaylightRule.h"

namespace tq {
namespace {

constexpr std::size_t kChangeSize = 6;  // uint32 instant, uint16 kind, little-endian
constexpr std::int32_t kMostOffset = 15 * 3600;
constexpr char kPlacesFormat[] = "TQCTZ 2";
constexpr char kLawFormat[] = "TQTZL 2";
constexpr std::string_view kSumWord = "sha256 ";
constexpr std::size_t kSha256Digits = 64;
constexpr std::size_t kSumLineSize = kSumWord.size() + kSha256Digits + 1;
constexpr std::size_t kMostZones = 1000;
constexpr std::int64_t kMostChangesOfAZone = 65535;
constexpr std::size_t kMostPlaces = 1000000;

// A whole number of the file (digits, a minus sign before them or none)
// between `least` and `most`.
std::optional<std::int64_t> Number(std::string_view text, std::int64_t least, std::int64_t most) {
  const std::optional<std::int64_t> value = text.starts_with('+') ? std::nullopt : ParseWhole(text);
  if (!value || *value < least || *value > most) return std::nullopt;
  return value;
}

// Cuts `line` at its tabs into exactly `fields.size()` non-empty fields.
bool Fields(std::string_view line, std::span<std::string_view> fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const std::size_t tab = i + 1 == fields.size() ? line.size() : line.find('\t');
    if (tab == std::string_view::npos || tab == 0) return false;
    fields[i] = line.substr(0, tab);
    line.remove_prefix(std::min(line.size(), tab + 1));
    if (i + 1 == fields.size() && fields[i].find('\t') != std::string_view::npos) return false;
  }
  return true;
}

// The usual line of a place, its id and zone as digits between a tab and a
// line feed, read in one pass: false, nothing read, for any other line,
// which Fields and Number then judge.
bool UsualPlaceLine(std::string_view& rest, std::int64_t& id, std::int64_t& zone) {
  const char* at = rest.data();
  const char* const end = at + rest.size();
  const auto digits = [&](std::int64_t& value, char stop) {
    const char* const first = at;
    value = 0;
    for (; at != end && at - first < 18 && static_cast<unsigned char>(*at - '0') < 10; ++at) {
      value = value * 10 + (*at - '0');
    }
    if (at == first || at == end || *at != stop) return false;
    ++at;
    return true;
  };
  if (!digits(id, '\t') || !digits(zone, '\n')) return false;
  rest.remove_prefix(static_cast<std::size_t>(at - rest.data()));
  return true;
}

bool IsSha256Hex(std::string_view text) {
  return text.size() == kSha256Digits &&
         text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

// A name of the files: UTF-8 that a line shows, without control bytes.
bool IsName(std::string_view text) {
  return !text.empty() && IsValidUtf8(text) && !HasControlBytes(text);
}

// The SHA-256 of a file of the zone law without its last line, and of all
// of it (for the manifest), in one pass.
std::pair<std::string, std::string> Sums(std::string_view bytes) {
  return Sha256HexOfPrefixAndWhole(bytes, bytes.size() - std::min(bytes.size(), kSumLineSize));
}

// The bytes of a file of `format` after its first line and before its last,
// "sha256 " and the SHA-256 of every byte before that line (`sealedSum`,
// that of the bytes before the last 72); nothing, with `why`, when the
// format or that sum is not there or does not match.
std::optional<std::string_view> Unsealed(std::string_view bytes, std::string_view format,
                                         const std::string& sealedSum, std::string& why) {
  std::string_view rest = bytes, line;
  if (!NextLfLine(rest, line) || line != format) {
    why = "it is not of the format " + std::string(format);
    return std::nullopt;
  }
  const std::string_view sum = bytes.substr(bytes.size() - std::min(bytes.size(), kSumLineSize));
  const std::string_view sealed = bytes.substr(0, bytes.size() - sum.size());
  if (sum.size() != kSumLineSize || !sum.starts_with(kSumWord) || !sum.ends_with('\n') ||
      !IsSha256Hex(sum.substr(kSumWord.size(), kSha256Digits)) || sealed.size() <= format.size()) {
    why = "it does not end in its check sum";
    return std::nullopt;
  }
  if (sealedSum != sum.substr(kSumWord.size(), kSha256Digits)) {
    why = "its bytes fail its check sum";
    return std::nullopt;
  }
  return sealed.substr(format.size() + 1);
}

std::uint32_t Read32(const char* at) {
  const auto* b = reinterpret_cast<const unsigned char*>(at);
  return b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

// The kinds of time of the records' hours from Eastern standard time, named
// as tzdata names them (the zone law's "types").
struct RecordTime {
  float hours;
  const char* abbreviation;
  const char* name;
  const char* daylightAbbreviation;  // null: the hours keep no daylight time
  const char* daylightName;
};
constexpr RecordTime kRecordTimes[] = {
    {0, "EST", "Eastern Standard Time", "EDT", "Eastern Daylight Time"},
    {-1, "CST", "Central Standard Time", "CDT", "Central Daylight Time"},
    {-2, "MST", "Mountain Standard Time", "MDT", "Mountain Daylight Time"},
    {-3, "PST", "Pacific Standard Time", "PDT", "Pacific Daylight Time"},
    {-4, "AKST", "Alaska Standard Time", "AKDT", "Alaska Daylight Time"},
    {-5, "HST", "Hawaii-Aleutian Standard Time", "HDT", "Hawaii-Aleutian Daylight Time"},
    {-6, "SST", "Samoa Standard Time", nullptr, nullptr},
    {1, "AST", "Atlantic Standard Time", "ADT", "Atlantic Daylight Time"},
    {1.5f, "NST", "Newfoundland Standard Time", "NDT", "Newfoundland Daylight Time"},
    {15, "ChST", "Chamorro Standard Time", nullptr, nullptr},
};
constexpr std::int32_t kEasternStandard = -5 * 3600;
constexpr std::int64_t kRecordLawUntil = 4133980800;  // 2101-01-01T00:00Z

// "UTC-06:30" and tzdata's abbreviation of it, "-0630".
std::string OffsetText(std::int32_t offsetSeconds, bool colon) {
  const std::int32_t minutes = std::abs(offsetSeconds) / 60;
  char text[16];
  std::snprintf(text, sizeof text, colon ? "%c%02d:%02d" : "%c%02d%02d",
                offsetSeconds < 0 ? '-' : '+', minutes / 60, minutes % 60);
  return text;
}

std::int64_t LocalTwoOClock(int year, int month, int day, std::int32_t offsetSeconds) {
  using namespace std::chrono;
  const sys_days date{year_month_day{std::chrono::year(year),
                                     std::chrono::month(static_cast<unsigned>(month)),
                                     std::chrono::day(static_cast<unsigned>(day))}};
  return std::int64_t{date.time_since_epoch().count()} * 86400 + 2 * 3600 - offsetSeconds;
}

}  // namespace

std::vector<std::string> ZoneLaw::MissingFiles(const std::filesystem::path& folder) {
  std::vector<std::string> missing;
  for (const char* name : {kPlacesFileName, kLawFileName}) {
    if (ReadDataFile(DataFilePath(folder, name), 0).problem == FileProblem::kMissing) {
      missing.push_back(name);
    }
  }
  return missing;
}

bool ZoneLaw::NamesItsPlaces(const std::filesystem::path& folder) {
  return MissingFiles(folder).empty();
}

LoadOutcome ZoneLaw::OpenFor(const std::filesystem::path& folder, const CCitySet& cities) {
  static constexpr char kOwnTimes[] =
      ": local times follow each place's own time zone and daylight-saving flag, "
      "by the North American daylight saving rule.";
  const std::vector<std::string> missing = MissingFiles(folder);
  if (missing.empty()) {
    LoadOutcome outcome = Open(folder);
    if (IsEmpty() || (citiesSize_ == cities.FileSize() && citiesSha256_ == cities.FileSha256())) {
      return outcome;
    }
    // Made for other places: the ids of a user's own cit.bin name other places.
    FromRecords(cities);
    const std::string note = std::string("Data file ") + kPlacesFileName + " in " +
                             DescribeFolder(folder) + " was made for another " +
                             CCitySet::kFileName + kOwnTimes;
    if (outcome.problem == FileProblem::kNone) return {FileProblem::kNone, note, kPlacesFileName};
    outcome.text += " " + note;
    return outcome;
  }
  FromRecords(cities);
  // "Data file ctz.bin is missing (looked in ...)", for one file or both.
  std::string told = DescribeLoad(FileProblem::kMissing, missing[0].c_str(), folder, {}).text;
  if (told.ends_with('.')) told.pop_back();
  if (missing.size() == 2) {
    told.replace(0, (std::string("Data file ") + kPlacesFileName + " is").size(),
                 std::string("Data files ") + kPlacesFileName + " and " + kLawFileName + " are");
  }
  return {FileProblem::kNone, told + kOwnTimes, missing[0]};
}

void ZoneLaw::FromRecords(const CCitySet& cities) {
  *this = {};
  until_ = kRecordLawUntil;
  // A zone for each offset and daylight flag of the places, and Eastern time.
  struct Key {
    std::int32_t offset;
    bool daylight;
    bool operator==(const Key&) const = default;
  };
  const auto keyOf = [](float hours, bool daylight) {
    return Key{static_cast<std::int32_t>(std::lround(hours * 60)) * 60 + kEasternStandard, daylight};
  };
  const Key eastern{kEasternStandard, true};
  std::vector<Key> keys = {eastern};
  std::vector<std::pair<std::int32_t, std::size_t>> places;  // city id, key
  for (std::size_t row = 0; row < cities.RowCount(); ++row) {
    const float hours = cities.TimeZones()[row];
    if (!(hours >= -12.0f && hours < 24.0f)) continue;  // no time zone
    const Key key = keyOf(hours, cities.DaylightFlags()[row] != 0);
    auto found = std::find(keys.begin(), keys.end(), key);
    if (found == keys.end()) found = keys.insert(keys.end(), key);
    places.push_back({static_cast<std::int32_t>(cities.CityIds()[row]),
                      static_cast<std::size_t>(found - keys.begin())});
  }
  const auto kindOf = [&](std::int32_t offset, bool daylight) {
    for (std::size_t i = 0; i < kindTable_.size(); ++i) {
      if (kindTable_[i].offsetSeconds == offset && kindTable_[i].daylight == daylight) return i;
    }
    Kind kind{offset, daylight, OffsetText(offset, false), "UTC" + OffsetText(offset, true)};
    const std::int32_t standard = daylight ? offset - 3600 : offset;
    for (const RecordTime& time : kRecordTimes) {
      if (keyOf(time.hours, false).offset != standard) continue;
      if (!daylight) kind = {offset, false, time.abbreviation, time.name};
      if (daylight && time.daylightAbbreviation) {
        kind = {offset, true, time.daylightAbbreviation, time.daylightName};
      }
    }
    kindTable_.push_back(std::move(kind));
    return kindTable_.size() - 1;
  };
  // Zones are found by name: named by their offset, in the order of the names.
  std::vector<std::pair<std::string, std::size_t>> names;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    names.push_back({"UTC" + OffsetText(keys[i].offset, true) +
                         (keys[i].daylight ? " with daylight time" : ""),
                     i});
  }
  std::sort(names.begin(), names.end());
  std::vector<std::int16_t> zoneOfKey(keys.size());
  for (const auto& [name, key] : names) {
    const Key& k = keys[key];
    zoneOfKey[key] = static_cast<std::int16_t>(zones_.size());
    const std::uint32_t first = static_cast<std::uint32_t>(instants_.size());
    instants_.push_back(0);
    kinds_.push_back(static_cast<std::uint16_t>(kindOf(k.offset, false)));
    for (int year = 1970; k.daylight && year <= 2100; ++year) {
      const std::optional<DaylightDays> days = NorthAmericanDaylightDays(year);
      const std::int64_t start = LocalTwoOClock(year, days->startMonth, days->startDay, k.offset);
      const std::int64_t end = LocalTwoOClock(year, days->endMonth, days->endDay, k.offset + 3600);
      for (const auto& [at, daylight] : {std::pair{start, true}, std::pair{end, false}}) {
        if (at <= 0 || at >= until_) continue;
        instants_.push_back(static_cast<std::uint32_t>(at));
        kinds_.push_back(static_cast<std::uint16_t>(kindOf(daylight ? k.offset + 3600 : k.offset, daylight)));
      }
    }
    zones_.push_back({name, first, static_cast<std::uint32_t>(instants_.size()) - first});
  }
  eastern_ = zoneOfKey[0];
  std::sort(places.begin(), places.end());
  for (const auto& [id, key] : places) {
    placeIds_.push_back(id);
    placeZones_.push_back(zoneOfKey[key]);
  }
}

LoadOutcome ZoneLaw::Open(const std::filesystem::path& folder) {
  *this = {};
  LoadOutcome outcome;
  const std::optional<std::string> places = ReadDataFileOf(folder, kPlacesFileName, outcome);
  const std::optional<std::string> law =
      places ? ReadDataFileOf(folder, kLawFileName, outcome) : std::nullopt;
  if (!places || !law) {
    outcome.text += " Local times are not shown.";
    return outcome;
  }
  // The places are read against the law (their zones must be in it).
  const auto [placesSealed, placesSum] = Sums(*places);
  const auto [lawSealed, lawSum] = Sums(*law);
  const std::string lawWhy = LoadLaw(*law, lawSealed);
  const std::string placesWhy = lawWhy.empty() ? LoadPlaces(*places, placesSealed) : std::string();
  const bool used = lawWhy.empty() && placesWhy.empty();
  // Each file is held to the manifest too; one that differs from it but
  // passes its own checks is told and still used, as the record files are.
  const std::pair<const char*, std::string> told[] = {
      {kPlacesFileName,
       DamageWithManifest(folder, kPlacesFileName, *places,
                          used ? std::optional(placeIds_.size()) : std::nullopt, placesWhy,
                          placesSum)},
      {kLawFileName,
       DamageWithManifest(folder, kLawFileName, *law,
                          used ? std::optional(instants_.size()) : std::nullopt, lawWhy, lawSum)},
  };
  for (const auto& [name, why] : told) {
    const LoadOutcome one = DescribeLoad(FileProblem::kDamaged, name, folder, why);
    if (outcome.problem == FileProblem::kNone) {
      outcome = one;
    } else if (one.problem != FileProblem::kNone) {
      outcome.text += " " + one.text;
    }
  }
  if (!used) {
    *this = {};
    outcome.text += " Local times are not shown.";
  }
  return outcome;
}

std::string ZoneLaw::Load(std::string_view places, std::string_view law) {
  *this = {};
  std::string why = LoadLaw(law, Sums(law).first);
  if (why.empty()) why = LoadPlaces(places, Sums(places).first);
  if (!why.empty()) *this = {};
  return why;
}

std::string ZoneLaw::LoadLaw(std::string_view bytes, const std::string& sealedSum) {
  std::string why;
  const std::optional<std::string_view> sealed = Unsealed(bytes, kLawFormat, sealedSum, why);
  if (!sealed) return why;
  std::string_view rest = *sealed, line;
  if (!NextLfLine(rest, line) || !NextLfLine(rest, line) || !line.starts_with("tzdata ") ||
      !IsName(line.substr(7))) {
    return "it does not name its tzdata release";
  }
  version_ = line.substr(7);
  std::optional<std::int64_t> until;
  if (!NextLfLine(rest, line) || !line.starts_with("until ") ||
      !(until = Number(line.substr(6), 1, 0xFFFFFFFFll))) {
    return "it does not say until when it holds";
  }
  until_ = *until;
  std::optional<std::int64_t> count;
  if (!NextLfLine(rest, line) || !(count = CountLine(line, "types", 0xFFFF)) || *count == 0) {
    return "its count of kinds of time is missing";
  }
  for (std::int64_t i = 0; i < *count; ++i) {
    std::string_view fields[4];
    std::optional<std::int64_t> offset;
    if (!NextLfLine(rest, line) || !Fields(line, fields) ||
        !(offset = Number(fields[0], -kMostOffset, kMostOffset)) ||
        (fields[1] != "0" && fields[1] != "1") || fields[2].size() > 8 || !IsName(fields[2]) ||
        !IsName(fields[3])) {
      return "kind of time " + std::to_string(i + 1) + " is damaged";
    }
    kindTable_.push_back({static_cast<std::int32_t>(*offset), fields[1] == "1",
                          std::string(fields[2]), std::string(fields[3])});
  }
  if (!NextLfLine(rest, line) || !(count = CountLine(line, "zones", kMostZones)) || *count == 0) {
    return "its count of zones is missing";
  }
  // At most 1000 zones of 65535 changes: the sum fits, and is checked
  // against the table's true size below before any change is read.
  std::uint64_t changes = 0;
  for (std::int64_t i = 0; i < *count; ++i) {
    std::string_view fields[2];
    std::optional<std::int64_t> length;
    if (!NextLfLine(rest, line) || !Fields(line, fields) ||
        !(length = Number(fields[1], 1, kMostChangesOfAZone)) || !IsName(fields[0]) ||
        (!zones_.empty() && fields[0] <= zones_.back().name)) {
      return "zone " + std::to_string(i + 1) + " is damaged or out of order";
    }
    zones_.push_back({std::string(fields[0]), static_cast<std::uint32_t>(changes),
                      static_cast<std::uint32_t>(*length)});
    changes += static_cast<std::uint64_t>(*length);
  }
  std::optional<std::int64_t> total;
  if (!NextLfLine(rest, line) || !(total = CountLine(line, "transitions", 0xFFFFFF)) ||
      static_cast<std::uint64_t>(*total) != changes) {
    return "its count of changes does not add up";
  }
  if (rest.size() != changes * kChangeSize) return "its table of changes is cut short or too long";
  instants_.reserve(changes);
  kinds_.reserve(changes);
  for (const Zone& zone : zones_) {
    for (std::uint32_t i = 0; i < zone.count; ++i) {
      const char* at = rest.data() + std::size_t{zone.first + i} * kChangeSize;
      const std::uint32_t instant = Read32(at);
      const std::uint16_t kind = static_cast<std::uint16_t>(
          static_cast<unsigned char>(at[4]) | static_cast<unsigned char>(at[5]) << 8);
      const bool inOrder = i == 0 ? instant == 0 : instant > instants_.back();
      if (!inOrder || instant >= until_ || kind >= kindTable_.size()) {
        return "the changes of " + zone.name + " are damaged";
      }
      instants_.push_back(instant);
      kinds_.push_back(kind);
    }
  }
  eastern_ = FindZone(kEasternZone);
  if (eastern_ < 0) return std::string("it holds no ") + kEasternZone;
  return {};
}

std::string ZoneLaw::LoadPlaces(std::string_view bytes, const std::string& sealedSum) {
  std::string why;
  const std::optional<std::string_view> sealed = Unsealed(bytes, kPlacesFormat, sealedSum, why);
  if (!sealed) return why;
  std::string_view rest = *sealed, line;
  // "cities 1204107 9f9f...": the size and SHA-256 of the cit.bin it is of.
  std::optional<std::int64_t> size;
  std::size_t blank = 0;
  if (!NextLfLine(rest, line) || !line.starts_with("cities ") ||
      (blank = line.find(' ', 7)) == std::string_view::npos ||
      !(size = Number(line.substr(7, blank - 7), 0, kMaxDataFileSize)) ||
      !IsSha256Hex(line.substr(blank + 1))) {
    return "it does not name the cit.bin it was made for";
  }
  citiesSize_ = static_cast<std::size_t>(*size);
  citiesSha256_ = line.substr(blank + 1);
  std::optional<std::int64_t> count;
  if (!NextLfLine(rest, line) || !(count = CountLine(line, "zones", kMostZones))) {
    return "its count of zones is missing";
  }
  std::vector<std::int16_t> lawZone;
  std::string_view previous;
  for (std::int64_t i = 0; i < *count; ++i) {
    if (!NextLfLine(rest, line) || !IsName(line) || (i > 0 && line <= previous)) {
      return "zone " + std::to_string(i + 1) + " is damaged or out of order";
    }
    const int zone = FindZone(line);
    if (zone < 0) return "its zone " + std::string(line) + " is not in " + kLawFileName;
    lawZone.push_back(static_cast<std::int16_t>(zone));
    previous = line;
  }
  std::optional<std::int64_t> places;
  if (!NextLfLine(rest, line) || !(places = CountLine(line, "places", kMostPlaces))) {
    return "its count of places is missing";
  }
  placeIds_.reserve(static_cast<std::size_t>(*places));
  placeZones_.reserve(static_cast<std::size_t>(*places));
  const auto zones = static_cast<std::int64_t>(lawZone.size());
  for (std::int64_t i = 0; i < *places; ++i) {
    const auto damaged = [i] { return "place " + std::to_string(i + 1) + " is damaged or out of order"; };
    std::int64_t id = 0, zone = 0;
    if (!UsualPlaceLine(rest, id, zone)) {
      std::string_view fields[2];
      std::optional<std::int64_t> readId, readZone;
      if (!NextLfLine(rest, line) || !Fields(line, fields) ||
          !(readId = Number(fields[0], 1, 0x7FFFFFFF)) ||
          !(readZone = Number(fields[1], 0, zones - 1))) {
        return damaged();
      }
      id = *readId;
      zone = *readZone;
    }
    if (id < 1 || id > 0x7FFFFFFF || zone >= zones ||
        (!placeIds_.empty() && id <= placeIds_.back())) {
      return damaged();
    }
    placeIds_.push_back(static_cast<std::int32_t>(id));
    placeZones_.push_back(lawZone[static_cast<std::size_t>(zone)]);
  }
  if (!rest.empty()) return "it goes on after its last place";
  return {};
}

int ZoneLaw::ZoneOfPlace(std::int32_t cityId) const {
  const auto found = std::lower_bound(placeIds_.begin(), placeIds_.end(), cityId);
  if (found == placeIds_.end() || *found != cityId) return -1;
  return placeZones_[static_cast<std::size_t>(found - placeIds_.begin())];
}

int ZoneLaw::FindZone(std::string_view ianaName) const {
  const auto found = std::lower_bound(zones_.begin(), zones_.end(), ianaName,
                                      [](const Zone& zone, std::string_view name) {
                                        return zone.name < name;
                                      });
  if (found == zones_.end() || found->name != ianaName) return -1;
  return static_cast<int>(found - zones_.begin());
}

std::string_view ZoneLaw::ZoneName(int zone) const {
  if (zone < 0 || static_cast<std::size_t>(zone) >= zones_.size()) return {};
  return zones_[static_cast<std::size_t>(zone)].name;
}

std::optional<ZoneTime> ZoneLaw::TimeAt(int zone, std::int64_t utcSeconds) const {
  if (zone < 0 || static_cast<std::size_t>(zone) >= zones_.size() || utcSeconds < 0 ||
      utcSeconds >= until_) {
    return std::nullopt;
  }
  const Zone& law = zones_[static_cast<std::size_t>(zone)];
  const auto begin = instants_.begin() + law.first;
  // The last change at or before the instant; the first is at 1970.
  const auto after = std::upper_bound(begin, begin + law.count,
                                      static_cast<std::uint32_t>(utcSeconds));
  const Kind& kind = kindTable_[kinds_[static_cast<std::size_t>(after - 1 - instants_.begin())]];
  return ZoneTime{kind.offsetSeconds, kind.daylight, kind.abbreviation, kind.name};
}

}  // namespace tq
