// The main window's response table: counted when a survey is loaded, and
// "&Update Now" running the update dialog; "&Clear Results From Server..."
// against a collector on a loopback port.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTcpServer>
#include <QtTest>
#include <memory>
#include <thread>

#include "app/analysis/analysis_view.h"
#include "app/analysis/chart_toolbox.h"
#include "app/chart/chart_view.h"
#include "app/responses/update_responses_dialog.h"
#include "app/shell/main_form.h"
#include "app_test_env.h"
#include "collector/collector_server.h"
#include "collector/sqlite_submission_store.h"
#include "collector/password_throttle.h"
#include "core/responses/response_table.h"
#include "core/survey/comma_text.h"
#include "support/scripted_prompts.h"

namespace quorvant::app {

class MainFormResponsesTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void loadingCountsTheTableWithoutModifying();
  void lookingAtTheAnalysisChangesNothing();
  void updateNowRunsTheDialogAndRefreshes();
  void clearResultsRecordsOnlyWhatHappened();

 private:
  // A saved, published survey whose table holds `records` records.
  QString MakeSurvey(int records, const std::string& server);

  std::unique_ptr<testing::AppHome> home_;
  testing::ScriptedPrompts prompts_;
  testing::ScriptedWindowDialogs dialogs_;
  std::unique_ptr<TQVXMainForm> form_;
};

void MainFormResponsesTest::init() { home_ = std::make_unique<testing::AppHome>(); }

void MainFormResponsesTest::cleanup() {
  if (form_) form_->Document().Survey().SetModified(false);
  form_.reset();
  home_.reset();
}

QString MainFormResponsesTest::MakeSurvey(int records, const std::string& server) {
  SettingsStore settings;
  TSurvey survey(settings);
  survey.AddItem("Smoke?", kStyleSingleChoice, 0, 0, 0, false, 0, JoinCommaText({"Yes", "No"}));
  survey.SetHTMLStatus("HTML file generated");
  survey.SetServerURL(server);
  survey.SetFileName(home_->File("home/s.qvx"));
  if (records > 0) {
    TResponseTable table(prompts_);
    table.Create(survey);
    for (int i = 0; i < records; ++i) {
      table.table().Append({{"REMOTEIP", "10.0.0." + std::to_string(i)}, {"QVX1", "0"}});
    }
    table.Close();
  }
  survey.Save();
  return QString::fromStdString(survey.FileName());
}

void MainFormResponsesTest::loadingCountsTheTableWithoutModifying() {
  form_ = std::make_unique<TQVXMainForm>(prompts_, dialogs_,
                                         QStringList{MakeSurvey(3, "http://127.0.0.1:1/qvx")});
  form_->show();
  QCOMPARE(form_->Document().Survey().SRResponseCount(), 3);
  QVERIFY(!form_->Document().Survey().Modified());
  QCOMPARE(form_->findChild<QLabel*>("lblResponsesReceived")->text(),
           QString("Responses Received: 3"));
}

// Opening the example survey with responses and looking at every question
// on the Analysis page, with the chart toolbox open and a click into each
// chart, is no change: Exit asks nothing.
void MainFormResponsesTest::lookingAtTheAnalysisChangesNothing() {
  const std::string path = home_->File("home/example.qvx");
  {
    SettingsStore settings;
    TSurvey survey(settings);
    survey.Load(QUORVANT_SOURCE_DIR "/data/examples/example.qvx");
    survey.SetHTMLStatus("HTML file generated");
    survey.SaveAs(path);
    TResponseTable table(prompts_);
    table.Create(survey);
    for (int i = 0; i < 4; ++i) {
      table.table().Append({{"REMOTEIP", "10.0.0." + std::to_string(i)},
                            {"QVX2", std::to_string(i % 3)},
                            {"QVX3_0", "1"},
                            {"QVX4", "2"},
                            {"QVX7", std::to_string(10 * i)},
                            {"QVX8", "Kitchen"}});
    }
    table.Close();
    survey.Save();
  }
  form_ =
      std::make_unique<TQVXMainForm>(prompts_, dialogs_, QStringList{QString::fromStdString(path)});
  form_->show();
  QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
  QVERIFY(!form_->Document().Survey().Modified());
  auto* pages = form_->findChild<QTabWidget*>("pgcMain");
  pages->setCurrentIndex(1);
  auto* questions = form_->findChild<QComboBox*>("cmbQuestionList");
  QVERIFY(questions->count() >= 5);
  auto* toolbox = form_->findChild<QPushButton*>("btnChartToolbox");
  for (int round = 0; round < 2; ++round) {
    for (int row = 0; row < questions->count(); ++row) {
      questions->setCurrentIndex(row);
      QWidget* chart = &form_->AnalysisView().Chart();
      if (chart->isVisible()) QTest::mouseClick(chart, Qt::LeftButton, {}, chart->rect().center());
      if (round == 0 && toolbox->isEnabled() && !form_->ChartToolbox().isVisible()) {
        toolbox->click();
      }
    }
  }
  pages->setCurrentIndex(0);
  QVERIFY(!form_->Document().Survey().Modified());
  QVERIFY(form_->findChild<QLabel*>("pnlModified")->text().isEmpty());
  QVERIFY(form_->close());
  QCOMPARE(dialogs_.confirm_save_count, 0);
}

