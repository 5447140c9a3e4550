#include "batch/BatchRow.h"

#include <chrono>

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
    {"bad_time", "the time is not an ISO 8601 instant"},
    {"header", "the header line"},
    {NumberStatusName(NumberResult::Status::kNoExchangeData), "no exchange file could be read"},
  }};
  return texts;
}

// The length of the valid UTF-8 sequence at the start of `text`, or 0.
std::size_t Utf8SequenceLength(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return lead == 0 ? 0 : 1;
  std::size_t length;
  unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
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

// Reads exactly `count` digits at `at`; -1 when they are not all digits.
int Digits(std::string_view text, std::size_t at, std::size_t count) {
  if (at + count > text.size()) return -1;
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
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
  timeZone = utcOffset = localTime = callable = area = {};
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
      row.state, row.timeZone, row.utcOffset, row.localTime, row.callable, row.area};
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

void AppendValidUtf8(std::string& out, std::string_view text) {
  while (!text.empty()) {
    std::size_t plain = 0;  // ASCII without NUL, the common case
    while (plain < text.size() && static_cast<unsigned char>(text[plain]) - 1u < 0x7Fu) ++plain;
    out += text.substr(0, plain);
    text.remove_prefix(plain);
    if (text.empty()) break;
    const std::size_t length = Utf8SequenceLength(text);
    if (length == 0) {
      out += "\xEF\xBF\xBD";
      text.remove_prefix(1);
    } else {
      out += text.substr(0, length);
      text.remove_prefix(length);
    }
  }
}

bool IsValidUtf8(std::string_view text) {
  while (!text.empty()) {
    if (static_cast<unsigned char>(text.front()) - 1u < 0x7Fu) {
      text.remove_prefix(1);
      continue;
    }
    const std::size_t length = Utf8SequenceLength(text);
    if (length == 0) return false;
    text.remove_prefix(length);
  }
  return true;
}

std::optional<std::int64_t> ParseIsoInstant(std::string_view text) {
  using namespace std::chrono;
  const int y = Digits(text, 0, 4), mo = Digits(text, 5, 2), d = Digits(text, 8, 2);
  const int h = Digits(text, 11, 2), mi = Digits(text, 14, 2);
  if (y < 0 || mo < 0 || d < 0 || h < 0 || mi < 0 || text[4] != '-' || text[7] != '-' ||
      (text[10] != 'T' && text[10] != 't' && text[10] != ' ') || text[13] != ':' || h > 23 ||
      mi > 59) {
    return std::nullopt;
  }
  std::size_t at = 16;
  int s = 0;
  if (at < text.size() && text[at] == ':') {
    s = Digits(text, at + 1, 2);
    if (s < 0 || s > 60) return std::nullopt;  // 60: a leap second, read as the next one
    at += 3;
    if (at < text.size() && (text[at] == '.' || text[at] == ',')) {
      ++at;
      const std::size_t fraction = at;
      while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
      if (at == fraction) return std::nullopt;
    }
  }
  int offset = 0;  // minutes east of UTC
  const std::string_view zone = text.substr(std::min(at, text.size()));
  if (zone == "Z" || zone == "z") {
  } else if (!zone.empty() && (zone[0] == '+' || zone[0] == '-')) {
    const int oh = Digits(zone, 1, 2);
    int om = 0;
    if (zone.size() == 6 && zone[3] == ':') {
      om = Digits(zone, 4, 2);
    } else if (zone.size() == 5) {
      om = Digits(zone, 3, 2);
    } else if (zone.size() != 3) {
      return std::nullopt;
    }
    if (oh < 0 || om < 0 || oh > 23 || om > 59) return std::nullopt;
    offset = (zone[0] == '-' ? -1 : 1) * (oh * 60 + om);
  } else {
    return std::nullopt;
  }
  const year_month_day date{year(y), month(static_cast<unsigned>(mo)),
                            day(static_cast<unsigned>(d))};
  if (!date.ok()) return std::nullopt;
  const std::int64_t days = sys_days(date).time_since_epoch().count();
  return days * 86400 + h * 3600 + mi * 60 + s - offset * 60;
}

}  // namespace tq
