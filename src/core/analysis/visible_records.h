// VisibleRecords: the record numbers a table shows under its query and view
// filter, in its current order, found a screenful at a time. A view over a
// table of a million records asks for the first rows only, so it opens as
// fast as one over a hundred; scrolling asks for more.
//
// Ownership: reads the table it is given, which must outlive it; it moves
// the table's current record. Thread-safety: none.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quorvant {

class Table;

class VisibleRecords {
 public:
  explicit VisibleRecords(Table& table) : table_(table) {}

  // Forgets what was found (after the filter or the order changed).
  void Restart();
  // Finds up to n more visible records; returns how many it found.
  // Throws ETableError when the table cannot be read.
  size_t Fetch(size_t n);
  // True once the last visible record has been found.
  bool AtEnd() const { return at_end_; }
  const std::vector<uint32_t>& Found() const { return found_; }

 private:
  Table& table_;
  std::vector<uint32_t> found_;
  bool started_ = false;
  bool at_end_ = false;
};

}  // namespace quorvant
