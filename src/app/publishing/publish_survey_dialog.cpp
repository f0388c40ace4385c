#include "app/publishing/publish_survey_dialog.h"

#include <QDesktopServices>
#include <QEventLoop>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QUrl>
#include <QVBoxLayout>

#include "app/shell/app_paths.h"
#include "app/shell/whats_this.h"
#include "core/shell/date_time.h"
#include "core/shell/prompts.h"
#include "core/shell/settings_keys.h"
#include "core/shell/settings_store.h"
#include "core/survey/survey.h"

namespace quorvant::app {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

template <typename T>
T* Named(const char* name, T* widget) {
  widget->setObjectName(name);
  return widget;
}

QLabel* StatusLabel(const char* name, QWidget* parent) {
  QLabel* label = Named(name, new QLabel(parent));
  label->setWordWrap(true);
  label->setTextFormat(Qt::PlainText);  // server and survey texts are never markup
  return label;
}

}  // namespace

TQVXPublishSurvey::TQVXPublishSurvey(TSurvey& survey, const SettingsStore& settings,
                                     Prompts& prompts, PublishDialogs& dialogs,
                                     std::string data_dir, std::string last_dir, QWidget* parent)
    : QDialog(parent),
      survey_(survey),
      settings_(settings),
      prompts_(prompts),
      dialogs_(dialogs),
      data_dir_(std::move(data_dir)),
      last_dir_(std::move(last_dir)) {
  setObjectName("TQVXPublishSurvey");
  setWindowTitle("Publish Survey");
  setModal(true);
  BuildSteps();
  ShowSurveyState();

  connect(&httpVerify_, &HttpClient::Connected, this, &TQVXPublishSurvey::OnConnected);
  connect(&httpVerify_, &HttpClient::Status, this, &TQVXPublishSurvey::OnStatus);
  connect(&httpVerify_, &HttpClient::Succeeded, this, &TQVXPublishSurvey::OnSucceeded);
  connect(&httpVerify_, &HttpClient::Failed, this, &TQVXPublishSurvey::OnRequestFailed);
  connect(&httpVerify_, &HttpClient::ConnectionFailed, this, &TQVXPublishSurvey::OnRequestFailed);
  connect(btnSelectFile_, &QPushButton::clicked, this, &TQVXPublishSurvey::SelectFile);
  connect(btnGenerateHTMLPage_, &QPushButton::clicked, this, &TQVXPublishSurvey::GeneratePageNow);
  connect(btnVerifyServer_, &QPushButton::clicked, this,
          [this] { StartRequest(RequestKind::kVerification); });
  connect(btnRegisterNow_, &QPushButton::clicked, this,
          [this] { StartRequest(RequestKind::kRegistration); });
  connect(btnSendMail_, &QPushButton::clicked, this, &TQVXPublishSurvey::SendMail);
  connect(btnStopSending_, &QPushButton::clicked, this, [this] { stop_ = true; });
  connect(btnCancel_, &QPushButton::clicked, this, [this] { CloseWhenIdle(QDialog::Accepted); });
  connect(btnHelp_, &QPushButton::clicked, this,
          [] { QDesktopServices::openUrl(QUrl::fromLocalFile(HelpPagePath("publish-survey"))); });
  InstallWhatsThis(this);
}

TQVXPublishSurvey::~TQVXPublishSurvey() = default;

QWidget* TQVXPublishSurvey::StepRow(const char* label_name, const char* digit, QGroupBox* group) {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  QLabel* step = Named(label_name, new QLabel(digit, row));
  step->setAlignment(Qt::AlignCenter);
  step->setFixedSize(40, 40);
  step->setStyleSheet(
      "QLabel { font-size: 22px; font-weight: bold; border: 2px solid palette(text);"
      " border-radius: 20px; }");
  layout->addWidget(step, 0, Qt::AlignTop);
  layout->addWidget(group, 1);
  return row;
}

