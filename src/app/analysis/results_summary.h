// ResultsSummary: under the chart, the numbers behind it: a compact
// read-only table of the entries shown (label, count, "% of respondents"
// of the records counted, "% of answers" of the sum of the entries shown,
// as the chart's Percent marks have it) with a last row "No answer" for
// the records that gave none, and, for Numeric questions, a line with the
// average, lowest and highest value. Cells can be selected and copied as text
// (Ctrl+C or the pop-up menu), tab-separated, for a spreadsheet.
#pragma once

#include <QWidget>

class QLabel;
class QTableWidget;

namespace quorvant {
class TResultsList;
struct TQuestion;
}  // namespace quorvant

namespace quorvant::app {

class ResultsSummary : public QWidget {
  Q_OBJECT

 public:
  explicit ResultsSummary(QWidget* parent = nullptr);

  // The entries the chart shows for the question: choice entries counted at
  // least once, every numeric group.
  void Show(const TQuestion& question, const TResultsList& results);
  void Clear();
  // The selected cells as lines of tab-separated text (all when none).
  QString SelectedText() const;

 private:
  void CopySelection() const;

  QTableWidget* table_ = nullptr;
  QLabel* statistics_ = nullptr;
};

}  // namespace quorvant::app
