// The preferences dialog (filling, page switch, proxy enabling, OK and
// Cancel, the port rule) and the directory chooser's create path.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QtTest>
#include <memory>

#include "app/shell/directory_chooser.h"
#include "app/shell/preferences_dialog.h"
#include "app_test_env.h"
#include "core/shell/atomic_file.h"
#include "core/shell/settings_keys.h"
#include "core/shell/settings_store.h"
#include "support/scripted_prompts.h"

using namespace quorvant;
using app::TQVXPrefs;
using app::TQVXSelDir;
using testing::Child;

class PreferencesTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void fillingShowsTheStoredValues();
  void emailSystemSwitchesThePage();
  void proxyBoxEnablesAddressAndPort();
  void okWritesEveryValue();
  void warningsSwitchedOffAndOnAgain();
  void cancelWritesNothing();
  void portsOutsideTheirRangeAreRefused();
  void browsedDirectoryGetsATrailingSlash();
  void chooserTakesAnExistingDirectory();
  void chooserCreatesAMissingDirectoryAfterAsking();
  void chooserReportsAFailedCreation();

 private:
  void Open();
  template <typename T>
  T* C(const char* name) {
    return Child<T>(dialog_.get(), name);
  }
  // The "Preferences" and "Disabled Warnings" sections as stored.
  std::string Stored() const;

  std::unique_ptr<testing::AppHome> home_;
  std::unique_ptr<SettingsStore> settings_;
  testing::ScriptedPrompts prompts_;
  testing::ScriptedWindowDialogs dialogs_;
  std::unique_ptr<TQVXSelDir> chooser_;
  std::unique_ptr<TQVXPrefs> dialog_;
  std::string data_dir_;
};

void PreferencesTest::init() {
  home_ = std::make_unique<testing::AppHome>();
  settings_ = std::make_unique<SettingsStore>();
  prompts_ = {};
  dialogs_ = {};
  chooser_ = std::make_unique<TQVXSelDir>(dialogs_, nullptr);
  data_dir_ = home_->File("data/");
  QDir().mkpath(QString::fromStdString(data_dir_));
}

void PreferencesTest::cleanup() {
  dialog_.reset();
  chooser_.reset();
  settings_.reset();
  home_.reset();
}

void PreferencesTest::Open() {
  dialog_ = std::make_unique<TQVXPrefs>(*settings_, prompts_, *chooser_, data_dir_, nullptr);
  dialog_->show();
  QVERIFY(QTest::qWaitForWindowExposed(dialog_.get()));
}

std::string PreferencesTest::Stored() const {
  std::string out;
  const Preferences p = ReadPreferences(*settings_);
  out += std::to_string(p.auto_reopen) + std::to_string(p.use_proxy) + p.proxy_address + "|" +
         std::to_string(p.proxy_port) + p.display_name + p.reply_address + p.smtp_server + "|" +
         std::to_string(p.outgoing_port) + p.smtp_user + std::to_string(p.email_system) +
         p.gateway_text + std::to_string(p.default_html);
  for (bool w : p.warn) out += w ? "W" : "-";
  return out;
}

void PreferencesTest::fillingShowsTheStoredValues() {
  using namespace settings;
  settings_->Write(kAutoReopen, true);
  settings_->Write(kUseProxy, true);
  settings_->Write(kProxyAddress, "proxy.lan");
  settings_->Write(kProxyPort, 3128);
  settings_->Write(kDisplayName, "Ann");
  settings_->Write(kReplyAddress, "ann@example.com");
  settings_->Write(kSMTPServerAddress, "127.0.0.1");
  settings_->Write(kSMTPUserID, "ann");
  settings_->Write(kEmailSystem, 1);
  settings_->Write(kGatewayText, "SMTP:");
  settings_->Write(kDefaultHTML, 1);
  settings_->WriteBool(kDisabledWarnings, kWarnMoveSkipGroup, true);
  Open();
  QCOMPARE(C<QTabWidget>("pgcPrefs")->currentIndex(), 0);
  QCOMPARE(C<QLineEdit>("eDataDirectory")->text().toStdString(), data_dir_);
  QVERIFY(C<QLineEdit>("eDataDirectory")->isReadOnly());
  QVERIFY(C<QCheckBox>("cbAutoReopen")->isChecked());
  QVERIFY(C<QCheckBox>("cbUseProxy")->isChecked());
  QCOMPARE(C<QLineEdit>("eProxyAddress")->text(), "proxy.lan");
  QCOMPARE(C<QLineEdit>("eProxyPort")->text(), "3128");
  QCOMPARE(C<QLineEdit>("eDisplayName")->text(), "Ann");
  QCOMPARE(C<QLineEdit>("eReplyAddress")->text(), "ann@example.com");
  QCOMPARE(C<QLineEdit>("eSMTPServer")->text(), "127.0.0.1");
  QCOMPARE(C<QLineEdit>("eOutgoingPort")->text(), "25");  // absent
  QCOMPARE(C<QLineEdit>("eSMTPUserID")->text(), "ann");
  QCOMPARE(C<QComboBox>("cmbEmailSystem")->currentIndex(), 1);
  QCOMPARE(C<QStackedWidget>("nbEmail")->currentIndex(), 1);
  QCOMPARE(C<QLineEdit>("eGatewayText")->text(), "SMTP:");
  QCOMPARE(C<QComboBox>("cmbDefaultHTML")->currentText(), ".HTML");
  QVERIFY(C<QCheckBox>("cbWarnDeleteQuestions")->isChecked());
  QVERIFY(C<QCheckBox>("cbWarnUngroupSkipGroup")->isChecked());
  QVERIFY(C<QCheckBox>("cbWarnChangesToPublishedSurvey")->isChecked());
  QVERIFY(!C<QCheckBox>("cbWarnMoveSkipGroup")->isChecked());
}