void MainFormResponsesTest::updateNowRunsTheDialogAndRefreshes() {
  QTcpServer probe;  // a port that was free a moment ago: the server is down
  QVERIFY(probe.listen(QHostAddress::LocalHost));
  const std::string server =
      QString("http://127.0.0.1:%1/qvx").arg(probe.serverPort()).toStdString();
  probe.close();
  form_ = std::make_unique<TQVXMainForm>(prompts_, dialogs_, QStringList{MakeSurvey(0, server)});
  form_->show();
  QStringList lines;
  testing::AnswerNextModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<TQVXUpdateResponses*>(modal);
    QVERIFY(dialog != nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(dialog->Processed(), 20000);
    lines = dialog->StatusLines();
    dialog->findChild<QPushButton*>("btnStop")->click();
  });
  auto* update = form_->findChild<QPushButton*>("btnUpdateNow");
  QVERIFY(update->isEnabled());
  update->click();
  QCOMPARE(lines.last(), QString("Connection to server failed - update canceled."));
  QCOMPARE(form_->Document().TemporaryFiles().size(), size_t{2});
  QVERIFY(prompts_.log.empty());
}

// Only a clearing that happened adds its history line and marks the survey
// changed; a collector that stops listening to wrong passwords is named as
// such, not as a failed connection.
void MainFormResponsesTest::clearResultsRecordsOnlyWhatHappened() {
  int64_t clock = 1800000000;
  collector::SqliteSubmissionStore store(home_->File("c.db"), [&clock] { return clock; });
  store.Register("S1", "", "right");
  QVERIFY(store.Submit("S1", "10.0.0.1", "Browser", {{"qvx1", "0"}}));
  auto held = [&] {
    ++clock;
    return store.Fetch("S1", "right", "").submissions.size();
  };
  // A collector listening on a loopback port while it lives.
  struct Running {
    explicit Running(collector::SubmissionStore& store) : server(Options(), store) {
      server.Bind();
      thread = std::thread([this] { server.Listen(); });
    }
    ~Running() {
      server.Stop();
      thread.join();
    }
    static collector::CollectorOptions Options() {
      collector::CollectorOptions options;
      options.port = 0;
      return options;
    }
    std::string Base() const {
      return "http://127.0.0.1:" + std::to_string(server.port()) + "/qvx";
    }
    collector::CollectorServer server;
    std::thread thread;
  };
  auto guessed_at = std::make_unique<Running>(store);

  form_ = std::make_unique<TQVXMainForm>(prompts_, dialogs_,
                                         QStringList{MakeSurvey(1, guessed_at->Base())});
  form_->show();
  TSurvey& survey = form_->Document().Survey();
  survey.SetUniqueName("S1");
  survey.SetPassword("guess");
  survey.SetModified(false);
  const std::string history = survey.PubHistory();
  auto clear = [&] {
    prompts_.log.clear();
    prompts_.confirm_answers = {true};
    form_->findChild<QAction*>("miSurveyClearResults")->trigger();
    return prompts_.log.size() == 2 ? prompts_.log[1]
                                    : "messages: " + std::to_string(prompts_.log.size());
  };
  for (int i = 0; i < collector::PasswordThrottle::kFailuresPerWindow; ++i) {
    const std::string shown = clear();
    QVERIFY2(shown.find("The password of the survey S1 is wrong.") != std::string::npos,
             shown.c_str());
  }
  const std::string refused = clear();
  QVERIFY2(refused.starts_with("error: ") &&
               refused.find("too many wrong passwords") != std::string::npos &&
               refused.find("connection") == std::string::npos,
           refused.c_str());
  // Nothing happened, so nothing is recorded and nothing needs saving.
  QCOMPARE(survey.PubHistory(), history);
  QVERIFY(!survey.Modified());
  QCOMPARE(held(), size_t{1});

  // At a collector without a grudge, the right password clears.
  guessed_at.reset();
  Running fresh(store);
  survey.SetServerURL(fresh.Base());
  survey.SetPassword("right");
  survey.SetModified(false);
  QCOMPARE(clear(), std::string("info: Results cleared from server."));
  QVERIFY(survey.PubHistory().ends_with(": Results cleared from server.\r\n"));
  QVERIFY(survey.Modified());
  QCOMPARE(held(), size_t{0});
}

}  // namespace quorvant::app

QTEST_MAIN(quorvant::app::MainFormResponsesTest)
#include "main_form_responses_test.moc"
