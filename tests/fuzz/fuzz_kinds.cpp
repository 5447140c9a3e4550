// Arbitrary bytes as "knd.bin" or "pln.bin" (the first byte chooses) beside
// the namesake data: each file is used in part or refused with a reason, and
// the searches that use them still answer one place, or ask.
#include <memory>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "lookup/SearchFlow.h"
#include "support/TestData.h"

namespace {

struct PickFirst : tq::CityChooser {
  tq::CityChoiceReply ChooseCity(const std::vector<tq::CityChoice>& choices) override {
    return {tq::CityChoiceReply::Kind::kChosen, choices.front().text, choices.front().cityId};
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const tq::test::TempDir folder;
  [[maybe_unused]] static const bool written = (tq::test::WriteNamesakeData(folder.path()), true);
  if (size == 0) return 0;
  const bool kinds = data[0] & 1;
  const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  tq::test::WriteBytes(folder / "knd.bin", kinds ? bytes : tq::test::kNamesakeKinds);
  tq::test::WriteBytes(folder / "pln.bin", kinds ? tq::test::kNamesakePlans : bytes);
  PickFirst chooser;
  tq::SearchFlow flow(folder.path(), chooser);
  flow.OpenData();
  tq::fuzz::Check(flow.OptionalFilesDamaged() != flow.DataProblems().empty(),
                  "damage not told, or told without damage");
  for (const char* query : {"Washington, PA", "springfield", "273", "724"}) {
    const std::shared_ptr<const tq::Answer> kept = flow.Search(query);
    const tq::Answer& answer = *kept;
    tq::fuzz::Check(answer.largestCity.entries.size() == 1, "no answer, or more than one largest city");
    const std::size_t all = tq::AllPlaceEntries(answer).size();
    tq::fuzz::Check(answer.places.size() >= all && all >= answer.majorCities.entries.size(),
                    "fewer places than entries, or more major cities than entries");
  }
  return 0;
}
