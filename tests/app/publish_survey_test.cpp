// The publish dialog against a stub web server on a loopback port that
// records each request and answers with a body the test chooses: labels,
// the height rule, request kinds and the judging of replies; and the
// mailing step through a transport that records what it is given.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "app/publishing/publish_dialogs.h"
#include "app/publishing/publish_survey_dialog.h"
#include "app_test_env.h"
#include "core/emaillists/email_list.h"
#include "core/publishing/mail_transport.h"
#include "core/shell/settings_keys.h"
#include "core/shell/settings_store.h"
#include "core/survey/survey.h"
#include "core/tableengine/table.h"
#include "support/scripted_prompts.h"

namespace quorvant::app {
namespace {

// Answers every GET with `body` (status 200) and keeps the request targets;
// `during` runs when a request has arrived, before it is answered.
// The publish dialog's file choice and mail transport, answered by the
// test: nothing chosen and no transport unless a test says otherwise.
class ScriptedPublishDialogs : public app::PublishDialogs {
 public:
  std::function<QString(const QString& filter)> choose_file;
  std::function<std::unique_ptr<MailTransport>()> make_transport;

  QString ChooseHtmlFile(QWidget*, const QString&, const QString& filter) override {
    return choose_file ? choose_file(filter) : QString();
  }
  std::unique_ptr<MailTransport> MakeTransport(QWidget*, const Preferences&) override {
    return make_transport ? make_transport() : nullptr;
  }
};

class StubServer : public QObject {
 public:
  StubServer() {
    server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
      QTcpSocket* socket = server_.nextPendingConnection();
      connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
        buffer_ += socket->readAll();
        if (!buffer_.contains("\r\n\r\n")) return;
        targets << QString::fromLatin1(buffer_.split(' ').value(1));
        buffer_.clear();
        if (during) during();
        QByteArray reply = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                           QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
        socket->write(reply);
        socket->disconnectFromHost();
      });
    });
  }
  QString Base() const { return QString("http://127.0.0.1:%1").arg(server_.serverPort()); }

  QByteArray body;
  QStringList targets;
  std::function<void()> during;

 private:
  QTcpServer server_;
  QByteArray buffer_;
};

// Records each recipient; `during` runs as each message goes, with its
// position from 1.
class RecordingTransport : public MailTransport {
 public:
  explicit RecordingTransport(QStringList* sent, std::function<void(int)> during = {})
      : sent_(sent), during_(std::move(during)) {}
  void Connect() override {}
  SendOutcome Send(const MailMessage& m) override {
    *sent_ << QString::fromStdString(m.recipient);
    if (during_) during_(static_cast<int>(sent_->size()));
    return SendOutcome::kSent;
  }
  void Disconnect() override {}

 private:
  QStringList* sent_;
  std::function<void(int)> during_;
};

}  // namespace

class PublishSurveyTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void openingShowsTheSurveyState();
  void stepFourHiddenForAnEmptyListMakesTheDialogShorter();
  void requestsAreSentAsTypedAndJudgedByTheirKind_data();
  void requestsAreSentAsTypedAndJudgedByTheirKind();
  void oneRequestAtATime();
  void generationNeedsAFileName();
  void sendingMailsTheListAndRecordsIt();
  void remindersAreOpenOnlyWhenThePageAsksForTheAddress();
  void closingDuringAMailingAsksAndStopsItFirst();
  void closingDuringARequestAsksAndAbandonsItFirst();

 private:
  void MakeList(int people);
  std::unique_ptr<TQVXPublishSurvey> Open();
  template <typename T>
  T* Get(QObject* dialog, const char* name) {
    T* child = dialog->findChild<T*>(name);
    if (!child) qFatal("no control %s", name);
    return child;
  }

  std::unique_ptr<testing::AppHome> home_;
  std::unique_ptr<SettingsStore> settings_;
  std::unique_ptr<TSurvey> survey_;
  testing::ScriptedPrompts prompts_;
  ScriptedPublishDialogs dialogs_;
  std::unique_ptr<StubServer> server_;
};

