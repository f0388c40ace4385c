// TQVXProperties: filling, the behaviour while open, OK and the preview.
#include "app/survey/survey_properties_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "app/emaillists/email_list_launch.h"
#include "app/shell/dialog_buttons.h"
#include "app/shell/dialog_placement.h"
#include "app/shell/form_helpers.h"
#include "app/shell/whats_this.h"
#include "app/shell/window_dialogs.h"
#include "core/libraries/library_files.h"
#include "core/shell/atomic_file.h"
#include "core/shell/prompts.h"
#include "core/shell/settings_keys.h"
#include "core/shell/system_helpers.h"
#include "core/shell/text_helpers.h"
#include "core/survey/survey.h"
#include "core/webpage/page_preview.h"

namespace quorvant::app {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

QString JoinLines(const std::vector<std::string>& lines) {
  QStringList out;
  for (const std::string& line : lines) out << Q(line);
  return out.join('\n');
}

std::vector<std::string> MemoLines(const QPlainTextEdit& memo) {
  return SplitLines(memo.toPlainText().toStdString());
}

std::vector<std::string> ListLines(const QListWidget& list) {
  std::vector<std::string> lines;
  for (int i = 0; i < list.count(); ++i) lines.push_back(list.item(i)->text().toStdString());
  return lines;
}

}  // namespace

TQVXProperties::TQVXProperties(TSurvey& survey, SettingsStore& settings, Prompts& prompts,
                               WindowDialogs& dialogs, std::string data_dir,
                               std::function<void(const std::string&)> keep_temp_file,
                               QWidget* parent)
    : QDialog(parent),
      survey_(survey),
      settings_(settings),
      prompts_(prompts),
      dialogs_(dialogs),
      data_dir_(std::move(data_dir)),
      keep_temp_file_(std::move(keep_temp_file)) {
  setObjectName("TQVXProperties");
  setWindowTitle("Survey Properties");

  pgcProperties_ = Named("pgcProperties", new QTabWidget(this));
  pgcProperties_->addTab(BuildDetailsPage(), "Details");
  pgcProperties_->addTab(BuildWebServerPage(), "Web Server");
  pgcProperties_->addTab(BuildNotificationsPage(), "Notifications");
  pgcProperties_->addTab(BuildHistoryPage(), "History");
  pgcProperties_->addTab(BuildSecurityPage(), "Security");

  cbMakeDefault_ = Named("cbMakeDefault", new QCheckBox("Ma&ke Default", this));
  QDialogButtonBox* buttons = MakeOkCancelButtons(*this, "OK");
  AddHelpButton(*buttons, "survey-properties");
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(cbMakeDefault_);
  bottom->addWidget(buttons, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pgcProperties_, 1);
  layout->addLayout(bottom);

  Fill(ReadSurveyProperties(survey_));
  resize(500, 460);
  RestorePlacement(*this, settings_, settings::kPropertyWindow);
  InstallWhatsThis(this);
}

void TQVXProperties::Fill(const SurveyProperties& p) {
  eName_->setText(Q(p.name));
  eAuthor_->setText(Q(p.author));
  // A longer password from an edited file is shown whole, never cut.
  ePassword_->setMaxLength(std::max(10, static_cast<int>(Q(p.password).size())));
  ePassword_->setText(Q(p.password));
  memInstructions_->setPlainText(Q(p.instructions));
  memFinalComments_->setPlainText(Q(p.final_comments));

  for (const std::string& name : ListDisplayTemplates(data_dir_)) {
    auto* item = new QListWidgetItem(Q(name), lbDisplayTemplate_);
    if (EqualsIgnoreCase(name, p.display_template)) lbDisplayTemplate_->setCurrentItem(item);
  }
  if (lbDisplayTemplate_->currentItem() == nullptr) lbDisplayTemplate_->clearSelection();

  cmbServerType_->setCurrentIndex(p.server_type);
  nbServerType_->setCurrentIndex(p.server_type);
  eAccountID_->setText(Q(p.account_id));
  eServerURL_->setText(Q(p.server_url));
  eResultURL_->setText(Q(p.result_url));
  cbCheckAnswers_->setChecked(p.check_answers);

  eNotificationFile_->setText(Q(p.notification_file));
  memNotifyMessage_->setPlainText(JoinLines(p.notify_lines));
  rbAllAddresses_->setChecked(p.all_addresses);
  rbRandomSampling_->setChecked(!p.all_addresses);
  tbSampling_->setValue(p.sampling_percent);
  cbAttachSurvey_->setChecked(p.attach_survey);
  UpdateSampling();

  memHistory_->setPlainText(JoinLines(SplitLines(survey_.PubHistory())));

  cbOnly1Email_->setChecked(p.only1_email);
  cbOnly1IP_->setChecked(p.only1_ip);
  cbLimitByIP_->setChecked(p.limit_by_ip);
  for (const std::string& address : p.ip_addresses) lbIPAddresses_->addItem(Q(address));
  UpdateSecurity();
}

