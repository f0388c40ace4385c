// PublishDialogs: the dialogs the publish dialog opens besides its message
// boxes (those go through the prompts): the choice of the page file, and
// the SMTP password that making a mailing run's transport may ask for. The
// publish dialog receives them through its constructor, so that tests answer
// them with their own.
//
// Thread-safety: the user-interface thread only.
#pragma once

#include <QString>
#include <memory>

class QWidget;

namespace quorvant {
class MailTransport;
struct Preferences;
}  // namespace quorvant

namespace quorvant::app {

class PublishDialogs {
 public:
  virtual ~PublishDialogs() = default;
  // "Select an HTM file", starting in dir with this filter: the chosen name,
  // or empty when the person cancelled.
  virtual QString ChooseHtmlFile(QWidget* parent, const QString& dir, const QString& filter) = 0;
  // The transport of a mailing run with these preferences; nullptr when the
  // person cancelled (the password question).
  virtual std::unique_ptr<MailTransport> MakeTransport(QWidget* parent,
                                                       const Preferences& prefs) = 0;
};

// The program's: a file dialog, and the SMTP password from the keyring or,
// when it has none, asked for in a password box.
class StandardPublishDialogs : public PublishDialogs {
 public:
  QString ChooseHtmlFile(QWidget* parent, const QString& dir, const QString& filter) override;
  std::unique_ptr<MailTransport> MakeTransport(QWidget* parent, const Preferences& prefs) override;
};

}  // namespace quorvant::app
