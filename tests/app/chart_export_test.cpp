// The "E&xport to" menu: its entries' enabled states on the chart and text
// pages, the chart as PNG and SVG and the answer text list on the
// clipboard, and the office bridge's documents, which LibreOffice converts
// to PDF holding the chart or the answer lines.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QtTest>
#include <memory>

#include "app/analysis/analysis_view.h"
#include "app/analysis/office_bridge.h"
#include "app/chart/chart_view.h"
#include "app/shell/main_form.h"
#include "app_test_env.h"
#include "core/responses/response_table.h"
#include "core/shell/atomic_file.h"
#include "core/survey/comma_text.h"
#include "support/scripted_prompts.h"

namespace quorvant::app {

using testing::Child;

class ChartExportTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void entriesFollowThePage();
  void clipboardTakesTheChartAndTheAnswers();
  void officeDocumentsConvertToPdf();
  void exportResponsesWritesTheTableAndOpensTheMapping();
  void exportResponsesOffersTheResearchTypes();

 private:
  void Open();
  void Choose(int row) { Child<QComboBox>(form_.get(), "cmbQuestionList")->setCurrentIndex(row); }
  QMenu* Menu() {
    Child<QPushButton>(form_.get(), "btnExportChart")->click();
    return Child<QMenu>(form_.get(), "pmExportChart");
  }
  bool Enabled(const char* name) { return Menu()->findChild<QAction*>(name)->isEnabled(); }

  std::unique_ptr<testing::AppHome> home_;
  testing::ScriptedPrompts prompts_;
  testing::ScriptedWindowDialogs dialogs_;
  std::unique_ptr<TQVXMainForm> form_;
  testing::UrlCatcher opened_;
};

void ChartExportTest::init() {
  home_ = std::make_unique<testing::AppHome>();
  opened_.urls.clear();
  QDesktopServices::setUrlHandler("file", &opened_, "Open");
}

void ChartExportTest::cleanup() {
  QDesktopServices::unsetUrlHandler("file");
  if (form_) form_->Document().Survey().SetModified(false);
  form_.reset();
  home_.reset();
}

void ChartExportTest::Open() {
  SettingsStore settings;
  TSurvey survey(settings);
  survey.AddItem("Smoke?", kStyleSingleChoice, 0, 0, 0, false, 0, JoinCommaText({"Yes", "No"}));
  survey.AddItem("Why?", kStyleText, 0, 0, 0, false, -1, "");
  survey.SetHTMLStatus("HTML file generated");
  survey.SetFileName(home_->File("home/s.qvx"));
  TResponseTable table(prompts_);
  table.Create(survey);
  const char* rows[][2] = {{"0", "  first  "}, {"1", ""}, {"0", "second"}, {"1", "third"}};
  for (const auto& r : rows) table.table().Append({{"QVX1", r[0]}, {"QVX2", r[1]}});
  table.Close();
  survey.Save();
  form_ = std::make_unique<TQVXMainForm>(prompts_, dialogs_,
                                         QStringList{QString::fromStdString(survey.FileName())});
  form_->show();
  QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
  auto* pages = Child<QTabWidget>(form_.get(), "pgcMain");
  pages->setCurrentIndex(pages->count() - 1);
}

void ChartExportTest::entriesFollowThePage() {
  Open();
  Choose(0);
  QVERIFY(Enabled("miToPowerPoint") && Enabled("miCopyChartBitmap") && Enabled("miCopyChartWMF"));
  QVERIFY(!Enabled("miCopyChartText"));
  QVERIFY(Enabled("miMSWord"));
  const QPoint corner =
      Child<QPushButton>(form_.get(), "btnExportChart")
          ->mapToGlobal(QPoint(0, Child<QPushButton>(form_.get(), "btnExportChart")->height()));
  QCOMPARE(Menu()->pos(), corner);
  Menu()->hide();
  Choose(1);
  QVERIFY(!Enabled("miToPowerPoint") && !Enabled("miCopyChartBitmap"));
  QVERIFY(!Enabled("miCopyChartWMF"));
  QVERIFY(Enabled("miCopyChartText"));
  Menu()->hide();
}

void ChartExportTest::clipboardTakesTheChartAndTheAnswers() {
  Open();
  Choose(0);
  QMenu* menu = Menu();
  menu->findChild<QAction*>("miCopyChartBitmap")->trigger();
  QCOMPARE(QApplication::clipboard()->image().size(), form_->AnalysisView().Chart().size());
  menu->findChild<QAction*>("miCopyChartWMF")->trigger();
  const QMimeData* data = QApplication::clipboard()->mimeData();
  QVERIFY(data->data("image/svg+xml").contains("<svg"));
  QVERIFY(data->data("image/svg+xml").contains("Smoke?"));
  QVERIFY(data->hasImage());
  menu->hide();

  Choose(1);
  menu = Menu();
  menu->findChild<QAction*>("miCopyChartText")->trigger();
  const QString dashes(50, '-');
  QCOMPARE(QApplication::clipboard()->text(),
           "first\r\n" + dashes + "\r\nsecond\r\n" + dashes + "\r\nthird\r\n" + dashes + "\r\n");
  menu->hide();
}

