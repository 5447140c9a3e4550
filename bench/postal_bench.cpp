// ZIP and postal codes on the shipped data, each printed with its target and
// whether it is met: loading pst.bin (start-up adds it), a code's lookup (the
// text recognized, its place found and its row read), the whole search of a
// code with its answer, and a batch of code rows on one thread.
//
//   telquest_postal_bench   (scripts/bench.sh runs it)
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "batch/BatchRun.h"
#include "lookup/SearchFlow.h"
#include "postal/PostalTable.h"
#include "postal/QueryKind.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct NobodyToAsk : tq::CityChooser {
  tq::CityChoiceReply ChooseCity(const std::vector<tq::CityChoice>&) override {
    return {tq::CityChoiceReply::Kind::kUnanswered, {}};
  }
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void Print(const char* what, double value, const char* unit, double target, bool atLeast) {
  const bool met = atLeast ? value >= target : value < target;
  std::printf("%-46s %12.2f %-7s target %s %g: %s\n", what, value, unit, atLeast ? ">=" : "<",
              target, met ? "met" : "MISSED");
}

// The codes of pst.bin as people type them: every ZIP code, every FSA with
// a local delivery unit.
std::vector<std::string> Codes(const std::string& bytes) {
  std::vector<std::string> codes;
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t end = bytes.find('\n', at);
    const std::string line = bytes.substr(at, end - at);
    if (line.size() == 14) codes.push_back(line.substr(0, 5));
    if (line.size() == 12) codes.push_back(line.substr(0, 3) + " 1A1");
    at = end + 1;
  }
  return codes;
}

}  // namespace

int main() {
  const fs::path shipped = fs::path(TELQUEST_SOURCE_DIR) / "res";
  std::ifstream file(shipped / tq::PostalTable::kFileName, std::ios::binary);
  const std::string bytes(std::istreambuf_iterator<char>(file), {});
  NobodyToAsk nobody;
  tq::SearchFlow flow(shipped, nobody);
  flow.OpenData();
  const std::vector<std::string> codes = Codes(bytes);
  std::printf("pst.bin: %zu bytes, %zu codes\n", bytes.size(), codes.size());

  std::vector<double> loads, reads;
  for (int i = 0; i < 200; ++i) {
    tq::PostalTable table;
    const auto start = Clock::now();
    const std::string damage = table.Load(bytes, flow.Cities());
    loads.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    if (!damage.empty() || table.Count() + 0 == 0) std::printf("damaged: %s\n", damage.c_str());
    const auto readStart = Clock::now();
    (void)table.Read(shipped, flow.Cities());
    reads.push_back(std::chrono::duration<double, std::milli>(Clock::now() - readStart).count());
  }
  Print("loading pst.bin (parse and check), median", Median(loads), "ms", 1, false);
  std::printf("%-46s %12.2f ms     (the machine's noise aside)\n", "loading pst.bin, fastest",
              *std::min_element(loads.begin(), loads.end()));
  std::printf("%-46s %12.2f ms     (reading the file and its manifest check too)\n",
              "opening pst.bin from the folder, median", Median(reads));

  // A code's lookup: recognized, its place found, its row read.
  const tq::PostalTable& table = flow.PostalCodes();
  std::size_t found = 0;
  const auto lookStart = Clock::now();
  constexpr int kRounds = 20;
  for (int round = 0; round < kRounds; ++round) {
    for (const std::string& code : codes) {
      const tq::RecognizedQuery what = tq::RecognizeQuery(code);
      const tq::PostalPlace* place = what.postal ? table.Find(*what.postal) : nullptr;
      found += place && !flow.Cities().RowsOfCity(static_cast<std::uint32_t>(place->cityId)).empty();
    }
  }
  const double lookup = std::chrono::duration<double, std::micro>(Clock::now() - lookStart).count() /
                        (static_cast<double>(codes.size()) * kRounds);
  Print("a ZIP or postal code's place, mean", lookup, "us", 20, false);

  // The whole search of a code: the place's answer with every list, beside
  // the search of the same place typed, which it equals.
  std::vector<double> searches, typed;
  for (std::size_t i = 0; i < codes.size(); i += 97) {
    auto start = Clock::now();
    const std::shared_ptr<const tq::Answer> answer = flow.Search(codes[i]);
    searches.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    if (!answer->postal || !answer->postal->place) continue;
    const std::string place = flow.QueryOfPlace(answer->postal->place->cityId);
    start = Clock::now();
    (void)flow.Search(place);
    typed.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  Print("the whole search of a code with its answer, median", Median(searches), "us", 20, false);
  std::printf("%-46s %12.2f us     (the same places typed)\n", "the search of its place typed, median",
              Median(typed));

  // A batch of code rows on one thread, written to /dev/null.
  const fs::path rows = fs::temp_directory_path() / "telquest-postal-rows.txt";
  {
    std::ofstream out(rows, std::ios::binary);
    for (std::size_t i = 0; i < 2'000'000; ++i) out << codes[(i * 7919) % codes.size()] << '\n';
  }
  const tq::BatchLookup lookupOfRows(shipped);
  tq::BatchOptions options;
  options.nowUtc = 1783291320;
  const int in = ::open(rows.c_str(), O_RDONLY);
  const int out = ::open("/dev/null", O_WRONLY);
  const auto batchStart = Clock::now();
  const tq::BatchResult result = tq::RunBatch(in, out, lookupOfRows, options);
  const double seconds = std::chrono::duration<double>(Clock::now() - batchStart).count();
  ::close(in);
  ::close(out);
  fs::remove(rows);
  const std::size_t postal = static_cast<std::size_t>(tq::BatchStatus::kPostal);
  std::printf("batch: %llu rows, %llu of status postal\n",
              static_cast<unsigned long long>(result.totals.rows),
              static_cast<unsigned long long>(result.totals.byStatus[postal]));
  Print("a batch of code rows on one thread", static_cast<double>(result.totals.rows) / seconds,
        "rows/s", 1'000'000, true);
  std::printf("(%zu of %zu codes found)\n", found / kRounds, codes.size());
  return 0;
}
