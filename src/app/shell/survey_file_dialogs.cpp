#include "app/shell/survey_file_dialogs.h"

#include "app/shell/window_dialogs.h"

namespace quorvant::app {

SaveAnswer WindowSurveyFileDialogs::ConfirmSave() { return dialogs_.ConfirmSave(&parent_); }

std::string WindowSurveyFileDialogs::ChooseSurveyToSave(const std::string& dir,
                                                        const std::string& initial_name) {
  return dialogs_
      .ChooseSurveyToSave(&parent_, QString::fromStdString(dir),
                          QString::fromStdString(initial_name))
      .toStdString();
}

void WindowSurveyFileDialogs::FileNotFound(const std::string& text) {
  dialogs_.FileNotFound(&parent_, QString::fromStdString(text));
}

}  // namespace quorvant::app
