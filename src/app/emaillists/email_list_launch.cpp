#include "app/emaillists/email_list_launch.h"

#include <QDialog>
#include <QPointer>

#include "app/emaillists/email_list_window.h"

namespace quorvant::app {

TQVXEList* ShowEmailListManager(QWidget* parent, SettingsStore& settings, Prompts& prompts,
                                EmailListDialogs& dialogs, const std::string& data_dir,
                                const std::string& notification_file) {
  auto* window = new TQVXEList(settings, prompts, dialogs, data_dir, parent);
  if (!window->OpenForSurvey(notification_file)) {
    window->close();
    return nullptr;
  }
  window->show();
  return window;
}

TQVXEList* ShowEmailListManagerFrom(QDialog& dialog, SettingsStore& settings, Prompts& prompts,
                                    EmailListDialogs& dialogs, const std::string& data_dir,
                                    const std::string& notification_file,
                                    const std::string& list_name, bool create) {
  // A window of the modal dialog's own takes input while the dialog is
  // open; when the dialog ends it moves to the dialog's owner.
  auto* window = new TQVXEList(settings, prompts, dialogs, data_dir, &dialog);
  const bool opened = list_name.empty() ? window->OpenForSurvey(notification_file)
                      : create          ? window->CreateList(list_name)
                                        : window->OpenList(list_name);
  // A window whose list failed has closed already; one whose creation was
  // refused has nothing to show.
  if (!opened) {
    window->close();
    return nullptr;
  }
  QPointer<TQVXEList> guarded(window);
  QWidget* owner = dialog.parentWidget();
  QObject::connect(&dialog, &QDialog::finished, window, [guarded, owner] {
    if (!guarded) return;
    const QRect where = guarded->geometry();
    guarded->setParent(owner, Qt::Window);
    guarded->setGeometry(where);
    guarded->show();
  });
  window->show();
  return window;
}

}  // namespace quorvant::app
