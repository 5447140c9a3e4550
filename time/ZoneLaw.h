#pragma once
// The zone law: each place's IANA time zone ("ctz.bin") and every change of
// UTC offset, abbreviation and daylight time of those zones from 1970 through
// 2100 ("tzl.bin"), both described in docs/data-format.md. What time it is at
// a place is found here by binary search and nowhere else; the machine's zone
// files and TZ play no part. Both files are checked whole when read (each
// ends in the SHA-256 of its bytes, and the folder's manifest lists both): a
// missing or damaged one leaves the law empty (no local times at all) with a
// text that says why, never a wrong time. ctz.bin names the cit.bin it was
// made for; with any other, each place's own record tells its time.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/CitySet.h"
#include "data/DataFile.h"

namespace tq {

// The kind of time in force in a zone: "CDT", "Central Daylight Time",
// -18000 seconds from UTC, daylight time.
struct ZoneTime {
  std::int32_t offsetSeconds;
  bool daylight;
  std::string_view abbreviation;
  std::string_view name;
};

class ZoneLaw {
 public:
  static constexpr char kPlacesFileName[] = "ctz.bin";
  static constexpr char kLawFileName[] = "tzl.bin";
  // Eastern time, from which the time zone line measures every place.
  static constexpr char kEasternZone[] = "America/New_York";

  // Reads both files of the folder (the current directory when empty), each
  // held to the folder's manifest when there is one. The outcome of a file
  // that could not be used (missing, unreadable, refused or damaged), whose
  // text ends in saying that local times are not shown; of a file that
  // differs from its manifest but passes its own checks, told as damage
  // while the law is used; none when both were read as listed.
  LoadOutcome Open(const std::filesystem::path& folder);
  // Reads the bytes of both files; "" or why they cannot be used (and then
  // the law is empty).
  std::string Load(std::string_view places, std::string_view law);
  // Open, for the places of `cities` (loaded): a folder that lacks ctz.bin
  // or tzl.bin (data in the two-file format), or whose ctz.bin was made for
  // another cit.bin, gets the law of its records (FromRecords), with a note
  // that says so and is no problem; a damaged file leaves the law empty,
  // told as damage.
  [[nodiscard]] LoadOutcome OpenFor(const std::filesystem::path& folder, const CCitySet& cities);
  // Whether OpenFor on `folder` compares the places with the SHA-256 of the
  // cit.bin they were loaded from: where both files are there.
  static bool NamesItsPlaces(const std::filesystem::path& folder);
  // The law of each place's own record: its hours from Eastern standard
  // time and its daylight-saving flag, with the North American daylight
  // rule (DaylightRule.h) for every place that keeps daylight time. The
  // kinds of time are named as the zone law names them ("Central Daylight
  // Time", "CDT"); hours no zone of the continent keeps read "UTC-06:30".
  void FromRecords(const CCitySet& cities);

  bool IsEmpty() const { return zones_.empty(); }
  // "2026f": the tzdata release the table was compiled from.
  const std::string& TzdataVersion() const { return version_; }

  // The zone of a place, or -1 when it has none (or the law is empty).
  int ZoneOfPlace(std::int32_t cityId) const;
  // Zones are numbered from 0 to ZoneCount() - 1.
  int ZoneCount() const { return static_cast<int>(zones_.size()); }
  // The zone of an IANA name, or -1.
  int FindZone(std::string_view ianaName) const;
  std::string_view ZoneName(int zone) const;
  int EasternZone() const { return eastern_; }

  // The time in force in `zone` at an instant (seconds since 1970, UTC);
  // nothing outside 1970-2100 or for no zone.
  std::optional<ZoneTime> TimeAt(int zone, std::int64_t utcSeconds) const;

 private:
  // Which of ctz.bin and tzl.bin the folder lacks.
  static std::vector<std::string> MissingFiles(const std::filesystem::path& folder);
  struct Kind {
    std::int32_t offsetSeconds;
    bool daylight;
    std::string abbreviation, name;
  };
  struct Zone {
    std::string name;
    std::uint32_t first, count;  // its changes in instants_ and kinds_
  };
  // Each file's bytes and the SHA-256 of those before its last 72.
  std::string LoadLaw(std::string_view bytes, const std::string& sealedSum);
  std::string LoadPlaces(std::string_view bytes, const std::string& sealedSum);

  std::string version_;
  std::int64_t until_ = 0;
  std::vector<Kind> kindTable_;
  std::vector<Zone> zones_;
  std::vector<std::uint32_t> instants_;  // of each change, zone after zone
  std::vector<std::uint16_t> kinds_;     // the kind of time from that change on
  std::vector<std::int32_t> placeIds_;   // ascending
  std::vector<std::int16_t> placeZones_;
  int eastern_ = -1;
  // The cit.bin the places are of: its size and SHA-256.
  std::size_t citiesSize_ = 0;
  std::string citiesSha256_;
};

}  // namespace tq
