#include "support/TestData.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "base/Sha256.h"
#include "data/DataFile.h"

namespace tq::test {
namespace {

std::string StoredState(const std::string& state) {
  if (state == "Non-geographic area code") return ShiftText("abc", +1);
  if (state.size() == 2) return ShiftText(std::string("2") + state[1] + state[0], +1);
  return ShiftText(state, +1);
}

std::string StoredCountry(const std::string& country) {
  if (country == "USA") return ShiftText("abc", +1);
  if (country == "Canada") return ShiftText("abo", +1);
  if (country == "Non-geographic area code") return ShiftText("abe", +1);
  return ShiftText("|" + country + "|", +1);
}

}  // namespace

std::vector<std::string> EncodeCity(const CityFixture& city) {
  std::string rotated = city.name;
  if (rotated.size() >= 2) rotated = rotated.substr(2) + rotated.substr(0, 2);
  return {
      std::to_string(7 * city.id - 1),
      ShiftText(rotated, +1),
      StoredState(city.state),
      StoredCountry(city.country),
      std::to_string(city.population + city.id),
      std::to_string(city.daylight),
      "0",
      city.timeZone,
  };
}

std::vector<std::string> EncodeLink(std::int32_t cityId, std::int32_t areaCode) {
  return {std::to_string(11 * cityId - 1), std::to_string(3 * areaCode + cityId)};
}

const std::vector<CityFixture>& SampleCities() {
  static const std::vector<CityFixture> cities = {
      {42, "Dayton", "OH", "USA", 137644, 1, "0", {937}},
      {43, "Kettering", "OH", "USA", 57862, 1, "0", {937}},
      {44, "Bellbrook", "OH", "USA", 6943, 1, "0", {937}},
      {45, "Beallsville", "OH", "USA", 400, 1, "0", {740}},
      {46, "Sandusky", "OH", "USA", 25000, 1, "0", {419}},
      {47, "Findlay", "OH", "USA", 25000, 1, "0", {419}},
      {50, "Dayton", "TX", "USA", 8000, 1, "-1", {936}},
      {51, "San Antonio", "TX", "USA", 1434625, 1, "-1", {210, 726}},
      {60, "Springfield", "IL", "USA", 114394, 1, "-1", {217}},
      {61, "Springfield", "MO", "USA", 169176, 1, "-1", {417}},
      {62, "Springfield", "MA", "USA", 155929, 1, "0", {413}},
      {70, "Montr\xE9" "al", "QC", "Canada", 1762949, 1, "0", {514, 438}},
      {71, "Laval", "QC", "Canada", 438366, 1, "0", {450}},
      {80, "Whitehorse", "YT", "Canada", 28201, 0, "-2", {867}},
      {81, "Yellowknife", "NT", "Canada", 20340, 0, "-2", {867}},
      {82, "Halifax", "NS", "Canada", 439819, 1, "1", {902, 782}},
      {83, "Charlottetown", "PE", "Canada", 38809, 1, "1", {902}},
      {90, "Troy Hills", "NJ", "USA", 5000, 1, "0", {973}},
      {91, "Troy", "NJ", "USA", 4000, 1, "0", {973}},
      {95, "Nome", "AK", "USA", 3800, 1, "-4", {907}},
      {96, "Nassau", "Bahamas", "Bahamas", 274400, 1, "0", {242}},
      {99, "Toll-Free Service", "Non-geographic area code", "Non-geographic area code", 0, 0,
       "24", {800}},
  };
  return cities;
}

const std::vector<CityFixture>& NamesakeCities() {
  static const std::vector<CityFixture> cities = [] {
    std::vector<CityFixture> made = {
        {201, "Springfield", "PA", "USA", 24000, 1, "0", {484, 610}},
        {202, "Springfield", "PA", "USA", 21000, 1, "0", {484, 610}},
        {203, "Springfield", "PA", "USA", 5000, 1, "0", {724}},
        {210, "Washington", "PA", "USA", 13000, 1, "0", {724}},
        {211, "Washington Township", "PA", "USA", 5000, 1, "0", {724}},
        {212, "Washington Township (Fayette County)", "PA", "USA", 4000, 1, "0", {724}},
        {213, "Hempfield Township", "PA", "USA", 43000, 1, "0", {724}},
        {214, "Greensburg", "PA", "USA", 14000, 1, "0", {724}},
        {220, "Rochester", "NY", "USA", 211000, 1, "0", {585}},
        {221, "Rochester", "NY", "USA", 7000, 1, "0", {845}},
        {230, "St. John's", "NF", "Canada", 110000, 1, "1.5", {709}},
        {240, "Franklin", "PA", "USA", 9000, 1, "0", {570}},
        {241, "Franklin Park", "PA", "USA", 12000, 1, "0", {570}},
    };
    for (int k = 0; k < 28; ++k) {
      made.push_back({250 + k, std::string("Hamlet ") + static_cast<char>('A' + k % 26) +
                                   (k >= 26 ? "A" : ""),
                      "PA", "USA", 500 + 400 * k, 1, "0", {570}});
    }
    return made;
  }();
  return cities;
}

void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

void WriteLines(const std::filesystem::path& file, const std::vector<std::string>& lines,
                const std::string& lineEnd) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + lineEnd;
  WriteBytes(file, bytes);
}

