#pragma once
// The program's version as each place shows it. The one source is
// project(VERSION) in CMakeLists.txt, which CMake writes into Version.h.

#include <cstdio>
#include <string>

#include "Version.h"

namespace tq {

// "Telquest Pro 2.02.000": the about box writes the minor version with two
// digits and the patch level with three.
inline std::string AboutVersionLine() {
  char digits[32];
  std::snprintf(digits, sizeof digits, "%d.%02d.%03d", kVersionMajor, kVersionMinor,
                kVersionPatch);
  return std::string("Telquest Pro ") + digits;
}

}  // namespace tq
