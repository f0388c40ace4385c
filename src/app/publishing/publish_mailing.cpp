// Step four of the publish dialog: the mailing run, with its progress bar,
// status label and Stop button.
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

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
  for (QPushButton* b : during_run) b->setEnabled(false);
  btnStopSending_->show();
  stop_ = false;
  pbSendMail_->setValue(0);
  pbSendMail_->show();
  mailing_ = true;
  RunMailing(survey_, prefs, *transport, *this, prompts_);
  mailing_ = false;
  stop_ = false;
  for (QPushButton* b : during_run) b->setEnabled(true);
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
