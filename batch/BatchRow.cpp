#include "batch/BatchRow.h"

#include <cstring>
#include <utility>

#include "base/Json.h"
#include "base/Words.h"
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
// and a control. 0xC2 may begin a C1 control. Fields are checked eight
// bytes at a time (EveryWord).
constexpr std::uint64_t Controls(std::uint64_t word) {
  return BytesBelow(word, 0x20) | BytesOf(word, 0x7F) | BytesOf(word, 0xC2);
}
constexpr bool PlainCsv(std::uint64_t word) {
  return !(Controls(word) | BytesOf(word, ',') | BytesOf(word, '"'));
}
constexpr bool PlainJson(std::uint64_t word) {
  return !(Controls(word) | BytesOf(word, '"') | BytesOf(word, '\\'));
}
constexpr bool PlainBoth(std::uint64_t word) { return PlainCsv(word) && PlainJson(word); }

// The bytes of `text` as they are. Most fields are short: they are copied
// in two overlapping moves of fixed size rather than by a call.
[[gnu::always_inline]] inline char* WriteText(char* to, std::string_view text) {
  const char* from = text.data();
  const std::size_t size = text.size();
  if (size > 16) {
    std::memcpy(to, from, size);
  } else if (size >= 8) {
    const std::uint64_t head = LoadWord(from), tail = LoadWord(from + size - 8);
    std::memcpy(to, &head, 8);
    std::memcpy(to + size - 8, &tail, 8);
  } else if (size >= 4) {
    const std::uint32_t head = static_cast<std::uint32_t>(LoadHalfWord(from));
    const std::uint32_t tail = static_cast<std::uint32_t>(LoadHalfWord(from + size - 4));
    std::memcpy(to, &head, 4);
    std::memcpy(to + size - 4, &tail, 4);
  } else if (size > 0) {
    to[0] = from[0];
    to[size / 2] = from[size / 2];
    to[size - 1] = from[size - 1];
  }
  return to + size;
}

// RFC 4180 quoting, with control characters escaped as in JSON; at most
// 6 * field.size() + 2 bytes.
char* WriteCsvField(char* to, std::string_view field) {
  if (EveryWord(field, PlainCsv)) return WriteText(to, field);
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
  if (!EveryWord(field, PlainJson)) return WriteJsonString(to, field);
  *to++ = '"';
  to = WriteText(to, field);
  *to++ = '"';
  return to;
}

// The columns this program writes itself (the number and its digits, the
// status and its reason, the offset, the local time, callable, area, the
// area codes): plain ASCII that no format has to escape. Every other column
// is checked unless the row says it is plain.
constexpr std::uint16_t kOwnText =
    ColumnBit("number") | ColumnBit("area_code") | ColumnBit("exchange") | ColumnBit("status") |
    ColumnBit("reason") | ColumnBit("utc_offset") | ColumnBit("local_time") |
    ColumnBit("callable") | ColumnBit("area") | ColumnBit("area_codes");

// A column of a CSV row, after its comma; checked unless this program
// wrote its text or the row says it is plain.
template <std::size_t kColumn>
[[gnu::always_inline]] inline char* WriteCsvColumn(char* to, std::string_view field,
                                                   unsigned plain) {
  if constexpr (kColumn > 0) *to++ = ',';
  if constexpr ((kOwnText >> kColumn & 1) != 0) {
    return WriteText(to, field);
  } else {
    return (plain >> kColumn & 1) != 0 ? WriteText(to, field) : WriteCsvField(to, field);
  }
}
template <std::size_t... kColumns>
char* WriteCsvColumns(char* to, const std::array<std::string_view, kBatchColumns.size()>& fields,
                      unsigned plain, std::index_sequence<kColumns...>) {
  ((to = WriteCsvColumn<kColumns>(to, fields[kColumns], plain)), ...);
  return to;
}

// The most bytes of a row beside those of its fields: the names, quotes and
// separators of JSON.
constexpr std::size_t kRowFrame = [] {
  std::size_t frame = 2;
  for (const std::string_view column : kBatchColumns) frame += column.size() + 8;
  return frame;
}();

}  // namespace

std::string_view BatchStatusName(BatchStatus status) {
  return StatusTexts()[static_cast<std::size_t>(status)].name;
}

std::string_view BatchStatusReason(BatchStatus status) {
  return StatusTexts()[static_cast<std::size_t>(status)].reason;
}

void BatchRow::Clear() {
  // Each field on its own: a chain of assignments reads back what it has
  // just stored, which stalls on every row.
  for (std::string_view* field : {&input, &number, &areaCode, &exchange, &reason, &place, &state,
                                  &timeZone, &utcOffset, &localTime, &callable, &area, &postalCode,
                                  &areaCodes}) {
    *field = {};
  }
  status = BatchStatus::kOk;
  plainColumns = 0;
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

bool WrittenAsIs(std::string_view text) { return EveryWord(text, PlainBoth); }

std::size_t RowBound(const BatchRow& row) {
  const std::size_t fields =
      row.input.size() + row.number.size() + row.areaCode.size() + row.exchange.size() +
      BatchStatusName(row.status).size() + row.reason.size() + row.place.size() +
      row.state.size() + row.timeZone.size() + row.utcOffset.size() + row.localTime.size() +
      row.callable.size() + row.area.size() + row.postalCode.size() + row.areaCodes.size();
  // Every byte escaped.
  return 6 * fields + kRowFrame;
}

char* WriteRow(char* to, const BatchRow& row, BatchFormat format) {
  constexpr std::size_t kCallableColumn = 11, kAreaColumn = 12;
  static_assert(kBatchColumns[kCallableColumn] == "callable" && kBatchColumns[kAreaColumn] == "area");
  const std::string_view status = BatchStatusName(row.status);
  const std::array<std::string_view, kBatchColumns.size()> fields = {
      row.input, row.number,   row.areaCode,  row.exchange,  status,       row.reason, row.place,
      row.state, row.timeZone, row.utcOffset, row.localTime, row.callable, row.area,
      row.postalCode, row.areaCodes};
  const unsigned asIs = kOwnText | row.plainColumns;
  if (format == BatchFormat::kCsv) {
    to = WriteCsvColumns(to, fields, row.plainColumns,
                         std::make_index_sequence<kBatchColumns.size()>());
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
      } else if ((asIs >> i & 1) && !fields[i].empty()) {
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
  return to;
}

void AppendRow(std::string& out, const BatchRow& row, BatchFormat format) {
  // Most rows are written on the stack and appended at once.
  const std::size_t most = RowBound(row);
  char small[4096];
  std::string large;
  if (most > sizeof small) large.resize(most);
  char* const begin = most > sizeof small ? large.data() : small;
  out.append(begin, WriteRow(begin, row, format));
}

}  // namespace tq
