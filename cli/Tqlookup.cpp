#include "cli/Tqlookup.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <istream>
#include <optional>
#include <ostream>

#include "Version.h"
#include "base/Text.h"
#include "cli/BatchCommand.h"
#include "data/CitySet.h"
#include "data/DataFolders.h"
#include "lookup/AnswerText.h"
#include "lookup/SearchFlow.h"
#include "time/LocalTime.h"

namespace tq {
namespace {

constexpr char kUsage[] =
    "usage: tqlookup [OPTION]... QUERY\n"
    "       tqlookup [--data DIR] --filter TEXT\n"
    "       tqlookup --batch [OPTION]... [FILE]   (see tqlookup --batch --help)\n"
    "Looks up North American telephone area codes as the Telquest Pro window does\n"
    "and prints the answer, one block per list.\n"
    "\n"
    "QUERY is an area code (937), a phone number in any common form\n"
    "(\"(937) 222-1234\", +1 937 222 1234, 1-800-FLOWERS), a city and its state or\n"
    "province (\"Dayton, OH\"), a city alone (Springfield), a comma and a state or\n"
    "province (\", OH\"), or a ZIP or postal code (45402, 45402-1234, \"K1A 0B1\", K1A).\n"
    "\n"
    "Options:\n"
    "  --data DIR         read cit.bin and arc.bin from DIR (default: the current\n"
    "                     directory, else the data installed with tqlookup)\n"
    "  --now INSTANT      the instant of the local times and the time zone line\n"
    "                     (default: now), in ISO 8601: YYYY-MM-DDTHH:MM, optional\n"
    "                     :SS, then Z or an offset (+HH:MM, -0400, -04), digits only,\n"
    "                     1970 to 2100: 2026-07-05T22:42Z, 2026-07-05T18:42-04:00\n"
    "  --date YYYY-MM-DD  the same as --now at 12:00 UTC of that day\n"
    "  --window H:MM-H:MM the local hours in which a place may be called, hours\n"
    "                     of one or two digits: 9:00-17:00 (default: 08:00-21:00)\n"
    "  --json             print the answer as one JSON object\n"
    "  --pick TEXT        when several cities match, choose the one shown as TEXT\n"
    "                     (\"Springfield, Missouri\" or \"Springfield, MO\"), else the\n"
    "                     first that begins with TEXT (case ignored); the place\n"
    "                     chosen is answered alone\n"
    "  --pick-first       when several cities match, choose the first, the most\n"
    "                     populous\n"
    "  --cancel           when several cities match, choose none\n"
    "  --filter TEXT      print the city records that the record filter TEXT selects\n"
    "  --                 end of the options: the next argument is the query\n"
    "  -h, --help         print this help and exit\n"
    "  -V, --version      print the version and exit\n"
    "\n"
    "Exit status:\n"
    "  0  the answer was printed\n"
    "  1  the answer could not be written\n"
    "  2  the command line was not understood\n"
    "  3  several cities match and no choice was made (input is not a terminal)\n"
    "  4  no city matches the --pick text\n"
    "  5  the data files are missing, unreadable or refused (nothing is answered)\n"
    "  6  a data file is damaged (the answer from what could be read is printed)\n"
    "  7  nothing was found (\"City not found in database\", \"No cities found\")\n"
    "\n"
    "When the answer's reader goes away (a pipe into head), tqlookup ends at its\n"
    "next write: by the signal SIGPIPE, or, where that is ignored, with status 1.\n";

// Text of the data or of the user for the terminal: control bytes show as
// visible placeholders.
std::string Out(const std::string& cp1252) { return Cp1252ToDisplayUtf8(cp1252); }
std::string ShownArg(const std::string& utf8) { return Out(Utf8ToCp1252(utf8)); }

struct Options {
  bool help = false;
  bool version = false;
  std::optional<std::filesystem::path> givenDataFolder;
  std::filesystem::path dataFolder;  // the one chosen from the candidates
  std::vector<std::filesystem::path> foldersTried;
  std::optional<std::string> filter;
  std::optional<std::string> query;
  std::optional<std::string> pick;  // code page 1252
  bool pickFirst = false;
  bool cancel = false;
  std::optional<std::int64_t> now;  // seconds since 1970, UTC
  CallingHours callingHours;
  bool json = false;
};

// "2026-07-04": the instant of its noon, UTC (the one instant reader reads
// the date and that time together).
std::optional<std::int64_t> ParseDate(const std::string& text) {
  return ParseIsoInstant(text + "T12:00Z");
}

// The options, or nothing with `error` naming what is wrong. --help and
// --version end the reading.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error) {
  Options options;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    // A query may begin with a single dash, as -212 does.
    const bool isOption = !optionsEnded && (arg.starts_with("--") || arg == "-h" || arg == "-V");
    if (!isOption) {
      if (options.query) {
        error = "more than one query: " + ShownArg(arg);
        return {};
      }
      options.query = Utf8ToCp1252(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--help" || arg == "-h") {
      options.help = true;
      return options;
    } else if (arg == "--version" || arg == "-V") {
      options.version = true;
      return options;
    } else if (arg == "--pick-first") {
      options.pickFirst = true;
    } else if (arg == "--cancel") {
      options.cancel = true;
    } else if (arg == "--data" || arg == "--filter" || arg == "--pick" || arg == "--date" ||
               arg == "--now" || arg == "--window") {
      if (i + 1 == args.size()) {
        error = arg + ": missing value";
        return {};
      }
      const std::string& text = args[++i];
      if (arg == "--data") options.givenDataFolder = text;
      if (arg == "--filter") options.filter = Utf8ToCp1252(text);
      if (arg == "--pick") options.pick = Utf8ToCp1252(text);
      if (arg == "--date" && !(options.now = ParseDate(text))) {
        error = "--date: not a date from 1970 to 2100: " + ShownArg(text);
        return {};
      }
      if (arg == "--now" && !(options.now = ParseNowOption(text, error))) return {};
      if (arg == "--window") {
        const std::optional<CallingHours> hours = ParseWindowOption(text, error);
        if (!hours) return {};
        options.callingHours = *hours;
      }
    } else if (arg == "--json") {
      options.json = true;
    } else {
      error = "unknown option " + ShownArg(arg);
      return {};
    }
  }
  const int picks = (options.pick ? 1 : 0) + options.pickFirst + options.cancel;
  if (picks > 1) {
    error = "--pick, --pick-first and --cancel exclude each other";
  } else if (options.filter && options.query) {
    error = "--filter takes no query";
  } else if (!options.filter && !options.query) {
    error = "no query given";
  }
  if (!error.empty()) return {};
  return options;
}

void PrintChoices(const std::vector<CityChoice>& shown, std::ostream& to) {
  for (std::size_t i = 0; i < shown.size(); ++i) {
    std::string number = std::to_string(i + 1);
    if (number.size() < 4) number.insert(0, 4 - number.size(), ' ');
    to << number << "  " << Out(shown[i].text) << "\n";
  }
}

// Answers the city choice from the options, or asks on a terminal.
class CommandLineChooser : public CityChooser {
 public:
  CommandLineChooser(const Options& options, CommandLineIo& io) : options_(options), io_(io) {}

