// The survey properties dialog: filling, the behaviour while open, OK and
// Cancel, "Ma&ke Default" and the preview.
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStackedWidget>
#include <QTabWidget>
#include <QtTest>
#include <memory>

#include "app/emaillists/email_list_window.h"
#include "app/survey/survey_properties_dialog.h"
#include "app_test_env.h"
#include "core/shell/atomic_file.h"
#include "core/shell/settings_keys.h"
#include "core/shell/settings_store.h"
#include "core/survey/survey.h"
#include "support/scripted_prompts.h"

using namespace quorvant;
using app::TQVXProperties;
using testing::Child;

class SurveyPropertiesTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void fillingShowsEveryField();
  void okWritesEveryField();
  void cancelLeavesTheSurveyUntouched();
  void serverTypeZeroClearsTheAccount();
  void missingTemplateSelectsNothingAndIsKept();
  void samplingBarFollowsTheRandomSampling();
  void securityEnablingAndEnterAddingAPrefix();
  void uncheckingTheAddressLimitKeepsThePrefixes();
  void makeDefaultWritesWhatNewSurveysTake();
  void previewRestoresTheUngeneratedStatus();
  void emailListManagerAsksAboutAMissingList();
  void selectFileStartsInTheListsFolder();
  void untitledNameIsSelectedForTyping();

 private:
  void Open();
  template <typename T>
  T* C(const char* name) {
    return Child<T>(dialog_.get(), name);
  }
  void Ok() { C<QPushButton>("btnOK")->click(); }

  std::unique_ptr<testing::AppHome> home_;
  std::unique_ptr<SettingsStore> settings_;
  std::unique_ptr<TSurvey> survey_;
  testing::ScriptedPrompts prompts_;
  testing::ScriptedWindowDialogs dialogs_;
  std::vector<std::string> temp_files_;
  std::string data_dir_;
  std::unique_ptr<TQVXProperties> dialog_;
};

void SurveyPropertiesTest::init() {
  home_ = std::make_unique<testing::AppHome>();
  settings_ = std::make_unique<SettingsStore>();
  survey_ = std::make_unique<TSurvey>(*settings_);
  data_dir_ = home_->File("data/");
  QDir().mkpath(QString::fromStdString(data_dir_));
  WriteFileAtomically(data_dir_ + "default.qvg", "<HTML>DEFAULT<!--QVXTITLE--></HTML>");
  WriteFileAtomically(data_dir_ + "Compact.QVG", "<HTML>COMPACT<!--QVXTITLE--></HTML>");
  WriteFileAtomically(data_dir_ + "notes.txt", "not a template");
  prompts_ = {};
  dialogs_ = {};
  temp_files_.clear();
}

void SurveyPropertiesTest::cleanup() {
  dialog_.reset();
  QVERIFY2(prompts_.confirm_answers.empty(), "a scripted confirmation was never asked");
  survey_.reset();
  settings_.reset();
  home_.reset();
}

void SurveyPropertiesTest::Open() {
  dialog_ = std::make_unique<TQVXProperties>(
      *survey_, *settings_, prompts_, dialogs_, data_dir_,
      [this](const std::string& file) { temp_files_.push_back(file); }, nullptr);
  dialog_->show();
  QVERIFY(QTest::qWaitForWindowExposed(dialog_.get()));
  QCoreApplication::processEvents();
}