void PreferencesTest::emailSystemSwitchesThePage() {
  Open();
  auto* pages = C<QStackedWidget>("nbEmail");
  QCOMPARE(pages->currentWidget()->objectName(), "pgInternet");
  C<QComboBox>("cmbEmailSystem")->setCurrentIndex(1);
  QCOMPARE(pages->currentWidget()->objectName(), "pgMAPI");
  C<QComboBox>("cmbEmailSystem")->setCurrentIndex(0);
  QCOMPARE(pages->currentWidget()->objectName(), "pgInternet");
}

void PreferencesTest::proxyBoxEnablesAddressAndPort() {
  Open();
  const char* names[] = {"eProxyAddress", "eProxyPort", "lblProxyAddress", "lblProxyPort"};
  for (const char* name : names) QVERIFY2(!C<QWidget>(name)->isEnabled(), name);
  C<QCheckBox>("cbUseProxy")->click();
  for (const char* name : names) QVERIFY2(C<QWidget>(name)->isEnabled(), name);
  C<QCheckBox>("cbUseProxy")->click();
  for (const char* name : names) QVERIFY2(!C<QWidget>(name)->isEnabled(), name);
}

void PreferencesTest::okWritesEveryValue() {
  Open();
  C<QCheckBox>("cbAutoReopen")->click();
  C<QCheckBox>("cbUseProxy")->click();
  C<QLineEdit>("eProxyAddress")->setText("proxy.lan");
  C<QLineEdit>("eProxyPort")->setText("8080");
  C<QLineEdit>("eDisplayName")->setText("Ann");
  C<QLineEdit>("eReplyAddress")->setText("ann@example.com");
  C<QLineEdit>("eSMTPServer")->setText("127.0.0.1");
  C<QLineEdit>("eOutgoingPort")->setText("2525");
  C<QLineEdit>("eSMTPUserID")->setText("ann");
  C<QComboBox>("cmbEmailSystem")->setCurrentIndex(1);
  C<QLineEdit>("eGatewayText")->setText("SMTP:");
  C<QCheckBox>("cbWarnUngroupSkipGroup")->click();
  C<QComboBox>("cmbDefaultHTML")->setCurrentIndex(1);
  C<QPushButton>("btnOK")->click();
  QCOMPARE(dialog_->result(), int(QDialog::Accepted));
  QCOMPARE(Stored(), "11proxy.lan|8080Annann@example.com127.0.0.1|2525ann1SMTP:1W-WW");
  QCOMPARE(dialog_->DataDirectory(), data_dir_);
}

void PreferencesTest::warningsSwitchedOffAndOnAgain() {
  Open();
  C<QCheckBox>("cbWarnDeleteQuestions")->click();
  C<QPushButton>("btnOK")->click();
  QVERIFY(settings_->ReadBool("Disabled Warnings", "DeleteQuestions", false));
  Open();
  auto* box = C<QCheckBox>("cbWarnDeleteQuestions");
  QVERIFY(!box->isChecked());
  box->click();
  C<QPushButton>("btnOK")->click();
  QVERIFY(!settings_->ReadBool("Disabled Warnings", "DeleteQuestions", true));
}

void PreferencesTest::cancelWritesNothing() {
  const std::string before = Stored();
  Open();
  C<QComboBox>("cmbEmailSystem")->setCurrentIndex(1);
  C<QCheckBox>("cbUseProxy")->click();
  C<QCheckBox>("cbWarnDeleteQuestions")->click();
  C<QLineEdit>("eOutgoingPort")->setText("99999");  // not even checked on Cancel
  C<QPushButton>("btnCancel")->click();
  QCOMPARE(dialog_->result(), int(QDialog::Rejected));
  QCOMPARE(Stored(), before);
  QCOMPARE(settings_->ReadString("Preferences", "EmailSystem", "absent"), "absent");
  QVERIFY(prompts_.log.empty());
}

