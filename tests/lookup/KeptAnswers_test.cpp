// 2,000 queries over the shipped data, each answer (text, JSON, choices)
// kept as a digest: a change that alters any answer without meaning to is
// caught here. When an answer changes on purpose, write the file anew with
//   TELQUEST_UPDATE_ANSWERS=1 build/test/tests/core_tests --gtest_filter='KeptAnswers*'
// and look at the queries it names before committing it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/Sha256.h"
#include "base/Text.h"
#include "lookup/AnswerText.h"
#include "lookup/SearchFlow.h"

namespace tq {
namespace {

const std::filesystem::path kSource(TELQUEST_SOURCE_DIR);
const std::filesystem::path kShipped = kSource / "res";
const std::filesystem::path kKept = kSource / "tests/lookup/answers.out";
constexpr std::int64_t kInstant = 1783291320;  // 2026-07-05T22:42Z

struct NobodyToAsk : CityChooser {
  CityChoiceReply ChooseCity(const std::vector<CityChoice>&) override {
    return {CityChoiceReply::Kind::kUnanswered, {}};
  }
};

struct Kept {
  std::string digest;
  std::string query;  // UTF-8, as typed
};

std::vector<Kept> ReadKept() {
  std::vector<Kept> kept;
  std::ifstream in(kKept);
  for (std::string line; std::getline(in, line);) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    kept.push_back({line.substr(0, tab), line.substr(tab + 1)});
  }
  return kept;
}

TEST(KeptAnswers, EveryAnswerIsTheOneKept) {
  if (!std::filesystem::exists(kShipped / "cit.bin")) GTEST_SKIP() << "no shipped data";
  std::vector<Kept> kept = ReadKept();
  ASSERT_EQ(kept.size(), 2000u) << kKept;
  NobodyToAsk nobody;
  SearchFlow flow(kShipped, nobody);
  flow.SetNow([] { return kInstant; });
  flow.OpenData();
  std::vector<std::string> changed;
  for (Kept& entry : kept) {
    const Answer& answer = *flow.Search(Utf8ToCp1252(entry.query));
    const std::string shown =
        AnswerText(answer, kInstant) + AnswerJson(answer, kInstant) + ChoicesJson(answer);
    const std::string digest = Sha256Hex(shown).substr(0, 16);
    if (digest == entry.digest) continue;
    if (changed.size() < 5) changed.push_back("\"" + entry.query + "\" now answers:\n" + shown);
    else changed.push_back("\"" + entry.query + "\"");
    entry.digest = digest;
  }
  if (std::getenv("TELQUEST_UPDATE_ANSWERS") != nullptr) {
    std::ofstream out(kKept, std::ios::binary);
    for (const Kept& entry : kept) out << entry.digest << '\t' << entry.query << '\n';
    return;
  }
  std::ostringstream told;
  for (const std::string& text : changed) told << text << "\n";
  EXPECT_TRUE(changed.empty()) << changed.size() << " answers changed:\n" << told.str();
}

}  // namespace
}  // namespace tq
