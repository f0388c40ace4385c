#include "app/publishing/publish_dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>

#include "app/transfer/mail_transports.h"

namespace quorvant::app {

QString StandardPublishDialogs::ChooseHtmlFile(QWidget* parent, const QString& dir,
                                               const QString& filter) {
  return QFileDialog::getSaveFileName(parent, "Select an HTM file", dir, filter);
}

std::unique_ptr<MailTransport> StandardPublishDialogs::MakeTransport(QWidget* parent,
                                                                     const Preferences& prefs) {
  return MakeMailRunTransport(prefs, [parent](const std::string& question) {
    bool ok = false;
    const QString typed =
        QInputDialog::getText(parent, "Mail Server Password", QString::fromStdString(question),
                              QLineEdit::Password, {}, &ok);
    return ok ? std::optional<std::string>(typed.toStdString()) : std::nullopt;
  });
}

}  // namespace quorvant::app
