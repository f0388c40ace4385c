#include "core/analysis/cross_table_counting.h"

#include "core/analysis/answer_fields.h"
#include "core/analysis/numeric_groups.h"
#include "core/analysis/result_counting.h"
#include "core/env/table_error.h"
#include "core/responses/response_table.h"
#include "core/survey/survey.h"
#include "core/tableengine/table.h"

namespace quorvant {
namespace {

// Reads one question's categories from a record.
class AxisReader {
 public:
  AxisReader(const TQuestion& q, const std::vector<FieldDef>& fields) {
    const std::string name = "QVX" + std::to_string(q.ID);
    const int options = static_cast<int>(q.OptionLines().size()) + (q.IncludeOther ? 1 : 0);
    if (q.Style == kStyleNumeric) {
      kind_ = Kind::kNumeric;
      field_ = LocateAnswerField(fields, name);
      groups_ = MakeNumericGroups(q.ID, q.MinValue, q.MaxValue, q.StepValue);
    } else if (q.Style == kStyleMultipleChoice) {
      kind_ = Kind::kTicks;
      for (int j = 0; j < options; ++j) {
        const bool other = q.IncludeOther && j == options - 1;
        ticks_.push_back(LocateAnswerField(fields, other ? name : name + "_" + std::to_string(j)));
      }
    } else {
      field_ = LocateAnswerField(fields, name);
      categories_ = options;
    }
  }

  // The most categories one record can fall in.
  size_t Most() const { return kind_ == Kind::kTicks ? ticks_.size() : 1; }

  // Writes the categories of this record to out (room for Most()) and
  // returns how many there are; 0 for a blank answer.
  size_t Read(std::string_view bytes, RecordSource& source, AnswerReader& reader, uint32_t* out) {
    switch (kind_) {
      case Kind::kChoice: {
        const int index = ChoiceAnswerIndex(reader.Text(field_, bytes, source), categories_ - 1);
        if (index < 0 || index >= categories_) return 0;
        out[0] = static_cast<uint32_t>(index);
        return 1;
      }
      case Kind::kTicks: {
        size_t n = 0;
        for (size_t j = 0; j < ticks_.size(); ++j) {
          if (reader.Text(ticks_[j], bytes, source) == "Y") out[n++] = static_cast<uint32_t>(j);
        }
        return n;
      }
      case Kind::kNumeric: {
        const std::optional<double> x = NumericAnswer(reader.Text(field_, bytes, source));
        if (!x) return 0;
        const TCountResults* group = FindNumericGroup(groups_, NumericGroupKey(*x));
        if (group == nullptr) return 0;
        out[0] = static_cast<uint32_t>(group->Index);
        return 1;
      }
    }
    return 0;
  }

 private:
  enum class Kind { kChoice, kTicks, kNumeric };
  Kind kind_ = Kind::kChoice;
  AnswerField field_;
  int categories_ = 0;
  std::vector<AnswerField> ticks_;
  std::vector<TCountResults> groups_;
};

class CrossCounter : public RecordVisitor {
 public:
  CrossCounter(const TQuestion& row, const TQuestion& column, const std::vector<FieldDef>& fields,
               CrossTable& table)
      : row_(row, fields),
        column_(column, fields),
        table_(table),
        columns_(table.Columns()),
        row_found_(row_.Most()),
        column_found_(column_.Most()) {}

  void Visit(std::string_view bytes, RecordSource& source) override {
    const size_t rows = row_.Read(bytes, source, reader_, row_found_.data());
    const size_t columns =
        rows == 0 ? 0 : column_.Read(bytes, source, reader_, column_found_.data());
    if (columns == 0) {
      ++table_.blank;
      return;
    }
    for (size_t i = 0; i < rows; ++i) {
      uint64_t* line = table_.cells.data() + row_found_[i] * columns_;
      for (size_t j = 0; j < columns; ++j) ++line[column_found_[j]];
    }
  }

 private:
  AxisReader row_;
  AxisReader column_;
  CrossTable& table_;
  size_t columns_;
  AnswerReader reader_;
  std::vector<uint32_t> row_found_;
  std::vector<uint32_t> column_found_;
};

CrossTable EmptyCrossTable(const TSurvey& survey, int row_id, int column_id) {
  CrossTable table;
  table.row = MakeCrossAxis(survey, row_id);
  table.column = MakeCrossAxis(survey, column_id);
  const size_t rows = table.Rows(), columns = table.Columns();
  if (rows != 0 && columns > kMaxCrossCells / rows) {
    throw ECrossTableError("A cross table of these questions would have " +
                           std::to_string(static_cast<uint64_t>(rows) * columns) +
                           " cells; at most " + std::to_string(kMaxCrossCells) +
                           " can be shown. Give the Numeric question larger groups.");
  }
  table.cells.assign(rows * columns, 0);
  table.row_totals.assign(rows, 0);
  table.column_totals.assign(columns, 0);
  return table;
}

void AddTotals(CrossTable& table) {
  for (size_t r = 0; r < table.Rows(); ++r) {
    for (size_t c = 0; c < table.Columns(); ++c) {
      const uint64_t n = table.Cell(r, c);
      table.row_totals[r] += n;
      table.column_totals[c] += n;
      table.total += n;
    }
  }
}

}  // namespace

CrossTable CountCrossTable(const TSurvey& survey, Table& table, int row_id, int column_id) {
  CrossTable cross = EmptyCrossTable(survey, row_id, column_id);
  CrossCounter counter(AxisQuestion(survey, cross.row), AxisQuestion(survey, cross.column),
                       table.Fields(), cross);
  cross.records = table.ScanQuery(counter);
  AddTotals(cross);
  return cross;
}

CrossTable ComputeCrossTable(const TSurvey& survey, TResponseTable& responses, int row_id,
                             int column_id) {
  if (!responses.IsOpen()) return EmptyCrossTable(survey, row_id, column_id);
  Table& table = responses.table();
  // The views of the Analysis page read the table under the query they
  // set; it is theirs again afterwards.
  const std::string before = table.Query();
  struct Restore {
    Table& table;
    const std::string& query;
    ~Restore() {
      try {
        table.SetQuery(query);
      } catch (const ETableError&) {
        table.SetQuery("");
      }
    }
  } restore{table, before};
  try {
    table.SetQuery(CountedFilterExpression(survey));
  } catch (const ETableError& e) {
    if (e.code() != ETableError::Code::kExpression) throw;
    table.SetQuery("");
  }
  return CountCrossTable(survey, table, row_id, column_id);
}

}  // namespace quorvant
