// The whole search on the sample data grown to some five hundred places
// (twenty-five copies with moved ids and numbered names, so that states and
// codes hold many places), driven by the fuzzer's bytes: typed texts of up
// to 4 KiB, double-clicks on any list entry and answers to the city
// choice. The same steps run over indexed and over scanning record sets, and
// both windows must show the same.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "lookup/SearchFlow.h"
#include "support/TestData.h"

namespace {

using tq::fuzz::Check;

// Answers each choice with the next byte: one of the choices, or a cancel.
class ByteChooser : public tq::CityChooser {
 public:
  explicit ByteChooser(std::string answers) : answers_(std::move(answers)) {}
  tq::CityChoiceReply ChooseCity(const std::vector<tq::CityChoice>& choices) override {
    Check(!choices.empty(), "choice without choices");
    const auto byte = static_cast<unsigned char>(next_ < answers_.size() ? answers_[next_++] : 0);
    const std::size_t pick = byte % (choices.size() + 1);
    if (pick == choices.size()) return {};
    return {tq::CityChoiceReply::Kind::kChosen, choices[pick].text};
  }

 private:
  std::string answers_;
  std::size_t next_ = 0;
};

std::filesystem::path WriteGrownSample(const tq::test::TempDir& folder) {
  std::vector<tq::test::CityFixture> cities;
  for (int copy = 0; copy < 25; ++copy) {
    for (tq::test::CityFixture city : tq::test::SampleCities()) {
      city.id += 1000 * copy;
      if (copy > 0) city.name += " " + std::to_string(copy);
      cities.push_back(std::move(city));
    }
  }
  tq::test::WriteDataFiles(folder.path(), cities);
  return folder.path();
}

struct Sets {
  tq::test::TempDir sample;
  std::filesystem::path folder = WriteGrownSample(sample);
  tq::CAreaCodeSet areaCodes{folder};
  tq::CCitySet cities{folder};
  tq::test::LinearAreaCodeSet linearAreaCodes{folder};
  tq::test::LinearCitySet linearCities{folder};
  Sets() {
    areaCodes.Open(), linearAreaCodes.Open();
    cities.Open(), linearCities.Open();
  }
};

// Every input starts from the same current records.
void Rewind(tq::CAreaCodeSet& areaCodes, tq::CCitySet& cities) {
  areaCodes.strFilter.clear();
  areaCodes.Requery();
  cities.strFilter.clear();
  cities.Requery();
}

void CheckSame(const tq::SearchFlow& a, const tq::SearchFlow& b) {
  Check(a.Query() == b.Query(), "input differs");
  Check(a.GetAnswer() == b.GetAnswer(), "answers differ");
  Check(a.GetAnswer().largestCity.entries.size() <= 1, "more than one largest city");
  Check(a.GetAnswer().stateOrProvince.size() <= 1, "more than one state line");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Sets sets;
  FuzzedDataProvider input(data, size);
  const std::string answers = input.ConsumeBytesAsString(8);
  ByteChooser chooser(answers), linearChooser(answers);
  Rewind(sets.areaCodes, sets.cities);
  Rewind(sets.linearAreaCodes, sets.linearCities);
  tq::SearchFlow flow(sets.areaCodes, sets.cities, chooser);
  tq::SearchFlow linear(sets.linearAreaCodes, sets.linearCities, linearChooser);
  const auto day = [] { return std::int64_t{1783166400}; };  // 2026-07-04T12:00Z
  flow.SetNow(day);
  linear.SetNow(day);

  for (int step = 0; step < 6 && input.remaining_bytes() > 0; ++step) {
    const int action = input.ConsumeIntegralInRange(0, 3);
    if (action == 0) {
      const std::string typed = input.ConsumeRandomLengthString(4096);
      flow.Search(typed);
      linear.Search(typed);
    } else {
      const int entry = input.ConsumeIntegralInRange(-1, 12);
      bool ran = false, linearRan = false;
      if (action == 1) {
        ran = flow.OnDblclkAreaCodes(entry), linearRan = linear.OnDblclkAreaCodes(entry);
      } else if (action == 2) {
        ran = flow.OnDblclkLargestCity(entry), linearRan = linear.OnDblclkLargestCity(entry);
      } else {
        ran = flow.OnDblclkMajorCities(entry), linearRan = linear.OnDblclkMajorCities(entry);
      }
      Check(ran == linearRan, "double-click ran on one side only");
    }
    CheckSame(flow, linear);
  }
  return 0;
}
