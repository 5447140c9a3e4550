// tqlookup: the lookups of Telquest Pro from the command line.
//
//   tqlookup [--data DIR] [--date YYYY-MM-DD] [--now YYYY-MM-DDTHH:MMZ] [--json]
//            [--pick TEXT|--pick-first|--cancel] QUERY
//   tqlookup [--data DIR] --filter TEXT
//
// QUERY is what one would type into the window: 937, a phone number in any
// common form, "Dayton, OH", a city alone or ", OH". The answer is printed as
// the window shows it, one block per list, then the local times (at --now,
// else now) and the exchange's place; --json prints it as one JSON object.
// Data files that are missing or damaged are told on stderr. --filter prints the city records that a record-set filter selects.
// Without --data the data files are read from the current directory, or, when
// it holds no cit.bin, from the folder they were installed to.

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "data/CitySet.h"
#include "data/Text.h"
#include "lookup/AnswerText.h"
#include "lookup/LocalTime.h"
#include "lookup/SearchFlow.h"

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitChoiceNeeded = 3;
constexpr int kExitNoSuchChoice = 4;

constexpr char kUsage[] =
    "usage: tqlookup [--data DIR] [--date YYYY-MM-DD] [--now YYYY-MM-DDTHH:MMZ] [--json]\n"
    "                [--pick TEXT|--pick-first|--cancel] QUERY\n"
    "       tqlookup [--data DIR] --filter TEXT\n";

std::string Out(const std::string& text) { return tq::Cp1252ToUtf8(text); }

struct Options {
  std::filesystem::path dataFolder;
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

std::optional<Options> ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--data" && hasValue) {
      options.dataFolder = argv[++i];
    } else if (arg == "--filter" && hasValue) {
      options.filter = tq::Utf8ToCp1252(argv[++i]);
    } else if (arg == "--pick" && hasValue) {
      options.pick = tq::Utf8ToCp1252(argv[++i]);
    } else if (arg == "--pick-first") {
      options.pickFirst = true;
    } else if (arg == "--cancel") {
      options.cancel = true;
    } else if (arg == "--date" && hasValue) {
      options.date = ParseDate(argv[++i]);
      if (!options.date) return {};
    } else if (arg == "--now" && hasValue) {
      options.now = tq::ParseUtcInstant(argv[++i]);
      if (!options.now) return {};
    } else if (arg == "--json") {
      options.json = true;
    } else if (arg == "--") {
      if (i + 1 < argc) options.query = tq::Utf8ToCp1252(argv[++i]);
    } else if (!arg.starts_with("--") && !options.query) {
      options.query = tq::Utf8ToCp1252(arg);
    } else {
      return {};
    }
  }
  const int picks = (options.pick ? 1 : 0) + options.pickFirst + options.cancel;
  if (options.filter.has_value() == options.query.has_value() || picks > 1) return {};
#ifdef TELQUEST_INSTALLED_DATA_DIR
  std::error_code error;
  if (options.dataFolder.empty() && !std::filesystem::exists(tq::CCitySet::kFileName, error) &&
      std::filesystem::exists(std::filesystem::path(TELQUEST_INSTALLED_DATA_DIR) /
                                  tq::CCitySet::kFileName,
                              error)) {
    options.dataFolder = TELQUEST_INSTALLED_DATA_DIR;
  }
#endif
  return options;
}

// Answers the city choice from the options, or asks on a terminal.
class CommandLineChooser : public tq::CityChooser {
 public:
  explicit CommandLineChooser(const Options& options) : options_(options) {}

  std::optional<std::string> ChooseCity(const std::vector<std::string>& choices) override {
    tq::ListBox sorted(tq::ListBox::Order::kSorted);  // shown as the window shows them
    for (const std::string& choice : choices) sorted.AddString(choice);
    const auto& shown = sorted.Entries();
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

int RunFilter(const Options& options) {
  tq::CCitySet cities(options.dataFolder);
  cities.strFilter = *options.filter;
  cities.Open();
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
  if (options.date) flow.today = [date = *options.date] { return date; };
  if (options.now) flow.nowUtc = [now = *options.now] { return now; };
  flow.OpenData();
  for (const std::string& problem : flow.dataProblems) {
    std::fprintf(stderr, "tqlookup: %s\n", Out(problem).c_str());
  }
  flow.editQuery = *options.query;
  flow.OnOK();
  const std::string answer = options.json ? tq::AnswerJson(flow) : tq::AnswerText(flow);
  std::fputs(answer.c_str(), stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Options> options = ParseOptions(argc, argv);
  if (!options) {
    std::fputs(kUsage, stderr);
    return kExitUsage;
  }
  return options->filter ? RunFilter(*options) : RunQuery(*options);
}
