// TQVXMainForm: the commands of the "Analysis" page: the question shown,
// the analysis filter, the chart toolbox and the cross tabulation.
#include <QComboBox>
#include <QPushButton>

#include "app/analysis/analysis_view.h"
#include "app/analysis/chart_toolbox.h"
#include "app/analysis/cross_tab_window.h"
#include "app/analysis/filter_builder.h"
#include "app/chart/chart_view.h"
#include "app/shell/main_form.h"
#include "core/analysis/result_counting.h"
#include "core/survey/command_states.h"

namespace quorvant::app {

void TQVXMainForm::SetFilterOptions() {
  std::vector<TQVXFilterBuilder::QuestionLine> questions;
  for (int row = 0; row < cmbQuestionList_->count(); ++row) {
    questions.push_back(
        {cmbQuestionList_->itemText(row), cmbQuestionList_->itemData(row, Qt::UserRole).toInt()});
  }
  TQVXFilterBuilder dialog(document_.Survey(), questions, document_.Survey().ActiveFilter(), this);
  if (dialog.exec() == QDialog::Accepted) {
    document_.Survey().ActiveFilter().Assign(dialog.Filter());
    ComputeResults(document_.Survey(), response_table_, prompts_);
    if (cmbQuestionList_->count() > 0) {
      const QSignalBlocker quiet(cmbQuestionList_);
      cmbQuestionList_->setCurrentIndex(0);
    }
    ShowChosenQuestion();
  }
  RefreshMainWindow();
}

void TQVXMainForm::ShowChosenQuestion() {
  const int row = cmbQuestionList_->currentIndex();
  if (row < 0) return;
  const int item = cmbQuestionList_->itemData(row, Qt::UserRole).toInt();
  analysis_view_->ShowQuestion(item);
  if (chart_tool_ && analysis_view_->GraphShown() && item < document_.Survey().ItemCount()) {
    chart_tool_->LoadQuestionSettings(document_.Survey().Item(item));
  }
}

TQVXChartTool& TQVXMainForm::ChartToolbox() {
  if (!chart_tool_) {
    TQVXChartTool::Context context{
        document_.Survey(),
        analysis_view_->Chart(),
        chart_background_,
        settings_,
        prompts_,
        [this] { return analysis_view_->CurrentItem(); },
        [this] {
          std::vector<int> items;
          for (int row = 0; row < cmbQuestionList_->count(); ++row) {
            items.push_back(cmbQuestionList_->itemData(row, Qt::UserRole).toInt());
          }
          return items;
        },
        [this] { RefreshMainWindow(); }};
    chart_tool_ = std::make_unique<TQVXChartTool>(std::move(context), this);
    const int item = analysis_view_->CurrentItem();
    if (item >= 0 && item < document_.Survey().ItemCount() && analysis_view_->GraphShown()) {
      chart_tool_->LoadQuestionSettings(document_.Survey().Item(item));
    }
  }
  return *chart_tool_;
}

void TQVXMainForm::ToggleChartToolbox() { ChartToolbox().Toggle(); }

TQVXCrossTab& TQVXMainForm::CrossTabulation() {
  if (!cross_tab_) {
    cross_tab_ = std::make_unique<TQVXCrossTab>(document_.Survey(), response_table_, this);
  }
  return *cross_tab_;
}

void TQVXMainForm::ShowCrossTabulation() {
  TQVXCrossTab& window = CrossTabulation();
  window.Refresh();
  window.show();
  window.raise();
  window.activateWindow();
}

// "&Chart Toolbox..." serves the chart only.
void TQVXMainForm::RefreshAnalysisStates() {
  const bool tools = IsPotentiallyPublished(document_.Survey());
  btnChartToolbox_->setEnabled(tools && analysis_view_->GraphShown());
  if (chart_tool_ && !analysis_view_->GraphShown() && chart_tool_->isVisible()) {
    chart_tool_->Toggle();
  }
}

}  // namespace quorvant::app
