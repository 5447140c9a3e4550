#pragma once
// The program's version as the about box shows it. The one source is
// project(VERSION) in CMakeLists.txt, which CMake writes into Version.h;
// every place writes it alike (tqlookup --version, the manual pages, the
// package).

#include <string>

#include "Version.h"

namespace tq {

// "Telquest Pro 2.2.0".
inline std::string AboutVersionLine() { return std::string("Telquest Pro ") + kVersion; }

}  // namespace tq
