#pragma once
// The data manifest "tqdata.manifest" (format TQMANIFEST 1, described in
// docs/data-format.md): the record count, size and SHA-256 checksum of each
// data file, written by the data generator. A loader that finds one beside
// its file checks the file against it; without one, files load unchecked.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tq {

inline constexpr char kManifestFileName[] = "tqdata.manifest";

// What is wrong with the data file `name` of `folder`, read as `bytes`, of
// which `records` records were used (not compared when nothing), against
// the folder's manifest: "" when it matches or there is no manifest; else
// "cit.bin does not match its manifest: ..." or what is wrong with the
// manifest itself. `sha256`: the bytes' SHA-256 when the caller has it.
[[nodiscard]] std::string CheckManifest(const std::filesystem::path& folder, std::string_view name,
                                        std::string_view bytes,
                                        std::optional<std::size_t> records,
                                        std::string_view sha256 = {});

// `damage` (what the load found wrong) joined with what CheckManifest says.
[[nodiscard]] std::string DamageWithManifest(const std::filesystem::path& folder,
                                             std::string_view name, std::string_view bytes,
                                             std::optional<std::size_t> records,
                                             const std::string& damage,
                                             std::string_view sha256 = {});

}  // namespace tq