  CityChoiceReply ChooseCity(const std::vector<CityChoice>& shown) override {
    using Kind = CityChoiceReply::Kind;
    if (options_.cancel) return {Kind::kCancelled, {}};
    if (options_.pickFirst) return {Kind::kChosen, shown.front().text, shown.front().cityId};
    if (options_.pick) {
      // "Springfield, Missouri", "Springfield, MO", else a beginning.
      for (const CityChoice& choice : shown) {
        if (CompareNoCase(choice.text, *options_.pick) == 0 ||
            CompareNoCase(choice.city + ", " + choice.state, *options_.pick) == 0) {
          return {Kind::kChosen, choice.text, choice.cityId};
        }
      }
      for (const CityChoice& choice : shown) {
        if (StartsWithNoCase(choice.text, *options_.pick)) {
          return {Kind::kChosen, choice.text, choice.cityId};
        }
      }
      noSuchChoice = true;
      return {Kind::kUnanswered, {}};
    }
    if (options_.json || !io_.interactive) return {Kind::kUnanswered, {}};
    PrintChoices(shown, io_.prompt);
    for (;;) {
      io_.prompt << "Please select one (1-" << shown.size() << ", empty to cancel): ";
      io_.prompt.flush();
      if (!io_.prompt) {
        promptFailed = true;
        return {Kind::kCancelled, {}};
      }
      std::string line;
      if (!std::getline(io_.in, line) || line.empty()) return {Kind::kCancelled, {}};
      const int number = AtoI(line);
      if (number >= 1 && static_cast<std::size_t>(number) <= shown.size()) {
        const CityChoice& chosen = shown[static_cast<std::size_t>(number) - 1];
        return {Kind::kChosen, chosen.text, chosen.cityId};
      }
    }
  }

  bool noSuchChoice = false;
  bool promptFailed = false;

