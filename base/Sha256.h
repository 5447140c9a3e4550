#pragma once
// SHA-256 (FIPS 180-4) of a run of bytes, as 64 lower-case hex digits: the
// checksum that the data manifest keeps of each data file.

#include <string>
#include <string_view>

namespace tq {

// `portable` forgoes the processor's SHA instructions (for tests of both ways).
std::string Sha256Hex(std::string_view bytes, bool portable = false);
// Whether this processor has the SHA instructions that make it fast.
bool Sha256HasFastPath();

}  // namespace tq
