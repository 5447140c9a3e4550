#pragma once
// A larger country for the benchmarks: the shipped data ten times over. The
// first copy is the data as it is; the others have their city ids moved past
// every real one and " 2" to " 10" after each name, with the same states,
// populations and area codes. The copies follow each other, as files joined
// one after another, or are merged into the order of their names, as the
// generator writes a country. And a crowded code: very many places on one.

#include <cstdint>
#include <filesystem>

namespace tq::bench {

enum class GrownOrder { kJoined, kByName };

// Writes cit.bin and arc.bin of `copies` copies of the data in `from` into `to`.
void WriteGrownData(const std::filesystem::path& from, const std::filesystem::path& to,
                    int copies, GrownOrder order = GrownOrder::kJoined);

// Writes `places` places of one state, all on one area code, named in
// descending order (each new entry of a sorted list lands at its front).
void WriteCrowdedCode(const std::filesystem::path& to, int places, std::int32_t areaCode);

}  // namespace tq::bench
