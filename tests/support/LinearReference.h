#pragma once
// The selections of both record sets found the slow, obvious way: one scan
// of the loaded columns from row 0 upward, each row tested against the filter
// as the filter rules read. The indexed sets must select exactly these rows;
// the fuzz targets and benchmarks compare the two.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "data/AreaCodeSet.h"
#include "data/CitySet.h"

namespace tq::test {

std::vector<std::uint32_t> LinearSelectCities(const CCitySet& cities, const std::string& filter);
std::vector<std::uint32_t> LinearSelectAreaCodes(const CAreaCodeSet& areaCodes,
                                                 const std::string& filter);

// Record sets that select by the scans above instead of their indexes, for
// running the whole search flow over them.
class LinearCitySet : public CCitySet {
 public:
  using CCitySet::CCitySet;

 protected:
  void SelectRows(std::vector<std::uint32_t>& rows) const override;
};

class LinearAreaCodeSet : public CAreaCodeSet {
 public:
  using CAreaCodeSet::CAreaCodeSet;

 protected:
  void SelectRows(std::vector<std::uint32_t>& rows) const override;
};

}  // namespace tq::test
