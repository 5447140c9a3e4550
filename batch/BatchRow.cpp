#include "batch/BatchRow.h"

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

void AppendCsvField(std::string& out, std::string_view field) {
  bool plain = true;
  for (char c : field) plain &= c != ',' && c != '"' && c != '\n' && c != '\r';
  if (plain) {
    out += field;
    return;
  }
  out += '"';
  for (char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

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
  if (format == BatchFormat::kCsv) {
    // Only the input and the texts of the data may need quotes.
    AppendCsvField(out, fields[0]);
    for (std::size_t i = 1; i < fields.size(); ++i) {
      out += ',';
      if (i == 6 || i == 7) {
        AppendCsvField(out, fields[i]);
      } else {
        out += fields[i];
      }
    }
  } else {
    out += '{';
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (i > 0) out += ',';
      out += '"';
      out += kBatchColumns[i];
      out += "\":";
      // Only the input is always a string; an empty field is null, and
      // callable and area are booleans.
      if ((i == kCallableColumn || i == kAreaColumn) && !fields[i].empty()) {
        out += fields[i];
      } else if (i == 0 || !fields[i].empty()) {
        AppendJsonString(out, fields[i]);
      } else {
        out += "null";
      }
    }
    out += '}';
  }
  out += '\n';
}

}  // namespace tq
