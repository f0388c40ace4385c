// TQVXMainForm: the open survey's response table and "&Update Now".
#include "app/responses/update_responses_dialog.h"
#include "app/analysis/analysis_view.h"
#include "app/shell/main_form.h"
#include "core/analysis/result_counting.h"
#include "core/env/table_error.h"
#include "core/responses/response_table.h"
#include "core/shell/prompts.h"

namespace quorvant::app {

// A table that cannot be opened is reported; the survey stays loaded.
void TQVXMainForm::OpenLoadedResponses() {
  try {
    OpenResponsesAndCompute(survey_, response_table_, prompts_);
  } catch (const ETableError& e) {
    prompts_.ShowError(e.what());
  }
}

void TQVXMainForm::CloseResponses() {
  analysis_view_->ForgetTable();
  try {
    response_table_.Close();
  } catch (const ETableError& e) {
    prompts_.ShowError(e.what());
  }
}

// The download saves the survey and puts its table next to the survey file,
// so a survey without a file is saved first.
void TQVXMainForm::UpdateNow() {
  if (!survey_.HasFile() && !(RequireSave() && survey_.HasFile())) return;
  TQVXUpdateResponses dialog(
      survey_, response_table_, settings_, prompts_,
      [this](const std::string& file) { temp_files_.push_back(file); }, this);
  dialog.exec();
  ShowChosenQuestion();
  RefreshMainWindow();
}

void TQVXMainForm::ResetResponses() {
  if (!ResetLocalResponses(survey_, response_table_, prompts_)) return;
  analysis_view_->ForgetTable();
  RefreshMainWindow();
}

}  // namespace quorvant::app