void PublishSurveyTest::init() {
  home_ = std::make_unique<testing::AppHome>();
  settings_ = std::make_unique<SettingsStore>();
  survey_ = std::make_unique<TSurvey>(*settings_);
  server_ = std::make_unique<StubServer>();
  survey_->SetUniqueName("S1");
  survey_->SetServerURL((server_->Base() + "/qvx/").toStdString());
  prompts_.log.clear();
  dialogs_.choose_file = nullptr;
  dialogs_.make_transport = nullptr;
}

void PublishSurveyTest::cleanup() {
  server_.reset();
  survey_.reset();
  settings_.reset();
  home_.reset();
}

std::unique_ptr<TQVXPublishSurvey> PublishSurveyTest::Open() {
  auto dialog = std::make_unique<TQVXPublishSurvey>(*survey_, *settings_, prompts_, dialogs_,
                                                    home_->File("data/"), home_->File(""));
  dialog->show();
  return dialog;
}

void PublishSurveyTest::openingShowsTheSurveyState() {
  survey_->SetNotificationFile("/lists/staff.eml");
  survey_->SetAllAddresses(false);
  survey_->SetSamplingPercent(15);
  survey_->SetHTMLStatus("HTML file generated at 12/03/1998 14:15:02");
  survey_->SetHTMLFileName("/pages/s1.htm");
  settings_->Write(settings::kEmailSystem, 1);
  auto dialog = Open();
  QCOMPARE(dialog->windowTitle(), QString("Publish Survey"));
  QCOMPARE(Get<QLabel>(dialog.get(), "lblRegisterStatus")->text(),
           QString("Survey not registered"));
  QCOMPARE(Get<QLabel>(dialog.get(), "lblServerAddress")->text(),
           "Server Address: " + server_->Base() + "/qvx/");
  QCOMPARE(Get<QLabel>(dialog.get(), "lblNotificationFile")->text(),
           QString("Notification List: /lists/staff.eml"));
  QCOMPARE(Get<QLabel>(dialog.get(), "lblSampling")->text(), QString("Sampling: 15% of list."));
  QCOMPARE(Get<QGroupBox>(dialog.get(), "gbSendEmail")->title(),
           QString("Send Survey Notifications via MAPI"));
  QCOMPARE(Get<QLineEdit>(dialog.get(), "eHTMLFileName")->text(), QString("/pages/s1.htm"));
  QCOMPARE(Get<QLabel>(dialog.get(), "lblGenWebStatus")->text(),
           QString("HTML file generated at 12/03/1998 14:15:02"));
  QVERIFY(Get<QPushButton>(dialog.get(), "btnStopSending")->isHidden());
  dialog.reset();

  survey_->SetAllAddresses(true);
  survey_->SetRegDate(36132.5);
  settings_->Write(settings::kEmailSystem, 0);
  dialog = Open();
  QCOMPARE(Get<QLabel>(dialog.get(), "lblRegisterStatus")->text(),
           QString("Survey registered at 12/03/1998 12:00:00"));
  QCOMPARE(Get<QLabel>(dialog.get(), "lblSampling")->text(),
           QString("Sampling: All addresses on list"));
  QCOMPARE(Get<QGroupBox>(dialog.get(), "gbSendEmail")->title(),
           QString("Send Survey Notifications via SMTP"));
}

void PublishSurveyTest::stepFourHiddenForAnEmptyListMakesTheDialogShorter() {
  survey_->SetNotificationFile("/lists/staff.eml");
  auto with_list = Open();
  const int tall = with_list->height();
  QCOMPARE(tall, with_list->ComputedHeight());
  QWidget* row_four = Get<QLabel>(with_list.get(), "lblStepFour")->parentWidget();
  const int step_four = row_four->sizeHint().height() + 3;
  with_list.reset();
  survey_->SetNotificationFile("");
  auto without = Open();
  QVERIFY(Get<QGroupBox>(without.get(), "gbSendEmail")->isHidden() ||
          !Get<QGroupBox>(without.get(), "gbSendEmail")->isVisibleTo(without.get()));
  QVERIFY(!Get<QLabel>(without.get(), "lblStepFour")->isVisibleTo(without.get()));
  QCOMPARE(without->height(), tall - step_four);
}

