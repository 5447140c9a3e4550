// Arbitrary filter text over the sample data: both record sets must select
// through their indexes exactly what a scan of the columns selects, and walk
// the selection to its end.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "support/TestData.h"

namespace {

struct SampleSets {
  tq::test::TempDir folder;
  tq::CCitySet cities{folder.path()};
  tq::CAreaCodeSet areaCodes{folder.path()};
  SampleSets() {
    tq::test::WriteSampleData(folder.path());
    cities.Open();
    areaCodes.Open();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static SampleSets sets;
  const std::string filter(reinterpret_cast<const char*>(data), size);
  tq::fuzz::CheckCitySelection(sets.cities, filter);
  tq::fuzz::CheckAreaCodeSelection(sets.areaCodes, filter);
  std::size_t walked = 0;
  for (; !sets.cities.IsEOF(); sets.cities.MoveNext()) ++walked;
  tq::fuzz::Check(walked == sets.cities.SelectedRows().size(), "walk misses selected rows");
  return 0;
}
