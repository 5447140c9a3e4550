#pragma once
// Where an installed program finds its data files: the folders to look in,
// in order, and the first of them that holds cit.bin. The callers keep the
// list so that a message about missing data can name every folder tried.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tq {

// The folders to look in: only `given` when the user named one; else the
// current directory, `programFolder / fromProgram` (the installed data beside
// the program, e.g. "../share/telquest" from bin/) and `configured` (the
// folder chosen when the program was built), each once, empty ones left out.
std::vector<std::filesystem::path> DataFolderCandidates(
    const std::optional<std::filesystem::path>& given, const std::filesystem::path& programFolder,
    const std::filesystem::path& fromProgram, const std::filesystem::path& configured);

// The first candidate that holds a readable cit.bin, else the first candidate
// (so that the reading fails there and says so).
std::filesystem::path ChooseDataFolder(const std::vector<std::filesystem::path>& candidates);

// The folder of the running program: /proc/self/exe, else `argv0` resolved
// against the current directory or, without a slash, against PATH. Empty
// when neither tells.
std::filesystem::path ProgramFolder(const char* argv0);

}  // namespace tq
