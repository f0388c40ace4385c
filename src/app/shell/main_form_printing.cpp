// TQVXMainForm's Print and Print Setup: the questionnaire from the question
// page, the printed analysis (all of it, or the chosen question as the
// selection) from the Analysis page, on the printer the dialog chose.
#include <QComboBox>
#include <QPrinter>
#include <QTabWidget>
#include <exception>
#include <optional>

#include "app/analysis/analysis_view.h"
#include "app/analysis/cross_tab_window.h"
#include "app/reports/survey_printing.h"
#include "app/shell/main_form.h"
#include "app/shell/window_dialogs.h"
#include "core/reports/cross_table_report.h"
#include "core/shell/prompts.h"

namespace quorvant::app {
namespace {

constexpr char kPrinterNotStarted[] = "The printer could not be started.";

}  // namespace

QPrinter& TQVXMainForm::Printer() {
  // One printer for the run, so that the setup and the dialog's last
  // choices stay from one print to the next.
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

void TQVXMainForm::PrintSetup() { dialogs_.SetUpPrinter(this, Printer()); }

void TQVXMainForm::Print() {
  if (pgcMain_->currentWidget() == tsAnalysis_) {
    ChooseReportDestination();
    return;
  }
  QPrinter& printer = Printer();
  if (!dialogs_.ChoosePrinter(this, printer, false)) return;
  try {
    if (!PrintSurvey({&printer, {}}, document_.Survey())) prompts_.ShowError(kPrinterNotStarted);
  } catch (const std::exception& e) {
    prompts_.ShowError(e.what());
  }
  RefreshMainWindow();
}

void TQVXMainForm::PrintAnalysisToPrinter() {
  QPrinter& printer = Printer();
  if (!dialogs_.ChoosePrinter(this, printer, true)) return;
  const int chosen = analysis_view_->CurrentItem();
  const int item = printer.printRange() == QPrinter::Selection ? chosen : -1;
  // The analysis view follows the report, which leaves the last question
  // chosen, as its list shows.
  const auto shown = [this](int index) {
    const int row = cmbQuestionList_->findData(index, Qt::UserRole);
    if (row >= 0) {
      const QSignalBlocker quiet(cmbQuestionList_);
      cmbQuestionList_->setCurrentIndex(row);
    }
    analysis_view_->ShowQuestion(index);
  };
  // The whole analysis ends with the cross table the open Cross Tabulation shows.
  std::optional<CrossTablePrint> cross;
  if (item < 0 && cross_tab_ && cross_tab_->isVisible() && cross_tab_->Shown()) {
    cross = CrossTablePrint{*cross_tab_->Shown(), cross_tab_->Test(), cross_tab_->Percents()};
  }
  try {
    Table* table = response_table_.IsOpen() ? &response_table_.table() : nullptr;
    if (!PrintAnalysis({&printer, {}}, document_.Survey(), table, chart_background_, item, shown,
                       cross ? &*cross : nullptr)) {
      prompts_.ShowError(kPrinterNotStarted);
    }
  } catch (const std::exception& e) {
    prompts_.ShowError(e.what());
  }
  RefreshMainWindow();
}

}  // namespace quorvant::app
