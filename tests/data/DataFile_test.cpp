// The line reading that both record loaders share: a number line read in the
// same pass that finds its end gives what finding the line and reading it
// apart give, whatever follows it; control bytes are found anywhere.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "data/DataFile.h"

namespace tq {
namespace {

TEST(DataFileLines, NumbersAndTextsReadWithTheirLineAreAsLinesReadApart) {
  // Lengths around the eight bytes read at once, every kind of line end,
  // signs, too many digits, bytes that are no digit on either side of '0'..'9',
  // control bytes; near the end of the bytes and with sixteen bytes or more
  // still to come. A text line is read with whether it holds a control byte.
  const std::string tails[] = {"", "\n7\n", "\r\n", "\r", "\r\r\n", "\n\n", "x\n", "/\n", ":\n",
                               "\xB0\n", std::string("\0\n", 2), " \n", "\x1F" "abcdefgh\r\n",
                               "12345678901234567890\n"};
  const std::string heads[] = {"", "-", "+", "--", "0", "7", "-0", "+12", "1234567", "-1234567",
                               "12345678", "-12345678", "123456789", "999999999999999999",
                               "1000000000000000000", ".5"};
  const std::string more = "\n9999999999999999\n";
  const std::pair<std::string, std::string> around[] = {{"", ""}, {"42\n", ""}, {"", more}, {"42\n", more}};
  for (const std::string& head : heads) {
    for (const std::string& tail : tails) {
      for (const auto& [before, after] : around) {
        const std::string bytes = before + head + tail + after;
        LineReader apart(bytes), together(bytes), text(bytes);
        std::string_view expected, line, textLine;
        std::optional<std::int64_t> value;
        bool control = false;
        while (apart.Next(expected)) {
          ASSERT_TRUE(together.NextNumber(line, value)) << bytes;
          EXPECT_EQ(line, expected) << bytes;
          EXPECT_EQ(value, ParseWhole(expected)) << bytes;
          EXPECT_EQ(together.Rest(), apart.Rest()) << bytes;
          ASSERT_TRUE(text.NextText(textLine, control)) << bytes;
          EXPECT_EQ(textLine, expected) << bytes;
          EXPECT_EQ(control, HasControlBytes(expected)) << bytes;
          EXPECT_EQ(text.Rest(), apart.Rest()) << bytes;
        }
        EXPECT_FALSE(together.NextNumber(line, value)) << bytes;
        EXPECT_FALSE(text.NextText(textLine, control)) << bytes;
      }
    }
  }
}

TEST(DataFileLines, ControlBytesAreFoundAnywhereInALine) {
  for (std::size_t size = 1; size <= 20; ++size) {
    for (std::size_t at = 0; at < size; ++at) {
      for (const int byte : {0x00, 0x09, 0x1F, 0x20, 0x7F, 0x80, 0x9F, 0xA0, 0xFF}) {
        std::string line(size, '\xE9');
        line[at] = static_cast<char>(byte);
        EXPECT_EQ(HasControlBytes(line), byte < 0x20) << size << " " << at << " " << byte;
        EXPECT_EQ(HasControlBytes(line, true), byte < 0x20 && byte != '\t');
      }
    }
  }
}

// What the data's problems cost a command: nothing can be answered without
// the place files; anything else answers, in part.
TEST(ExitStatusFor, PlaceFilesUnreadableAnswerNothingOtherProblemsAnswerInPart) {
  using P = FileProblem;
  const auto problem = [](const char* file, P kind) { return LoadOutcome{kind, "told", file}; };
  const std::pair<std::vector<LoadOutcome>, int> cases[] = {
      {{}, 0},
      {{problem("cit.bin", P::kMissing)}, kExitNoData},
      {{problem("arc.bin", P::kRefused)}, kExitNoData},
      {{problem("cit.bin", P::kDamaged)}, kExitDamagedData},
      {{problem("exc.bin", P::kMissing)}, 0},
      {{problem("exc.bin", P::kUnreadable)}, kExitDamagedData},
      {{problem("tzl.bin", P::kDamaged)}, kExitDamagedData},
      {{problem("exc.bin", P::kUnreadable), problem("arc.bin", P::kUnreadable)}, kExitNoData},
  };
  for (const auto& [problems, status] : cases) {
    EXPECT_EQ(ExitStatusFor(problems), status) << problems.size();
  }
}

}  // namespace
}  // namespace tq
