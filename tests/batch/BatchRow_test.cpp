// The row writer: a byte that a format quotes or escapes is found wherever
// it lies in a field, whatever the field's length.
#include "batch/BatchRow.h"

#include <gtest/gtest.h>

#include <string>

namespace tq {
namespace {

// Fields are checked eight bytes at a time: each byte to quote or escape is
// put at every place of fields of 1 to 17 bytes (under a word, one, two and
// more), and the input comes out in each format as it must.
TEST(BatchRowWriter, FindsEveryByteToQuoteOrEscapeAtEveryPlace) {
  struct Special {
    std::string byte, csv, json;
    bool quoted;  // the CSV field is quoted
  };
  const Special specials[] = {
      {",", ",", ",", true},         {"\"", "\"\"", "\\\"", true},
      {"\\", "\\", "\\\\", false},   {"\x01", "\\u0001", "\\u0001", false},
      {"\x1F", "\\u001F", "\\u001F", false}, {"\x7F", "\\u007F", "\\u007F", false},
      {"\xC2\x85", "\\u0085", "\\u0085", false},
  };
  for (const Special& special : specials) {
    for (std::size_t length = special.byte.size(); length <= 17; ++length) {
      for (std::size_t at = 0; at + special.byte.size() <= length; ++at) {
        std::string input(length, ' ');
        input.replace(at, special.byte.size(), special.byte);
        const auto written = [&](const std::string& form) {
          std::string text(length, ' ');
          return text.replace(at, special.byte.size(), form);
        };
        BatchRow row;
        row.input = input;
        row.SetStatus(BatchStatus::kInvalid);
        std::string csv, json;
        AppendRow(csv, row, BatchFormat::kCsv);
        AppendRow(json, row, BatchFormat::kJsonLines);
        const std::string field =
            special.quoted ? '"' + written(special.csv) + '"' : written(special.csv);
        EXPECT_EQ(csv.substr(0, csv.find(",,,,invalid,")), field) << length << " bytes, at " << at;
        EXPECT_EQ(json.substr(0, json.find(",\"number\"")),
                  "{\"input\":\"" + written(special.json) + '"')
            << length << " bytes, at " << at;
      }
    }
  }
}

}  // namespace
}  // namespace tq
