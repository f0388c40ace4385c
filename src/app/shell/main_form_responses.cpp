// TQVXMainForm: the open survey's response table and "&Update Now".
#include "app/analysis/analysis_view.h"
#include "app/responses/update_responses_dialog.h"
#include "app/shell/main_form.h"
#include "core/analysis/result_counting.h"
#include "core/env/table_error.h"
#include "core/responses/response_table.h"
#include "core/shell/prompts.h"

namespace quorvant::app {

// A table that cannot be opened is reported; the survey stays loaded.
void TQVXMainForm::SurveyLoaded() {
  try {
    OpenResponsesAndCompute(document_.Survey(), response_table_, prompts_);
  } catch (const ETableError& e) {
    prompts_.ShowError(e.what());
  }
}

void TQVXMainForm::SurveyClosing() {
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
  if (!document_.Survey().HasFile()) {
    const bool saved = document_.RequireSave();
    RefreshMainWindow();
    if (!saved || !document_.Survey().HasFile()) return;
  }
  TQVXUpdateResponses dialog(
      document_.Survey(), response_table_, settings_, prompts_,
      [this](const std::string& file) { document_.AddTemporaryFile(file); }, this);
  dialog.exec();
  ShowChosenQuestion();
  RefreshMainWindow();
}

void TQVXMainForm::ResetResponses() {
  if (!ResetLocalResponses(document_.Survey(), response_table_, prompts_)) return;
  analysis_view_->ForgetTable();
  RefreshMainWindow();
}

}  // namespace quorvant::app