void PublishSurveyTest::requestsAreSentAsTypedAndJudgedByTheirKind_data() {
  QTest::addColumn<bool>("verify");
  QTest::addColumn<QByteArray>("body");
  QTest::addColumn<bool>("passes");
  QTest::addColumn<QString>("status");
  QTest::addColumn<QString>("error");
  QTest::newRow("Quorvant in an error message passes verification")
      << true << QByteArray("<p>Error: Quorvant server busy</p>") << true << "Server verified at"
      << "";
  QTest::newRow("a page without the word fails verification")
      << true << QByteArray("<p>It works!</p>") << false << "Server did not pass verification."
      << QString(
             "error: [Server Verification Failed] The verification of BASE/qvx/ failed: An "
             "invalid verification code was passed.");
  QTest::newRow("bold Registration Complete passes")
      << false << QByteArray("<html><b>Registration Complete</b></html>") << true
      << "Survey registered at"
      << "";
  QTest::newRow("lower case fails, its plain words shown")
      << false << QByteArray("<html><h1>registration complete?</h1><p>No: <i>bad</i> ID</p></html>")
      << false << "Survey failed to register."
      << "error: [Error] The survey failed to register.  The following error was returned:\r\n\r\n"
         "registration complete?No: bad ID";
}

void PublishSurveyTest::requestsAreSentAsTypedAndJudgedByTheirKind() {
  QFETCH(bool, verify);
  QFETCH(QByteArray, body);
  QFETCH(bool, passes);
  QFETCH(QString, status);
  QFETCH(QString, error);
  server_->body = body;
  auto dialog = Open();
  const char* button = verify ? "btnVerifyServer" : "btnRegisterNow";
  const char* label = verify ? "lblServerStatus" : "lblRegisterStatus";
  Get<QPushButton>(dialog.get(), button)->click();
  QCOMPARE(server_->targets.size(), 1);
  QCOMPARE(server_->targets[0], verify
                                    ? QString("/qvx//VerifyServer")
                                    : QString("/qvx//RegisterSurvey?SurveyFile=S1&AccountID=&ID="));
  QVERIFY2(Get<QLabel>(dialog.get(), label)->text().startsWith(status),
           qPrintable(Get<QLabel>(dialog.get(), label)->text()));
  if (passes) {
    QVERIFY(prompts_.log.empty());
  } else {
    QCOMPARE(prompts_.log.size(), size_t(1));
    QCOMPARE(QString::fromStdString(prompts_.log[0]),
             QString(error).replace("BASE", server_->Base()));
  }
  QCOMPARE(survey_->RegDate() != 0, !verify && passes);
  QCOMPARE(QString::fromStdString(survey_->PubHistory()).contains("Server verified."),
           verify && passes);
  QVERIFY(!dialog->Busy());
  // The verification's outcome stays with the survey: the dialog opened
  // again shows it, and a registration leaves it alone.
  const QString server_status = Get<QLabel>(dialog.get(), "lblServerStatus")->text();
  QCOMPARE(QString::fromStdString(survey_->ServerStatus()),
           verify ? server_status : QString("Server not verified"));
  dialog = Open();
  QCOMPARE(Get<QLabel>(dialog.get(), "lblServerStatus")->text(), server_status);
}

