#pragma once
// One output row of a batch lookup (`tqlookup --batch`): the columns, the
// statuses with their reasons, and the two row writers (CSV with RFC 4180
// quoting, JSON lines). Column names and status names are part of the
// command's stable interface: new ones may be added at the end, none is
// renamed or removed.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tq {

enum class BatchStatus : std::uint8_t {
  kOk,               // a ten-digit number with a known exchange
  kInvalid,          // not written as a ten-digit telephone number
  kOtherCountry,     // "+" and a country code other than 1
  kNotGeographic,    // an area code without a place (toll-free, 5XX, ...)
  kUnknownAreaCode,  // an area code that is not in service
  kUnknownExchange,  // an area code in service, an exchange without a known place
  kEmpty,            // an empty line (or blanks only)
  kTooLong,          // a line longer than kMaxBatchLine
  kBadUtf8,          // the line is not valid UTF-8
  kNulByte,          // the line holds a NUL byte
  kCsvError,         // a quoting error in a CSV line
  kNoColumn,         // a CSV line with fewer fields than the column asks for
  kBadTime,          // a number without its instant: the time column holds no ISO 8601
                     // instant from 1970 through 2100, or the run's instant lies outside
  kHeader,           // the header line of a CSV input
  kNoExchangeData,   // no exchange file could be read
  kPostal,           // a ZIP or postal code with a known place: the place's codes and time
  kUnknownPostalCode,  // a ZIP or postal code without a known place
};
inline constexpr std::size_t kBatchStatusCount = 17;

// "ok", "invalid", "not_geographic", ...: the number's statuses by the
// words of the per-number lookup (NumberStatusName).
std::string_view BatchStatusName(BatchStatus status);
// The reason given with a status when nothing more specific is known.
std::string_view BatchStatusReason(BatchStatus status);

// The reason of a bad_time row when the run's own instant (its --now, or the
// computer's clock) lies outside the years of the zone law.
inline constexpr std::string_view kBadRunTimeReason =
    "the instant of the run lies outside 1970 through 2100";

// Lines longer than this (without their line end) are not read: their row
// says kTooLong.
inline constexpr std::size_t kMaxBatchLine = std::size_t{64} << 10;

inline constexpr std::array<std::string_view, 15> kBatchColumns = {
    "input",     "number",    "area_code", "exchange",   "status",     "reason", "place",
    "state",     "time_zone", "utc_offset", "local_time", "callable",  "area", "postal_code",
    "area_codes"};

// The fields of one row, all UTF-8; empty means "none". The fields are views
// into texts that outlive the writing of the row: the input line, the
// lookup's tables, or the row's own buffers (so a row is not copied).
struct BatchRow {
  BatchRow() = default;
  BatchRow(const BatchRow&) = delete;
  BatchRow& operator=(const BatchRow&) = delete;

  std::string_view input;   // the line or field as read
  std::string_view number;  // "+19372221234"
  std::string_view areaCode, exchange;
  BatchStatus status = BatchStatus::kOk;
  std::string_view reason;
  std::string_view place, state;
  std::string_view timeZone;   // "Eastern Standard Time"
  std::string_view utcOffset;  // "-05:00"
  std::string_view localTime;  // "2026-01-15T12:00-05:00"
  std::string_view callable;   // "true" or "false" inside or outside the calling hours
  std::string_view area;       // "true": the place is the city the area code is known by,
                               // named for an exchange no source names; "false": its own
  std::string_view postalCode;  // "45402", "K1A 0B1": the code of a postal row
  std::string_view areaCodes;   // "937/326": the area codes of a postal row's place
  // The columns whose text is known to need no escaping in either format
  // (WrittenAsIs), as bits by their index in kBatchColumns: set where a field
  // is taken from a text checked once, so that the writer does not check it
  // again for every row.
  std::uint16_t plainColumns = 0;

  // Room for the fields made for this row.
  std::string inputText;  // an input with invalid bytes, written as U+FFFD
  char numberText[12], areaCodeText[3], exchangeText[3];  // "+19372221234", "937", "222"
  char postalText[11];                                      // "45402-1234", "K1A 0B1"

  void Clear();
  void SetStatus(BatchStatus newStatus);  // with its standard reason
};

// The bit of a column in BatchRow::plainColumns.
constexpr std::uint16_t ColumnBit(std::string_view column) {
  for (std::size_t i = 0; i < kBatchColumns.size(); ++i) {
    if (kBatchColumns[i] == column) return static_cast<std::uint16_t>(1u << i);
  }
  return 0;
}

// Whether `text` is written as it is in both formats: it holds no byte that
// CSV quotes or escapes (a comma, a quote, a control) nor one that JSON
// escapes (a quote, a backslash, a control).
bool WrittenAsIs(std::string_view text);

enum class BatchFormat { kCsv, kJsonLines };

// The CSV header line (LF-ended); JSON lines have none.
void AppendCsvHeader(std::string& out);
// The most bytes the row can take as a line in either format.
std::size_t RowBound(const BatchRow& row);
// The row as one LF-ended line, written at `to`, which has room for
// RowBound(row) bytes; gives the end. AppendRow appends it.
char* WriteRow(char* to, const BatchRow& row, BatchFormat format);
void AppendRow(std::string& out, const BatchRow& row, BatchFormat format);

}  // namespace tq
