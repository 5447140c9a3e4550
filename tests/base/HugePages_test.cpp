// Large arrays asked for on huge pages get them where the system gives
// them on request, whole or cut, and keep their elements as any resize.

#include "base/HugePages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tq {
namespace {

// Whether this system gives huge pages to memory that asks for them.
bool HugePagesOnRequest() {
  std::ifstream in("/sys/kernel/mm/transparent_hugepage/enabled");
  std::string modes;
  std::getline(in, modes);
  return modes.find("[madvise]") != std::string::npos || modes.find("[always]") != std::string::npos;
}

// The kilobytes of huge pages in the mapping of this process that holds `at`.
long HugeKilobytesAround(const void* at) {
  std::ifstream in("/proc/self/smaps");
  const auto address = reinterpret_cast<std::uintptr_t>(at);
  bool inside = false;
  for (std::string line; std::getline(in, line);) {
    std::uintptr_t begin = 0, end = 0;
    char dash = 0;
    std::istringstream head(line);
    if (head >> std::hex >> begin >> dash >> end && dash == '-') {
      inside = begin <= address && address < end;
    } else if (inside && line.starts_with("AnonHugePages:")) {
      return std::stol(line.substr(14));
    }
  }
  return 0;
}

TEST(HugePages, LargeArraysGetThemAndKeepTheirElements) {
  std::vector<std::uint32_t> large;
  ResizeLarge(large, std::size_t{6} << 20, 7u);  // 24 MiB
  ASSERT_EQ(large.size(), std::size_t{6} << 20);
  EXPECT_EQ(large.front(), 7u);
  EXPECT_EQ(large.back(), 7u);
  ResizeLarge(large, 3, 0u);  // smaller: only cut
  EXPECT_EQ(large, (std::vector<std::uint32_t>{7, 7, 7}));

  std::string bytes = "kept";
  ReserveLarge(bytes, std::size_t{8} << 20);
  EXPECT_EQ(bytes, "kept");
  EXPECT_GE(bytes.capacity(), std::size_t{8} << 20);

  if (!HugePagesOnRequest()) GTEST_SKIP() << "this system gives no huge pages on request";
  std::vector<char> touched;
  ResizeLarge(touched, std::size_t{16} << 20, 'x');
  // At least the whole huge pages inside but the first and the last.
  EXPECT_GE(HugeKilobytesAround(touched.data() + (std::size_t{8} << 20)), 8 << 10);
}

}  // namespace
}  // namespace tq
