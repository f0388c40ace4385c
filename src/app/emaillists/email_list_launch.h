// Opening the e-mail list manager from other windows: the main window's
// command and the survey properties' "E-Mail List Manager" button.
#pragma once

#include <string>

class QDialog;
class QWidget;

namespace quorvant {
class Prompts;
class SettingsStore;
}  // namespace quorvant

namespace quorvant::app {

class EmailListDialogs;
class TQVXEList;

// A new manager on the survey's list (or "default.eml" of the data
// directory), shown; nullptr when opening failed and the window closed.
TQVXEList* ShowEmailListManager(QWidget* parent, SettingsStore& settings, Prompts& prompts,
                                EmailListDialogs& dialogs, const std::string& data_dir,
                                const std::string& notification_file);

// A new manager on the named list, created first when `create` is set, or
// the survey's default when the name is empty. It is usable while the modal
// `dialog` is open and stays open after the dialog has closed.
TQVXEList* ShowEmailListManagerFrom(QDialog& dialog, SettingsStore& settings, Prompts& prompts,
                                    EmailListDialogs& dialogs, const std::string& data_dir,
                                    const std::string& notification_file,
                                    const std::string& list_name, bool create);

}  // namespace quorvant::app
