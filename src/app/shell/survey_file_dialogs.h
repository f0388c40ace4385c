// WindowSurveyFileDialogs: the survey document's questions asked through the
// window's dialogs, over the window that shows the document.
#pragma once

#include "core/survey/survey_document.h"

class QWidget;

namespace quorvant::app {

class WindowDialogs;

class WindowSurveyFileDialogs : public SurveyFileDialogs {
 public:
  // Keeps both references; they must outlive this object.
  WindowSurveyFileDialogs(WindowDialogs& dialogs, QWidget& parent)
      : dialogs_(dialogs), parent_(parent) {}

  SaveAnswer ConfirmSave() override;
  std::string ChooseSurveyToSave(const std::string& dir, const std::string& initial_name) override;
  void FileNotFound(const std::string& text) override;

 private:
  WindowDialogs& dialogs_;
  QWidget& parent_;
};

}  // namespace quorvant::app
