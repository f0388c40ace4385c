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

uint32_t Table::ScanQuery(RecordVisitor& visitor) {
  RecCount();  // takes in what other handles committed
  Post();
  const uint32_t count = records_->count();
  RecordBytes record(Fields(), memo_.get());
  RecordFile::Pass pass(*records_);
  uint32_t visited = 0;
  for (uint32_t r = 1; r <= count; ++r) {
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
  // The pass leaves its count in query_count_.
  struct Nothing : RecordVisitor {
    void Visit(std::string_view, RecordSource&) override {}
  } nothing;
  return ScanQuery(nothing);
}

}  // namespace quorvant
