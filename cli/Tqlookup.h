#pragma once
// tqlookup: the lookups of Telquest Pro from the command line, as a function
// of its arguments and streams that returns the exit status (main only
// connects it to the process).
//
//   tqlookup [OPTION]... QUERY
//   tqlookup [--data DIR] --filter TEXT
//
// QUERY is what one would type into the window: 937, a phone number in any
// common form, "Dayton, OH", a city alone or ", OH". The answer is printed as
// the window shows it, one block per list, then the local times (at --now,
// else now) and the exchange's place; --json prints it as one JSON object.
// Data files that are missing or damaged are told on the error stream.
// --filter prints the city records that a record-set filter selects.

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "data/DataFile.h"
#include "time/LocalTime.h"

namespace tq {

inline constexpr int kExitOutputError = 1;   // the answer could not be written
inline constexpr int kExitUsage = 2;         // the command line was not understood
inline constexpr int kExitChoiceNeeded = 3;  // several places match, none chosen
inline constexpr int kExitNoSuchChoice = 4;  // no place matches the --pick text
// 5 (kExitNoData: data missing, unreadable or refused) and 6
// (kExitDamagedData: an answer from damaged data) come from ExitStatusFor
// (data/DataFile.h), the one rule of every command.
inline constexpr int kExitNotFound = 7;      // the answer is "not found"

struct CommandLineIo {
  std::istream& in;    // the answer to the chooser's question on a terminal
  std::ostream& out;   // the answer
  std::ostream& err;   // messages
  // Where the chooser's question goes: the terminal when there is one, else
  // the error stream; never the answer's stream.
  std::ostream& prompt;
  // True when `in` is a terminal, so that a person can choose a place.
  bool interactive = false;
};

// Where the data is looked for when --data is not given (see DataFolders.h).
struct CommandLinePlaces {
  std::filesystem::path programFolder;
  std::filesystem::path dataFromProgram;
  std::filesystem::path installedData;
  // The instant of the local times when --now is not given.
  std::function<std::int64_t()> nowUtc;
};

// The values of --now and --window, for the single lookup and --batch alike;
// nothing with `error` saying what is wrong.
std::optional<std::int64_t> ParseNowOption(const std::string& text, std::string& error);
std::optional<CallingHours> ParseWindowOption(const std::string& text, std::string& error);

// Tells each data problem on `err` ("tqlookup: Data file ..."), and, when
// nothing can be answered, the folders looked in besides `folder`; returns
// ExitStatusFor(problems).
int TellDataProblems(const std::vector<LoadOutcome>& problems, const std::filesystem::path& folder,
                     const std::vector<std::filesystem::path>& tried, std::ostream& err);

// `args` without the program's name.
int RunTqlookup(const std::vector<std::string>& args, CommandLineIo& io,
                const CommandLinePlaces& places);

}  // namespace tq
