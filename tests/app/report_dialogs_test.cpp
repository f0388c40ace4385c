// "Report Destination" and "Select Range": the enabled states and colours of
// the web-page controls, OK's rule, and Print on the Analysis page writing
// the whole report or the chosen question's page, with the directory
// remembered and a missing directory told.
#include <QComboBox>
#include <QDesktopServices>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>
#include <memory>

#include "app/analysis/analysis_view.h"
#include "app/chart/chart_view.h"
#include "app/shell/directory_chooser.h"
#include "app/shell/main_form.h"
#include "app/reports/report_destination_dialog.h"
#include "app_test_env.h"
#include "core/responses/response_table.h"
#include "core/survey/comma_text.h"
#include "support/scripted_prompts.h"

namespace quorvant::app {

using testing::Child;

class ReportDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void destinationStatesFollowTheChoice();
  void printWritesTheWholeReportAndRemembersTheDirectory();
  void printWritesTheChosenQuestionAlone();

 private:
  void Open();
  // Runs Print, answering "Report Destination" with the directory (empty:
  // the printer) and "Select Range" with the choice.
  void Print(const QString& directory, bool selected_only);

  std::unique_ptr<testing::AppHome> home_;
  testing::ScriptedPrompts prompts_;
  testing::ScriptedWindowDialogs dialogs_;
  std::unique_ptr<TQVXMainForm> form_;
  testing::UrlCatcher opened_;
  QString remembered_;
};

void ReportDialogsTest::init() {
  home_ = std::make_unique<testing::AppHome>();
  prompts_.log.clear();
  opened_.urls.clear();
  QDesktopServices::setUrlHandler("file", &opened_, "Open");
}

void ReportDialogsTest::cleanup() {
  QDesktopServices::unsetUrlHandler("file");
  if (form_) form_->Survey().SetModified(false);
  form_.reset();
  home_.reset();
}

void ReportDialogsTest::Open() {
  SettingsStore settings;
  TSurvey survey(settings);
  survey.AddItem("Part one", kStyleHeader, 0, 0, 0, false, 0, "");
  survey.AddItem("Smoke?", kStyleSingleChoice, 0, 0, 0, true, 0, JoinCommaText({"Yes", "No"}));
  survey.AddItem("Why?", kStyleText, 0, 0, 0, false, -1, "");
  survey.SetHTMLStatus("HTML file generated");
  survey.SetFileName(home_->File("home/P.qvx"));
  TResponseTable table(prompts_);
  table.Create(survey);
  table.table().Append({{"QVX2", "0"}, {"QVX3", "<b>no</b>"}});
  table.table().Append({{"QVX2", "Oth"}, {"QVX2OT", "pipe"}});
  table.Close();
  survey.Save();
  form_ = std::make_unique<TQVXMainForm>(prompts_, dialogs_,
                                         QStringList{QString::fromStdString(survey.FileName())});
  form_->show();
  QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
  auto* pages = Child<QTabWidget>(form_.get(), "pgcMain");
  pages->setCurrentIndex(pages->count() - 1);
  QCoreApplication::processEvents();
}

void ReportDialogsTest::Print(const QString& directory, bool selected_only) {
  testing::AnswerNextModal([this, directory, selected_only](QWidget* w) {
    QCOMPARE(w->windowTitle(), QString("Report Destination"));
    remembered_ = Child<QLineEdit>(w, "eWebDirectory")->text();
    if (!directory.isEmpty()) {
      Child<QRadioButton>(w, "rbToWebPage")->setChecked(true);
      Child<QLineEdit>(w, "eWebDirectory")->setText(directory);
      testing::AnswerNextModal([selected_only](QWidget* range) {
        QCOMPARE(range->windowTitle(), QString("Select Range"));
        QVERIFY(Child<QRadioButton>(range, "rbAll")->isChecked());
        Child<QRadioButton>(range, selected_only ? "rbSelected" : "rbAll")->setChecked(true);
        static_cast<QDialog*>(range)->accept();
      });
    }
    static_cast<QDialog*>(w)->accept();
  });
  form_->findChild<QAction*>("miFilePrint")->trigger();
}

