#include "app/shell/preferences_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/shell/dialog_buttons.h"
#include "app/shell/dialog_placement.h"
#include "app/shell/directory_chooser.h"
#include "app/shell/disabled_fields.h"
#include "app/shell/form_helpers.h"
#include "app/shell/whats_this.h"
#include "app/transfer/mail_password.h"
#include "core/shell/prompts.h"
#include "core/shell/settings_keys.h"

namespace quorvant::app {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }
std::string S(const QLineEdit* field) { return field->text().toStdString(); }

QLineEdit* PortField(const char* name, QWidget* parent) {
  auto* field = Named(name, new QLineEdit(parent));
  field->setValidator(
      new QRegularExpressionValidator(QRegularExpression("\\s*\\d{0,5}\\s*"), field));
  field->setMaximumWidth(field->fontMetrics().horizontalAdvance('0') * 8 + 12);
  return field;
}

}  // namespace

TQVXPrefs::TQVXPrefs(SettingsStore& settings, Prompts& prompts, TQVXSelDir& chooser,
                     const std::string& data_dir, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      prompts_(prompts),
      chooser_(chooser),
      data_dir_(data_dir) {
  setObjectName("TQVXPrefs");
  setWindowTitle("Preferences");
  pgcPrefs_ = Named("pgcPrefs", new QTabWidget(this));
  pgcPrefs_->addTab(BuildGeneralPage(), "General");
  pgcPrefs_->addTab(BuildEmailPage(), "Email");
  pgcPrefs_->addTab(BuildAdvancedPage(), "Advanced");
  QDialogButtonBox* buttons = MakeOkCancelButtons(*this, "OK");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pgcPrefs_, 1);
  layout->addWidget(buttons);

  eDataDirectory_->setText(Q(data_dir_));
  Fill(ReadPreferences(settings_));
  pgcPrefs_->setCurrentIndex(0);
  RestorePlacement(*this, settings_, settings::kPreferencesWindow);
  InstallWhatsThis(this);
}

QWidget* TQVXPrefs::BuildGeneralPage() {
  auto* page = Named("tsGeneral", new QWidget(this));
  eDataDirectory_ = Named("eDataDirectory", new QLineEdit(page));
  eDataDirectory_->setReadOnly(true);
  auto* browse = Named("btnBrowse", new QPushButton("Select Directory", page));
  connect(browse, &QPushButton::clicked, this, &TQVXPrefs::BrowseDirectory);
  cbAutoReopen_ = Named("cbAutoReopen", new QCheckBox("&Automatically re-open last file", page));

  auto* warnings = Named("gbWarnings", new QGroupBox("Warnings - warn when...", page));
  const char* const names[kWarningCount] = {"cbWarnDeleteQuestions", "cbWarnUngroupSkipGroup",
                                            "cbWarnChangesToPublishedSurvey",
                                            "cbWarnMoveSkipGroup"};
  const char* const texts[kWarningCount] = {
      "D&eleting questions/headers", "&Ungrouping skip groups",
      "Making &changes to a survey that has already been published",
      "&Moving one or more questions in a skip group"};
  auto* warnings_layout = new QVBoxLayout(warnings);
  for (int i = 0; i < kWarningCount; ++i) {
    cbWarn_[i] = Named(names[i], new QCheckBox(texts[i], warnings));
    warnings_layout->addWidget(cbWarn_[i]);
  }

  auto* dir_row = new QHBoxLayout;
  dir_row->addWidget(eDataDirectory_, 1);
  dir_row->addWidget(browse);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(BuddyLabel("&Data Directory:", eDataDirectory_, page));
  layout->addLayout(dir_row);
  layout->addWidget(cbAutoReopen_);
  layout->addWidget(warnings);
  layout->addStretch();
  return page;
}

