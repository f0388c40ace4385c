#include "app/reports/survey_printing.h"

#include <QPrinter>

#include "app/reports/report_printing.h"
#include "core/analysis/question_view_texts.h"
#include "core/analysis/results.h"
#include "core/reports/analysis_report.h"
#include "core/reports/survey_report.h"
#include "core/survey/survey.h"

namespace quorvant::app {
namespace {

bool Run(const ReportTarget& target, const std::string& title, const ReportDrawing& draw,
         const PainterCanvas::ChartDrawer& chart = {}) {
  const QString job = QString::fromStdString(title);
  if (target.printer != nullptr)
    return PrintReport(*target.printer, job, ReportFont(), draw, chart);
  return PrintReportToPdf(target.pdf_path, job, ReportFont(), draw, chart);
}

}  // namespace

bool PrintSurvey(const ReportTarget& target, TSurvey& survey) {
  return Run(target, SurveyReportTitle(survey),
             [&](PageCanvas& canvas) { PrintSurveyReport(survey, canvas); });
}

bool PrintAnalysis(const ReportTarget& target, TSurvey& survey, Table* table,
                   const ChartBackground& background, int item_index,
                   const std::function<void(int)>& shown, const CrossTablePrint* cross) {
  TChart chart;
  ApplyBackground(chart, background);
  std::string average = AverageText(0);
  AnalysisReport report{survey, table,
                        [&](int index) {
                          const TQuestion& q = survey.Item(index);
                          FillChart(chart, q, survey.Results());
                          ApplyQuestionSettings(chart, q);
                          // A Numeric question's average stays for the
                          // questions after it, as on the Analysis page.
                          if (const TNumericResults* n = survey.Results().NumericOf(q.ID)) {
                            average = AverageText(n->Average);
                          }
                          chart.title =
                              QString::fromStdString(q.Text + "\r\n" + TypeLine(q, average));
                          if (shown) shown(index);
                        },
                        cross};
  const auto draw_chart = [&](QPainter& painter, const QRectF& rect) {
    chart.Draw(painter, rect, true);
  };
  if (item_index < 0) {
    return Run(
        target, AnalysisReportTitle(survey),
        [&](PageCanvas& canvas) { PrintAnalysisReport(report, canvas); }, draw_chart);
  }
  return Run(
      target, AnalysisReportTitle(survey, item_index),
      [&](PageCanvas& canvas) { PrintQuestionAnalysis(report, item_index, canvas); }, draw_chart);
}

}  // namespace quorvant::app
