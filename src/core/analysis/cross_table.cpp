#include "core/analysis/cross_table.h"

#include <cassert>

#include "core/analysis/numeric_groups.h"
#include "core/analysis/result_entries.h"
#include "core/survey/survey.h"

namespace quorvant {
namespace {

double Percent(uint64_t part, uint64_t whole) {
  return whole == 0 ? 0.0 : 100.0 * static_cast<double>(part) / static_cast<double>(whole);
}

const TQuestion* FindQuestion(const TSurvey& survey, int id) {
  for (const TQuestion& q : survey.Items()) {
    if (q.ID == id && !q.IsHeader()) return &q;
  }
  return nullptr;
}

}  // namespace

bool CrossAxis::Overlapping() const { return style == kStyleMultipleChoice; }

double CrossTable::RowPercent(size_t r, size_t c) const {
  return Percent(Cell(r, c), row_totals[r]);
}

double CrossTable::ColumnPercent(size_t r, size_t c) const {
  return Percent(Cell(r, c), column_totals[c]);
}

double CrossTable::TotalPercent(size_t r, size_t c) const { return Percent(Cell(r, c), total); }

CrossAxis MakeCrossAxis(const TSurvey& survey, int question_id) {
  const TQuestion* q = FindQuestion(survey, question_id);
  if (q == nullptr) {
    throw ECrossTableError("The survey has no question with ID " + std::to_string(question_id) +
                           ".");
  }
  if (q->Style != kStyleNumeric && !IsChoiceStyle(q->Style)) {
    throw ECrossTableError("Question " + std::to_string(question_id) +
                           " is a Text question: a cross table takes Single Choice, Pulldown, "
                           "Sliding Scale, Multiple Choice and Numeric questions.");
  }
  CrossAxis axis{q->ID, q->DisplayNumber, q->Text, q->Style, {}};
  if (q->Style == kStyleNumeric) {
    for (const TCountResults& g : MakeNumericGroups(q->ID, q->MinValue, q->MaxValue, q->StepValue))
      axis.labels.push_back(g.Label);
  } else {
    axis.labels = OptionLabels(*q);
  }
  return axis;
}

const TQuestion& AxisQuestion(const TSurvey& survey, const CrossAxis& axis) {
  const TQuestion* q = FindQuestion(survey, axis.question_id);
  assert(q != nullptr);
  return *q;
}

}  // namespace quorvant
