#pragma once
// The cursor that both record sets share: the selection that a set's filter
// makes (row numbers in file order), the position in it, and the walk from
// record to record.
//
//   set.strFilter = "...";
//   set.Open();                       // loads the file once, then requeries
//   for (; !set.IsEOF(); set.MoveNext()) use(set's current-record fields);
//
// `Set` supplies IsLoaded(), Load() (false when the file could not be read),
// SelectRows(rows) (the rows its filter selects, ascending) and
// SetCurrent(row) (copies a row into its current-record fields).

#include <cstdint>
#include <vector>

namespace tq {

template <class Set>
class RecordCursor {
 public:
  // Loads the file unless records are held already, then requeries. A file
  // that cannot be opened leaves the set empty; the next Open tries again.
  void Open() {
    if (!self().IsLoaded() && !self().Load()) return;
    Requery();
  }

  // Loads the file unless records are held already; true when they are. For
  // callers that read the columns directly and leave the selection alone.
  bool EnsureLoaded() { return self().IsLoaded() || self().Load(); }

  // Rebuilds the selection from the filter; true when it holds a record,
  // which then becomes the current one. With nothing selected the current
  // record keeps its values.
  bool Requery() {
    aRows.clear();
    iPosition = -1;
    self().SelectRows(aRows);
    if (aRows.empty()) return false;
    iPosition = 0;
    self().SetCurrent(aRows[0]);
    return true;
  }

  bool IsEOF() const {
    return iPosition < 0 || static_cast<std::size_t>(iPosition) >= aRows.size();
  }

  // To the next selected record; past the last one the position keeps
  // counting and the current record stays as it was.
  void MoveNext() {
    if (iPosition < INT32_MAX) ++iPosition;
    if (!IsEOF()) self().SetCurrent(aRows[static_cast<std::size_t>(iPosition)]);
  }

  const std::vector<std::uint32_t>& SelectedRows() const { return aRows; }

  // Where a walk with MoveNext over the whole selection ends: past the last
  // record, which is the current one.
  void MovePastEnd() {
    if (aRows.empty()) return;
    self().SetCurrent(aRows.back());
    iPosition = static_cast<std::int32_t>(aRows.size());
  }

 protected:
  RecordCursor() = default;
  ~RecordCursor() = default;

  std::vector<std::uint32_t> aRows;
  std::int32_t iPosition = -1;

 private:
  Set& self() { return static_cast<Set&>(*this); }
};

}  // namespace tq
