// CrossTable: the answers to two questions counted against each other over
// the records of the analysis filter: one row per category of the row
// question, one column per category of the column question. A category is
// an option line (and Other, when the question offers it) of a Single
// Choice, Pulldown, Sliding Scale or Multiple Choice question, or a group
// of a Numeric question, as the Analysis page counts them.
//
// A record counts in cell (r, c) for every row category r and column
// category c its answers fall in: once for two single answers, once per
// ticked pair where a Multiple Choice question is involved, so that the
// cells of such a table add up to more than the records. A record whose
// answer to either question is blank (no option, no valid number, a number
// outside every group) is left out of the cells and counted in `blank`.
//
// A plain value; thread-safety: none needed.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorvant {

class TSurvey;
struct TQuestion;

// Why a cross table cannot be made of the questions asked for; the message
// is the sentence for the author.
class ECrossTableError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// More cells than this are refused: a Numeric question of many small groups
// against another would make a table nobody can read, and memory without end.
inline constexpr size_t kMaxCrossCells = 1000000;

struct CrossAxis {
  int question_id = 0;
  std::string number;  // the question's number in the survey ("3", "3a")
  std::string text;
  int style = 0;
  std::vector<std::string> labels;  // one per category, in order

  // True for a Multiple Choice question, whose categories overlap.
  bool Overlapping() const;
};

struct CrossTable {
  CrossAxis row;
  CrossAxis column;
  std::vector<uint64_t> cells;  // row-major: row r, column c at r * columns + c
  std::vector<uint64_t> row_totals;
  std::vector<uint64_t> column_totals;
  uint64_t total = 0;    // the sum of the cells
  uint32_t records = 0;  // records the filter left
  uint32_t blank = 0;    // of them, those left out for a blank answer

  size_t Rows() const { return row.labels.size(); }
  size_t Columns() const { return column.labels.size(); }
  uint64_t Cell(size_t r, size_t c) const { return cells[r * Columns() + c]; }
  // Percentages of a cell: of its row's total, its column's total and the
  // table's total; 0 where that total is 0.
  double RowPercent(size_t r, size_t c) const;
  double ColumnPercent(size_t r, size_t c) const;
  double TotalPercent(size_t r, size_t c) const;
};

// The axis of the question with this ID, its categories labelled as the
// Analysis page labels them. Throws ECrossTableError when the survey has no
// such question or the question is a Text question or a header.
CrossAxis MakeCrossAxis(const TSurvey& survey, int question_id);
// The question an axis was made from. Requires: it is in the survey.
const TQuestion& AxisQuestion(const TSurvey& survey, const CrossAxis& axis);

}  // namespace quorvant
