// TQVXProperties: the five pages and their controls.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "app/shell/disabled_fields.h"
#include "app/shell/form_helpers.h"
#include "app/survey/survey_properties_dialog.h"

namespace quorvant::app {
namespace {

QPlainTextEdit* Memo(const char* name, QWidget* parent) {
  auto* memo = Named(name, new QPlainTextEdit(parent));
  memo->setTabChangesFocus(true);
  return memo;
}

}  // namespace

QWidget* TQVXProperties::BuildDetailsPage() {
  auto* page = Named("tsDetails", new QWidget(this));
  eName_ = Named("eName", new QLineEdit(page));
  eAuthor_ = Named("eAuthor", new QLineEdit(page));
  ePassword_ = Named("ePassword", new QLineEdit(page));
  ePassword_->setMaxLength(10);
  ePassword_->setMaximumWidth(ePassword_->fontMetrics().horizontalAdvance('M') * 12 + 12);
  memInstructions_ = Memo("memInstructions", page);
  memFinalComments_ = Memo("memFinalComments", page);

  auto* grid = new QGridLayout;
  grid->addWidget(BuddyLabel("Survey &Name:", eName_, page), 0, 0);
  grid->addWidget(eName_, 0, 1);
  grid->addWidget(BuddyLabel("&Author:", eAuthor_, page), 1, 0);
  grid->addWidget(eAuthor_, 1, 1);
  grid->addWidget(BuddyLabel("Survey &Password:", ePassword_, page), 2, 0);
  grid->addWidget(ePassword_, 2, 1, Qt::AlignLeft);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(grid);
  layout->addWidget(BuddyLabel("&Instructions to survey respondent:", memInstructions_, page));
  layout->addWidget(memInstructions_, 1);
  layout->addWidget(BuddyLabel("&Closing comments to respondent:", memFinalComments_, page));
  layout->addWidget(memFinalComments_, 1);
  return page;
}

QWidget* TQVXProperties::BuildWebServerPage() {
  auto* page = Named("tsWebServer", new QWidget(this));
  lbDisplayTemplate_ = Named("lbDisplayTemplate", new QListWidget(page));
  lbDisplayTemplate_->setMaximumHeight(lbDisplayTemplate_->fontMetrics().lineSpacing() * 5 + 8);
  auto* preview = Named("btnPreview", new QPushButton("&Preview", page));
  connect(preview, &QPushButton::clicked, this, &TQVXProperties::Preview);

  cmbServerType_ = Named("cmbServerType", new QComboBox(page));
  cmbServerType_->addItems({"Private Web Server Extension", "Quorvant Service"});
  nbServerType_ = SwitchedPages("nbServerType", cmbServerType_, page);
  FieldPage(nbServerType_, "pgServerExtension", "&URL for web server extension:", "eServerURL",
            eServerURL_, {"Example: http://www.example.com/cgi-bin/quorvant-collector"});
  FieldPage(nbServerType_, "pgQuorvantService", "&Quorvant Account ID:", "eAccountID", eAccountID_,
            {"Quorvant issues the account ID when you sign up for the Quorvant Service.",
             "With an account your surveys are collected by Quorvant's public collection "
             "server, so you need no web server of your own."});

  eResultURL_ = Named("eResultURL", new QLineEdit(page));
  cbCheckAnswers_ =
      Named("cbCheckAnswers", new QCheckBox("Check answers in the respondent's &browser", page));

  auto* template_row = new QHBoxLayout;
  template_row->addWidget(lbDisplayTemplate_, 1);
  template_row->addWidget(preview, 0, Qt::AlignTop);
  auto* type_row = new QHBoxLayout;
  type_row->addWidget(BuddyLabel("&Server Type:", cmbServerType_, page));
  type_row->addWidget(cmbServerType_, 1);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(BuddyLabel("HTML display &template:", lbDisplayTemplate_, page));
  layout->addLayout(template_row);
  layout->addLayout(type_row);
  layout->addWidget(nbServerType_);
  layout->addWidget(
      BuddyLabel("URL users will be &directed to after submitting survey:", eResultURL_, page));
  layout->addWidget(eResultURL_);
  layout->addWidget(NoteLabel("Example: http://www.example.com/thanks.html", page));
  layout->addSpacing(layout->spacing() * 2);
  layout->addWidget(cbCheckAnswers_);
  layout->addStretch();
  return page;
}

QWidget* TQVXProperties::BuildNotificationsPage() {
  auto* page = Named("tsNotifications", new QWidget(this));
  eNotificationFile_ = Named("eNotificationFile", new QLineEdit(page));
  auto* select = Named("btnSelectFile", new QPushButton("Select File", page));
  auto* manager = Named("btnEmailListManager", new QPushButton("E-Mail List Manager", page));
  connect(select, &QPushButton::clicked, this, &TQVXProperties::SelectFile);
  connect(manager, &QPushButton::clicked, this, &TQVXProperties::OpenEmailListManager);

  auto* send = Named("gbSendTo", new QGroupBox("Send notifications to:", page));
  rbAllAddresses_ = Named("rbAllAddresses", new QRadioButton("&All addresses", send));
  rbRandomSampling_ = Named("rbRandomSampling", new QRadioButton("A &random sampling", send));
  tbSampling_ = Named("tbSampling", new QSlider(Qt::Horizontal, send));
  tbSampling_->setRange(1, 100);
  tbSampling_->setTickInterval(10);
  tbSampling_->setTickPosition(QSlider::TicksBelow);
  lblSampling_ = Named("lblSampling", new QLabel(send));
  lblSampling_->setMinimumWidth(lblSampling_->fontMetrics().horizontalAdvance("100% of list") + 4);
  connect(rbRandomSampling_, &QRadioButton::toggled, this, &TQVXProperties::UpdateSampling);
  connect(tbSampling_, &QSlider::valueChanged, this, &TQVXProperties::UpdateSampling);
  auto* send_layout = new QGridLayout(send);
  send_layout->addWidget(rbAllAddresses_, 0, 0);
  send_layout->addWidget(rbRandomSampling_, 1, 0);
  send_layout->addWidget(BuddyLabel("Sampling &quantity:", tbSampling_, send), 0, 1);
  send_layout->addWidget(tbSampling_, 1, 1);
  send_layout->addWidget(lblSampling_, 1, 2);
  send_layout->setColumnStretch(1, 1);

  memNotifyMessage_ = Memo("memNotifyMessage", page);
  cbAttachSurvey_ =
      Named("cbAttachSurvey", new QCheckBox("Attach &survey to notification message", page));

  auto* list_row = new QHBoxLayout;
  list_row->addWidget(eNotificationFile_, 1);
  list_row->addWidget(select);
  list_row->addWidget(manager);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(
      NoteLabel("If you would like notifications sent to potential respondents, please "
                "fill in the information below.  You can also attach the survey "
                "directly to the notification message.",
                page));
  layout->addWidget(BuddyLabel("&Notification list:", eNotificationFile_, page));
  layout->addLayout(list_row);
  layout->addWidget(send);
  layout->addWidget(BuddyLabel("Notification &message:", memNotifyMessage_, page));
  layout->addWidget(memNotifyMessage_, 1);
  layout->addWidget(cbAttachSurvey_);
  return page;
}

QWidget* TQVXProperties::BuildHistoryPage() {
  auto* page = Named("tsHistory", new QWidget(this));
  memHistory_ = Memo("memHistory", page);
  memHistory_->setReadOnly(true);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(BuddyLabel("Publication History:", memHistory_, page));
  layout->addWidget(memHistory_, 1);
  return page;
}

QWidget* TQVXProperties::BuildSecurityPage() {
  auto* page = Named("tsSecurity", new QWidget(this));
  auto* limits =
      Named("gbLimits", new QGroupBox("Limit incoming responses to the following:", page));
  cbOnly1Email_ =
      Named("cbOnly1Email",
            new QCheckBox("Allo&w only 1 survey response from each e-mail address", limits));
  cbOnly1IP_ =
      Named("cbOnly1IP", new QCheckBox("A&llow only 1 survey response per IP address", limits));
  cbLimitByIP_ =
      Named("cbLimitByIP",
            new QCheckBox("Respondent &IP addresses must contain one of the following:", limits));
  lbIPAddresses_ = Named("lbIPAddresses", new QListWidget(limits));
  eIPAddress_ = Named("eIPAddress", new QLineEdit(limits));
  eIPAddress_->setMaxLength(15);
  eIPAddress_->installEventFilter(this);
  btnAddIP_ = Named("btnAddIP", new QPushButton("&Add", limits));
  btnDeleteIP_ = Named("btnDeleteIP", new QPushButton("&Delete", limits));
  btnAddIP_->setAutoDefault(false);
  btnDeleteIP_->setAutoDefault(false);
  GreyWhenDisabled(*lbIPAddresses_);
  GreyWhenDisabled(*eIPAddress_);
  connect(cbLimitByIP_, &QCheckBox::clicked, this, &TQVXProperties::LimitByIPClicked);
  connect(cbLimitByIP_, &QCheckBox::toggled, this, &TQVXProperties::UpdateSecurity);
  connect(lbIPAddresses_, &QListWidget::itemSelectionChanged, this,
          &TQVXProperties::UpdateSecurity);
  connect(eIPAddress_, &QLineEdit::textChanged, this, &TQVXProperties::UpdateSecurity);
  connect(btnAddIP_, &QPushButton::clicked, this, &TQVXProperties::AddAddress);
  connect(btnDeleteIP_, &QPushButton::clicked, this, &TQVXProperties::DeleteAddress);

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(eIPAddress_);
  buttons->addWidget(btnAddIP_);
  buttons->addWidget(btnDeleteIP_);
  buttons->addStretch();
  auto* list_row = new QHBoxLayout;
  list_row->addSpacing(20);
  list_row->addWidget(lbIPAddresses_, 1);
  list_row->addLayout(buttons);
  auto* limits_layout = new QVBoxLayout(limits);
  limits_layout->addWidget(cbOnly1Email_);
  limits_layout->addWidget(cbOnly1IP_);
  limits_layout->addWidget(cbLimitByIP_);
  limits_layout->addLayout(list_row, 1);
  limits_layout->addWidget(
      NoteLabel("A partial address of three numbers, such as 192.168.10, admits every address that "
                "begins with it: the 256 addresses 192.168.10.0 to 192.168.10.255.",
                limits));
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(limits, 1);
  return page;
}

}  // namespace quorvant::app