void TQVXPublishSurvey::BuildSteps() {
  auto* gbGenWebPage = Named("gbGenWebPage", new QGroupBox("Generate Survey Web Page", this));
  eHTMLFileName_ = Named("eHTMLFileName", new QLineEdit(gbGenWebPage));
  btnSelectFile_ = Named("btnSelectFile", new QPushButton("...", gbGenWebPage));
  btnSelectFile_->setToolTip("Select File");
  btnSelectFile_->setFixedWidth(32);
  btnGenerateHTMLPage_ =
      Named("btnGenerateHTMLPage", new QPushButton("&Generate Now", gbGenWebPage));
  lblGenWebStatus_ = StatusLabel("lblGenWebStatus", gbGenWebPage);
  auto* file_row = new QHBoxLayout;
  file_row->addWidget(eHTMLFileName_, 1);
  file_row->addWidget(btnSelectFile_);
  file_row->addWidget(btnGenerateHTMLPage_);
  auto* one = new QVBoxLayout(gbGenWebPage);
  one->addLayout(file_row);
  one->addWidget(lblGenWebStatus_);

  auto* gbVerifyServer = Named("gbVerifyServer", new QGroupBox("Verify Web Server", this));
  lblServerAddress_ = StatusLabel("lblServerAddress", gbVerifyServer);
  btnVerifyServer_ = Named("btnVerifyServer", new QPushButton("&Verify Now", gbVerifyServer));
  lblServerStatus_ = StatusLabel("lblServerStatus", gbVerifyServer);
  auto* two_row = new QHBoxLayout;
  two_row->addWidget(lblServerAddress_, 1);
  two_row->addWidget(btnVerifyServer_);
  auto* two = new QVBoxLayout(gbVerifyServer);
  two->addLayout(two_row);
  two->addWidget(lblServerStatus_);

  auto* gbRegisterSurvey =
      Named("gbRegisterSurvey", new QGroupBox("Register Survey with Web Server", this));
  btnRegisterNow_ = Named("btnRegisterNow", new QPushButton("&Register Now", gbRegisterSurvey));
  lblRegisterStatus_ = StatusLabel("lblRegisterStatus", gbRegisterSurvey);
  auto* three = new QHBoxLayout(gbRegisterSurvey);
  three->addWidget(lblRegisterStatus_, 1);
  three->addWidget(btnRegisterNow_);

  gbSendEmail_ = Named("gbSendEmail", new QGroupBox(this));
  lblNotificationFile_ = StatusLabel("lblNotificationFile", gbSendEmail_);
  lblSampling_ = StatusLabel("lblSampling", gbSendEmail_);
  rbSendSampled_ = Named("rbSendSampled", new QRadioButton(gbSendEmail_));
  rbSendSampled_->setChecked(true);
  rbSendNotAnswered_ = Named("rbSendNotAnswered",
                             new QRadioButton("only those who have &not answered", gbSendEmail_));
  // One choice a line, so that neither is cut short in a narrow window.
  auto* send_to = new QGridLayout;
  send_to->addWidget(Named("lblSendTo", new QLabel("Send to:", gbSendEmail_)), 0, 0);
  send_to->addWidget(rbSendSampled_, 0, 1);
  send_to->addWidget(rbSendNotAnswered_, 1, 1);
  send_to->setColumnStretch(1, 1);
  btnSendMail_ = Named("btnSendMail", new QPushButton("&Send Now", gbSendEmail_));
  btnStopSending_ = Named("btnStopSending", new QPushButton("St&op Sending", gbSendEmail_));
  btnStopSending_->hide();
  pbSendMail_ = Named("pbSendMail", new QProgressBar(gbSendEmail_));
  pbSendMail_->setRange(0, 100);
  pbSendMail_->hide();
  lblEmailStatus_ = StatusLabel("lblEmailStatus", gbSendEmail_);
  auto* four_buttons = new QVBoxLayout;
  four_buttons->addWidget(btnSendMail_);
  four_buttons->addWidget(btnStopSending_);
  four_buttons->addStretch(1);
  auto* four_texts = new QVBoxLayout;
  four_texts->addWidget(lblNotificationFile_);
  four_texts->addWidget(lblSampling_);
  four_texts->addLayout(send_to);
  four_texts->addWidget(pbSendMail_);
  four_texts->addWidget(lblEmailStatus_);
  auto* four = new QHBoxLayout(gbSendEmail_);
  four->addLayout(four_texts, 1);
  four->addLayout(four_buttons);

  stepRows_[0] = StepRow("lblStepOne", "1", gbGenWebPage);
  stepRows_[1] = StepRow("lblStepTwo", "2", gbVerifyServer);
  stepRows_[2] = StepRow("lblStepThree", "3", gbRegisterSurvey);
  stepRows_[3] = StepRow("lblStepFour", "4", gbSendEmail_);

  buttonPanel_ = new QWidget(this);
  btnCancel_ = Named("btnCancel", new QPushButton("Close", buttonPanel_));
  btnHelp_ = Named("btnHelp", new QPushButton("&Help", buttonPanel_));
  auto* panel = new QHBoxLayout(buttonPanel_);
  panel->setContentsMargins(0, 0, 0, 0);
  panel->addStretch(1);
  panel->addWidget(btnCancel_);
  panel->addWidget(btnHelp_);

  auto* layout = new QVBoxLayout(this);
  layout->setSpacing(3);
  for (QWidget* row : stepRows_) layout->addWidget(row);
  layout->addStretch(1);
  layout->addSpacing(10);
  layout->addWidget(buttonPanel_);
  setMinimumWidth(560);
}

