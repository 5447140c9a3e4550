#include "data/DataFolders.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <system_error>

#include "data/CitySet.h"

namespace tq {
namespace fs = std::filesystem;

std::vector<fs::path> DataFolderCandidates(const std::optional<fs::path>& given,
                                           const fs::path& programFolder,
                                           const fs::path& fromProgram,
                                           const fs::path& configured) {
  if (given) return {*given};
  std::vector<fs::path> candidates{"."};
  const auto add = [&candidates](const fs::path& folder) {
    const fs::path normal = folder.lexically_normal();
    if (!folder.empty() &&
        std::find(candidates.begin(), candidates.end(), normal) == candidates.end()) {
      candidates.push_back(normal);
    }
  };
  if (!programFolder.empty()) add(programFolder / fromProgram);
  add(configured);
  return candidates;
}

fs::path ChooseDataFolder(const std::vector<fs::path>& candidates) {
  for (const fs::path& folder : candidates) {
    const fs::path file = folder / CCitySet::kFileName;
    std::error_code error;
    if (fs::is_regular_file(file, error) && ::access(file.c_str(), R_OK) == 0) return folder;
  }
  return candidates.empty() ? fs::path() : candidates.front();
}

fs::path ProgramFolder(const char* argv0) {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (!error) return self.parent_path();
  const std::string_view name = argv0 ? argv0 : "";
  if (name.empty()) return {};
  if (name.find('/') != std::string_view::npos) {
    const fs::path resolved = fs::weakly_canonical(fs::absolute(name, error), error);
    return error ? fs::path() : resolved.parent_path();
  }
  const char* path = std::getenv("PATH");
  for (std::string_view rest = path ? path : ""; !rest.empty();) {
    const std::size_t colon = rest.find(':');
    const fs::path folder = rest.substr(0, colon);
    rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    const fs::path candidate = (folder.empty() ? fs::path(".") : folder) / name;
    if (fs::is_regular_file(candidate, error) && ::access(candidate.c_str(), X_OK) == 0) {
      return fs::weakly_canonical(candidate, error).parent_path();
    }
  }
  return {};
}

}  // namespace tq
