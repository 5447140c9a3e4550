// Writes the tests' sample cit.bin and arc.bin into a folder, for trying the
// command line and the window on a small, known data set.
#include <cstdio>
#include <filesystem>

#include "support/TestData.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: make_test_data FOLDER\n", stderr);
    return 2;
  }
  std::filesystem::create_directories(argv[1]);
  tq::test::WriteSampleData(argv[1]);
  return 0;
}