void TQVXPublishSurvey::ShowSurveyState() {
  lblGenWebStatus_->setText(Q(survey_.HTMLStatus()));
  lblServerStatus_->setText(Q(survey_.ServerStatus()));
  lblEmailStatus_->setText(Q(survey_.EMailStatus()));
  eHTMLFileName_->setText(Q(survey_.HTMLFileName()));
  lblRegisterStatus_->setText(survey_.RegDate() == 0
                                  ? QString("Survey not registered")
                                  : "Survey registered at " +
                                        Q(DateTimeToText(survey_.RegDate()).value_or("")));
  lblServerAddress_->setText("Server Address: " + Q(survey_.EffectiveServerURL()));
  const bool has_list = !survey_.NotificationFile().empty();
  stepRows_[3]->setVisible(has_list);
  if (has_list) {
    lblNotificationFile_->setText("Notification List: " + Q(survey_.NotificationFile()));
    lblSampling_->setText(survey_.AllAddresses()
                              ? QString("Sampling: All addresses on list")
                              : "Sampling: " + QString::number(survey_.SamplingPercent()) +
                                    "% of list.");
    rbSendSampled_->setText(survey_.AllAddresses() ? "&all addresses" : "a random sa&mple");
    // Without the address on the page no response says who answered.
    rbSendNotAnswered_->setEnabled(survey_.Only1Email());
  }
  gbSendEmail_->setTitle(settings_.Read(settings::kEmailSystem) == 1
                             ? "Send Survey Notifications via MAPI"
                             : "Send Survey Notifications via SMTP");
}

int TQVXPublishSurvey::ComputedHeight() const {
  int height = buttonPanel_->sizeHint().height() + 10;
  for (QWidget* row : stepRows_)
    if (!row->isHidden()) height += row->sizeHint().height() + 3;
  return height + layout()->contentsMargins().top() + layout()->contentsMargins().bottom();
}

void TQVXPublishSurvey::reject() { CloseWhenIdle(QDialog::Rejected); }

void TQVXPublishSurvey::CloseWhenIdle(int result) {
  if (!mailing_ && !busy_) {
    done(result);
    return;
  }
  if (close_result_ >= 0) return;  // already stopping
  const bool stop = prompts_.ConfirmTitled(
      "Publish Survey",
      mailing_ ? "Invitations are being sent. Stop sending and close the window?"
               : "A request to the server is under way. Stop it and close the window?",
      false);
  if (!stop || (!mailing_ && !busy_)) {
    if (stop) done(result);  // the run ended while the question was open
    return;
  }
  close_result_ = result;
  if (mailing_) {
    stop_ = true;
  } else {
    httpVerify_.Abort();
    EndRequest();
    if (request_wait_) request_wait_->quit();
  }
}

void TQVXPublishSurvey::CloseIfAsked() {
  if (close_result_ < 0) return;
  const int result = close_result_;
  close_result_ = -1;
  done(result);
}

void TQVXPublishSurvey::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) resize(width(), ComputedHeight());
}

}  // namespace quorvant::app