QWidget* TQVXPrefs::BuildEmailPage() {
  auto* page = Named("tsEmail", new QWidget(this));
  cmbEmailSystem_ = Named("cmbEmailSystem", new QComboBox(page));
  cmbEmailSystem_->addItems({"Internet Standard (POP3/SMTP)", "MAPI Compliant"});
  nbEmail_ = SwitchedPages("nbEmail", cmbEmailSystem_, page);

  auto* internet = Named("pgInternet", new QWidget(nbEmail_));
  eDisplayName_ = Named("eDisplayName", new QLineEdit(internet));
  eReplyAddress_ = Named("eReplyAddress", new QLineEdit(internet));
  eSMTPServer_ = Named("eSMTPServer", new QLineEdit(internet));
  eOutgoingPort_ = PortField("eOutgoingPort", internet);
  eSMTPUserID_ = Named("eSMTPUserID", new QLineEdit(internet));
  ePassword_ = Named("ePassword", new QLineEdit(internet));
  ePassword_->setEchoMode(QLineEdit::Password);
  auto* form = new QFormLayout(internet);
  form->setContentsMargins(0, 0, 0, 0);
  const std::pair<const char*, QLineEdit*> rows[] = {{"&Display Name:", eDisplayName_},
                                                     {"&Reply Address:", eReplyAddress_},
                                                     {"&SMTP Server Address:", eSMTPServer_},
                                                     {"&Outgoing Port:", eOutgoingPort_},
                                                     {"&User ID:", eSMTPUserID_},
                                                     {"Pass&word:", ePassword_}};
  QList<QLabel*> labels;
  for (const auto& [text, field] : rows) {
    labels << BuddyLabel(text, field, internet);
    form->addRow(labels.back(), field);
  }

  nbEmail_->addWidget(internet);
  FieldPage(nbEmail_, "pgMAPI", "&Gateway text for Email Addresses:", "eGatewayText", eGatewayText_,
            {"Note: In order to send to an Internet Email address you may have to place the "
             "word SMTP: in front of the address."});

  auto* system_row = new QFormLayout;
  labels << BuddyLabel("&Email System:", cmbEmailSystem_, page);
  system_row->addRow(labels.back(), cmbEmailSystem_);
  // One label column for the system and the server fields below it.
  int label_width = 0;
  for (QLabel* label : labels) label_width = std::max(label_width, label->sizeHint().width());
  for (QLabel* label : labels) label->setMinimumWidth(label_width);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(system_row);
  layout->addSpacing(6);
  layout->addWidget(nbEmail_);
  layout->addStretch();
  return page;
}

QWidget* TQVXPrefs::BuildAdvancedPage() {
  auto* page = Named("tsAdvanced", new QWidget(this));
  cbUseProxy_ =
      Named("cbUseProxy", new QCheckBox("Access the &Internet using a proxy server", page));
  eProxyAddress_ = Named("eProxyAddress", new QLineEdit(page));
  eProxyPort_ = PortField("eProxyPort", page);
  lblProxyAddress_ = Named("lblProxyAddress", BuddyLabel("A&ddress:", eProxyAddress_, page));
  lblProxyPort_ = Named("lblProxyPort", BuddyLabel("&Port:", eProxyPort_, page));
  GreyWhenDisabled(*eProxyAddress_);
  GreyWhenDisabled(*eProxyPort_);
  connect(cbUseProxy_, &QCheckBox::toggled, this, &TQVXPrefs::UpdateProxy);
  cmbDefaultHTML_ = Named("cmbDefaultHTML", new QComboBox(page));
  cmbDefaultHTML_->addItems({".HTM", ".HTML"});

  auto* proxy = new QFormLayout;
  proxy->setContentsMargins(24, 0, 0, 0);
  proxy->addRow(lblProxyAddress_, eProxyAddress_);
  proxy->addRow(lblProxyPort_, eProxyPort_);
  auto* html_row = new QHBoxLayout;
  html_row->addWidget(BuddyLabel("D&efault HTML extension:", cmbDefaultHTML_, page));
  html_row->addWidget(cmbDefaultHTML_);
  html_row->addStretch();
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(cbUseProxy_);
  layout->addLayout(proxy);
  layout->addSpacing(12);
  layout->addLayout(html_row);
  layout->addStretch();
  return page;
}

