// Step four of the publish dialog: the mailing run, with its progress bar,
// status label and Stop button.
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "app/publishing/publish_dialogs.h"
#include "app/publishing/publish_survey_dialog.h"
#include "core/publishing/mail_transport.h"
#include "core/shell/preferences.h"
#include "core/shell/settings_store.h"

namespace quorvant::app {

void TQVXPublishSurvey::SendMail() {
  const Preferences prefs = ReadPreferences(settings_);
  std::unique_ptr<MailTransport> transport = dialogs_.MakeTransport(this, prefs);
  if (!transport) return;
  QPushButton* during_run[] = {
      btnGenerateHTMLPage_, btnVerifyServer_, btnRegisterNow_, btnSelectFile_,
      btnSendMail_,         btnCancel_,       btnHelp_};
  MailingOptions options;
  options.reminders = rbSendNotAnswered_->isEnabled() && rbSendNotAnswered_->isChecked();
  // The choice stays as it is for the whole run.
  const bool reminders_open = rbSendNotAnswered_->isEnabled();
  rbSendSampled_->setEnabled(false);
  rbSendNotAnswered_->setEnabled(false);
  for (QPushButton* b : during_run) b->setEnabled(false);
  btnStopSending_->show();
  stop_ = false;
  pbSendMail_->setValue(0);
  pbSendMail_->show();
  mailing_ = true;
  RunMailing(survey_, prefs, *transport, *this, prompts_, options);
  mailing_ = false;
  stop_ = false;
  for (QPushButton* b : during_run) b->setEnabled(true);
  rbSendSampled_->setEnabled(true);
  rbSendNotAnswered_->setEnabled(reminders_open);
  btnStopSending_->hide();
  pbSendMail_->hide();
  CloseIfAsked();
}

void TQVXPublishSurvey::SetProgressMax(int max) { pbSendMail_->setMaximum(max); }
void TQVXPublishSurvey::SetProgress(int position) { pbSendMail_->setValue(position); }
void TQVXPublishSurvey::SetStatus(const std::string& text) {
  lblEmailStatus_->setText(QString::fromStdString(text));
}
void TQVXPublishSurvey::ProcessEvents() { QApplication::processEvents(); }

}  // namespace quorvant::app
