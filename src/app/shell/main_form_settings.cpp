// TQVXMainForm: the survey properties and preferences commands.
#include "app/shell/directory_chooser.h"
#include "app/shell/main_form.h"
#include "app/shell/preferences_dialog.h"
#include "app/survey/question_editor.h"
#include "app/survey/survey_properties_dialog.h"
#include "core/shell/preferences.h"
#include "core/shell/settings_keys.h"
#include "core/webpage/shipped_templates.h"

namespace quorvant::app {

void TQVXMainForm::ShowProperties() {
  if (!editing_.ConfirmChangePublished()) return;
  TQVXProperties properties(
      survey_, settings_, prompts_, dialogs_, data_dir_,
      [this](const std::string& file) { temp_files_.push_back(file); }, this);
  properties.exec();
  // Also after Cancel: a preview may have recorded its page in the survey.
  RefreshMainWindow();
}

// The editors and menus that list the data directory's files follow a new
// data directory at once; the shipped display templates are copied into it
// as at start-up.
void TQVXMainForm::ShowPreferences() {
  TQVXPrefs prefs(settings_, prompts_, DirectoryChooser(), data_dir_, this);
  if (prefs.exec() != QDialog::Accepted) return;
  html_ext_ = HtmlExtensionFor(settings_.Read(settings::kDefaultHTML));
  if (prefs.DataDirectory() != data_dir_) {
    data_dir_ = prefs.DataDirectory();
    const std::string shipped = ShippedDataDirectory();
    if (!shipped.empty()) InstallShippedTemplates(shipped, data_dir_);
    if (question_editor_) question_editor_->SetDataDirectory(data_dir_);
    RebuildLibraryMenu();
  }
  RefreshMainWindow();
}

}  // namespace quorvant::app
