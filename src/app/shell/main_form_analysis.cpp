// TQVXMainForm: the commands of the "Analysis" page that work on the
// analysis filter.
#include <QComboBox>

#include "app/analysis/filter_builder.h"
#include "app/shell/main_form.h"
#include "core/analysis/result_counting.h"

namespace quorvant::app {

void TQVXMainForm::SetFilterOptions() {
  std::vector<TQVXFilterBuilder::QuestionLine> questions;
  for (int row = 0; row < cmbQuestionList_->count(); ++row) {
    questions.push_back(
        {cmbQuestionList_->itemText(row), cmbQuestionList_->itemData(row, Qt::UserRole).toInt()});
  }
  TQVXFilterBuilder dialog(survey_, questions, survey_.ActiveFilter(), this);
  if (dialog.exec() == QDialog::Accepted) {
    survey_.ActiveFilter().Assign(dialog.Filter());
    ComputeResults(survey_, response_table_, prompts_);
    if (cmbQuestionList_->count() > 0) cmbQuestionList_->setCurrentIndex(0);
  }
  RefreshMainWindow();
}

}  // namespace quorvant::app