void SurveyPropertiesTest::fillingShowsEveryField() {
  TSurvey& s = *survey_;
  s.SetName("Canteen");
  s.SetAuthor("Ann");
  s.SetPassword("pw");
  s.SetInstructions("Line one\rLine two");
  s.SetFinalComments("Bye");
  s.SetDisplayTemplate("COMPACT.qvg");
  s.SetProcessResponses(1);
  s.SetAccountID("ACC-1");
  s.SetServerURL("http://127.0.0.1/qvx");
  s.SetResultURL("http://127.0.0.1/thanks");
  s.SetNotificationFile("/lists/staff.eml");
  s.SetNotifyMessage("Hello,,\"Bye now\"");
  s.SetAllAddresses(false);
  s.SetSamplingPercent(40);
  s.SetAttachSurvey(true);
  s.SetOnly1Email(true);
  s.SetOnly1IP(false);
  s.SetLimitByIP(true);
  s.SetIPAddresses("10.1,192.168.2");
  s.SetCheckAnswers(true);
  s.AddHistory("Published");
  Open();

  QCOMPARE(C<QTabWidget>("pgcProperties")->currentIndex(), 0);
  QCOMPARE(C<QLineEdit>("eName")->text(), "Canteen");
  QCOMPARE(C<QLineEdit>("eAuthor")->text(), "Ann");
  QCOMPARE(C<QLineEdit>("ePassword")->text(), "pw");
  QCOMPARE(C<QPlainTextEdit>("memInstructions")->toPlainText(), "Line one\nLine two");
  QCOMPARE(C<QPlainTextEdit>("memFinalComments")->toPlainText(), "Bye");
  auto* templates = C<QListWidget>("lbDisplayTemplate");
  QCOMPARE(templates->count(), 2);
  QCOMPARE(templates->item(0)->text(), "Compact.QVG");
  QCOMPARE(templates->item(1)->text(), "default.qvg");
  QCOMPARE(templates->selectedItems().size(), 1);
  QCOMPARE(templates->selectedItems().front()->text(), "Compact.QVG");
  QCOMPARE(C<QComboBox>("cmbServerType")->currentIndex(), 1);
  QCOMPARE(C<QStackedWidget>("nbServerType")->currentIndex(), 1);
  QCOMPARE(C<QLineEdit>("eAccountID")->text(), "ACC-1");
  QCOMPARE(C<QLineEdit>("eServerURL")->text(), "http://127.0.0.1/qvx");
  QCOMPARE(C<QLineEdit>("eResultURL")->text(), "http://127.0.0.1/thanks");
  QVERIFY(C<QCheckBox>("cbCheckAnswers")->isChecked());
  QCOMPARE(C<QCheckBox>("cbCheckAnswers")->parentWidget()->objectName(), "tsWebServer");
  QCOMPARE(C<QLineEdit>("eNotificationFile")->text(), "/lists/staff.eml");
  QCOMPARE(C<QPlainTextEdit>("memNotifyMessage")->toPlainText(), "Hello\n\nBye now");
  QVERIFY(C<QRadioButton>("rbRandomSampling")->isChecked());
  QCOMPARE(C<QSlider>("tbSampling")->value(), 40);
  QCOMPARE(C<QLabel>("lblSampling")->text(), "40% of list");
  QVERIFY(C<QCheckBox>("cbAttachSurvey")->isChecked());
  QVERIFY(C<QPlainTextEdit>("memHistory")->toPlainText().endsWith(": Published"));
  QVERIFY(C<QPlainTextEdit>("memHistory")->isReadOnly());
  QVERIFY(C<QCheckBox>("cbOnly1Email")->isChecked());
  QVERIFY(!C<QCheckBox>("cbOnly1IP")->isChecked());
  QVERIFY(C<QCheckBox>("cbLimitByIP")->isChecked());
  auto* addresses = C<QListWidget>("lbIPAddresses");
  QCOMPARE(addresses->count(), 2);
  QCOMPARE(addresses->item(1)->text(), "192.168.2");
  QVERIFY(!C<QCheckBox>("cbMakeDefault")->isChecked());
}

