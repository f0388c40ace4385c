// The main window's response table: counted when a survey is loaded, and
// "&Update Now" running the update dialog.
#include <QLabel>
#include <QPushButton>
#include <QTcpServer>
#include <QtTest>
#include <memory>

#include "app/responses/update_responses_dialog.h"
#include "app/shell/main_form.h"
#include "app_test_env.h"
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
  void updateNowRunsTheDialogAndRefreshes();

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
  if (form_) form_->Survey().SetModified(false);
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
  QCOMPARE(form_->Survey().SRResponseCount(), 3);
  QVERIFY(!form_->Survey().Modified());
  QCOMPARE(form_->findChild<QLabel*>("lblResponsesReceived")->text(),
           QString("Responses Received: 3"));
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
  QCOMPARE(form_->TemporaryFiles().size(), size_t{2});
  QVERIFY(prompts_.log.empty());
}

}  // namespace quorvant::app

QTEST_MAIN(quorvant::app::MainFormResponsesTest)
#include "main_form_responses_test.moc"
