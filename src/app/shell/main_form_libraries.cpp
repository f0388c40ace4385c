// TQVXMainForm: the commands of the libraries and templates: the question
// library, the template manager and the import of questions from a text
// file.
#include "app/libraries/import_style_dialog.h"
#include "app/libraries/question_library_dialog.h"
#include "app/libraries/template_manager_dialog.h"
#include "app/shell/main_form.h"
#include "app/survey/question_editor.h"
#include "app/shell/window_dialogs.h"
#include "core/libraries/question_import.h"

namespace quorvant::app {

void TQVXMainForm::ShowQuestionLibrary() {
  TQVXql dialog(
      settings_, prompts_, data_dir_, survey_, editing_, QuestionEditor(), HeaderEditor(),
      [this] { RebuildLibraryMenu(); }, this);
  dialog.exec();
  RebuildQuestionList();
  RefreshMainWindow();
}

void TQVXMainForm::ShowTemplateManager() {
  {
    TQVXTemplateMgr manager(prompts_, dialogs_, data_dir_, this);
    manager.exec();
  }
  // The editor's template list feeds "Insert from Template" and the
  // "Apply &Response Template" menu; left stale, it would offer templates
  // the manager just deleted.
  QuestionEditor().RebuildTemplates();
  RefreshMainWindow();
}

void TQVXMainForm::ImportQuestions() {
  TQVXImportSurvey style(this);
  if (style.exec() != QDialog::Accepted) return;
  const QString file = dialogs_.ChooseImportFile(this, QString::fromStdString(last_dir_));
  if (file.isEmpty() || !QuerySave()) return;
  if (survey_.HasFile()) AddToRecentFiles(survey_.FileName());
  ClearSurvey();
  RefreshMainWindow();
  ImportQuestionFile(survey_, file.toStdString(), style.Style(), data_dir_, prompts_);
  RebuildQuestionList();
  RefreshMainWindow();
}

}  // namespace quorvant::app