void SurveyPropertiesTest::okWritesEveryField() {
  Open();
  C<QLineEdit>("eName")->setText("Canteen 2");
  C<QLineEdit>("eAuthor")->setText("Bob");
  QTest::keyClicks(C<QLineEdit>("ePassword"), "abcdefghijklmn");  // ten at most
  C<QPlainTextEdit>("memInstructions")->setPlainText("Welcome\nPlease answer");
  C<QPlainTextEdit>("memFinalComments")->setPlainText("Thanks\n");
  C<QListWidget>("lbDisplayTemplate")->setCurrentRow(0);
  C<QComboBox>("cmbServerType")->setCurrentIndex(1);
  C<QLineEdit>("eServerURL")->setText("http://127.0.0.1:9/qvx");
  C<QLineEdit>("eAccountID")->setText("ACC-9");
  C<QLineEdit>("eResultURL")->setText("http://127.0.0.1:9/done");
  QVERIFY(!C<QCheckBox>("cbCheckAnswers")->isChecked());  // off unless the defaults say on
  C<QCheckBox>("cbCheckAnswers")->click();
  C<QLineEdit>("eNotificationFile")->setText("/lists/all.eml");
  C<QPlainTextEdit>("memNotifyMessage")->setPlainText("Dear all,\n\nplease, answer\n");
  C<QRadioButton>("rbRandomSampling")->click();
  C<QSlider>("tbSampling")->setValue(25);
  C<QCheckBox>("cbAttachSurvey")->click();
  C<QCheckBox>("cbOnly1Email")->click();
  C<QCheckBox>("cbOnly1IP")->click();
  C<QCheckBox>("cbLimitByIP")->click();
  QTest::keyClicks(C<QLineEdit>("eIPAddress"), "172.16");
  C<QPushButton>("btnAddIP")->click();
  survey_->SetModified(false);
  Ok();

  QCOMPARE(dialog_->result(), int(QDialog::Accepted));
  const TSurvey& s = *survey_;
  QVERIFY(s.Modified());
  QCOMPARE(s.Name(), "Canteen 2");
  QCOMPARE(s.Author(), "Bob");
  QCOMPARE(s.Password(), "abcdefghij");
  QCOMPARE(s.InstructionsEscaped(), "Welcome&crlf;Please answer");
  QCOMPARE(s.FinalCommentsEscaped(), "Thanks&crlf;");
  QCOMPARE(s.DisplayTemplate(), "Compact.QVG");
  QCOMPARE(s.ProcessResponses(), 1);
  QCOMPARE(s.ServerURL(), "http://127.0.0.1:9/qvx");
  QCOMPARE(s.AccountID(), "ACC-9");
  QCOMPARE(s.ResultURL(), "http://127.0.0.1:9/done");
  QVERIFY(s.CheckAnswers());
  QCOMPARE(s.NotificationFile(), "/lists/all.eml");
  QCOMPARE(s.NotifyMessage(), "\"Dear all,\",,\"please, answer\"");
  QVERIFY(!s.AllAddresses());
  QCOMPARE(s.SamplingPercent(), 25);
  QVERIFY(s.AttachSurvey());
  QVERIFY(s.Only1Email());
  QVERIFY(s.Only1IP());
  QVERIFY(s.LimitByIP());
  QCOMPARE(s.IPAddresses(), "172.16");
  QVERIFY(settings_->ReadInteger("Property Window", "Top", settings::kNotStored) !=
          settings::kNotStored);
}

void SurveyPropertiesTest::cancelLeavesTheSurveyUntouched() {
  survey_->SetModified(false);
  const std::string before = survey_->Name() + survey_->Author() + survey_->IPAddresses();
  Open();
  C<QLineEdit>("eName")->setText("Other");
  C<QLineEdit>("eAuthor")->setText("Other");
  C<QCheckBox>("cbLimitByIP")->click();
  QTest::keyClicks(C<QLineEdit>("eIPAddress"), "10");
  C<QPushButton>("btnAddIP")->click();
  C<QCheckBox>("cbMakeDefault")->click();
  C<QPushButton>("btnCancel")->click();
  QCOMPARE(dialog_->result(), int(QDialog::Rejected));
  QVERIFY(!survey_->Modified());
  QCOMPARE(survey_->Name() + survey_->Author() + survey_->IPAddresses(), before);
  QVERIFY(!survey_->LimitByIP());
  QCOMPARE(settings_->ReadString("Defaults", "Author", "absent"), "absent");
}

void SurveyPropertiesTest::serverTypeZeroClearsTheAccount() {
  survey_->SetProcessResponses(0);
  survey_->SetAccountID("left over");
  Open();
  QCOMPARE(C<QLineEdit>("eAccountID")->text(), "");
  auto* type = C<QComboBox>("cmbServerType");
  type->setCurrentIndex(1);
  QCOMPARE(C<QStackedWidget>("nbServerType")->currentIndex(), 1);
  C<QLineEdit>("eAccountID")->setText("ACC-2");
  type->setCurrentIndex(0);
  QCOMPARE(C<QStackedWidget>("nbServerType")->currentIndex(), 0);
  Ok();
  QCOMPARE(survey_->ProcessResponses(), 0);
  QCOMPARE(survey_->AccountID(), "");
}

void SurveyPropertiesTest::missingTemplateSelectsNothingAndIsKept() {
  survey_->SetDisplayTemplate("elsewhere.qvg");
  Open();
  QVERIFY(C<QListWidget>("lbDisplayTemplate")->selectedItems().isEmpty());
  Ok();
  QCOMPARE(survey_->DisplayTemplate(), "elsewhere.qvg");
}

void SurveyPropertiesTest::samplingBarFollowsTheRandomSampling() {
  survey_->SetAllAddresses(true);
  survey_->SetSamplingPercent(0);
  Open();
  auto* bar = C<QSlider>("tbSampling");
  QVERIFY(!bar->isEnabled());
  QCOMPARE(bar->value(), 1);  // never below 1
  C<QRadioButton>("rbRandomSampling")->click();
  QVERIFY(bar->isEnabled());
  bar->setValue(10);
  QCOMPARE(C<QLabel>("lblSampling")->text(), "10% of list");
  bar->setValue(0);
  QCOMPARE(bar->value(), 1);
  C<QRadioButton>("rbAllAddresses")->click();
  QVERIFY(!bar->isEnabled());
}

