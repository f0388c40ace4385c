// TQVXMainForm: Print on the "Analysis" page: "Report Destination", then
// the printed analysis or the analysis as web pages.
#include <QComboBox>
#include <QDesktopServices>
#include <QUrl>

#include "app/analysis/analysis_view.h"
#include "app/chart/chart_jpeg.h"
#include "app/chart/chart_view.h"
#include "app/reports/range_select_dialog.h"
#include "app/reports/report_destination_dialog.h"
#include "app/shell/main_form.h"
#include "core/env/table_error.h"
#include "core/reports/web_report.h"
#include "core/shell/prompts.h"

namespace quorvant::app {

void TQVXMainForm::ChooseReportDestination() {
  TQVXDestination destination(DirectoryChooser(), report_directory_, this);
  if (destination.exec() != QDialog::Accepted) return;
  report_directory_ = destination.Directory();
  if (!destination.ToWebPage()) {
    PrintAnalysisToPrinter();
    return;
  }
  TQVXRangeSelect range(this);
  if (range.exec() != QDialog::Accepted) return;
  WriteAnalysisPages(range.SelectedOnly());
}

void TQVXMainForm::WriteAnalysisPages(bool selected_only) {
  const int chosen = cmbQuestionList_->currentIndex();
  if (chosen < 0) return;
  std::vector<int> items;
  for (int row = 0; row < cmbQuestionList_->count(); ++row) {
    items.push_back(cmbQuestionList_->itemData(row, Qt::UserRole).toInt());
  }
  WebReportHooks hooks;
  hooks.show_question = [this, &items](int item) {
    const auto row = std::find(items.begin(), items.end(), item) - items.begin();
    const QSignalBlocker quiet(cmbQuestionList_);
    cmbQuestionList_->setCurrentIndex(static_cast<int>(row));
    ShowChosenQuestion();
  };
  hooks.write_chart = [this](int, const std::string& path) {
    ChartView& view = analysis_view_->Chart();
    // The chart as drawn on the page; a page that was never shown has no
    // size yet.
    const QSize size = view.size().isEmpty() ? QSize(640, 480) : view.size();
    return WriteChartJpeg(view.chart(), size, path);
  };
  const WebReportNames names(report_directory_.toStdString(), document_.Survey().FileName(),
                             html_ext_);
  Table* table = response_table_.IsOpen() ? &response_table_.table() : nullptr;
  WebReportResult result;
  try {
    result = selected_only
                 ? WriteQuestionPage(document_.Survey(), table, names, items[chosen], false, hooks)
                 : WriteWebReport(document_.Survey(), table, names, items, hooks);
  } catch (const ETableError& e) {
    result = {false, e.what(), "", ""};
  }
  RefreshMainWindow();
  if (!result.ok) {
    prompts_.ShowError(result.error);
    return;
  }
  prompts_.ShowInfo(result.written);
  QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(result.opened)));
}

}  // namespace quorvant::app