void TQVXPrefs::Fill(const Preferences& p) {
  cbAutoReopen_->setChecked(p.auto_reopen);
  cbUseProxy_->setChecked(p.use_proxy);
  eProxyAddress_->setText(Q(p.proxy_address));
  eProxyPort_->setText(QString::number(p.proxy_port));
  eDisplayName_->setText(Q(p.display_name));
  eReplyAddress_->setText(Q(p.reply_address));
  eSMTPServer_->setText(Q(p.smtp_server));
  eOutgoingPort_->setText(QString::number(p.outgoing_port));
  eSMTPUserID_->setText(Q(p.smtp_user));
  // The password lives in the keyring, never in the settings file.
  loaded_password_ = p.smtp_user.empty()
                         ? std::string()
                         : LookUpMailPassword(p.smtp_user, p.smtp_server).value_or("");
  ePassword_->setText(Q(loaded_password_));
  cmbEmailSystem_->setCurrentIndex(p.email_system == 1 ? 1 : 0);
  nbEmail_->setCurrentIndex(cmbEmailSystem_->currentIndex());
  eGatewayText_->setText(Q(p.gateway_text));
  for (int i = 0; i < kWarningCount; ++i) cbWarn_[i]->setChecked(p.warn[i]);
  cmbDefaultHTML_->setCurrentIndex(p.default_html != 0 ? 1 : 0);
  UpdateProxy();
}

bool TQVXPrefs::ReadPort(QLineEdit* field, const char* what, int& port) {
  if (ParsePortNumber(S(field), port)) return true;
  prompts_.ShowError(PortRangeMessage(what));
  for (QWidget* w = field; w != nullptr; w = w->parentWidget()) {
    if (pgcPrefs_->indexOf(w) >= 0) pgcPrefs_->setCurrentWidget(w);
  }
  field->setFocus();
  field->selectAll();
  return false;
}

bool TQVXPrefs::Collect(Preferences& p) {
  if (!ReadPort(eProxyPort_, "proxy", p.proxy_port) ||
      !ReadPort(eOutgoingPort_, "outgoing", p.outgoing_port)) {
    return false;
  }
  p.auto_reopen = cbAutoReopen_->isChecked();
  p.use_proxy = cbUseProxy_->isChecked();
  p.proxy_address = S(eProxyAddress_);
  p.display_name = S(eDisplayName_);
  p.reply_address = S(eReplyAddress_);
  p.smtp_server = S(eSMTPServer_);
  p.smtp_user = S(eSMTPUserID_);
  p.email_system = cmbEmailSystem_->currentIndex();
  p.gateway_text = S(eGatewayText_);
  for (int i = 0; i < kWarningCount; ++i) p.warn[i] = cbWarn_[i]->isChecked();
  p.default_html = cmbDefaultHTML_->currentIndex();
  return true;
}

void TQVXPrefs::UpdateProxy() {
  const bool on = cbUseProxy_->isChecked();
  for (QWidget* w : {static_cast<QWidget*>(lblProxyAddress_), static_cast<QWidget*>(eProxyAddress_),
                     static_cast<QWidget*>(lblProxyPort_), static_cast<QWidget*>(eProxyPort_)}) {
    w->setEnabled(on);
  }
}

void TQVXPrefs::BrowseDirectory() {
  chooser_.SetDirectory(eDataDirectory_->text());
  if (chooser_.exec() == Accepted) eDataDirectory_->setText(chooser_.Directory());
}

void TQVXPrefs::done(int result) {
  if (result == Accepted) {
    Preferences p;
    if (!Collect(p)) return;
    data_dir_ = WithTrailingSlash(S(eDataDirectory_));
    WritePreferences(settings_, p);
    const std::string password = S(ePassword_);
    if (!p.smtp_user.empty() && password != loaded_password_)
      StoreMailPassword(p.smtp_user, p.smtp_server, password);
  }
  RememberPlacement(*this, settings_, settings::kPreferencesWindow);
  QDialog::done(result);
}

}  // namespace quorvant::app
