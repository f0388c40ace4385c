// Steps one to three of the publish dialog: the page file and its
// generation, and the verification and registration requests.
#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/publishing/publish_dialogs.h"
#include "app/publishing/publish_survey_dialog.h"
#include "core/publishing/server_steps.h"
#include "core/shell/preferences.h"
#include "core/shell/prompts.h"
#include "core/shell/settings_keys.h"
#include "core/shell/settings_store.h"
#include "core/shell/text_helpers.h"
#include "core/survey/survey.h"
#include "core/webpage/page_generator.h"

namespace quorvant::app {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

ServerStep StepOf(TQVXPublishSurvey::RequestKind kind) {
  return kind == TQVXPublishSurvey::RequestKind::kRegistration ? ServerStep::kRegister
                                                               : ServerStep::kVerify;
}

}  // namespace

void TQVXPublishSurvey::SelectFile() {
  const std::string ext = HtmlExtensionFor(settings_.Read(settings::kDefaultHTML));
  const QString name = eHTMLFileName_->text();
  const QString dir = name.isEmpty() ? Q(last_dir_) : QFileInfo(name).absolutePath();
  const QString filter = "HTML Files (*" + Q(ext) + ");;All Files (*.*)";
  const QString chosen = dialogs_.ChooseHtmlFile(this, dir, filter);
  if (chosen.isEmpty()) return;
  const std::string file = EnsureHtmlExtension(chosen.toStdString(), ext);
  eHTMLFileName_->setText(Q(file));
  survey_.SetHTMLFileName(file);
}

void TQVXPublishSurvey::GeneratePageNow() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const std::string file = eHTMLFileName_->text().toStdString();
  if (file.empty()) {
    QApplication::restoreOverrideCursor();
    prompts_.ShowErrorTitled("Publish Survey Error",
                             "You must specify a file name for the web page");
    eHTMLFileName_->setFocus();
    return;
  }
  if (GeneratePublishedPage(survey_, data_dir_, file)) {
    QApplication::beep();
  } else {
    QApplication::restoreOverrideCursor();
    prompts_.ShowError(PageNotGeneratedMessage(file));
    QApplication::setOverrideCursor(Qt::WaitCursor);
  }
  lblGenWebStatus_->setText(Q(survey_.HTMLStatus()));
  QApplication::restoreOverrideCursor();
}

void TQVXPublishSurvey::SetStepButtonsEnabled(bool enabled) {
  for (QPushButton* b :
       {btnSelectFile_, btnGenerateHTMLPage_, btnVerifyServer_, btnRegisterNow_, btnSendMail_})
    b->setEnabled(enabled);
}

void TQVXPublishSurvey::StartRequest(RequestKind kind) {
  if (busy_) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  busy_ = true;
  kind_ = kind;
  SetStepButtonsEnabled(false);
  httpVerify_.ApplyProxySettings(settings_);
  httpVerify_.SetFileMode({}, {});
  const std::string url = ServerStepURL(StepOf(kind), survey_);
  QEventLoop wait;
  connect(this, &TQVXPublishSurvey::destroyed, &wait, &QEventLoop::quit);
  auto quit = [&wait] { wait.quit(); };
  auto c1 = connect(&httpVerify_, &HttpClient::Succeeded, &wait, quit, Qt::QueuedConnection);
  auto c2 = connect(&httpVerify_, &HttpClient::Failed, &wait, quit, Qt::QueuedConnection);
  auto c3 = connect(&httpVerify_, &HttpClient::ConnectionFailed, &wait, quit, Qt::QueuedConnection);
  httpVerify_.Get(Q(url));
  request_wait_ = &wait;
  if (busy_) wait.exec();
  request_wait_ = nullptr;
  disconnect(c1);
  disconnect(c2);
  disconnect(c3);
  QApplication::restoreOverrideCursor();
  CloseIfAsked();
}

QLabel* TQVXPublishSurvey::RequestLabel() const {
  return kind_ == RequestKind::kRegistration ? lblRegisterStatus_ : lblServerStatus_;
}

void TQVXPublishSurvey::OnConnected() {
  if (busy_) RequestLabel()->setText("Connected to server...");
}

void TQVXPublishSurvey::OnStatus(const QString& text) {
  if (busy_) RequestLabel()->setText("Status: " + text);
}

void TQVXPublishSurvey::OnSucceeded() {
  if (!busy_) return;
  const RequestKind kind = kind_;
  EndRequest();
  const std::string body = httpVerify_.Body().toStdString();
  const ServerReplyOutcome outcome =
      JudgeServerReply(StepOf(kind), survey_, httpVerify_.StatusCode(), body);
  (kind == RequestKind::kRegistration ? lblRegisterStatus_ : lblServerStatus_)
      ->setText(Q(outcome.status));
  if (outcome.passed) {
    QApplication::beep();
  } else {
    prompts_.ShowErrorTitled(outcome.error_caption, outcome.error);
  }
}

void TQVXPublishSurvey::OnRequestFailed() {
  if (!busy_) return;
  const RequestKind kind = kind_;
  EndRequest();
  // No reply, or one with an error status: judged alike.
  const ServerReplyOutcome outcome = JudgeServerReply(StepOf(kind), survey_, 0, {});
  (kind == RequestKind::kRegistration ? lblRegisterStatus_ : lblServerStatus_)
      ->setText(Q(outcome.status));
  prompts_.ShowErrorTitled(outcome.error_caption, outcome.error);
}

void TQVXPublishSurvey::EndRequest() {
  busy_ = false;
  kind_ = RequestKind::kNone;
  SetStepButtonsEnabled(true);
}

}  // namespace quorvant::app