namespace {

// The zones of the test places, as ctz.bin lists them, and the time zone
// field of the places of each (none: only by their ids).
constexpr std::pair<const char*, const char*> kZones[] = {
    {"America/Chicago", "-1"},  {"America/Denver", "-2"},   {"America/Edmonton", nullptr},
    {"America/Halifax", "1"},   {"America/Los_Angeles", "-3"}, {"America/New_York", "0"},
    {"America/Nome", "-4"},     {"America/St_Johns", "1.5"}, {"America/Whitehorse", nullptr}};

int ZoneOf(const CityFixture& city) {
  if (city.id == 80) return 8;
  if (city.id == 81) return 2;
  if (city.state == "Bahamas" || city.id == 91) return -1;  // places the zone file leaves out
  for (int zone = 0; zone < 9; ++zone) {
    if (kZones[zone].second && city.timeZone == kZones[zone].second) return zone;
  }
  return -1;
}

}  // namespace

void WriteZoneFiles(const std::filesystem::path& folder, std::vector<CityFixture> cities) {
  std::sort(cities.begin(), cities.end(),
            [](const CityFixture& a, const CityFixture& b) { return a.id < b.id; });
  std::string places = ZonePlacesHead(folder / "cit.bin") + "zones 9\n";
  for (const auto& [zone, timeZone] : kZones) places += std::string(zone) + "\n";
  std::string lines;
  int count = 0;
  for (std::size_t i = 0; i < cities.size(); ++i) {
    if (ZoneOf(cities[i]) < 0 || (i > 0 && cities[i].id == cities[i - 1].id)) continue;
    lines += std::to_string(cities[i].id) + "\t" + std::to_string(ZoneOf(cities[i])) + "\n";
    ++count;
  }
  WriteBytes(folder / "ctz.bin", Sealed(places + "places " + std::to_string(count) + "\n" + lines));
  std::filesystem::copy_file(ShippedZoneLaw(), folder / "tzl.bin",
                             std::filesystem::copy_options::overwrite_existing);
}

void WriteRecordFiles(const std::filesystem::path& folder, const std::vector<CityFixture>& cities) {
  std::vector<std::string> cityLines, linkLines;
  for (const CityFixture& city : cities) {
    for (std::string& line : EncodeCity(city)) cityLines.push_back(std::move(line));
    for (const std::int32_t code : city.areaCodes) {
      for (std::string& line : EncodeLink(city.id, code)) linkLines.push_back(std::move(line));
    }
  }
  WriteLines(folder / "cit.bin", cityLines);
  WriteLines(folder / "arc.bin", linkLines);
}

void WriteDataFiles(const std::filesystem::path& folder, const std::vector<CityFixture>& cities) {
  WriteRecordFiles(folder, cities);
  WriteZoneFiles(folder, cities);
}

std::string Sealed(const std::string& bytes) {
  return bytes + "sha256 " + Sha256Hex(bytes) + "\n";
}

std::string ZonePlacesHead(const std::filesystem::path& cities) {
  const std::string bytes = ReadDataFile(cities).bytes.value_or("");
  return "TQCTZ 2\ncities " + std::to_string(bytes.size()) + " " + Sha256Hex(bytes) + "\n";
}

std::filesystem::path ShippedZoneLaw() {
  return std::filesystem::path(TELQUEST_SOURCE_DIR) / "res" / "tzl.bin";
}

void WriteSampleData(const std::filesystem::path& folder) {
  WriteDataFiles(folder, SampleCities());
  WriteBytes(folder / "exc.bin", kSampleExchanges);
}

void WritePostalCodes(const std::filesystem::path& folder) {
  WriteBytes(folder / "pst.bin",
             "TQPOST 1\ngenerated\nzips 3\n45402 000042 w\n45424 000043 s\n45499 000000 u\n"
             "fsas 1\nH2X 000070 p\n");
}

void WriteNamesakeData(const std::filesystem::path& folder) {
  WriteDataFiles(folder, NamesakeCities());
  WriteBytes(folder / "knd.bin", kNamesakeKinds);
  WriteBytes(folder / "pln.bin", kNamesakePlans);
  WriteBytes(folder / "exc.bin", kNamesakeExchanges);
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "telquest-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace tq::test
