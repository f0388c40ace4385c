// TAnalysisView: the result views of the "Analysis" page, one shown at a
// time: "Graph" (the chart of a choice or Numeric question, with the numbers
// behind it), "Detail" (one memo panel per record for verbose text answers)
// and "ShortText" (a grid of fixed-length text answers, or of the texts
// typed into a question's Other box, under the "Other Responses" bar).
//
// ShowQuestion() shows the question a line of "&Results for Question:"
// stands for: it chooses the page, sets the response table's view filter to
// the analysis filter (and, for text answers, to the records that have
// one), and fills the chart from the results list. Without a response
// table nothing is counted: the chart and the numbers under it are empty,
// under the title of the question shown. When the last compute set the
// filter aside, the answer lists set it aside too. A click on the chart's
// "Other" point lists every non-blank Other text, whatever the filter.
//
// Ownership: reads the survey and the response table it is given, which
// must outlive it. Thread-safety: none.
#pragma once

#include <QStackedWidget>
#include <string>

#include "app/analysis/chart_settings.h"

class QFrame;
class QTableView;

namespace quorvant {
class TResponseTable;
class TSurvey;
}  // namespace quorvant

namespace quorvant::app {

class ChartView;
class MemoPanelGrid;
class ResponseColumnModel;
class ResultsSummary;

class TAnalysisView : public QStackedWidget {
  Q_OBJECT

 public:
  TAnalysisView(TSurvey& survey, TResponseTable& table, QWidget* parent);

  // Shows the item at this position of the survey; -1 does nothing.
  void ShowQuestion(int item_index);
  // Empties the chart and its title (a survey without questions).
  void ClearChart();
  // Lets go of the response table before it closes: the text views, the
  // chart and the numbers under it empty.
  void ForgetTable();
  // Draws the chart on this background from now on.
  void SetBackground(const ChartBackground& background);

  ChartView& Chart() { return *chart_; }
  // The text pages are made on first use: most start-ups never show them.
  MemoPanelGrid& DetailGrid();
  QTableView& ShortTextGrid();
  ResultsSummary& Summary() { return *summary_; }
  // The item shown last, -1 before the first.
  int CurrentItem() const { return item_; }
  bool GraphShown() const { return currentWidget() == graph_; }
  bool OtherResponsesShown() const;
  // The field whose answers the text page shows: the Other texts under the
  // "Other Responses" bar, else the question's own answers.
  std::string ShownAnswerField() const;
  // The average text kept from the last Numeric question shown.
  const std::string& CurrentAverageText() const { return average_text_; }

 signals:
  // The page shown changed, or its content: enabled states may follow.
  void ViewChanged();

 private:
  QWidget* BuildGraphPage();
  QWidget* ShortTextPage();
  void SetViewFilter(const std::string& filter);
  void ShowTextAnswers(const TQuestion& q, const std::string& filter);
  void PointClicked(const QString& label);
  void BackToChart();

  TSurvey& survey_;
  TResponseTable& table_;
  int item_ = -1;
  std::string average_text_;

  QWidget* graph_ = nullptr;
  QWidget* short_text_page_ = nullptr;
  ChartView* chart_ = nullptr;
  ResultsSummary* summary_ = nullptr;
  MemoPanelGrid* detail_ = nullptr;
  QFrame* pnlOtherResponses_ = nullptr;
  QTableView* short_text_ = nullptr;
  ResponseColumnModel* short_text_model_ = nullptr;
};

}  // namespace quorvant::app
