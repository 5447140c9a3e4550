// Arbitrary bytes as the settings file: the reader gives the atoi value of the
// first line (0 when it is longer than the bound), every value written
// comes back, and the lines after the first are written back as they were
// (a file longer than its bound is left as it is).
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdlib>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "app/Settings.h"
#include "base/Text.h"
#include "data/DataFile.h"
#include "support/TestData.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const tq::test::TempDir folder;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const auto file = folder / tq::kSettingsFileName;
  tq::test::WriteBytes(file, bytes);
  std::string first = bytes.substr(0, bytes.find('\n'));
  if (!first.empty() && first.back() == '\r') first.pop_back();
  const bool tooLong =
      bytes.find('\n') > tq::kMaxSettingsLine && bytes.size() > tq::kMaxSettingsLine;
  const int value = tq::ReadShowMapsSetting(file);
  tq::fuzz::Check(value == (tooLong ? 0 : tq::AtoI(first)), "first line misread");
  // The C library's reading of the line, held to the 32-bit range.
  const long long expected = tooLong ? 0
                                      : std::clamp<long long>(std::strtoll(first.c_str(), nullptr, 10),
                                                              INT32_MIN, INT32_MAX);
  tq::fuzz::Check(value == expected, "the number differs from the C library's");
  const bool fits = bytes.size() <= tq::kMaxSettingsFile;
  tq::fuzz::Check(tq::WriteShowMapsSetting(file, value) == fits,
                  "a file within the bound not written, or a longer one written over");
  const std::size_t end = bytes.find('\n');
  const std::string kept = end == std::string::npos ? "" : bytes.substr(end + 1);
  tq::fuzz::Check(tq::ReadFileStart(file, 2 * tq::kMaxSettingsFile) ==
                      (fits ? std::to_string(value) + "\n" + kept : bytes),
                  "the other lines are not written back as they were");
  tq::fuzz::Check(tq::ReadShowMapsSetting(file) == value, "setting does not come back");
  return 0;
}
