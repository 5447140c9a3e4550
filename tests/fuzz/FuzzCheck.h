#pragma once
// What the fuzz targets share: a failed check aborts with a message (libFuzzer
// then saves the input), and the selection of a filter must be the same
// through the indexes and through a plain scan of the columns.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/LinearReference.h"

namespace tq::fuzz {

inline void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "check failed: %s\n", what);
    std::abort();
  }
}

inline void CheckCitySelection(CCitySet& cities, const std::string& filter) {
  cities.strFilter = filter;
  const bool found = cities.Requery();
  Check(cities.SelectedRows() == test::LinearSelectCities(cities, filter),
        "city selection differs from the scan");
  Check(found == !cities.IsEOF(), "city Requery result and IsEOF disagree");
}

inline void CheckAreaCodeSelection(CAreaCodeSet& areaCodes, const std::string& filter) {
  areaCodes.strFilter = filter;
  const bool found = areaCodes.Requery();
  Check(areaCodes.SelectedRows() == test::LinearSelectAreaCodes(areaCodes, filter),
        "area code selection differs from the scan");
  Check(found == !areaCodes.IsEOF(), "area code Requery result and IsEOF disagree");
}

}  // namespace tq::fuzz
