// tqlookup: the lookups of Telquest Pro from the command line.
//
//   tqlookup [OPTION]... QUERY
//   tqlookup [--data DIR] --filter TEXT
//
// QUERY is what one would type into the window: 937, a phone number in any
// common form, "Dayton, OH", a city alone or ", OH". The answer is printed as
// the window shows it, one block per list, then the local times (at --now,
// else now) and the exchange's place; --json prints it as one JSON object.
// Data files that are missing or damaged are told on stderr. --filter prints
// the city records that a record-set filter selects.
// Without --data the data files are read from the current directory, or, when
// it holds no cit.bin, from the data installed beside the program
// (../share/telquest from bin/), or from the folder chosen at build time.

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "Version.h"
#include "app/DataFolders.h"
#include "data/CitySet.h"
#include "data/Text.h"
#include "lookup/AnswerText.h"
#include "lookup/LocalTime.h"
#include "lookup/SearchFlow.h"

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitChoiceNeeded = 3;
constexpr int kExitNoSuchChoice = 4;
constexpr int kExitOutputError = 1;
constexpr int kExitNoData = 5;
constexpr int kExitDamagedData = 6;

constexpr char kUsage[] =
    "usage: tqlookup [OPTION]... QUERY\n"
    "       tqlookup [--data DIR] --filter TEXT\n"
    "Looks up North American telephone area codes as the Telquest Pro window does\n"
    "and prints the answer, one block per list.\n"
    "\n"
    "QUERY is an area code (937), a phone number in any common form\n"
    "(\"(937) 222-1234\", +1 937 222 1234, 1-800-FLOWERS), a city and its state or\n"
    "province (\"Dayton, OH\"), a city alone (Springfield) or a comma and a state or\n"
    "province (\", OH\").\n"
    "\n"
    "Options:\n"
    "  --data DIR         read cit.bin and arc.bin from DIR (default: the current\n"
    "                     directory, else the data installed with tqlookup)\n"
    "  --date YYYY-MM-DD  the day that decides daylight saving time (default: today)\n"
    "  --now YYYY-MM-DDTHH:MMZ\n"
    "                     the instant of the local times, in UTC (default: now)\n"
    "  --json             print the answer as one JSON object\n"
    "  --pick TEXT        when several cities match, choose the one shown as TEXT,\n"
    "                     else the first that begins with TEXT (case ignored)\n"
    "  --pick-first       when several cities match, choose the first\n"
    "  --cancel           when several cities match, choose none\n"
    "  --filter TEXT      print the city records that the record filter TEXT selects\n"
    "  --                 end of the options: the next argument is the query\n"
    "  -h, --help         print this help and exit\n"
    "  -V, --version      print the version and exit\n"
    "\n"
    "Exit status:\n"
    "  0  the answer was printed (also \"City not found in database\")\n"
    "  1  the answer could not be written\n"
    "  2  the command line was not understood\n"
    "  3  several cities match and no choice was made (input is not a terminal)\n"
    "  4  no city matches the --pick text\n"
    "  5  the data files are missing, unreadable or refused (nothing is answered)\n"
    "  6  a data file is damaged (the answer from what could be read is printed)\n";

std::string Out(const std::string& text) { return tq::Cp1252ToDisplayUtf8(text); }

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
  std::optional<tq::CalendarDay> date;
  std::optional<std::int64_t> now;  // seconds since 1970, UTC
  bool json = false;
};

std::optional<tq::CalendarDay> ParseDate(const std::string& text) {
  int year = 0, month = 0, day = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%d-%d-%d%c", &year, &month, &day, &tail) != 3) return {};
  const std::chrono::year_month_day date{std::chrono::year(year), std::chrono::month(month),
                                         std::chrono::day(day)};
  if (!date.ok()) return {};
  const std::chrono::weekday weekday{std::chrono::sys_days(date)};
  return tq::CalendarDay{month, day, static_cast<int>(weekday.c_encoding()) + 1};
}