void PublishSurveyTest::oneRequestAtATime() {
  server_->body = "Quorvant";
  auto dialog = Open();
  QList<TQVXPublishSurvey::RequestKind> kinds;
  QList<bool> enabled;
  server_->during = [&] {
    kinds << dialog->Kind();
    enabled << Get<QPushButton>(dialog.get(), "btnRegisterNow")->isEnabled();
    // A second click while the first is outstanding sends nothing.
    Get<QPushButton>(dialog.get(), "btnVerifyServer")->click();
  };
  Get<QPushButton>(dialog.get(), "btnVerifyServer")->click();
  server_->body = "<b>Registration Complete</b>";
  Get<QPushButton>(dialog.get(), "btnRegisterNow")->click();
  QCOMPARE(server_->targets.size(), 2);
  QCOMPARE(kinds,
           (QList<TQVXPublishSurvey::RequestKind>{TQVXPublishSurvey::RequestKind::kVerification,
                                                  TQVXPublishSurvey::RequestKind::kRegistration}));
  QCOMPARE(enabled, (QList<bool>{false, false}));
  QVERIFY(Get<QPushButton>(dialog.get(), "btnRegisterNow")->isEnabled());
  QVERIFY(Get<QLabel>(dialog.get(), "lblServerStatus")->text().startsWith("Server verified at"));
  QVERIFY(
      Get<QLabel>(dialog.get(), "lblRegisterStatus")->text().startsWith("Survey registered at"));

  // A server that is not there: the failure goes to the label of the kind.
  survey_->SetServerURL("http://127.0.0.1:1/qvx");
  Get<QPushButton>(dialog.get(), "btnRegisterNow")->click();
  QCOMPARE(Get<QLabel>(dialog.get(), "lblRegisterStatus")->text(),
           QString("Connection to server failed..."));
  QCOMPARE(QString::fromStdString(prompts_.log.back()),
           QString("error: [Survey Registration Failed] The connection to http://127.0.0.1:1/qvx "
                   "failed."));
}

void PublishSurveyTest::generationNeedsAFileName() {
  auto dialog = Open();
  Get<QPushButton>(dialog.get(), "btnGenerateHTMLPage")->click();
  QCOMPARE(prompts_.log, (std::vector<std::string>{
                             "error: [Publish Survey Error] You must specify a file name for the "
                             "web page"}));
  QString filter;
  dialogs_.choose_file = [&](const QString& f) {
    filter = f;
    return QString::fromStdString(home_->File("page.txt"));
  };
  dialog = Open();
  Get<QPushButton>(dialog.get(), "btnSelectFile")->click();
  QCOMPARE(filter, QString("HTML Files (*.htm);;All Files (*.*)"));
  QCOMPARE(survey_->HTMLFileName(), home_->File("page.txt.htm"));
  QCOMPARE(Get<QLineEdit>(dialog.get(), "eHTMLFileName")->text(),
           QString::fromStdString(home_->File("page.txt.htm")));

  // A folder that does not exist is named rather than blamed on the disk
  // space or the template.
  const std::string nowhere = home_->File("not there");
  Get<QLineEdit>(dialog.get(), "eHTMLFileName")
      ->setText(QString::fromStdString(nowhere + "/p.htm"));
  prompts_.log.clear();
  Get<QPushButton>(dialog.get(), "btnGenerateHTMLPage")->click();
  QCOMPARE(prompts_.log, (std::vector<std::string>{"error: The HTML file could not be generated.  "
                                                   "The folder " +
                                                   nowhere + " does not exist."}));
}

void PublishSurveyTest::MakeList(int people) {
  const std::string list_file = home_->File("people.eml");
  TEmailList list(prompts_);
  QVERIFY(list.Create(list_file));
  std::vector<EmailRecord> records;
  for (int i = 1; i <= people; ++i)
    records.push_back({"P", std::to_string(i), "p" + std::to_string(i) + "@example.org"});
  list.AppendAll(records);
  survey_->SetNotificationFile(list_file);
  survey_->SetAllAddresses(true);
  survey_->SetAttachSurvey(false);
}

