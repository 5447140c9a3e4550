#pragma once
// A larger country for the benchmarks: the shipped data ten times over. The
// first copy is the data as it is; the others have their city ids moved past
// every real one and " 2" to " 10" after each name, with the same states,
// populations and area codes.

#include <filesystem>

namespace tq::bench {

// Writes cit.bin and arc.bin of `copies` copies of the data in `from` into `to`.
void WriteGrownData(const std::filesystem::path& from, const std::filesystem::path& to,
                    int copies);

}  // namespace tq::bench