// The options, or nothing with `error` naming what is wrong. --help and
// --version end the reading.
std::optional<Options> ParseOptions(int argc, char** argv, std::string& error) {
  Options options;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    // A query may begin with a single dash, as -212 does.
    const bool isOption = !optionsEnded && (arg.starts_with("--") || arg == "-h" || arg == "-V");
    if (!isOption) {
      if (options.query) {
        error = "more than one query: " + arg;
        return {};
      }
      options.query = tq::Utf8ToCp1252(arg);
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
               arg == "--now") {
      if (i + 1 == argc) {
        error = arg + ": missing value";
        return {};
      }
      const std::string text = argv[++i];
      if (arg == "--data") options.givenDataFolder = text;
      if (arg == "--filter") options.filter = tq::Utf8ToCp1252(text);
      if (arg == "--pick") options.pick = tq::Utf8ToCp1252(text);
      if (arg == "--date" && !(options.date = ParseDate(text))) {
        error = "--date: not a date: " + text;
        return {};
      }
      if (arg == "--now" && !(options.now = tq::ParseUtcInstant(text))) {
        error = "--now: not an instant (YYYY-MM-DDTHH:MMZ): " + text;
        return {};
      }
    } else if (arg == "--json") {
      options.json = true;
    } else {
      error = "unknown option " + arg;
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

// Answers the city choice from the options, or asks on a terminal.
class CommandLineChooser : public tq::CityChooser {
 public:
  explicit CommandLineChooser(const Options& options) : options_(options) {}

  std::optional<std::string> ChooseCity(const std::vector<std::string>& choices) override {
    const std::vector<std::string> shown = tq::ChoicesInShownOrder(choices);
    if (options_.cancel) return std::nullopt;
    if (options_.pickFirst) return shown.front();
    if (options_.pick) {
      for (const std::string& choice : shown) {
        if (choice == *options_.pick) return choice;
      }
      for (const std::string& choice : shown) {
        if (tq::StartsWithNoCase(choice, *options_.pick)) return choice;
      }
      PrintChoices(shown, stderr);
      std::fprintf(stderr, "tqlookup: no choice matches \"%s\"\n", Out(*options_.pick).c_str());
      std::exit(kExitNoSuchChoice);
    }
    if (options_.json) {
      std::fputs(tq::ChoicesJson(options_.query.value_or(""), shown).c_str(), stdout);
      std::exit(kExitChoiceNeeded);
    }
    if (!isatty(STDIN_FILENO)) {
      std::printf("Matching Cities:\n");
      PrintChoices(shown, stdout);
      std::exit(kExitChoiceNeeded);
    }
    PrintChoices(shown, stdout);
    for (;;) {
      std::printf("Please select one (1-%zu, empty to cancel): ", shown.size());
      std::fflush(stdout);
      std::string line;
      if (!std::getline(std::cin, line) || line.empty()) return std::nullopt;
      const int number = tq::AtoI(line);
      if (number >= 1 && static_cast<std::size_t>(number) <= shown.size()) {
        return shown[static_cast<std::size_t>(number) - 1];
      }
    }
  }

 private:
  static void PrintChoices(const std::vector<std::string>& shown, std::FILE* to) {
    for (std::size_t i = 0; i < shown.size(); ++i) {
      std::fprintf(to, "%4zu  %s\n", i + 1, Out(shown[i]).c_str());
    }
  }
  const Options& options_;
};

// Tells on stderr what is wrong with the data files. A missing, unreadable or
// refused place file ends the run (kExitNoData); a damaged one is used as far
// as it can be read (kExitDamagedData, given after the answer); a problem of
// the exchange file only costs the exchanges; else 0.
int ReportDataProblems(const Options& options, const std::vector<std::string>& problems,
                       std::initializer_list<const tq::LoadOutcome*> outcomes) {
  for (const std::string& problem : problems) {
    std::fprintf(stderr, "tqlookup: %s\n", Out(problem).c_str());
  }
  int status = 0;
  for (const tq::LoadOutcome* outcome : outcomes) {
    if (outcome->problem == tq::FileProblem::kNone) continue;
    status = std::max(status, outcome->problem == tq::FileProblem::kDamaged ? kExitDamagedData
                                                                             : kExitNoData);
  }
  // A missing file is told for the folder chosen; name the others tried too.
  if (status == kExitNoData) {
    for (const std::filesystem::path& folder : options.foldersTried) {
      if (folder != options.dataFolder) {
        std::fprintf(stderr, "tqlookup: also looked in %s\n", Out(folder.string()).c_str());
      }
    }
  }
  return status;
}

// A failed write of the answer (a full disk, a closed pipe) is an error.
int CheckOutput(int status) {
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fprintf(stderr, "tqlookup: cannot write the answer: %s\n", std::strerror(errno));
    return kExitOutputError;
  }
  return status;
}

int RunFilter(const Options& options) {
  tq::CCitySet cities(options.dataFolder);
  cities.strFilter = *options.filter;
  cities.Open();
  std::vector<std::string> problems;
  if (!cities.Outcome().text.empty()) problems.push_back(cities.Outcome().text);
  const int status = ReportDataProblems(options, problems, {&cities.Outcome()});
  if (status == kExitNoData) return status;
  for (; !cities.IsEOF(); cities.MoveNext()) {
    std::printf("%d\t%s\t%s\t%d\t%d\t%g\n", cities.iCityId, Out(cities.strCity).c_str(),
                Out(cities.strStateOrProvince).c_str(), cities.iPopulation,
                cities.bDaylightSaving, static_cast<double>(cities.fTimeZone));
  }
  return 0;
}

int RunQuery(const Options& options) {
  CommandLineChooser chooser(options);
  tq::SearchFlow flow(options.dataFolder, chooser);
  if (options.now) {
    flow.nowUtc = [now = *options.now] { return now; };
    flow.today = [now = *options.now] { return tq::LocalDayAt(now); };  // unless --date
  }
  if (options.date) flow.today = [date = *options.date] { return date; };
  flow.OpenData();
  const int status = ReportDataProblems(options, flow.dataProblems,
                                        {&flow.setCities.Outcome(), &flow.setAreaCodes.Outcome()});
  if (status == kExitNoData) return status;
  flow.editQuery = *options.query;
  flow.OnOK();
  const std::string answer = options.json ? tq::AnswerJson(flow) : tq::AnswerText(flow);
  std::fputs(answer.c_str(), stdout);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  std::optional<Options> options = ParseOptions(argc, argv, error);
  if (!options) {
    std::fprintf(stderr, "tqlookup: %s\nTry 'tqlookup --help' for more information.\n",
                 error.c_str());
    return kExitUsage;
  }
  if (options->help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (options->version) {
    std::printf("tqlookup (Telquest Pro) %s\n", tq::kVersion);
    return 0;
  }
  const std::vector<std::filesystem::path> dataFolders =
      tq::DataFolderCandidates(options->givenDataFolder, tq::ProgramFolder(argv[0]),
                               TELQUEST_DATA_FROM_BIN, TELQUEST_INSTALLED_DATA_DIR);
  options->dataFolder = tq::ChooseDataFolder(dataFolders);
  options->foldersTried = dataFolders;
  return CheckOutput(options->filter ? RunFilter(*options) : RunQuery(*options));
}
