#include "batch/BatchRow.h"

#include <cstring>

#include "base/Json.h"
#include "number/NumberLookup.h"

namespace tq {
namespace {

// The number's statuses take their names from the per-number lookup.
struct StatusText {
  std::string_view name, reason;
};

const std::array<StatusText, kBatchStatusCount>& StatusTexts() {
  static const std::array<StatusText, kBatchStatusCount> texts = {{
    {NumberStatusName(NumberResult::Status::kOk), ""},
    {NumberStatusName(NumberResult::Status::kInvalid), "not a ten-digit telephone number"},
    {"other_country", "a country code other than 1"},
    {NumberStatusName(NumberResult::Status::kNotGeographic), "a non-geographic area code"},
    {NumberStatusName(NumberResult::Status::kUnknownAreaCode), "an area code not in service"},
    {NumberStatusName(NumberResult::Status::kUnknownExchange),
     "no known place for this exchange"},
    {"empty", "an empty line"},
    {"too_long", "a line longer than 65536 bytes"},
    {"bad_utf8", "the line is not valid UTF-8"},
    {"nul_byte", "the line holds a NUL byte"},
    {"csv_error", "a quoting error"},
    {"no_column", "the line has no such column"},
    {"bad_time", "the time is not an ISO 8601 instant from 1970 through 2100"},
    {"header", "the header line"},
    {NumberStatusName(NumberResult::Status::kNoExchangeData), "no exchange file could be read"},
    {"postal", "the place of a ZIP or postal code"},
    {"unknown_postal_code", "no known place for this ZIP or postal code"},
  }};
  return texts;
}

// The bytes a field may not hold as they are, per format: in CSV a comma or
// a quote (the field is quoted) and a control; in JSON a quote, a backslash
// and a control. 0xC2 may begin a C1 control.
struct SpecialBytes {
  std::array<bool, 256> csv{}, json{};
};
constexpr SpecialBytes kSpecial = [] {
  SpecialBytes special;
  for (std::size_t c = 0; c < 0x20; ++c) special.csv[c] = special.json[c] = true;
  for (const unsigned char c : {0x7F, 0xC2}) special.csv[c] = special.json[c] = true;
  special.csv[','] = special.csv['"'] = true;
  special.json['"'] = special.json['\\'] = true;
  return special;
}();

bool IsPlain(std::string_view text, const std::array<bool, 256>& special) {
  for (const char c : text) {
    if (special[static_cast<unsigned char>(c)]) return false;
  }
  return true;
}

// The bytes of `text` as they are. An empty view may hold no pointer at all,
// which memcpy must never be given.
char* WriteText(char* to, std::string_view text) {
  if (text.empty()) return to;
  std::memcpy(to, text.data(), text.size());
  return to + text.size();
}

// RFC 4180 quoting, with control characters escaped as in JSON; at most
// 6 * field.size() + 2 bytes.
char* WriteCsvField(char* to, std::string_view field) {
  if (IsPlain(field, kSpecial.csv)) return WriteText(to, field);
  const bool quoted = field.find_first_of(",\"") != std::string_view::npos;
  if (quoted) *to++ = '"';
  for (std::size_t i = 0; i < field.size(); ++i) {
    unsigned code = 0;
    if (const std::size_t length = ControlLength(field.substr(i), code)) {
      to = WriteControlEscape(to, code);
      i += length - 1;
      continue;
    }
    if (field[i] == '"') *to++ = '"';
    *to++ = field[i];
  }
  if (quoted) *to++ = '"';
  return to;
}

char* WriteJsonField(char* to, std::string_view field) {
  if (!IsPlain(field, kSpecial.json)) return WriteJsonString(to, field);
  *to++ = '"';
  to = WriteText(to, field);
  *to++ = '"';
  return to;
}

// The columns this program writes itself (the number and its digits, the
// status and its reason, the offset, the local time, callable, area, the area codes): plain
// ASCII
// that no format has to escape. Every other column is checked.
constexpr std::array<bool, kBatchColumns.size()> kOwnText = [] {
  std::array<bool, kBatchColumns.size()> own{};
  for (const std::string_view column : {"number", "area_code", "exchange", "status", "reason",
                                        "utc_offset", "local_time", "callable", "area", "area_codes"}) {
    for (std::size_t i = 0; i < kBatchColumns.size(); ++i) own[i] = own[i] || kBatchColumns[i] == column;
  }
  return own;
}();


}  // namespace

std::string_view BatchStatusName(BatchStatus status) {
  return StatusTexts()[static_cast<std::size_t>(status)].name;
}

std::string_view BatchStatusReason(BatchStatus status) {
  return StatusTexts()[static_cast<std::size_t>(status)].reason;
}

void BatchRow::Clear() {
  input = number = areaCode = exchange = reason = place = state = {};
  timeZone = utcOffset = localTime = callable = area = postalCode = areaCodes = {};
  status = BatchStatus::kOk;
}

void BatchRow::SetStatus(BatchStatus newStatus) {
  status = newStatus;
  reason = BatchStatusReason(newStatus);
}

void AppendCsvHeader(std::string& out) {
  for (std::size_t i = 0; i < kBatchColumns.size(); ++i) {
    if (i > 0) out += ',';
    out += kBatchColumns[i];
  }
  out += '\n';
}

void AppendRow(std::string& out, const BatchRow& row, BatchFormat format) {
  constexpr std::size_t kCallableColumn = 11, kAreaColumn = 12;
  static_assert(kBatchColumns[kCallableColumn] == "callable" && kBatchColumns[kAreaColumn] == "area");
  const std::string_view status = BatchStatusName(row.status);
  const std::array<std::string_view, kBatchColumns.size()> fields = {
      row.input, row.number,   row.areaCode,  row.exchange,  status,       row.reason, row.place,
      row.state, row.timeZone, row.utcOffset, row.localTime, row.callable, row.area,
      row.postalCode, row.areaCodes};
  // The most the row can take: every byte escaped, with the names, quotes
  // and separators of JSON. Most rows are written on the stack and appended
  // at once.
  std::size_t most = 2;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    most += 6 * fields[i].size() + kBatchColumns[i].size() + 8;
  }
  char small[4096];
  std::string large;
  if (most > sizeof small) large.resize(most);
  char* const begin = most > sizeof small ? large.data() : small;
  char* to = begin;
  if (format == BatchFormat::kCsv) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (i > 0) *to++ = ',';
      to = kOwnText[i] ? WriteText(to, fields[i]) : WriteCsvField(to, fields[i]);
    }
  } else {
    *to++ = '{';
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (i > 0) *to++ = ',';
      *to++ = '"';
      to = WriteText(to, kBatchColumns[i]);
      to = WriteText(to, "\":");
      // Only the input is always a string; an empty field is null, and
      // callable and area are booleans.
      if ((i == kCallableColumn || i == kAreaColumn) && !fields[i].empty()) {
        to = WriteText(to, fields[i]);
      } else if (kOwnText[i] && !fields[i].empty()) {
        *to++ = '"';
        to = WriteText(to, fields[i]);
        *to++ = '"';
      } else if (i == 0 || !fields[i].empty()) {
        to = WriteJsonField(to, fields[i]);
      } else {
        to = WriteText(to, "null");
      }
    }
    *to++ = '}';
  }
  *to++ = '\n';
  out.append(begin, to);
}

}  // namespace tq
