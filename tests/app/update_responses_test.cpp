// The "Update Responses" dialog against a collector running in this process
// on a loopback port: its status lines, Stop, the cursor and the temporary
// files, and the failure events.
#include <QPushButton>
#include <QTcpServer>
#include <QtTest>
#include <atomic>
#include <memory>
#include <thread>

#include "app/responses/update_responses_dialog.h"
#include "app_test_env.h"
#include "collector/collector_server.h"
#include "collector/sqlite_submission_store.h"
#include "core/responses/response_table.h"
#include "core/shell/settings_store.h"
#include "core/survey/comma_text.h"
#include "core/survey/survey.h"
#include "support/scripted_prompts.h"

namespace quorvant::app {

class UpdateResponsesTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void downloadListsTheCounts();
  void secondRunAddsNothing();
  void stopLetsTheRunFinishThenCloses();
  void failures_data();
  void failures();
  void commandNames();

 private:
  struct Run {
    QStringList lines;
    std::vector<std::string> temp_files;
    bool waited_with_hourglass = false;
    bool closed = false;
  };
  // Shows the dialog and waits for the end of its run. stop_early presses
  // "&Stop" as soon as the request has started.
  Run Update(bool stop_early = false);
  void Submit(const std::string& remote, const std::string& email);

  std::unique_ptr<testing::AppHome> home_;
  std::unique_ptr<SettingsStore> settings_;
  std::unique_ptr<TSurvey> survey_;
  testing::ScriptedPrompts prompts_;
  std::unique_ptr<TResponseTable> table_;
  std::unique_ptr<collector::SubmissionStore> store_;
  std::unique_ptr<collector::CollectorServer> server_;
  std::thread thread_;
  std::atomic<int64_t> clock_{1800000000};
  QString base_;
  std::vector<std::string> temp_files_;  // removed at cleanup, as the main window would
};

void UpdateResponsesTest::init() {
  home_ = std::make_unique<testing::AppHome>();
  settings_ = std::make_unique<SettingsStore>();
  store_ = std::make_unique<collector::SqliteSubmissionStore>(home_->File("c.db"),
                                                        [this] { return clock_.load(); });
  collector::CollectorOptions options;
  options.port = 0;
  server_ = std::make_unique<collector::CollectorServer>(options, *store_);
  QVERIFY(server_->Bind());
  thread_ = std::thread([this] { server_->Listen(); });
  base_ = QString("http://127.0.0.1:%1/qvx").arg(server_->port());

  survey_ = std::make_unique<TSurvey>(*settings_);
  survey_->AddItem("Smoke?", kStyleSingleChoice, 0, 0, 0, false, 0, JoinCommaText({"Yes", "No"}));
  survey_->SetUniqueName("S1");
  survey_->SetPassword("p&ss#1");
  survey_->SetServerURL(base_.toStdString());
  survey_->SetOnly1IP(true);
  survey_->SetFileName(home_->File("s1.qvx"));
  survey_->Save();
  store_->Register("S1", "NA", "p&ss#1");
  table_ = std::make_unique<TResponseTable>(prompts_);
}

void UpdateResponsesTest::cleanup() {
  for (const std::string& file : temp_files_) QFile::remove(QString::fromStdString(file));
  temp_files_.clear();
  table_.reset();
  server_->Stop();
  thread_.join();
  server_.reset();
  store_.reset();
  survey_.reset();
  settings_.reset();
  home_.reset();
}

void UpdateResponsesTest::Submit(const std::string& remote, const std::string& email) {
  QVERIFY(store_->Submit("S1", remote, "Browser 1", {{"QVXEMAILADDRESS", email}, {"qvx1", "0"}}));
}

UpdateResponsesTest::Run UpdateResponsesTest::Update(bool stop_early) {
  clock_ += 2;  // the submissions' second has passed
  Run run;
  TQVXUpdateResponses dialog(*survey_, *table_, *settings_, prompts_, [&](const std::string& f) {
    run.temp_files.push_back(f);
    temp_files_.push_back(f);
  });
  QPushButton* stop = dialog.findChild<QPushButton*>("btnStop");
  connect(&dialog.Run(), &ResponseUpdateRun::StatusLine, this, [&](const QString& line) {
    const QCursor* cursor = QApplication::overrideCursor();
    run.waited_with_hourglass = cursor != nullptr && cursor->shape() == Qt::WaitCursor;
    if (stop_early && line.startsWith("Connecting to ")) {
      QCOMPARE(stop->text(), QString("&Stop"));
      stop->click();
    }
  });
  dialog.show();
  [&] { QTRY_VERIFY_WITH_TIMEOUT(dialog.Processed(), 20000); }();
  run.lines = dialog.StatusLines();
  run.closed = !dialog.isVisible();
  if (!run.closed) {
    [&] {
      QCOMPARE(stop->text(), QString("Close"));
      QVERIFY(stop->isEnabled());
    }();
  }
  [&] { QVERIFY(QApplication::overrideCursor() == nullptr); }();
  return run;
}

