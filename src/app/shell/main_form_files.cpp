// TQVXMainForm: the file commands, "Confirm Save", Save As and the
// recent-file list.
#include <QDesktopServices>
#include <QMenu>
#include <QTabWidget>
#include <QUrl>

#include "app/shell/main_form.h"
#include "app/survey/question_list_view.h"
#include "app/shell/window_dialogs.h"
#include "core/shell/atomic_file.h"
#include "core/shell/prompts.h"
#include "core/shell/system_helpers.h"
#include "core/survey/survey_copy.h"
#include "core/survey/survey_exception.h"
#include "core/webpage/page_generator.h"
#include "core/webpage/page_preview.h"

namespace quorvant::app {

void TQVXMainForm::AddToRecentFiles(const std::string& path) {
  recent_.Add(path, last_dir_);
  RefreshMainWindow();
}

// Saves to the survey's file, or through Save As for a survey without one.
// False when the person cancelled Save As or the file could not be written.
bool TQVXMainForm::SaveCurrent() {
  if (!survey_.HasFile()) return SaveSurveyAs();
  try {
    survey_.Save();
  } catch (const ESurveyException& e) {
    prompts_.ShowError(e.what());
    return false;
  }
  return true;
}

bool TQVXMainForm::QuerySave() {
  if (!survey_.Modified()) return true;
  switch (dialogs_.ConfirmSave(this)) {
    case SaveAnswer::kNo:
      return true;
    case SaveAnswer::kCancel:
      return false;
    case SaveAnswer::kYes:
      break;
  }
  const bool saved = SaveCurrent();
  if (survey_.HasFile()) AddToRecentFiles(survey_.FileName());
  return saved;
}

bool TQVXMainForm::RequireSave() {
  if (!survey_.Modified()) return true;
  if (dialogs_.ConfirmSave(this) != SaveAnswer::kYes) return false;
  const bool saved = SaveCurrent();
  if (survey_.HasFile()) AddToRecentFiles(survey_.FileName());
  return saved;
}

bool TQVXMainForm::SaveSurveyAs() {
  const QString chosen = dialogs_.ChooseSurveyToSave(this, QString::fromStdString(last_dir_),
                                                     QString::fromStdString(survey_.FileName()));
  if (chosen.isEmpty()) return false;
  const std::string path = WithSurveyExtension(chosen.toStdString());
  bool copied = false;
  try {
    copied = quorvant::SaveSurveyAs(survey_, path, settings_);
  } catch (const ESurveyException& e) {
    prompts_.ShowError(e.what());
    return false;
  }
  if (copied) {
    ClearSurvey();
    LoadSurvey(path);
    RebuildQuestionList();
  }
  last_dir_ = DirectoryOf(path);
  return true;
}

// Clears the open survey to a new untitled one and empties both lists.
void TQVXMainForm::ClearSurvey() {
  CloseResponses();
  survey_.Clear();
  question_model_->Clear();
  RebuildQuestionList();
  pgcMain_->setCurrentWidget(tsQuestions_);
}

// Loads into the cleared survey. A file that cannot be read leaves a new
// untitled survey rather than a half-read one whose next Save would write
// over the file.
void TQVXMainForm::LoadSurvey(const std::string& path) {
  try {
    survey_.Load(path);
  } catch (const ESurveyException& e) {
    survey_.Clear();
    prompts_.ShowError(e.what());
    return;
  }
  // An opened file is offered under Reopen at once, not only after the
  // next file is opened.
  recent_.Add(survey_.FileName(), last_dir_);
  OpenLoadedResponses();
}

// Open, Reopen and drop, once QuerySave allowed it.
void TQVXMainForm::OpenInPlace(const std::string& path) {
  if (survey_.HasFile()) AddToRecentFiles(survey_.FileName());
  ClearSurvey();
  LoadSurvey(path);
  RebuildQuestionList();
  RefreshMainWindow();
}

void TQVXMainForm::FileNew() {
  if (!QuerySave()) return;
  if (survey_.HasFile()) AddToRecentFiles(survey_.FileName());
  ClearSurvey();
  RefreshMainWindow();
}

void TQVXMainForm::FileOpen() {
  const QString chosen = dialogs_.ChooseSurveyToOpen(this, QString::fromStdString(last_dir_));
  if (chosen.isEmpty() || !QuerySave()) return;
  OpenInPlace(chosen.toStdString());
}

void TQVXMainForm::FileSave() {
  SaveCurrent();
  if (survey_.HasFile()) AddToRecentFiles(survey_.FileName());
  RefreshMainWindow();
}

void TQVXMainForm::FileSaveAs() {
  SaveSurveyAs();
  if (survey_.HasFile()) AddToRecentFiles(survey_.FileName());
  RefreshMainWindow();
}

// The page goes to a temporary file that is deleted at shutdown.
void TQVXMainForm::Preview() {
  const std::string file = MakeTempFileName("htm");
  const bool written = GeneratePreviewPage(survey_, data_dir_, file);
  if (FileExists(file)) temp_files_.push_back(file);
  if (written) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(file)));
  } else {
    prompts_.ShowError(kPageNotGeneratedMessage);
  }
  RefreshMainWindow();
}

// The entry's full path is used rather than its shortened caption, which
// would name another file when the folder differs only in letter case.
void TQVXMainForm::FileReopen(int index) {
  if (index < 0 || index >= static_cast<int>(recent_.Files().size())) return;
  const std::string path = recent_.Files()[static_cast<size_t>(index)];
  if (!QuerySave()) {
    RefreshMainWindow();
    return;
  }
  if (FileExists(path)) {
    OpenInPlace(path);
    return;
  }
  dialogs_.FileNotFound(this, QString::fromStdString(path) +
                                  " is no longer there.  It may have been deleted or moved.");
  recent_.Remove(path);
  RebuildQuestionList();
  RefreshMainWindow();
}

}  // namespace quorvant::app