void SurveyPropertiesTest::securityEnablingAndEnterAddingAPrefix() {
  survey_->SetIPAddresses("10.0");
  Open();
  dialog_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(dialog_.get()));
  C<QTabWidget>("pgcProperties")->setCurrentIndex(4);
  auto* list = C<QListWidget>("lbIPAddresses");
  auto* entry = C<QLineEdit>("eIPAddress");
  auto* add = C<QPushButton>("btnAddIP");
  auto* remove = C<QPushButton>("btnDeleteIP");
  for (QWidget* w : std::initializer_list<QWidget*>{list, entry, add, remove}) {
    QVERIFY(!w->isEnabled());
  }
  C<QCheckBox>("cbLimitByIP")->click();
  QVERIFY(list->isEnabled());
  QVERIFY(entry->isEnabled());
  QVERIFY(entry->hasFocus());
  QVERIFY(!add->isEnabled());     // nothing typed
  QVERIFY(!remove->isEnabled());  // nothing selected
  QTest::keyClicks(entry, "192.168.1");
  QVERIFY(add->isEnabled());
  QTest::keyClick(entry, Qt::Key_Return);
  QVERIFY(dialog_->isVisible());  // Enter added instead of pressing OK
  QCOMPARE(list->count(), 2);
  QCOMPARE(list->item(1)->text(), "192.168.1");
  QCOMPARE(list->currentRow(), 1);
  QCOMPARE(entry->text(), "");
  QVERIFY(entry->hasFocus());
  QVERIFY(remove->isEnabled());
  QTest::keyClick(entry, Qt::Key_Return);  // empty: adds nothing, still open
  QCOMPARE(list->count(), 2);
  QVERIFY(dialog_->isVisible());
  list->setCurrentRow(0);
  remove->click();
  QCOMPARE(list->count(), 1);
  QCOMPARE(list->item(0)->text(), "192.168.1");
}

void SurveyPropertiesTest::uncheckingTheAddressLimitKeepsThePrefixes() {
  survey_->SetLimitByIP(true);
  survey_->SetIPAddresses("10.0,192.168.3");
  Open();
  C<QCheckBox>("cbLimitByIP")->click();
  QVERIFY(!C<QListWidget>("lbIPAddresses")->isEnabled());
  Ok();
  QVERIFY(!survey_->LimitByIP());
  QCOMPARE(survey_->IPAddresses(), "10.0,192.168.3");
}

void SurveyPropertiesTest::makeDefaultWritesWhatNewSurveysTake() {
  Open();
  C<QLineEdit>("eAuthor")->setText("Default Author");
  C<QPlainTextEdit>("memInstructions")->setPlainText("Read\nthis");
  C<QListWidget>("lbDisplayTemplate")->setCurrentRow(0);
  C<QLineEdit>("eServerURL")->setText("http://127.0.0.1:7/qvx");
  C<QLineEdit>("ePassword")->setText("nodefault");
  C<QCheckBox>("cbOnly1IP")->click();
  C<QCheckBox>("cbLimitByIP")->click();
  QTest::keyClicks(C<QLineEdit>("eIPAddress"), "10.2");
  C<QPushButton>("btnAddIP")->click();
  C<QCheckBox>("cbCheckAnswers")->click();
  C<QCheckBox>("cbMakeDefault")->click();
  Ok();

  TSurvey fresh(*settings_);
  QCOMPARE(fresh.Author(), "Default Author");
  QCOMPARE(fresh.InstructionsEscaped(), "Read&crlf;this");
  QCOMPARE(fresh.DisplayTemplate(), "Compact.QVG");
  QCOMPARE(fresh.ServerURL(), "http://127.0.0.1:7/qvx");
  QVERIFY(fresh.Only1IP());
  QVERIFY(!fresh.Only1Email());
  QVERIFY(fresh.LimitByIP());
  QCOMPARE(fresh.IPAddresses(), "10.2");
  QVERIFY(fresh.CheckAnswers());
  QCOMPARE(fresh.Password(), "");
  // The box never starts checked.
  Open();
  QVERIFY(!C<QCheckBox>("cbMakeDefault")->isChecked());
}

