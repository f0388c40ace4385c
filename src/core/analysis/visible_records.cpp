#include "core/analysis/visible_records.h"

#include "core/tableengine/table.h"

namespace quorvant {

void VisibleRecords::Restart() {
  found_.clear();
  started_ = false;
  at_end_ = false;
}

size_t VisibleRecords::Fetch(size_t n) {
  size_t added = 0;
  if (n == 0 || at_end_ || !table_.IsOpen()) return 0;
  if (!started_) {
    table_.GoTop();
    started_ = true;
  } else {
    // Another reader may have moved the table: stand on the last record
    // found before stepping on.
    table_.GoTo(found_.back());
    table_.Skip(1);
  }
  while (added < n && !table_.Eof()) {
    found_.push_back(table_.RecNo());
    ++added;
    if (added < n) table_.Skip(1);
  }
  if (table_.Eof()) at_end_ = true;
  return added;
}

}  // namespace quorvant
