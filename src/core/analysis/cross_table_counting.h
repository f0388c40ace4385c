// Counting a cross table: one pass over the records the table's query
// leaves, reading both answers of each record in place. Every field is
// located and every Numeric group made before the pass, so that a record
// costs no allocation, no field lookup by name and no search beyond the
// binary search of a Numeric question's groups. Answers are read by the
// rules of the Analysis page's counting (see result_counter.h).
#pragma once

#include "core/analysis/cross_table.h"

namespace quorvant {

class Table;
class TResponseTable;
class TSurvey;

// Counts the two questions over the records that satisfy the table's query
// as it stands. Throws ECrossTableError for a question that makes no axis
// or a table of more than kMaxCrossCells cells, ETableError when the table
// cannot be read.
CrossTable CountCrossTable(const TSurvey& survey, Table& table, int row_id, int column_id);

// The cross table under the filter the last compute counted under
// (CountedFilterExpression), set as the table's query for the pass and the
// query before it put back afterwards; a filter the table cannot evaluate
// counts every record, as the compute did. Without an open table the cells
// are all 0. Throws as CountCrossTable.
CrossTable ComputeCrossTable(const TSurvey& survey, TResponseTable& responses, int row_id,
                             int column_id);

}  // namespace quorvant
