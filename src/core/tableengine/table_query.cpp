// Table: the query, its record count, and the view filter.
#include "core/tableengine/record_file.h"
#include "core/tableengine/table.h"
#include "core/tableengine/table_state.h"

namespace quorvant {

void Table::SetQuery(std::string_view expression) {
  RequireOpen();
  Post();
  query_ = expression.empty() ? Expression() : Expression::CompileCondition(expression, Fields());
  query_count_.reset();
}

namespace {

// A pass asks the processor for each record a few records ahead of the
// reader: a query and a counter that jump between fields far apart in a
// wide record would otherwise wait for memory at each of them. Enough
// records to cover that wait while the ones between are tested and visited.
constexpr uint32_t kPrefetchDistance = 8;

void PrefetchAhead(const RecordFile& records, uint32_t recno, size_t length) {
  if (const char* record = records.Mapped(recno + kPrefetchDistance)) {
    for (size_t at = 0; at < length; at += 64) __builtin_prefetch(record + at);
  }
}

}  // namespace

uint32_t Table::ScanQuery(RecordVisitor& visitor) {
  RecCount();  // takes in what other handles committed
  Post();
  const uint32_t count = records_->count();
  RecordBytes record(Fields(), memo_.get());
  RecordFile::Pass pass(*records_);
  const size_t length = records_->header().record_length;
  uint32_t visited = 0;
  for (uint32_t r = 1; r <= count; ++r) {
    PrefetchAhead(*records_, r, length);
    const std::string_view bytes = records_->Read(r);
    record.Set(bytes, r);
    if (!query_.empty() && !query_.Test(record)) continue;
    visitor.Visit(bytes, record);
    ++visited;
  }
  pass.Finish();
  if (!query_.empty()) query_count_ = visited;
  return visited;
}

void Table::SetFilter(std::string_view expression) {
  RequireOpen();
  Post();
  filter_ = expression.empty() ? Expression() : Expression::CompileCondition(expression, Fields());
}

uint32_t Table::QueryCount() {
  const uint32_t count = RecCount();
  Post();
  if (query_.empty()) return count;
  if (query_count_) return *query_count_;
  RecordBytes record(Fields(), memo_.get());
  RecordFile::Pass pass(*records_);
  const size_t length = records_->header().record_length;
  uint32_t matches = 0;
  for (uint32_t r = 1; r <= count; ++r) {
    PrefetchAhead(*records_, r, length);
    record.Set(records_->Read(r), r);
    if (query_.Test(record)) ++matches;
  }
  pass.Finish();
  query_count_ = matches;
  return matches;
}

}  // namespace quorvant