void PreferencesTest::portsOutsideTheirRangeAreRefused() {
  Open();
  C<QLineEdit>("eOutgoingPort")->setText("70000");
  C<QPushButton>("btnOK")->click();
  QVERIFY(dialog_->isVisible());
  QCOMPARE(prompts_.log, std::vector<std::string>{
                             "error: The outgoing port must be a whole number from 0 to 65535."});
  QCOMPARE(C<QTabWidget>("pgcPrefs")->currentWidget()->objectName(), "tsEmail");
  QCOMPARE(settings_->ReadString("Preferences", "AutoReopen", "absent"), "absent");
  C<QLineEdit>("eOutgoingPort")->setText("");
  C<QPushButton>("btnOK")->click();
  QVERIFY(dialog_->isVisible());
  QCOMPARE(prompts_.log.size(), size_t(2));
  C<QLineEdit>("eOutgoingPort")->setText("65535");
  C<QPushButton>("btnOK")->click();
  QVERIFY(!dialog_->isVisible());
  QCOMPARE(settings_->Read(settings::kOutgoingPort), 65535);
}

void PreferencesTest::browsedDirectoryGetsATrailingSlash() {
  const QString chosen = home_->Path("surveys");
  QDir().mkpath(chosen);
  Open();
  QString shown;
  testing::AnswerNextModal([&shown, chosen](QWidget* modal) {
    auto* name = Child<QLineEdit>(modal, "eDirName");
    shown = name->text();
    name->setText(chosen);
    Child<QPushButton>(modal, "btnOK")->click();
  });
  C<QPushButton>("btnBrowse")->click();
  QCOMPARE(shown + "/", QString::fromStdString(data_dir_));  // opened at the present one
  QCOMPARE(C<QLineEdit>("eDataDirectory")->text(), chosen);
  C<QPushButton>("btnOK")->click();
  QCOMPARE(dialog_->DataDirectory(), chosen.toStdString() + "/");
}

void PreferencesTest::chooserTakesAnExistingDirectory() {
  chooser_->SetDirectory(home_->Path("home/missing/deeper"));
  QCOMPARE(chooser_->Directory(), home_->Path("home"));  // nearest existing folder
  chooser_->show();
  Child<QPushButton>(chooser_.get(), "btnOK")->click();
  QCOMPARE(chooser_->result(), int(QDialog::Accepted));
  QVERIFY(dialogs_.confirm_create.empty());
}

void PreferencesTest::chooserCreatesAMissingDirectoryAfterAsking() {
  chooser_->SetDirectory(home_->Path("home"));
  chooser_->show();
  auto* name = Child<QLineEdit>(chooser_.get(), "eDirName");
  auto* ok = Child<QPushButton>(chooser_.get(), "btnOK");
  const QString wanted = home_->Path("home/surveys");
  name->setText(wanted);
  dialogs_.create_answers = {false};
  ok->click();
  QVERIFY(chooser_->isVisible());
  QCOMPARE(name->text(), wanted);
  QCOMPARE(dialogs_.confirm_create,
           std::vector<QString>{"The directory named " + wanted + " does not exists.  Create it?"});
  QVERIFY(!QDir(wanted).exists());
  dialogs_.create_answers = {true};
  ok->click();
  QVERIFY(!chooser_->isVisible());
  QCOMPARE(chooser_->result(), int(QDialog::Accepted));
  QVERIFY(QDir(wanted).exists());
  QCOMPARE(chooser_->Directory(), wanted);

  // A bare name is made inside the folder the tree shows.
  chooser_->SetDirectory(wanted);
  chooser_->show();
  name->setText("2024");
  dialogs_.create_answers = {true};
  ok->click();
  QCOMPARE(chooser_->Directory(), wanted + "/2024");
  QVERIFY(QDir(wanted + "/2024").exists());
  QVERIFY(dialogs_.directory_errors.empty());
}

void PreferencesTest::chooserReportsAFailedCreation() {
  chooser_->SetDirectory(home_->Path("home"));
  chooser_->show();
  const QString wanted = home_->Path("home/no/such");
  Child<QLineEdit>(chooser_.get(), "eDirName")->setText(wanted);
  dialogs_.create_answers = {true};
  Child<QPushButton>(chooser_.get(), "btnOK")->click();
  QVERIFY(chooser_->isVisible());
  QCOMPARE(dialogs_.directory_errors, std::vector<QString>{"Error creating directory " + wanted +
                                                           ".  Please try another name."});
}

QTEST_MAIN(PreferencesTest)
#include "preferences_test.moc"
