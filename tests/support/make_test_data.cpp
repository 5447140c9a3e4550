// Writes the tests' sample data files into a folder, for trying the command
// line and the window on a small, known data set: the sample cities, the
// namesakes ("namesakes") or the sample cities in the two-file format
// ("two-file"); the sample set has its ZIP and postal codes.
#include <cstdio>
#include <filesystem>
#include <string>

#include "support/TestData.h"

int main(int argc, char** argv) {
  const std::string set = argc == 3 ? argv[2] : "";
  if (argc < 2 || argc > 3 || (argc == 3 && set != "namesakes" && set != "two-file")) {
    std::fputs("usage: make_test_data FOLDER [namesakes|two-file]\n", stderr);
    return 2;
  }
  std::filesystem::create_directories(argv[1]);
  if (set == "namesakes") {
    tq::test::WriteNamesakeData(argv[1]);
  } else if (set == "two-file") {
    tq::test::WriteRecordFiles(argv[1], tq::test::SampleCities());
  } else {
    tq::test::WriteSampleData(argv[1]);
    tq::test::WritePostalCodes(argv[1]);
  }
  return 0;
}
