#include "data/Manifest.h"

#include "base/Sha256.h"
#include "data/DataFile.h"

namespace tq {
namespace {

constexpr std::size_t kMaxManifestSize = std::size_t{1} << 20;

struct Entry {
  std::size_t records = 0, size = 0;
  std::string_view sha256;
};

std::optional<std::size_t> Count(std::string_view text) {
  const std::optional<std::int64_t> value = ParseWhole(text);
  if (!value || *value < 0 || text[0] == '+' || text[0] == '-') return std::nullopt;
  return static_cast<std::size_t>(*value);
}

// The entry "file NAME RECORDS BYTES SHA256" of `name`; nothing when the
// manifest has none; `malformed` set when a line of it is not of the format.
std::optional<Entry> FindEntry(std::string_view manifest, std::string_view name, bool& malformed) {
  LineReader lines(manifest);
  std::string_view line;
  std::optional<Entry> found;
  while (lines.Next(line)) {
    if (!line.starts_with("file ")) continue;
    std::string_view fields[4];
    std::string_view rest = line.substr(5);
    for (std::string_view& field : fields) {
      const std::size_t blank = rest.find(' ');
      field = rest.substr(0, blank);
      rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
    }
    const auto records = Count(fields[1]);
    const auto size = Count(fields[2]);
    if (!rest.empty() || !records || !size || fields[3].size() != 64 ||
        fields[3].find_first_not_of("0123456789abcdef") != std::string_view::npos) {
      malformed = true;
      return std::nullopt;
    }
    if (fields[0] == name) found = Entry{*records, *size, fields[3]};
  }
  return found;
}

}  // namespace

std::string CheckManifest(const std::filesystem::path& folder, std::string_view name,
                          std::string_view bytes, std::optional<std::size_t> records,
                          std::string_view sha256) {
  const FileBytes file = ReadDataFile(DataFilePath(folder, kManifestFileName), kMaxManifestSize);
  if (file.problem == FileProblem::kMissing) return {};
  const std::string manifest = std::string("its manifest ") + kManifestFileName;
  if (!file.bytes) return manifest + " cannot be read (" + file.why + ")";
  bool malformed = false;
  const std::optional<Entry> entry = FindEntry(*file.bytes, name, malformed);
  if (!file.bytes->starts_with("TQMANIFEST 1\n") || malformed) {
    return manifest + " is not of the format TQMANIFEST 1";
  }
  const std::string mismatch = std::string(name) + " does not match its manifest: ";
  if (!entry) return std::string(name) + " is not listed in its manifest";
  if (bytes.size() != entry->size) {
    return mismatch + "it has " + std::to_string(bytes.size()) + " bytes where the manifest lists " +
           std::to_string(entry->size);
  }
  if ((sha256.empty() ? Sha256Hex(bytes) : std::string(sha256)) != entry->sha256) {
    return mismatch + "its SHA-256 checksum differs";
  }
  if (records && *records != entry->records) {
    return mismatch + std::to_string(*records) + " records are used where it lists " +
           std::to_string(entry->records);
  }
  return {};
}

std::string DamageWithManifest(const std::filesystem::path& folder, std::string_view name,
                               std::string_view bytes, std::optional<std::size_t> records,
                               const std::string& damage, std::string_view sha256) {
  const std::string mismatch = CheckManifest(folder, name, bytes, records, sha256);
  if (mismatch.empty() || damage.empty()) return mismatch + damage;
  return mismatch + "; " + damage;
}

}  // namespace tq