void ChartExportTest::officeDocumentsConvertToPdf() {
  const QString soffice = QStandardPaths::findExecutable("soffice");
  if (soffice.isEmpty() || QStandardPaths::findExecutable("pdfimages").isEmpty()) {
    QSKIP("LibreOffice or poppler-utils is not installed (scripts/bootstrap.sh installs them)");
  }
  QImage chart(400, 300, QImage::Format_RGB32);
  chart.fill(Qt::darkCyan);
  const QString dir = QString::fromStdString(home_->File("office"));
  QVERIFY(QDir().mkpath(dir));
  const struct {
    const char* name;
    std::string document;
  } files[] = {{"chart.fodt", OfficeDocument(OfficeKind::kText, chart, {})},
               {"slide.fodp", OfficeDocument(OfficeKind::kPresentation, chart, {})},
               {"lines.fodt",
                OfficeDocument(OfficeKind::kText, QImage(),
                               // A control character and a broken UTF-8 byte, as
                               // respondents' texts can hold, must not spoil the file.
                               {"first <answer> & more", "second", "bell\x07 and \xC3( broken"})}};
  for (const auto& f : files) {
    QVERIFY(WriteFileAtomically((dir + "/" + f.name).toStdString(), f.document));
    QProcess convert;
    convert.setWorkingDirectory(dir);
    convert.start(soffice,
                  {"--headless", "--norestore", "-env:UserInstallation=file://" + dir + "/profile",
                   "--convert-to", "pdf", "--outdir", dir, dir + "/" + f.name});
    QVERIFY(convert.waitForFinished(180000));
    const QString pdf = dir + "/" + QString(f.name).section('.', 0, 0) + ".pdf";
    QVERIFY2(QFile::exists(pdf), qPrintable(convert.readAllStandardError()));
    QProcess inspect;
    const bool lines = QString(f.name).startsWith("lines");
    inspect.start(lines ? "pdftotext" : "pdfimages",
                  lines ? QStringList{pdf, "-"} : QStringList{"-list", pdf});
    QVERIFY(inspect.waitForFinished(60000));
    const QString out = inspect.readAllStandardOutput();
    if (lines) {
      QVERIFY2(out.contains("first <answer> & more") && out.contains("second"), qPrintable(out));
      QVERIFY2(out.contains("bell and \uFFFD( broken"), qPrintable(out));
    } else {
      QVERIFY2(out.contains(" 400   300 "), qPrintable(out));
    }
  }
}

void ChartExportTest::exportResponsesWritesTheTableAndOpensTheMapping() {
  Open();
  const QString out = QString::fromStdString(home_->File("out/Answers"));
  QVERIFY(QDir().mkpath(QFileInfo(out).absolutePath()));
  dialogs_.export_names = {out};
  form_->findChild<QAction*>("miFileExport")->trigger();
  QCOMPARE(dialogs_.export_proposal, QString::fromStdString(home_->File("home/s.dbf")));
  QVERIFY(QFile::exists(out + ".dbf"));
  QCOMPARE(opened_.urls, QList<QUrl>{QUrl::fromLocalFile(out + ".txt")});
  QCOMPARE(prompts_.log.size(), size_t{2});
  QVERIFY(QString::fromStdString(prompts_.log[0]).contains(out + ".dbf"));
  // The end says where both files went.
  QCOMPARE(QString::fromStdString(prompts_.log[1]), "info: The responses were written to " + out +
                                                        ".dbf and their field mapping to " + out +
                                                        ".txt.");

  // Cancelled: nothing written, nothing opened.
  form_->findChild<QAction*>("miFileExport")->trigger();
  QCOMPARE(opened_.urls.size(), 1);
}

void ChartExportTest::exportResponsesOffersTheResearchTypes() {
  Open();
  prompts_.log.clear();
  // A name typed with .csv and the type "option texts": labels, memo texts whole.
  const QString out = QString::fromStdString(home_->File("home/Answers.csv"));
  dialogs_.export_names = {out};
  dialogs_.export_labels = true;
  form_->findChild<QAction*>("miFileExport")->trigger();
  QCOMPARE(prompts_.log.size(), size_t{1});
  QCOMPARE(QString::fromStdString(prompts_.log[0]),
           "info: The responses (4 records) were written to " + out + ".");
  QFile csv(out);
  QVERIFY(csv.open(QIODevice::ReadOnly));
  QCOMPARE(csv.readAll(),
           QByteArray("\xEF\xBB\xBFREMOTEIP,EMAIL,AGENT,DATERCVD,QVX1,QVX2\r\n"
                      ",,,,Yes,  first  \r\n,,,,No,\r\n,,,,Yes,second\r\n,,,,No,third\r\n"));
  QVERIFY(opened_.urls.isEmpty());

  // A type no writer knows: the error box, nothing written.
  prompts_.log.clear();
  const QString odd = QString::fromStdString(home_->File("home/Answers.txt"));
  dialogs_.export_names = {odd};
  form_->findChild<QAction*>("miFileExport")->trigger();
  QCOMPARE(prompts_.log.size(), size_t{1});
  QVERIFY(QString::fromStdString(prompts_.log[0]).startsWith("error: "));
  QVERIFY(QString::fromStdString(prompts_.log[0]).contains("\".txt\""));
  QVERIFY(!QFile::exists(odd));
}

}  // namespace quorvant::app

QTEST_MAIN(quorvant::app::ChartExportTest)
#include "chart_export_test.moc"
