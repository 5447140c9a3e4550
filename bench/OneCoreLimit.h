#pragma once
// The one-core limit of a batch lookup: the rows of a file of numbers made
// as plainly and as fast as one core can make them, the baseline that
// telquest_batch_bench sets `tqlookup --batch` against.
//
// Every part of a row that does not depend on the line itself (all but the
// input, the number and its digits) is made once, before the run, for each area code
// and exchange and for each status of a line that is not a number, by the
// batch's own lookup. The run then reads the file in large blocks, finds each
// line's digits with a loop that knows only the forms the benchmark writes
// (separators, a leading "+" or 1, keypad capitals, an "x" extension), takes
// the row's end from a flat table of a million entries and writes the rows in
// large blocks: no threads, no checks beyond those, no allocation per line.
// On the benchmark's file it writes the same bytes as the batch.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "batch/BatchLookup.h"
#include "batch/BatchRun.h"

namespace tq::bench {

class OneCoreLimit {
 public:
  // Makes the rows' ends with `lookup` at `nowUtc` within the default
  // calling hours (a million lookups: a fraction of a second).
  OneCoreLimit(const BatchLookup& lookup, std::int64_t nowUtc);

  // The CSV rows (no header) of the file at `path`, written to `output`; the
  // count of lines.
  std::uint64_t Run(const std::string& path, BatchSink& output) const;

 private:
  std::unique_ptr<std::uint32_t[]> endOf_;  // by area code * 1000 + exchange, into ends_
  std::vector<std::string> ends_;           // ",ok,,Dayton,OH,...\n" from the status on
  std::string invalid_, otherCountry_, empty_;  // whole rows but the input
};

}  // namespace tq::bench
