#pragma once
// `tqlookup --batch`: the options of a batch run, its progress line and
// summary on the error stream, and its exit status. The rows themselves are
// made by the core (batch/BatchRun.h).

#include <string>
#include <vector>

#include "cli/Tqlookup.h"

namespace tq {

// True when the arguments (without the program's name) ask for a batch run.
bool IsBatchCommand(const std::vector<std::string>& args);

// Whether the progress line is drawn: only on a terminal (`errFd`), and not
// when the rows (`outFd`) go to a terminal too, where it would garble them.
bool ShowsProgress(int errFd, int outFd);

// Runs `tqlookup --batch ...` and returns its exit status. The process's
// standard streams are used through their file descriptors.
int RunBatchCommand(const std::vector<std::string>& args, CommandLineIo& io,
                    const CommandLinePlaces& places);

}  // namespace tq
