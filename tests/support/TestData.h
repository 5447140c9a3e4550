#pragma once
// A small, hand-made pair of data files for the tests, written in the
// scrambled format of "cit.bin" and "arc.bin" (docs/data-format.md), and a
// throw-away folder.

#include <cstdint>
#include <filesystem>
#include <streambuf>
#include <string>
#include <vector>

namespace tq::test {

struct CityFixture {
  std::int32_t id;
  std::string name;     // code page 1252
  std::string state;    // "OH", or a text such as "Bahamas"
  std::string country;  // "USA", "Canada", "Non-geographic area code" or a name
  std::int32_t population;
  int daylight;
  std::string timeZone;  // as written on line 8
  std::vector<std::int32_t> areaCodes;
};

// The eight stored lines of a city and the two of a link, scrambled.
std::vector<std::string> EncodeCity(const CityFixture& city);
std::vector<std::string> EncodeLink(std::int32_t cityId, std::int32_t areaCode);

// About twenty cities: two Daytons, Springfield in three states, Montréal,
// a non-geographic record, cities of 867, 902 and 782, small towns below the
// major-city threshold, a tie for the largest city, "Troy" after "Troy Hills".
const std::vector<CityFixture>& SampleCities();

// Places that share names, as data files store them before the places
// of one state are told apart, and knd.bin's kinds (kNamesakeKinds) that
// tell them apart since: Springfield three times in Pennsylvania, none
// standing out; Washington the city beside two townships of that name; a
// Rochester of New York that stands out by its people; 724's most populous
// place a township; 570 with 30 places, Franklin beside Franklin Park; St.
// John's stored under Newfoundland's old code NF.
const std::vector<CityFixture>& NamesakeCities();
inline constexpr char kNamesakeKinds[] =
    "TQKIND 1\nplaces 5\n210\tcity\n211\ttownship\tWashington\n212\ttown\tWashington\n"
    "213\ttownship\n214\tcity\n";
// 273 planned, overlaying 418, 367 and 581; 570-555 in Hamlet A, the least
// place of 570.
inline constexpr char kNamesakePlans[] = "TQPLAN 1\ncodes 1\n273\t2027-02-27\t418 367 581\n";
inline constexpr char kNamesakeExchanges[] =
    "TQEXC 1\nplaces 1\nHamlet A\tPA\nexchanges 1\n570555 00001\n";

// Writes the lines, each followed by `lineEnd`.
void WriteLines(const std::filesystem::path& file, const std::vector<std::string>& lines,
                const std::string& lineEnd = "\r\n");
void WriteBytes(const std::filesystem::path& file, const std::string& bytes);
// Writes cit.bin, arc.bin and the zone law of the cities into the folder:
// ctz.bin (each place's zone by its time zone field, Whitehorse and
// Yellowknife by their own; Nassau and Troy, NJ left out) and the shipped
// tzl.bin.
void WriteDataFiles(const std::filesystem::path& folder, const std::vector<CityFixture>& cities);
void WriteZoneFiles(const std::filesystem::path& folder, std::vector<CityFixture> cities);
// The bytes with the last line a file of the zone law ends in: "sha256 " and
// their SHA-256.
std::string Sealed(const std::string& bytes);
// The first two lines of a ctz.bin made for the cit.bin `cities` (missing:
// an empty one).
std::string ZonePlacesHead(const std::filesystem::path& cities);
// Writes the files of WriteDataFiles and exc.bin (kSampleExchanges) of the
// sample cities.
void WriteSampleData(const std::filesystem::path& folder);
// Writes pst.bin of three ZIP codes of the sample cities (45402 Dayton,
// 45424 Kettering shared, 45499 without a place) and one FSA (H2X Montréal).
void WritePostalCodes(const std::filesystem::path& folder);
// Writes the namesakes with their kinds, plans and exchanges.
void WriteNamesakeData(const std::filesystem::path& folder);
// Writes cit.bin and arc.bin alone, as data folders of the two-file format hold them.
void WriteRecordFiles(const std::filesystem::path& folder, const std::vector<CityFixture>& cities);

// Exchanges 937-222 Dayton, 937-294 Kettering, 514-555 Montréal (UTF-8).
inline constexpr char kSampleExchanges[] =
    "TQEXC 1\nplaces 3\nDayton\tOH\nKettering\tOH\nMontr\xC3\xA9" "al\tQC\nexchanges 3\n"
    "514555 00003\n937222 00001\n937294 00002\n";

// The shipped zone law table.
std::filesystem::path ShippedZoneLaw();

// `row(set)` of every record that a record set selects, from where it stands
// to the end; SelectRows first opens a set of `folder` with `filter`.
template <class Set, class Row>
auto WalkRows(Set& set, Row row) {
  std::vector<decltype(row(set))> rows;
  for (; !set.IsEOF(); set.MoveNext()) rows.push_back(row(set));
  return rows;
}

template <class Set, class Row>
auto SelectRows(const std::filesystem::path& folder, const std::string& filter, Row row) {
  Set set(folder);
  set.strFilter = filter;
  set.Open();
  return WalkRows(set, row);
}

// A fresh folder that is removed again with its contents.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// A stream whose every write fails, as on a full disk or a closed pipe.
class FailingBuffer : public std::streambuf {
 protected:
  int overflow(int) override { return traits_type::eof(); }
};

}  // namespace tq::test