void ReportDialogsTest::destinationStatesFollowTheChoice() {
  TQVXSelDir chooser(dialogs_, nullptr);
  TQVXDestination dialog(chooser, "", nullptr);
  dialog.show();
  auto* edit = Child<QLineEdit>(&dialog, "eWebDirectory");
  auto* ok = Child<QPushButton>(&dialog, "btnOK");
  QVERIFY(Child<QRadioButton>(&dialog, "rbToPrinter")->isChecked());
  QVERIFY(!edit->isEnabled() && !Child<QLabel>(&dialog, "lblDirectoryForPage")->isEnabled());
  QVERIFY(!Child<QPushButton>(&dialog, "btnBrowseDir")->isEnabled());
  QCOMPARE(Child<QPushButton>(&dialog, "btnBrowseDir")->toolTip(), QString("Select Directory"));
  const QColor grey = edit->palette().color(QPalette::Disabled, QPalette::Base);
  QCOMPARE(grey, edit->palette().color(QPalette::Button));
  QVERIFY(ok->isEnabled());

  Child<QRadioButton>(&dialog, "rbToWebPage")->setChecked(true);
  QVERIFY(edit->isEnabled() && Child<QPushButton>(&dialog, "btnBrowseDir")->isEnabled());
  QVERIFY(!ok->isEnabled());
  edit->setText("/tmp");
  QVERIFY(ok->isEnabled());
  edit->clear();
  QVERIFY(!ok->isEnabled());
  Child<QRadioButton>(&dialog, "rbToPrinter")->setChecked(true);
  QVERIFY(ok->isEnabled());
}

void ReportDialogsTest::printWritesTheWholeReportAndRemembersTheDirectory() {
  Open();
  const QString site = QString::fromStdString(home_->File("site"));
  QVERIFY(QDir().mkpath(site));
  Print(site, false);
  QCOMPARE(remembered_, QString());
  // The end says where the pages went.
  QCOMPARE(prompts_.log,
           std::vector<std::string>{"info: The web report was written to the folder " +
                                    site.toStdString() + " (3 pages); its index page is " +
                                    site.toStdString() + "/P.htm."});
  prompts_.log.clear();
  QCOMPARE(opened_.urls, QList<QUrl>{QUrl::fromLocalFile(site + "/P.htm")});
  QVERIFY(!QFile::exists(site + "/P0.htm"));
  QVERIFY(QFile::exists(site + "/P1.htm") && QFile::exists(site + "/P2.htm"));
  QFile memo(site + "/P2.htm");
  QVERIFY(memo.open(QIODevice::ReadOnly));
  QVERIFY(memo.readAll().contains("\r\n&lt;b&gt;no&lt;/b&gt;<HR>\r\n"));
  // The image is the chart as the page draws it, at its size.
  const QImage image(site + "/P1.jpg");
  QCOMPARE(image.size(), form_->AnalysisView().Chart().size());
  // The last question stays chosen.
  QCOMPARE(Child<QComboBox>(form_.get(), "cmbQuestionList")->currentIndex(), 1);

  // The directory comes back next time; a missing one is told.
  Print(site + "/gone", false);
  QCOMPARE(remembered_, site);
  QCOMPARE(prompts_.log.size(), size_t{1});
  QVERIFY(QString::fromStdString(prompts_.log[0]).contains("does not exist"));
  QCOMPARE(opened_.urls.size(), 1);
}

void ReportDialogsTest::printWritesTheChosenQuestionAlone() {
  Open();
  const QString site = QString::fromStdString(home_->File("one"));
  QVERIFY(QDir().mkpath(site));
  Child<QComboBox>(form_.get(), "cmbQuestionList")->setCurrentIndex(0);
  Print(site, true);
  QCOMPARE(opened_.urls, QList<QUrl>{QUrl::fromLocalFile(site + "/P1.htm")});
  QCOMPARE(prompts_.log, std::vector<std::string>{"info: The web page " + site.toStdString() +
                                                  "/P1.htm and its chart image " +
                                                  site.toStdString() + "/P1.jpg were written."});
  QVERIFY(QFile::exists(site + "/P1.jpg"));
  QVERIFY(!QFile::exists(site + "/P.htm") && !QFile::exists(site + "/P2.htm"));

  // To the printer: the print dialog follows, offering the selection.
  prompts_.log.clear();
  Print("", false);
  QCOMPARE(dialogs_.selection_offered, std::vector<bool>{true});
  QVERIFY(prompts_.log.empty());
}

}  // namespace quorvant::app

QTEST_MAIN(quorvant::app::ReportDialogsTest)
#include "report_dialogs_test.moc"