void UpdateResponsesTest::downloadListsTheCounts() {
  Submit("127.0.0.2", "a@x");
  Submit("127.0.0.3", "b@x");
  Submit("127.0.0.2", "c@x");  // the same address again
  const Run run = Update();
  QCOMPARE(run.lines,
           QStringList({"Connecting to " + base_, "Connected.", "Result transmission completed.",
                        "Verifying server results.", "Results incorporated.", "New responses: 2",
                        "Responses eliminated: 1", "Total responses: 2"}));
  QVERIFY(run.waited_with_hourglass);
  QVERIFY(!run.closed);
  QCOMPARE(run.temp_files.size(), size_t{2});
  QVERIFY(run.temp_files[0].ends_with(".dat") && run.temp_files[1].ends_with(".hdr"));
  QVERIFY(QFile::exists(QString::fromStdString(run.temp_files[0])));
  QCOMPARE(survey_->SRResponseCount(), 2);
  QVERIFY(!survey_->Modified());  // saved at the end
}

void UpdateResponsesTest::secondRunAddsNothing() {
  Submit("127.0.0.2", "a@x");
  Update();
  Submit("127.0.0.4", "d@x");
  const QStringList second = Update().lines;
  QCOMPARE(second.mid(5),
           QStringList({"New responses: 1", "Responses eliminated: 0", "Total responses: 2"}));
  const QStringList third = Update().lines;
  QCOMPARE(third.mid(5),
           QStringList({"New responses: 0", "Responses eliminated: 0", "Total responses: 2"}));
}

void UpdateResponsesTest::stopLetsTheRunFinishThenCloses() {
  Submit("127.0.0.2", "a@x");
  const Run run = Update(true);
  QVERIFY(run.closed);
  QCOMPARE(run.lines.last(), QString("Total responses: 1"));
  QCOMPARE(survey_->SRResponseCount(), 1);
}

void UpdateResponsesTest::failures_data() {
  QTest::addColumn<QString>("server");
  QTest::addColumn<QString>("password");
  QTest::addColumn<QString>("last_line");
  QTest::newRow("server down") << "down"
                               << "p&ss#1"
                               << "Connection to server failed - update canceled.";
  QTest::newRow("404 is a failed get") << "/missing"
                                       << "p&ss#1"
                                       << "Communication failure: Get Failed - update canceled.";
  QTest::newRow("wrong password fails verification")
      << ""
      << "other"
      << "Result verification failed.  Error: The password of the survey S1 is wrong.";
}

void UpdateResponsesTest::failures() {
  QFETCH(QString, server);
  QFETCH(QString, password);
  QFETCH(QString, last_line);
  if (server == "down") {
    QTcpServer probe;  // a port that was free a moment ago
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    survey_->SetServerURL(QString("http://127.0.0.1:%1/qvx").arg(probe.serverPort()).toStdString());
  } else {
    survey_->SetServerURL((base_ + server).toStdString());
  }
  survey_->SetPassword(password.toStdString());
  Submit("127.0.0.2", "a@x");
  const Run run = Update();
  QCOMPARE(run.lines.last(), last_line);
  QVERIFY(!run.closed);
  QVERIFY(!QFile::exists(QString::fromStdString(survey_->SRResponseFile())));
}

void UpdateResponsesTest::commandNames() {
  QCOMPARE(FailedCommandName(0), QString("Get Failed"));
  QCOMPARE(FailedCommandName(10), QString("UnLink Failed"));
  QCOMPARE(FailedCommandName(12), QString("Wrapped Failed"));
  QCOMPARE(FailedCommandName(13), QString());
  QCOMPARE(FailedCommandName(-1), QString());
}

}  // namespace quorvant::app

QTEST_MAIN(quorvant::app::UpdateResponsesTest)
#include "update_responses_test.moc"
