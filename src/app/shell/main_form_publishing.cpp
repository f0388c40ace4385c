// The main window's commands that talk to the collection server or the
// vendor's site: publishing, clearing the server's responses, the update
// check and the support page.
#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

#include "app/publishing/publish_dialogs.h"
#include "app/publishing/publish_survey_dialog.h"
#include "app/shell/main_form.h"
#include "app/transfer/http_client.h"
#include "core/publishing/clear_results.h"
#include "core/publishing/server_steps.h"
#include "core/shell/prompts.h"

namespace quorvant::app {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

void TQVXMainForm::ShowPublish() {
  const bool saved = document_.RequireSave();
  RefreshMainWindow();
  if (!saved) return;
  {
    StandardPublishDialogs dialogs;
    TQVXPublishSurvey dialog(document_.Survey(), settings_, prompts_, dialogs, data_dir_,
                             document_.LastDirectory(), this);
    dialog.exec();
  }
  RefreshMainWindow();
}

void TQVXMainForm::ClearResultsFromServer() {
  if (!prompts_.Confirm(kClearResultsQuestion, false)) return;
  HttpClient client;
  client.ApplyProxySettings(settings_);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const HttpOutcome got = GetAndWait(client, Q(ServerStepURL(ServerStep::kClearResults, document_.Survey())));
  QApplication::restoreOverrideCursor();
  const int status = got == HttpOutcome::kConnectionFailed ? 0 : client.StatusCode();
  const ServerReplyOutcome outcome =
      JudgeServerReply(ServerStep::kClearResults, document_.Survey(), status,
                       status != 0 ? client.Body().toStdString() : std::string());
  if (outcome.passed) {
    prompts_.ShowInfo(outcome.status);
  } else {
    prompts_.ShowError(outcome.error);
  }
  RefreshMainWindow();
}

void TQVXMainForm::CheckForUpdates() { QDesktopServices::openUrl(QUrl(Q(UpdatePageURL()))); }

void TQVXMainForm::ShowTechSupport() { QDesktopServices::openUrl(QUrl(Q(SupportPageURL()))); }

}  // namespace quorvant::app
