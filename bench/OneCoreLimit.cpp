#include "OneCoreLimit.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <unordered_map>

#include "base/Text.h"

namespace tq::bench {
namespace {

constexpr std::uint32_t kNoNumber = 1u << 31;  // the row has no E.164 form

// The row `lookup` makes for `text`, from its status on (the input, number,
// area code and exchange left out).
std::string RowEnd(const BatchLookup& lookup, std::string_view text, std::int64_t nowUtc,
                   bool* numbered = nullptr) {
  BatchRow row;
  BatchLookup::Memo memo;
  row.Clear();
  if (text.empty()) {
    row.SetStatus(BatchStatus::kEmpty);
  } else {
    lookup.Look(text, nowUtc, CallingHours{}, row, memo);
  }
  if (numbered) *numbered = !row.number.empty();
  row.input = row.number = row.areaCode = row.exchange = {};
  std::string csv;
  AppendRow(csv, row, BatchFormat::kCsv);
  return csv.substr(3);  // ",,," before the fourth comma
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

OneCoreLimit::OneCoreLimit(const BatchLookup& lookup, std::int64_t nowUtc)
    : endOf_(std::make_unique<std::uint32_t[]>(1000 * 1000)) {
  std::unordered_map<std::string, std::uint32_t> known;
  for (int key = 0; key < 1000 * 1000; ++key) {
    char text[11];
    WriteDigits(text, key, 6);
    std::memcpy(text + 6, "0000", 4);
    bool numbered = false;
    std::string end = RowEnd(lookup, std::string_view(text, 10), nowUtc, &numbered);
    const auto [at, added] = known.try_emplace(end, static_cast<std::uint32_t>(ends_.size()));
    if (added) ends_.push_back(std::move(end));
    endOf_[static_cast<std::size_t>(key)] = at->second | (numbered ? 0 : kNoNumber);
  }
  invalid_ = ",,," + RowEnd(lookup, "call me", nowUtc);
  otherCountry_ = ",,," + RowEnd(lookup, "+44 20 7946 0000", nowUtc);
  empty_ = ",,," + RowEnd(lookup, "", nowUtc);
}

std::uint64_t OneCoreLimit::Run(const std::string& path, BatchSink& output) const {
  constexpr std::size_t kBlock = std::size_t{1} << 20;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 0;
  std::string in(2 * kBlock, '\0');
  std::string out(4 * kBlock, '\0');
  std::size_t have = 0, written = 0;
  std::uint64_t lines = 0;
  const auto flush = [&] {
    output.Write(std::string_view(out.data(), written));
    written = 0;
  };
  for (;;) {
    const ssize_t count = ::read(fd, in.data() + have, kBlock);
    const bool last = count <= 0;
    have += last ? 0 : static_cast<std::size_t>(count);
    if (last && have > 0 && in[have - 1] != '\n') in[have++] = '\n';
    const char* at = in.data();
    const char* const end = at + have;
    while (const char* lf = static_cast<const char*>(std::memchr(at, '\n', end - at))) {
      std::size_t length = static_cast<std::size_t>(lf - at);
      if (length > 0 && at[length - 1] == '\r') --length;
      if (written + 3 * length + 512 > out.size()) flush();
      char* to = out.data() + written;
      // The input, quoted when it holds a comma or a quote.
      if (std::memchr(at, ',', length) || std::memchr(at, '"', length)) {
        *to++ = '"';
        for (std::size_t i = 0; i < length; ++i) {
          if (at[i] == '"') *to++ = '"';
          *to++ = at[i];
        }
        *to++ = '"';
      } else {
        std::memcpy(to, at, length);
        to += length;
      }
      // The digits: separators skipped, capitals by the keypad, an "x" ends.
      char digits[16];
      std::size_t count = 0;
      bool plus = false, bad = false;
      for (std::size_t i = 0; i < length && !bad; ++i) {
        const char c = at[i];
        if (IsDigit(c)) {
          if (count < sizeof digits) digits[count] = c;
          ++count;
        } else if (c >= 'A' && c <= 'Z' && count >= 3) {
          if (count < sizeof digits) digits[count] = "22233344455566677778889999"[c - 'A'];
          ++count;
        } else if (c == '+' && i == 0) {
          plus = true;
        } else if (c == 'x' && count > 0) {
          break;
        } else {
          bad = c != ' ' && c != '-' && c != '.' && c != '(' && c != ')';
        }
      }
      const std::string* whole = nullptr;
      if (length == 0) {
        whole = &empty_;
      } else if (plus && count > 0 && digits[0] != '1') {
        whole = &otherCountry_;
      } else if (bad || !(count == 10 || (count == 11 && digits[0] == '1'))) {
        whole = &invalid_;
      }
      if (whole) {
        std::memcpy(to, whole->data(), whole->size());
        to += whole->size();
      } else {
        const char* national = digits + (count - 10);
        const std::uint32_t entry =
            endOf_[static_cast<std::size_t>((national[0] - '0') * 100000 + (national[1] - '0') * 10000 +
                                            (national[2] - '0') * 1000 + (national[3] - '0') * 100 +
                                            (national[4] - '0') * 10 + (national[5] - '0'))];
        *to++ = ',';
        if (!(entry & kNoNumber)) {
          *to++ = '+';
          *to++ = '1';
          std::memcpy(to, national, 10);
          to += 10;
        }
        *to++ = ',';
        std::memcpy(to, national, 3);
        to[3] = ',';
        std::memcpy(to + 4, national + 3, 3);
        to += 7;
        const std::string& rest = ends_[entry & ~kNoNumber];
        std::memcpy(to, rest.data(), rest.size());
        to += rest.size();
      }
      written = static_cast<std::size_t>(to - out.data());
      ++lines;
      at = lf + 1;
    }
    have = static_cast<std::size_t>(end - at);
    std::memmove(in.data(), at, have);
    if (last || have > kBlock) break;  // the benchmark's lines are short
  }
  flush();
  ::close(fd);
  return lines;
}

}  // namespace tq::bench
