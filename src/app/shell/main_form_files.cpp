// TQVXMainForm: the file commands, forwarded to the survey document, and
// what the window does when the document replaces the survey.
#include <QDesktopServices>
#include <QTabWidget>
#include <QUrl>

#include "app/shell/main_form.h"
#include "app/shell/window_dialogs.h"
#include "app/survey/question_list_view.h"
#include "core/shell/atomic_file.h"
#include "core/shell/prompts.h"
#include "core/shell/system_helpers.h"
#include "core/webpage/page_generator.h"
#include "core/webpage/page_preview.h"

namespace quorvant::app {

void TQVXMainForm::SurveyCleared() {
  question_model_->Clear();
  RebuildQuestionList();
  pgcMain_->setCurrentWidget(tsQuestions_);
}

void TQVXMainForm::SurveyReplaced() { RebuildQuestionList(); }

void TQVXMainForm::FileNew() {
  document_.New();
  RefreshMainWindow();
}

void TQVXMainForm::FileOpen() {
  const QString chosen =
      dialogs_.ChooseSurveyToOpen(this, QString::fromStdString(document_.LastDirectory()));
  if (chosen.isEmpty()) return;
  document_.Open(chosen.toStdString());
  RefreshMainWindow();
}

void TQVXMainForm::FileSave() {
  document_.Save();
  RefreshMainWindow();
}

void TQVXMainForm::FileSaveAs() {
  document_.SaveAs();
  RefreshMainWindow();
}

// The page goes to a temporary file that is deleted at shutdown.
void TQVXMainForm::Preview() {
  const std::string file = MakeTempFileName("htm");
  const bool written = GeneratePreviewPage(document_.Survey(), data_dir_, file);
  if (FileExists(file)) document_.AddTemporaryFile(file);
  if (written) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(file)));
  } else {
    prompts_.ShowError(kPageNotGeneratedMessage);
  }
  RefreshMainWindow();
}

void TQVXMainForm::FileReopen(int index) {
  if (document_.Reopen(index)) RebuildQuestionList();
  RefreshMainWindow();
}

}  // namespace quorvant::app
