// TQVXPublishSurvey ("Publish Survey"): the four steps of publishing a
// survey, top to bottom: generate its web page, verify the collection
// server, register the survey there, and mail the invitations of its
// notification list (shown only when the survey has one): to the list as
// the survey samples it, or as reminders to only those who have not
// answered, a choice open only when the page asks for the respondent's
// e-mail address.
//
// One server request at a time: while a verification or registration is
// outstanding the step buttons are disabled and the hourglass shows; the
// HTTP client's events write to the status label of the request's kind.
// A mailing run disables the buttons and shows "St&op Sending".
//
// Closing the dialog (close box, Esc, "Close") while a mailing or a server
// request runs asks whether to stop it; on Yes the run is stopped (after
// the message on its way) or the request abandoned, and only then does the
// dialog close. On No both go on.
//
// Ownership: the survey, settings, prompts and dialogs must outlive the
// dialog.
// Thread-safety: the user-interface thread only.
#pragma once

#include <QDialog>
#include <memory>
#include <string>

#include "app/transfer/http_client.h"
#include "core/publishing/mailing_run.h"

class QEventLoop;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace quorvant {
class MailTransport;
class Prompts;
class SettingsStore;
class TSurvey;
struct Preferences;
}  // namespace quorvant

namespace quorvant::app {

class PublishDialogs;

class TQVXPublishSurvey : public QDialog, private MailingView {
  Q_OBJECT

 public:
  enum class RequestKind { kNone, kVerification, kRegistration };

  // data_dir holds the display templates; last_dir is the folder last saved
  // to, where the file choice starts when the survey has no page name.
  // Message boxes go to prompts, the file choice and the password question
  // to dialogs.
  TQVXPublishSurvey(TSurvey& survey, const SettingsStore& settings, Prompts& prompts,
                    PublishDialogs& dialogs, std::string data_dir, std::string last_dir,
                    QWidget* parent = nullptr);
  ~TQVXPublishSurvey() override;

  bool Busy() const { return busy_; }
  bool Mailing() const { return mailing_; }
  RequestKind Kind() const { return kind_; }
  // The client height of the rule: the button panel plus 10, and each
  // visible step's height plus 3.
  int ComputedHeight() const;

 public slots:
  // Esc and the close box come here.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildSteps();
  QWidget* StepRow(const char* label_name, const char* digit, QGroupBox* group);
  void ShowSurveyState();

  void SelectFile();
  void GeneratePageNow();
  void StartRequest(RequestKind kind);
  void OnConnected();
  void OnStatus(const QString& text);
  void OnSucceeded();
  void OnRequestFailed();
  void EndRequest();
  QLabel* RequestLabel() const;
  void SetStepButtonsEnabled(bool enabled);

  // Closes with result now, or once the running mailing or request has
  // stopped when the person agrees to stop it.
  void CloseWhenIdle(int result);
  // Closes as CloseWhenIdle() asked, once the run or request has ended.
  void CloseIfAsked();

  void SendMail();

  // The mailing run's view.
  void SetProgressMax(int max) override;
  void SetProgress(int position) override;
  void SetStatus(const std::string& text) override;
  void ProcessEvents() override;
  bool StopRequested() const override { return stop_; }

  TSurvey& survey_;
  const SettingsStore& settings_;
  Prompts& prompts_;
  PublishDialogs& dialogs_;
  std::string data_dir_;
  std::string last_dir_;
  HttpClient httpVerify_;

  bool busy_ = false;
  RequestKind kind_ = RequestKind::kNone;
  bool stop_ = false;
  bool mailing_ = false;
  int close_result_ = -1;               // the result to close with once idle; -1 for none
  QEventLoop* request_wait_ = nullptr;  // the loop waiting for the request

  QWidget* stepRows_[4] = {};
  QWidget* buttonPanel_ = nullptr;
  QGroupBox* gbSendEmail_ = nullptr;
  QLineEdit* eHTMLFileName_ = nullptr;
  QPushButton* btnSelectFile_ = nullptr;
  QPushButton* btnGenerateHTMLPage_ = nullptr;
  QPushButton* btnVerifyServer_ = nullptr;
  QPushButton* btnRegisterNow_ = nullptr;
  QPushButton* btnSendMail_ = nullptr;
  QPushButton* btnStopSending_ = nullptr;
  QPushButton* btnCancel_ = nullptr;
  QPushButton* btnHelp_ = nullptr;
  QProgressBar* pbSendMail_ = nullptr;
  QLabel* lblGenWebStatus_ = nullptr;
  QLabel* lblServerAddress_ = nullptr;
  QLabel* lblServerStatus_ = nullptr;
  QLabel* lblRegisterStatus_ = nullptr;
  QLabel* lblNotificationFile_ = nullptr;
  QLabel* lblSampling_ = nullptr;
  QRadioButton* rbSendSampled_ = nullptr;
  QRadioButton* rbSendNotAnswered_ = nullptr;
  QLabel* lblEmailStatus_ = nullptr;
};

}  // namespace quorvant::app
