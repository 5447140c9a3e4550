#pragma once
// `tqlookup --batch`: the options of a batch run, its progress line and
// summary on standard error, and its exit status. The rows themselves are
// made by the core (lookup/BatchRun.h).

#include <filesystem>
#include <vector>

namespace tq {

// True when the command line asks for a batch run.
bool IsBatchCommand(int argc, char** argv);

// Runs `tqlookup --batch ...` and returns its exit status. `dataFolders` are
// the folders to look for the data in, when no --data is given.
int RunBatchCommand(int argc, char** argv, const std::vector<std::filesystem::path>& dataFolders);

}  // namespace tq
