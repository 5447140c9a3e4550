#include "batch/BatchReader.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "batch/BatchRow.h"

namespace tq {

long FdSource::Read(char* to, std::size_t size, const std::atomic<bool>* stop) {
  for (;;) {
    if (stop) {
      pollfd ready{fd_, POLLIN, 0};
      const int polled = ::poll(&ready, 1, 100);
      if (stop->load()) return 0;
      if (polled == 0 || (polled < 0 && errno == EINTR)) continue;
    }
    const ssize_t count = ::read(fd_, to, size);
    if (count >= 0) return static_cast<long>(count);
    if (errno != EINTR) return -1;
  }
}

long StreamSource::Read(char* to, std::size_t size, const std::atomic<bool>* stop) {
  if ((stop && stop->load()) || !in_) return 0;
  in_.read(to, static_cast<std::streamsize>(size));
  if (in_.bad()) return -1;
  return static_cast<long>(in_.gcount());
}

BatchReader::BatchReader(BatchSource& source, std::size_t chunkSize, std::size_t maxLines)
    : source_(source),
      chunkSize_(std::max<std::size_t>(chunkSize, 1)),
      maxLines_(std::max<std::size_t>(maxLines, 1)) {}

std::size_t BatchReader::EndLinesAtLoneCrs(char* bytes, std::size_t size) {
  // The LF of a CR LF cut by the previous read: its CR is an LF already.
  if (afterCr_ && size > 0 && bytes[0] == '\n') std::memmove(bytes, bytes + 1, --size);
  afterCr_ = false;
  for (char* cr = bytes; (cr = static_cast<char*>(std::memchr(cr, '\r', size - (cr - bytes))));) {
    const bool last = cr + 1 == bytes + size;
    if (last || cr[1] != '\n') *cr = '\n';
    afterCr_ = last;
    ++cr;
  }
  return size;
}

bool BatchReader::Next(BatchChunk& chunk, const std::atomic<bool>* stop) {
  // Room for a carried line start, one read and the LF given to a last line.
  const std::size_t capacity = std::max(chunkSize_, kMaxBatchLine + 2) + chunkSize_ + 1;
  if (chunk.capacity < capacity) {
    chunk.data = std::make_unique<char[]>(capacity);
    chunk.capacity = capacity;
  }
  chunk.size = 0;
  chunk.tooLong.clear();
  chunk.firstLineIsHeader = false;
  if (ended_ && carry_.empty()) return false;

  char* const data = chunk.data.get();
  std::memcpy(data, carry_.data(), carry_.size());
  chunk.size = carry_.size();
  carry_.clear();
  std::size_t lineStart = 0;  // where the last, unfinished line begins
  std::size_t lines = 0;
  bool full = false;  // the chunk holds its most lines; the rest is carried
  // Takes the bytes from `newStart` on into the chunk.
  const auto take = [&](std::size_t newStart) {
    if (skipping_) {
      const void* lf = std::memchr(data + newStart, '\n', chunk.size - newStart);
      if (!lf) {
        chunk.size = newStart;
        return;
      }
      const std::size_t dropped = static_cast<const char*>(lf) + 1 - (data + newStart);
      std::memmove(data + newStart, data + newStart + dropped, chunk.size - newStart - dropped);
      chunk.size -= dropped;
      skipping_ = false;
    }
    const char* at = data + newStart;
    const char* const end = data + chunk.size;
    while (at < end) {
      const auto* lf = static_cast<const char*>(std::memchr(at, '\n', end - at));
      if (!lf) break;
      at = lf + 1;
      lineStart = static_cast<std::size_t>(at - data);
      if (++lines == maxLines_) break;
    }
    if (lines == maxLines_ && at < end) {
      full = true;
      carry_.assign(at, end);
      chunk.size = lineStart;
      return;
    }
    if (chunk.size - lineStart > kMaxBatchLine + 1) {  // + 1: a CR before the LF
      // Keep an empty line in its place and drop the rest of it.
      chunk.tooLong.push_back(lineStart);
      data[lineStart] = '\n';
      chunk.size = lineStart + 1;
      lineStart = chunk.size;
      ++lines;
      skipping_ = true;
    }
  };
  take(0);
  while (!ended_ && !full && lines < maxLines_ && (chunk.size < chunkSize_ || lineStart == 0)) {
    const long count = source_.Read(data + chunk.size, chunkSize_, stop);
    if (count < 0) errorNumber_ = errno;
    if (count <= 0) {
      ended_ = true;
      break;
    }
    bytesRead_ += static_cast<std::uint64_t>(count);
    const std::size_t newStart = chunk.size;
    chunk.size += EndLinesAtLoneCrs(data + newStart, static_cast<std::size_t>(count));
    take(newStart);
  }
  if (Failed()) return false;
  if (full) {
  } else if (ended_ && carry_.empty()) {
    if (chunk.size > lineStart) data[chunk.size++] = '\n';  // a last line without its LF
  } else {
    carry_.assign(data + lineStart, chunk.size - lineStart);
    chunk.size = lineStart;
  }
  if (chunk.size == 0 && ended_ && carry_.empty()) return false;
  chunk.sequence = sequence_++;
  return true;
}

void SplitCsvLine(std::string_view line, int first, int second, CsvFields& fields) {
  fields.outcome = CsvFields::Outcome::kOk;
  fields.first = fields.second = {};
  int index = 0;
  bool firstFound = false, secondFound = second < 0;
  std::size_t at = 0;
  for (;;) {
    std::string_view value;
    std::string* unquoted = index == first ? &fields.firstUnquoted
                            : index == second ? &fields.secondUnquoted
                                              : nullptr;
    bool copied = false;
    if (at < line.size() && line[at] == '"') {
      std::size_t from = at + 1;
      std::size_t close;
      bool doubled = false;
      for (;;) {
        close = line.find('"', from);
        if (close == std::string_view::npos) {
          fields.outcome = CsvFields::Outcome::kQuoteError;
          return;
        }
        if (close + 1 < line.size() && line[close + 1] == '"') {
          doubled = true;
          from = close + 2;
          continue;
        }
        break;
      }
      value = line.substr(at + 1, close - at - 1);
      at = close + 1;
      if (at < line.size() && line[at] != ',') {
        fields.outcome = CsvFields::Outcome::kQuoteError;
        return;
      }
      if (doubled && unquoted) {
        unquoted->clear();
        for (std::size_t i = 0; i < value.size(); ++i) {
          *unquoted += value[i];
          if (value[i] == '"') ++i;  // the second quote of a pair
        }
        copied = true;
      }
    } else {
      const std::size_t end = std::min(line.find(',', at), line.size());
      value = line.substr(at, end - at);
      if (value.find('"') != std::string_view::npos) {
        fields.outcome = CsvFields::Outcome::kQuoteError;
        return;
      }
      at = end;
    }
    if (index == first) {
      fields.first = copied ? std::string_view(fields.firstUnquoted) : value;
      firstFound = true;
    } else if (index == second) {
      fields.second = copied ? std::string_view(fields.secondUnquoted) : value;
      secondFound = true;
    }
    if (at >= line.size()) break;
    ++at;  // the comma
    ++index;
  }
  if (!firstFound || !secondFound) fields.outcome = CsvFields::Outcome::kMissing;
}

bool CsvHeaderFields(std::string_view line, std::vector<std::string>& names) {
  names.clear();
  CsvFields fields;
  for (int i = 0;; ++i) {
    SplitCsvLine(line, i, -1, fields);
    if (fields.outcome == CsvFields::Outcome::kQuoteError) return false;
    if (fields.outcome == CsvFields::Outcome::kMissing) return true;
    names.emplace_back(fields.first);
  }
}

}  // namespace tq