 private:
  const Options& options_;
  CommandLineIo& io_;
};

// A failed write (a full disk, a closed pipe) is an error, told once.
int CheckOutput(std::ostream& out, std::ostream& err, int status) {
  out.flush();
  if (out) return status;
  const int error = errno;
  err << "tqlookup: cannot write the answer" << (error ? ": " : "")
      << (error ? std::strerror(error) : "") << "\n";
  return kExitOutputError;
}

int RunFilter(const Options& options, CommandLineIo& io) {
  CCitySet cities(options.dataFolder);
  cities.strFilter = *options.filter;
  cities.Open();
  std::vector<LoadOutcome> problems;
  if (cities.Outcome().problem != FileProblem::kNone) problems.push_back(cities.Outcome());
  const int status = TellDataProblems(problems, options.dataFolder, options.foldersTried, io.err);
  if (status == kExitNoData) return status;
  for (; !cities.IsEOF(); cities.MoveNext()) {
    char zone[32];
    std::snprintf(zone, sizeof zone, "%g", static_cast<double>(cities.fTimeZone));
    io.out << cities.iCityId << "\t" << Out(cities.strCity) << "\t"
           << Out(cities.strStateOrProvince) << "\t" << cities.iPopulation << "\t"
           << cities.bDaylightSaving << "\t" << zone << "\n";
  }
  return status;
}

int RunQuery(const Options& options, CommandLineIo& io, const CommandLinePlaces& places) {
  CommandLineChooser chooser(options, io);
  SearchFlow flow(options.dataFolder, chooser);
  // One instant for the local times and the time zone line.
  const std::int64_t now = options.now ? *options.now : places.nowUtc();
  flow.SetNow([now] { return now; });
  flow.SetCallingHours(options.callingHours);
  flow.OpenData();
  const int status =
      TellDataProblems(flow.DataProblems(), options.dataFolder, options.foldersTried, io.err);
  if (status == kExitNoData) return status;
  const std::shared_ptr<const Answer> kept = flow.Search(*options.query);
  const Answer& answer = *kept;
  if (chooser.promptFailed) {
    io.err << "tqlookup: cannot write the question to the terminal\n";
    return kExitOutputError;
  }
  if (chooser.noSuchChoice) {
    PrintChoices(answer.choices, io.err);
    io.err << "tqlookup: no choice matches \"" << Out(*options.pick) << "\"\n";
    return kExitNoSuchChoice;
  }
  if (answer.outcome == AnswerOutcome::kChoices) {
    if (options.json) {
      io.out << ChoicesJson(answer);
    } else {
      io.out << "Matching Cities:\n";
      PrintChoices(answer.choices, io.out);
    }
    return kExitChoiceNeeded;
  }
  // What only this search ran into (a ZIP code without pst.bin).
  for (const LoadOutcome& problem : answer.problems) {
    if (std::find(flow.DataProblems().begin(), flow.DataProblems().end(), problem) ==
        flow.DataProblems().end()) {
      io.err << "tqlookup: " << Out(problem.text) << "\n";
    }
  }
  io.out << (options.json ? AnswerJson(answer, now) : AnswerText(answer, now));
  const bool nothing =
      answer.outcome == AnswerOutcome::kNotFound || answer.outcome == AnswerOutcome::kNoCities;
  return status == 0 && nothing ? kExitNotFound : status;
}

int Run(const std::vector<std::string>& args, CommandLineIo& io,
        const CommandLinePlaces& places) {
  std::string error;
  std::optional<Options> options = ParseOptions(args, error);
  if (!options) {
    io.err << "tqlookup: " << error << "\nTry 'tqlookup --help' for more information.\n";
    return kExitUsage;
  }
  if (options->help) {
    io.out << kUsage;
    return 0;
  }
  if (options->version) {
    io.out << "tqlookup (Telquest Pro) " << kVersion << "\n";
    return 0;
  }
  options->foldersTried = DataFolderCandidates(options->givenDataFolder, places.programFolder,
                                               places.dataFromProgram, places.installedData);
  options->dataFolder = ChooseDataFolder(options->foldersTried);
  return options->filter ? RunFilter(*options, io) : RunQuery(*options, io, places);
}

}  // namespace

int TellDataProblems(const std::vector<LoadOutcome>& problems, const std::filesystem::path& folder,
                     const std::vector<std::filesystem::path>& tried, std::ostream& err) {
  for (const LoadOutcome& problem : problems) err << "tqlookup: " << Out(problem.text) << "\n";
  const int status = ExitStatusFor(problems);
  // A missing file is told for the folder chosen; name the others tried too.
  if (status == kExitNoData) {
    for (const std::filesystem::path& other : tried) {
      if (other != folder) err << "tqlookup: also looked in " << Out(other.string()) << "\n";
    }
  }
  return status;
}

std::optional<std::int64_t> ParseNowOption(const std::string& text, std::string& error) {
  const std::optional<std::int64_t> now = ParseIsoInstant(text);
  if (!now) {
    error = "--now: not an instant from 1970 to 2100 (ISO 8601, as 2026-07-05T22:42Z): " +
            ShownArg(text);
  }
  return now;
}

std::optional<CallingHours> ParseWindowOption(const std::string& text, std::string& error) {
  const std::optional<CallingHours> hours = ParseCallingHours(text);
  if (!hours) error = "--window: not a window of local hours (H:MM-H:MM): " + ShownArg(text);
  return hours;
}

int RunTqlookup(const std::vector<std::string>& args, CommandLineIo& io,
                const CommandLinePlaces& places) {
  errno = 0;
  if (IsBatchCommand(args)) return RunBatchCommand(args, io, places);
  return CheckOutput(io.out, io.err, Run(args, io, places));
}

}  // namespace tq
