#pragma once
// SHA-256 (FIPS 180-4) of a run of bytes, as 64 lower-case hex digits: the
// checksum that the data manifest keeps of each data file.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace tq {

// `portable` forgoes the processor's SHA instructions (for tests of both ways).
std::string Sha256Hex(std::string_view bytes, bool portable = false);
// The SHA-256 of the first `prefix` bytes (at most all) and of all of them,
// in one pass over the blocks they share: a file sealed with the sum of all
// but its last line, held to a manifest's sum of it all.
std::pair<std::string, std::string> Sha256HexOfPrefixAndWhole(std::string_view bytes,
                                                              std::size_t prefix);
// Whether this processor has the SHA instructions that make it fast.
bool Sha256HasFastPath();

}  // namespace tq
