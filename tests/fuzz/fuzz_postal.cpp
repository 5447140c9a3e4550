// Arbitrary bytes as typed text or as "pst.bin" (the first byte chooses),
// beside the sample data. A text: what the recognizer makes of it is
// consistent, and a code said back reads as the same code. A file: it is
// used in part or refused with a reason, the codes it lists answer a place
// or are told, and every other search answers as without it.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "lookup/AnswerText.h"
#include "lookup/SearchFlow.h"
#include "postal/QueryKind.h"
#include "support/TestData.h"

using tq::fuzz::Check;

namespace {

struct NobodyToAsk : tq::CityChooser {
  tq::CityChoiceReply ChooseCity(const std::vector<tq::CityChoice>&) override {
    return {tq::CityChoiceReply::Kind::kUnanswered, {}};
  }
};

void CheckText(const std::string& text) {
  const tq::RecognizedQuery what = tq::RecognizeQuery(text);
  const bool code = what.kind == tq::QueryKind::kZip || what.kind == tq::QueryKind::kPostalCode;
  Check(code == (what.postal && what.placeText.empty()), "a code kind without its code");
  Check(!code || !what.phone, "a code read as a number too");
  if (!what.postal) return;
  const tq::PostalCode& parsed = *what.postal;
  Check(parsed.length >= 3 && parsed.length <= parsed.text.size(), "a code of no length");
  const std::optional<tq::PostalCode> again = tq::ParsePostalCode(parsed.Text());
  Check(again && *again == parsed, "a code said back reads otherwise");
  if (parsed.kind == tq::PostalCode::Kind::kZip) Check(parsed.key <= 99999, "a ZIP key out of range");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const tq::test::TempDir folder;
  [[maybe_unused]] static const bool written = (tq::test::WriteSampleData(folder.path()), true);
  if (size == 0) return 0;
  const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  if (data[0] & 1) {
    CheckText(bytes);
    return 0;
  }
  tq::test::WriteBytes(folder / "pst.bin", bytes);
  NobodyToAsk nobody;
  tq::SearchFlow flow(folder.path(), nobody);
  flow.OpenData();
  const tq::LoadOutcome& read = flow.PostalCodes().Outcome();
  Check((read.problem == tq::FileProblem::kNone) != flow.OptionalFilesDamaged(),
        "damage not told, or told without damage");
  Check(read.problem != tq::FileProblem::kNone || flow.PostalCodes().HasCodes(),
        "a sound file without a code");
  const std::shared_ptr<const tq::Answer> dayton = flow.Search("937");
  Check(dayton->largestCity.entries == std::vector<std::string>{"Dayton"}, "937 answers otherwise");
  for (const char* typed : {"45402", "45424-1234", "H2X 1Y4", "00000", "K1A"}) {
    const std::shared_ptr<const tq::Answer> answer = flow.Search(typed);
    Check(answer->largestCity.entries.size() == 1, "no answer, or more than one largest city");
    if (!flow.PostalCodes().HasCodes()) continue;
    Check(answer->postal.has_value(), "a code searched without its code told");
    Check((answer->outcome == tq::AnswerOutcome::kFound) == answer->postal->place.has_value(),
          "a found code without its place, or a place without an answer");
    Check(answer->postal->place.has_value() == !tq::PostalText(*answer->postal).empty(),
          "a code's place without its line");
  }
  return 0;
}