void PublishSurveyTest::sendingMailsTheListAndRecordsIt() {
  MakeList(2);
  QStringList sent;
  bool buttons_disabled = false;
  dialogs_.make_transport = [&] { return std::make_unique<RecordingTransport>(&sent); };
  auto dialog = Open();
  // The default reply address is empty: the run stops before it connects.
  Get<QPushButton>(dialog.get(), "btnSendMail")->click();
  QVERIFY(sent.isEmpty());
  QCOMPARE(prompts_.log.size(), size_t{1});
  QVERIFY(QString::fromStdString(prompts_.log[0]).contains("Fill in \"Reply Address\""));

  settings_->Write(settings::kReplyAddress, std::string("team@example.org"));
  prompts_.log.clear();
  QTimer::singleShot(0, dialog.get(), [&] {
    buttons_disabled = !Get<QPushButton>(dialog.get(), "btnCancel")->isEnabled();
  });
  Get<QPushButton>(dialog.get(), "btnSendMail")->click();
  QCOMPARE(sent, (QStringList{"p1@example.org", "p2@example.org"}));
  QVERIFY(buttons_disabled);
  QVERIFY(Get<QPushButton>(dialog.get(), "btnCancel")->isEnabled());
  QVERIFY(Get<QPushButton>(dialog.get(), "btnStopSending")->isHidden());
  QVERIFY(
      Get<QLabel>(dialog.get(), "lblEmailStatus")->text().startsWith("2 Notifications sent on "));
  QVERIFY(QString::fromStdString(survey_->PubHistory()).contains("2 Notifications sent."));
  QVERIFY(prompts_.log.empty());
  // The outcome is the survey's notification status from now on.
  const QString status = Get<QLabel>(dialog.get(), "lblEmailStatus")->text();
  QCOMPARE(QString::fromStdString(survey_->EMailStatus()), status);
  dialog = Open();
  QCOMPARE(Get<QLabel>(dialog.get(), "lblEmailStatus")->text(), status);

  // Send Now again (or Alt+S hit by mistake): asked first, and No sends
  // nothing.
  prompts_.confirm_answers = {false};
  Get<QPushButton>(dialog.get(), "btnSendMail")->click();
  QCOMPARE(sent.size(), 2);
  QCOMPARE(prompts_.log.size(), size_t{1});
  QVERIFY(QString::fromStdString(prompts_.log[0])
              .contains("[Send Notifications] The invitations of this survey were already mailed: "
                        "2 sent on "));
  prompts_.confirm_answers = {true};
  Get<QPushButton>(dialog.get(), "btnSendMail")->click();
  QCOMPARE(sent.size(), 4);
}

void PublishSurveyTest::remindersAreOpenOnlyWhenThePageAsksForTheAddress() {
  MakeList(3);
  settings_->Write(settings::kReplyAddress, std::string("team@example.org"));
  QStringList sent;
  dialogs_.make_transport = [&] { return std::make_unique<RecordingTransport>(&sent); };
  const QString why = "check \"Allow only 1 survey response from each e-mail address\"";

  // The page does not ask for the address: the choice is closed, and its
  // explanation, offered on the disabled control too, says why.
  survey_->SetOnly1Email(false);
  auto dialog = Open();
  auto* sampled = Get<QRadioButton>(dialog.get(), "rbSendSampled");
  auto* reminders = Get<QRadioButton>(dialog.get(), "rbSendNotAnswered");
  QCOMPARE(sampled->text(), QString("&all addresses"));
  QCOMPARE(reminders->text(), QString("only those who have &not answered"));
  QVERIFY(sampled->isChecked());
  QVERIFY(!reminders->isEnabled());
  QVERIFY(reminders->whatsThis().contains(why));
  // The whole text shows: the choice is not cut short by the dialog's width.
  QVERIFY(reminders->width() >= reminders->sizeHint().width());
  QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(2, 2), reminders->mapToGlobal(QPoint(2, 2)));
  QApplication::sendEvent(reminders, &request);
  QMenu* menu = reminders->findChild<QMenu*>("pmWhatsThis");
  QVERIFY(menu != nullptr);
  QCOMPARE(menu->actions().constLast()->text(), QString("&What's This?"));
  menu->close();
  dialog.reset();

  // It asks: reminders go to the list's people without a response.
  survey_->SetOnly1Email(true);
  survey_->SetAllAddresses(false);
  const std::string answers = home_->File("answers.dbf");
  Table::Create(answers, {{"EMAIL", 'C', 250}});
  {
    Table table;
    table.Open(answers);
    table.Append({{"EMAIL", " P2@Example.org"}});
  }
  survey_->SetSRResponseFile(answers);
  dialog = Open();
  sampled = Get<QRadioButton>(dialog.get(), "rbSendSampled");
  reminders = Get<QRadioButton>(dialog.get(), "rbSendNotAnswered");
  QCOMPARE(sampled->text(), QString("a random sa&mple"));
  QVERIFY(reminders->isEnabled());
  bool choice_closed_during_run = false;
  QTimer::singleShot(0, dialog.get(), [&] { choice_closed_during_run = !reminders->isEnabled(); });
  reminders->click();
  Get<QPushButton>(dialog.get(), "btnSendMail")->click();
  QCOMPARE(sent, (QStringList{"p1@example.org", "p3@example.org"}));
  QVERIFY(choice_closed_during_run);
  QVERIFY(reminders->isEnabled());
  QVERIFY(Get<QLabel>(dialog.get(), "lblEmailStatus")->text().startsWith("2 Reminders sent on "));
  QVERIFY(QString::fromStdString(survey_->PubHistory()).contains(": 2 Reminders sent."));
  QVERIFY(prompts_.log.empty());

  // Once more: asked as a repeated mailing is; No sends nothing.
  prompts_.confirm_answers = {false};
  Get<QPushButton>(dialog.get(), "btnSendMail")->click();
  QCOMPARE(sent.size(), 2);
  QCOMPARE(
      prompts_.log,
      (std::vector<std::string>{"confirm(default no): [Send Notifications] The reminders of this "
                                "survey were already mailed: 2 sent on " +
                                survey_->EMailStatus().substr(20) +
                                ". Send a reminder to the 2 who have not answered?"}));
}