SurveyProperties TQVXProperties::Collect() const {
  SurveyProperties p;
  p.name = eName_->text().toStdString();
  p.author = eAuthor_->text().toStdString();
  p.password = ePassword_->text().toStdString();
  p.instructions = memInstructions_->toPlainText().toStdString();
  p.final_comments = memFinalComments_->toPlainText().toStdString();
  const QList<QListWidgetItem*> chosen = lbDisplayTemplate_->selectedItems();
  if (!chosen.isEmpty()) p.display_template = chosen.front()->text().toStdString();
  p.server_type = cmbServerType_->currentIndex();
  p.server_url = eServerURL_->text().toStdString();
  p.account_id = eAccountID_->text().toStdString();
  p.result_url = eResultURL_->text().toStdString();
  p.check_answers = cbCheckAnswers_->isChecked();
  p.notification_file = eNotificationFile_->text().toStdString();
  p.notify_lines = MemoLines(*memNotifyMessage_);
  p.all_addresses = rbAllAddresses_->isChecked();
  p.sampling_percent = tbSampling_->value();
  p.attach_survey = cbAttachSurvey_->isChecked();
  p.only1_email = cbOnly1Email_->isChecked();
  p.only1_ip = cbOnly1IP_->isChecked();
  p.limit_by_ip = cbLimitByIP_->isChecked();
  p.ip_addresses = ListLines(*lbIPAddresses_);
  return p;
}

void TQVXProperties::UpdateSampling() {
  tbSampling_->setEnabled(rbRandomSampling_->isChecked());
  lblSampling_->setText(Q(SamplingLabel(tbSampling_->value())));
}

void TQVXProperties::UpdateSecurity() {
  const bool limit = cbLimitByIP_->isChecked();
  lbIPAddresses_->setEnabled(limit);
  eIPAddress_->setEnabled(limit);
  btnDeleteIP_->setEnabled(limit && !lbIPAddresses_->selectedItems().isEmpty());
  btnAddIP_->setEnabled(limit && !eIPAddress_->text().isEmpty());
}

void TQVXProperties::LimitByIPClicked() {
  UpdateSecurity();
  if (cbLimitByIP_->isChecked()) eIPAddress_->setFocus();
}

// Prefixes are taken as typed: a partial address is exactly what the list
// is for.
void TQVXProperties::AddAddress() {
  lbIPAddresses_->addItem(eIPAddress_->text());
  eIPAddress_->clear();
  lbIPAddresses_->setCurrentRow(lbIPAddresses_->count() - 1);
  eIPAddress_->setFocus();
  UpdateSecurity();
}

void TQVXProperties::DeleteAddress() {
  const QList<QListWidgetItem*> chosen = lbIPAddresses_->selectedItems();
  if (chosen.isEmpty()) {
    QApplication::beep();
    return;
  }
  delete chosen.front();
  UpdateSecurity();
}

// Enter in the address field adds the address instead of closing the dialog.
bool TQVXProperties::eventFilter(QObject* watched, QEvent* event) {
  if (watched == eIPAddress_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      if (btnAddIP_->isEnabled()) btnAddIP_->click();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TQVXProperties::SelectFile() {
  const QString current = eNotificationFile_->text();
  const QString dir = current.isEmpty() ? Q(data_dir_) : QFileInfo(current).absolutePath();
  const QString chosen = dialogs_.ChooseEmailList(this, dir);
  if (!chosen.isEmpty()) eNotificationFile_->setText(chosen);
}

void TQVXProperties::OpenEmailListManager() {
  const std::string name = eNotificationFile_->text().toStdString();
  const bool create = !name.empty() && !FileExists(name);
  if (create &&
      !prompts_.Confirm("The Notification list " + name +
                            " does not exist.  Would you like to create a new list with that name?",
                        true)) {
    return;
  }
  ShowEmailListManagerFrom(*this, settings_, prompts_, dialogs_.EmailLists(), data_dir_,
                           survey_.NotificationFile(), name, create);
}

// Shows the page with the chosen template without making it the survey's.
// A failed generation is not reported: the preview shows what came out.
void TQVXProperties::Preview() {
  const QList<QListWidgetItem*> chosen = lbDisplayTemplate_->selectedItems();
  const std::string display_template =
      chosen.isEmpty() ? survey_.DisplayTemplate() : chosen.front()->text().toStdString();
  const std::string file = MakeTempFileName("htm");
  GeneratePreviewPageWith(survey_, display_template, data_dir_, file);
  if (!FileExists(file)) return;
  keep_temp_file_(file);
  QDesktopServices::openUrl(QUrl::fromLocalFile(Q(file)));
}

// The selection is set once showing is over: the dialog hands the focus to
// the name field as if tabbed to, which selects the whole text.
void TQVXProperties::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  pgcProperties_->setCurrentIndex(0);
  eName_->setFocus();
  QTimer::singleShot(0, this, [this] {
    if (eName_->text() == "(Untitled)") {
      eName_->selectAll();
    } else {
      eName_->deselect();
      eName_->setCursorPosition(0);
    }
  });
}

void TQVXProperties::done(int result) {
  if (result == Accepted) {
    ApplySurveyProperties(Collect(), survey_);
    if (cbMakeDefault_->isChecked()) StoreSurveyDefaults(survey_, settings_);
  }
  RememberPlacement(*this, settings_, settings::kPropertyWindow);
  QDialog::done(result);
}

}  // namespace quorvant::app