void SurveyPropertiesTest::previewRestoresTheUngeneratedStatus() {
  testing::UrlCatcher catcher;
  QDesktopServices::setUrlHandler("file", &catcher, "Open");
  survey_->SetName("Canteen");
  survey_->SetDisplayTemplate("default.qvg");
  Open();
  C<QListWidget>("lbDisplayTemplate")->setCurrentRow(0);
  C<QPushButton>("btnPreview")->click();
  QDesktopServices::unsetUrlHandler("file");

  QCOMPARE(catcher.urls.size(), 1);
  const QString page = catcher.urls[0].toLocalFile();
  QCOMPARE(temp_files_, std::vector<std::string>{page.toStdString()});
  QVERIFY(QString::fromStdString(ReadWholeFile(page.toStdString()).value_or(""))
              .contains("COMPACTCanteen"));
  QCOMPARE(survey_->HTMLStatus(), "HTML file not generated");
  QCOMPARE(survey_->DisplayTemplate(), "default.qvg");
  QFile::remove(page);
}

void SurveyPropertiesTest::emailListManagerAsksAboutAMissingList() {
  const std::string existing = data_dir_ + "staff.eml";
  WriteFileAtomically(existing, "x");
  Open();
  auto* name = C<QLineEdit>("eNotificationFile");
  auto* manager = C<QPushButton>("btnEmailListManager");
  const std::string missing = data_dir_ + "new.eml";
  name->setText(QString::fromStdString(missing));
  prompts_.confirm_answers = {false};
  manager->click();
  QCOMPARE(prompts_.log, std::vector<std::string>{
                             "confirm(default yes): The Notification list " + missing +
                             " does not exist.  Would you like to create a new list with that "
                             "name?"});
  QVERIFY(dialog_->findChild<app::TQVXEList*>() == nullptr);
  prompts_.log.clear();
  prompts_.confirm_answers = {true};
  manager->click();
  QCOMPARE(prompts_.log.size(), size_t(1));  // the question only
  auto* shown = dialog_->findChild<app::TQVXEList*>();
  QVERIFY(shown != nullptr && shown->isVisible());
  QCOMPARE(shown->windowTitle().toStdString(), "Email List Manager - " + missing);
  QVERIFY(FileExists(missing));
  shown->close();
  prompts_.log.clear();
  // "staff.eml" is no table: the manager says so and closes; an empty name
  // opens the default list, made in the data folder.
  for (const std::string& list : {existing, std::string()}) {
    name->setText(QString::fromStdString(list));
    manager->click();
  }
  QCOMPARE(prompts_.log.size(), size_t(1));  // no question for these
  QVERIFY(prompts_.log[0].starts_with("error: The following internal error occurred: "));
  QCOMPARE(ReadWholeFile(existing).value_or(""), std::string("x"));
  QVERIFY(FileExists(data_dir_ + "default.eml"));
  // The manager outlives the dialog that opened it.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QPointer<app::TQVXEList> manager_window = dialog_->findChild<app::TQVXEList*>();
  QVERIFY(manager_window != nullptr);
  dialog_->reject();
  QVERIFY(manager_window->parent() != dialog_.get());
  dialog_.reset();
  QVERIFY(!manager_window.isNull() && manager_window->isVisible());
  manager_window->close();
}

void SurveyPropertiesTest::selectFileStartsInTheListsFolder() {
  Open();
  auto* name = C<QLineEdit>("eNotificationFile");
  auto* select = C<QPushButton>("btnSelectFile");
  select->click();
  QCOMPARE(dialogs_.email_list_dir, QString::fromStdString(data_dir_));
  name->setText("/srv/lists/staff.eml");
  dialogs_.email_lists = {"/srv/other/all.eml"};
  select->click();
  QCOMPARE(dialogs_.email_list_dir, "/srv/lists");
  QCOMPARE(name->text(), "/srv/other/all.eml");
  select->click();  // cancelled: the name stays
  QCOMPARE(name->text(), "/srv/other/all.eml");
}

void SurveyPropertiesTest::untitledNameIsSelectedForTyping() {
  Open();
  auto* name = C<QLineEdit>("eName");
  QCOMPARE(name->selectedText(), "(Untitled)");
  dialog_.reset();
  survey_->SetName("Canteen");
  Open();
  name = C<QLineEdit>("eName");
  QVERIFY(!name->hasSelectedText());
  QCOMPARE(name->cursorPosition(), 0);
}

QTEST_MAIN(SurveyPropertiesTest)
#include "survey_properties_test.moc"