void PublishSurveyTest::closingDuringAMailingAsksAndStopsItFirst() {
  MakeList(6);
  settings_->Write(settings::kReplyAddress, std::string("team@example.org"));
  QStringList sent;
  QList<bool> visible_after_close;
  std::unique_ptr<TQVXPublishSurvey> dialog;
  dialogs_.make_transport = [&] {
    return std::make_unique<RecordingTransport>(&sent, [&](int n) {
      if (n == 2) {
        prompts_.confirm_answers = {false};  // No: the run goes on
        dialog->close();
        visible_after_close << dialog->isVisible();
      } else if (n == 3) {
        prompts_.confirm_answers = {true};  // Yes: stop, then close
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        visible_after_close << dialog->isVisible();
        QVERIFY(dialog->Mailing());
      }
    });
  };
  dialog = Open();
  Get<QPushButton>(dialog.get(), "btnSendMail")->click();
  QCOMPARE(visible_after_close, (QList<bool>{true, true}));
  QCOMPARE(sent.size(), 3);
  QVERIFY(!dialog->isVisible());
  QVERIFY(!dialog->Mailing());
  QCOMPARE(prompts_.log,
           (std::vector<std::string>(2,
                                     "confirm(default no): [Publish Survey] Invitations are "
                                     "being sent. Stop sending and close the window?")));
  QVERIFY(QString::fromStdString(survey_->PubHistory())
              .contains("Send notifications stopped by user - 3 sent."));
}

void PublishSurveyTest::closingDuringARequestAsksAndAbandonsItFirst() {
  server_->body = "Quorvant";
  auto dialog = Open();
  QList<bool> visible_after_close;
  prompts_.confirm_answers = {false};
  server_->during = [&] {
    dialog->close();
    visible_after_close << dialog->isVisible();
  };
  Get<QPushButton>(dialog.get(), "btnVerifyServer")->click();
  QVERIFY(dialog->isVisible());
  QVERIFY(Get<QLabel>(dialog.get(), "lblServerStatus")->text().startsWith("Server verified at"));

  prompts_.log.clear();
  prompts_.confirm_answers = {true};
  const std::string history = survey_->PubHistory();
  Get<QPushButton>(dialog.get(), "btnVerifyServer")->click();
  QCOMPARE(visible_after_close, (QList<bool>{true, true}));
  QVERIFY(!dialog->isVisible());
  QVERIFY(!dialog->Busy());
  QCOMPARE(prompts_.log, (std::vector<std::string>{
                             "confirm(default no): [Publish Survey] A request to the server is "
                             "under way. Stop it and close the window?"}));
  QTest::qWait(200);  // the abandoned reply would arrive now
  QCOMPARE(survey_->PubHistory(), history);
  QCOMPARE(prompts_.log.size(), size_t{1});
}

}  // namespace quorvant::app

QTEST_MAIN(quorvant::app::PublishSurveyTest)
#include "publish_survey_test.moc"
