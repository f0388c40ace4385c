// The Analysis page: Show question for every style (page, title, the points
// and the visible series), the Other list whatever the filter, empty text
// answers, and the Chart Toolbox: loading without writing back, applying,
// "&Apply To All..." answered both ways, the Pie-only rotation controls and
// the remembered position; the Cross Tabulation window.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>
#include <memory>

#include "app/analysis/analysis_view.h"
#include "app/analysis/chart_toolbox.h"
#include "app/analysis/cross_tab_window.h"
#include "app/analysis/memo_panel_grid.h"
#include "app/analysis/results_summary.h"
#include "app/chart/chart_text.h"
#include "app/chart/chart_view.h"
#include "app/shell/main_form.h"
#include "app_test_env.h"
#include "core/analysis/chi_square.h"
#include "core/responses/response_table.h"
#include "core/shell/settings_keys.h"
#include "core/survey/comma_text.h"
#include "support/scripted_prompts.h"

namespace quorvant::app {

using testing::Child;

class AnalysisPageTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void showQuestionForEveryStyle();
  void theOtherPointListsEveryOtherTextWhateverTheFilter();
  void chartToolboxLoadsAppliesAndAppliesToAll();
  void chartToolboxRemembersItsPlace();
  void printGoesToTheChosenPrinterWithItsCopiesAndSelection();
  void withNothingToCountNothingOfAnotherQuestionStays();
  void theNumbersUnderTheChartNameTheirBases();
  void theTextExportTakesTheOtherTextsShown();
  void aFilterNoRecordMeetsIsSetAsideForTheTextListsToo();
  void crossTabulationCountsCopiesEscapedTextAndPrints();

 private:
  // Items: 0 single choice with Other, 1 numeric all invalid, 2 short text
  // (blank answers only), 3 verbose text, 4 multiple choice nobody ticked.
  void Open();
  // Saves the survey and shows it in a new main window.
  void SaveAndShow(TSurvey& survey) {
    survey.Save();
    form_ = std::make_unique<TQVXMainForm>(prompts_, dialogs_,
                                           QStringList{QString::fromStdString(survey.FileName())});
    form_->show();
  }
  void Choose(int row) { Child<QComboBox>(form_.get(), "cmbQuestionList")->setCurrentIndex(row); }
  TAnalysisView& View() { return form_->AnalysisView(); }
  QStringList Labels() {
    QStringList labels;
    for (const ChartPoint& p : View().Chart().chart().Series(SeriesKind::kBar).Points()) {
      labels << p.label + "=" + QString::number(p.value);
    }
    return labels;
  }

  std::unique_ptr<testing::AppHome> home_;
  testing::ScriptedPrompts prompts_;
  testing::ScriptedWindowDialogs dialogs_;
  std::unique_ptr<TQVXMainForm> form_;
};

void AnalysisPageTest::init() {
  home_ = std::make_unique<testing::AppHome>();
  prompts_.log.clear();
}

void AnalysisPageTest::cleanup() {
  if (form_) form_->Document().Survey().SetModified(false);
  form_.reset();
  home_.reset();
}

void AnalysisPageTest::Open() {
  SettingsStore settings;
  TSurvey survey(settings);
  survey.AddItem("Smoke?", kStyleSingleChoice, 0, 0, 0, true, 0, JoinCommaText({"Yes", "No"}));
  survey.AddItem("Age", kStyleNumeric, 10, 30, 0, false, 0, "");
  survey.AddItem("Name", kStyleText, 0, 0, 0, false, 20, "");
  survey.AddItem("Why?", kStyleText, 0, 0, 0, false, -1, "");
  survey.AddItem("Which?", kStyleMultipleChoice, 0, 0, 0, false, 0, JoinCommaText({"a", "b"}));
  survey.Item(0).ChartType = 0;
  survey.Item(1).ChartType = 3;
  survey.SetHTMLStatus("HTML file generated");
  survey.SetFileName(home_->File("home/s.qvx"));
  TResponseTable table(prompts_);
  table.Create(survey);
  const char* rows[][4] = {{"0", "-9999", "line 1\r\nline 2", ""},
                           {"Oth", "-9999", "", "first other"},
                           {"1", "", "", "second other"},
                           {"0", "-9999", "", ""}};
  for (const auto& r : rows) {
    table.table().Append({{"QVX1", r[0]}, {"QVX2", r[1]}, {"QVX4", r[2]}, {"QVX1OT", r[3]}});
  }
  table.Close();
  SaveAndShow(survey);
}

void AnalysisPageTest::showQuestionForEveryStyle() {
  Open();
  Choose(0);
  QCOMPARE(View().currentWidget()->objectName(), QString("Graph"));
  QCOMPARE(View().Chart().chart().title, QString("Smoke?\r\nType: Single Choice"));
  QCOMPARE(Labels(), QStringList({"Yes=2", "No=1", "Other=1"}));
  QCOMPARE(View().Chart().chart().VisibleKind(), std::optional(SeriesKind::kBar));
  QVERIFY(Child<QPushButton>(form_.get(), "btnChartToolbox")->isEnabled());

  Choose(1);  // every answer invalid: all groups, each 0
  QCOMPARE(View().Chart().chart().title, QString("Age\r\nType: Numeric Value\r\nAverage:     0"));
  QCOMPARE(Labels(), QStringList({"0 to 10=0", "11 to 21=0", "22 to 30=0"}));
  QCOMPARE(View().Chart().chart().VisibleKind(), std::optional(SeriesKind::kHorizontalBar));
  for (int k = 0; k < kSeriesKinds; ++k) {
    QCOMPARE(View().Chart().chart().Series(static_cast<SeriesKind>(k)).Points().size(), size_t{3});
  }

  Choose(2);  // fixed-length text whose answers are all blank
  QCOMPARE(View().currentWidget()->objectName(), QString("ShortText"));
  QCOMPARE(View().ShortTextGrid().model()->rowCount(), 0);
  QVERIFY(!Child<QPushButton>(form_.get(), "btnChartToolbox")->isEnabled());
  QCOMPARE(View().Chart().chart().title, QString("Name\r\nType: Text"));

  Choose(3);  // verbose text: one panel per record that has an answer
  QCOMPARE(View().currentWidget()->objectName(), QString("Detail"));
  QCOMPARE(View().DetailGrid().RecordCount(), 1);
  QCOMPARE(View().DetailGrid().PanelText(0), QString("line 1\nline 2"));
  QCOMPARE(View().DetailGrid().PanelText(1), QString());

  Choose(4);  // nobody ticked anything: an empty chart with its title
  QCOMPARE(Labels(), QStringList());
  QCOMPARE(View().Chart().chart().title, QString("Which?\r\nType: Multiple Choice"));
  QCOMPARE(View().Chart().chart().VisibleKind(), std::optional(SeriesKind::kPie));
  QVERIFY(prompts_.log.empty());
}

void AnalysisPageTest::theOtherPointListsEveryOtherTextWhateverTheFilter() {
  Open();
  form_->Document().Survey().ActiveFilter().AddChoiceCondition(form_->Document().Survey().Item(0),
                                                               true, 0);
  Choose(1);
  Choose(0);
  emit View().Chart().PointClicked("Yes");  // not Other: nothing happens
  QCOMPARE(View().currentWidget()->objectName(), QString("Graph"));
  emit View().Chart().PointClicked("Other");
  QCOMPARE(View().currentWidget()->objectName(), QString("ShortText"));
  QVERIFY(View().OtherResponsesShown());
  QAbstractItemModel* grid = View().ShortTextGrid().model();
  QCOMPARE(grid->rowCount(), 2);
  QStringList texts{grid->index(0, 0).data().toString(), grid->index(1, 0).data().toString()};
  texts.sort();
  QCOMPARE(texts, QStringList({"first other", "second other"}));
  Child<QPushButton>(form_.get(), "btnBackToChart")->click();
  QCOMPARE(View().currentWidget()->objectName(), QString("Graph"));
  QVERIFY(!View().OtherResponsesShown());
}

void AnalysisPageTest::chartToolboxLoadsAppliesAndAppliesToAll() {
  Open();
  Choose(0);
  form_->Document().Survey().SetModified(false);
  TQVXChartTool& tool = form_->ChartToolbox();
  auto* type = Child<QComboBox>(&tool, "cmbChartType");
  auto* rotation = Child<QSlider>(&tool, "tbRotation");
  QCOMPARE(type->currentIndex(), 0);
  QVERIFY(!rotation->isEnabled());
  QVERIFY(!form_->Document().Survey().Modified());  // loading writes nothing back

  type->setCurrentIndex(1);  // Pie: the rotation controls come alive
  QVERIFY(rotation->isEnabled());
  QCOMPARE(form_->Document().Survey().Item(0).ChartType, 1);
  QVERIFY(form_->Document().Survey().Modified());
  QCOMPARE(View().Chart().chart().VisibleKind(), std::optional(SeriesKind::kPie));
  rotation->setValue(90);
  QCOMPARE(Child<QLabel>(&tool, "lblDegrees")->text(), QString("90 Degrees"));
  QCOMPARE(View().Chart().chart().pie_rotation, 90);
  QCOMPARE(form_->Document().Survey().Item(0).Rotation, 90);
  type->setCurrentIndex(2);
  QVERIFY(!rotation->isEnabled());
  Child<QCheckBox>(&tool, "cbDisplayLegend")->setChecked(false);
  QVERIFY(!Child<QComboBox>(&tool, "cmbLegendStyle")->isEnabled());
  QVERIFY(!View().Chart().chart().legend_visible);

  prompts_.confirm_answers = {false};
  Child<QPushButton>(&tool, "btnApplyToAll")->click();
  QCOMPARE(form_->Document().Survey().Item(4).ChartType, 1);  // No changes nothing
  prompts_.confirm_answers = {true};
  Child<QPushButton>(&tool, "btnApplyToAll")->click();
  for (int item : {0, 1, 2, 3, 4}) {
    QCOMPARE(form_->Document().Survey().Item(item).ChartType, 2);
    QCOMPARE(form_->Document().Survey().Item(item).DisplayLegend, false);
  }
  QCOMPARE(prompts_.log.back(),
           std::string("confirm(default yes): Do you want to apply these chart settings to all "
                       "other questions?"));

  // Showing another question loads its settings without writing back.
  form_->Document().Survey().Item(1).ChartType = 4;
  form_->Document().Survey().SetModified(false);
  Choose(1);
  QCOMPARE(type->currentIndex(), 4);
  QVERIFY(!form_->Document().Survey().Modified());
}

void AnalysisPageTest::chartToolboxRemembersItsPlace() {
  Open();
  {
    TQVXChartTool& tool = form_->ChartToolbox();
    tool.move(123, 145);
  }
  form_->Document().Survey().SetModified(false);
  form_.reset();  // the toolbox goes with the window and writes its place
  SettingsStore settings;
  QCOMPARE(settings.ReadInteger(settings::kChartToolbox, "Left", -200), 123);
  QCOMPARE(settings.ReadInteger(settings::kChartToolbox, "Top", -200), 145);
  form_ = std::make_unique<TQVXMainForm>(prompts_, dialogs_, QStringList{});
  QCOMPARE(form_->ChartToolbox().pos(), QPoint(123, 145));
}

// The PDF's page count and laid-out text through poppler; empty when it
// is not installed.
QString Poppler(const QString& tool, const QString& pdf) {
  QProcess run;
  QStringList args{pdf};
  if (tool == "pdftotext") args = QStringList{"-layout", pdf, "-"};
  run.start(tool, args);
  if (!run.waitForFinished(20000) || run.exitCode() != 0) return {};
  return QString::fromUtf8(run.readAllStandardOutput());
}

int PdfPages(const QString& pdf) {
  const QString info = Poppler("pdfinfo", pdf);
  const qsizetype at = info.indexOf("Pages:");
  return at < 0 ? -1 : info.mid(at + 6).section('\n', 0, 0).trimmed().toInt();
}

// Print on the Analysis page, answering "Report Destination" with its
// default, "To the printer".
void PrintToPrinter(QMainWindow& form) {
  testing::AnswerNextModal([](QWidget* w) {
    QCOMPARE(w->windowTitle(), QString("Report Destination"));
    static_cast<QDialog*>(w)->accept();
  });
  form.findChild<QAction*>("tbPrint")->trigger();
}

void AnalysisPageTest::printGoesToTheChosenPrinterWithItsCopiesAndSelection() {
  if (QStandardPaths::findExecutable("pdfinfo").isEmpty()) QSKIP("no poppler-utils");
  Open();
  const size_t messages = prompts_.log.size();
  auto* pages = Child<QTabWidget>(form_.get(), "pgcMain");
  pages->setCurrentIndex(0);
  // Cancelled: nothing printed.
  form_->findChild<QAction*>("tbPrint")->trigger();
  QCOMPARE(dialogs_.selection_offered, std::vector<bool>{false});

  // The questionnaire, twice, into a PDF.
  dialogs_.print_pdf = QString::fromStdString(home_->File("q.pdf"));
  dialogs_.print_copies = 2;
  form_->findChild<QAction*>("miFilePrint")->trigger();
  QCOMPARE(PdfPages(dialogs_.print_pdf), 2);
  const QString questionnaire = Poppler("pdftotext", dialogs_.print_pdf);
  QCOMPARE(questionnaire.count("1) Smoke?"), 2);
  QVERIFY(questionnaire.contains("Other, please specify:"));

  // The Analysis page offers the selection: the chosen question alone.
  pages->setCurrentIndex(1);
  Choose(3);
  dialogs_.print_copies = 1;
  dialogs_.print_selection = true;
  dialogs_.print_pdf = QString::fromStdString(home_->File("one.pdf"));
  PrintToPrinter(*form_);
  QCOMPARE(dialogs_.selection_offered.back(), true);
  const QString one = Poppler("pdftotext", dialogs_.print_pdf);
  QVERIFY2(one.contains("Quorvant Analysis Report - (Untitled), Question #3"), qPrintable(one));
  QVERIFY(one.contains(QRegularExpression("line 1\\s*\n\\s*line 2")));
  QCOMPARE(PdfPages(dialogs_.print_pdf), 1);

  // All of it: the index and a page per question; the view is left on the
  // last question, as its list shows.
  dialogs_.print_selection = false;
  dialogs_.print_pdf = QString::fromStdString(home_->File("all.pdf"));
  PrintToPrinter(*form_);
  const QString all = Poppler("pdftotext", dialogs_.print_pdf);
  QVERIFY(all.contains("Questions"));
  QVERIFY2(all.contains("second other"), qPrintable(all));
  QVERIFY(all.contains("5) Which? [Multiple Choice]"));
  QCOMPARE(PdfPages(dialogs_.print_pdf), 6);
  QCOMPARE(View().CurrentItem(), 4);
  QCOMPARE(Child<QComboBox>(form_.get(), "cmbQuestionList")->currentIndex(), 4);

  form_->findChild<QAction*>("miFilePrintSetup")->trigger();
  QCOMPARE(dialogs_.page_setups, 1);
  QCOMPARE(prompts_.log.size(), messages);
}

// Reset Local Responses leaves nothing to count: whichever question is
// chosen then shows its own title over an empty chart and no numbers, and
// "Responses Received" says 0. A survey whose table is gone starts so.
void AnalysisPageTest::withNothingToCountNothingOfAnotherQuestionStays() {
  Open();
  Choose(0);
  auto* received = Child<QLabel>(form_.get(), "lblResponsesReceived");
  QCOMPARE(received->text(), QString("Responses Received: 4"));
  QVERIFY(!Labels().isEmpty());
  prompts_.confirm_answers = {true};
  form_->findChild<QAction*>("miSurveyResetResponses")->trigger();
  QCOMPARE(received->text(), QString("Responses Received: 0"));
  QVERIFY(Labels().isEmpty());  // at once, and in a bitmap export
  QCOMPARE(View().Chart().chart().title, QString());
  auto* grid = Child<QTableWidget>(form_.get(), "grdResults");
  for (const int row : {4, 1, 0}) {
    Choose(row);
    const TQuestion& q = form_->Document().Survey().Item(row);
    QVERIFY2(View().Chart().chart().title.startsWith(QString::fromStdString(q.Text) + "\r\n"),
             qPrintable(View().Chart().chart().title));
    for (int k = 0; k < kSeriesKinds; ++k) {
      QVERIFY(View().Chart().chart().Series(static_cast<SeriesKind>(k)).Points().empty());
    }
    QCOMPARE(grid->rowCount(), 0);
  }
  QCOMPARE(View().Chart().chart().title, QString("Smoke?\r\nType: Single Choice"));
  Choose(3);  // the memo answers went with the table
  QCOMPARE(View().DetailGrid().RecordCount(), 0);

  // Opened later, the survey whose file still counts 4 has no table.
  form_->Document().Survey().SetSRResponseCount(4);
  form_->Document().Survey().Save();
  form_.reset();
  form_ = std::make_unique<TQVXMainForm>(
      prompts_, dialogs_, QStringList{QString::fromStdString(home_->File("home/s.qvx"))});
  QCOMPARE(Child<QLabel>(form_.get(), "lblResponsesReceived")->text(),
           QString("Responses Received: 0"));
  Choose(0);
  QVERIFY(Labels().isEmpty());
}

// Under the chart: "% of respondents" divides by the records counted,
// "% of answers" by the sum of the points, as the chart's percent marks;
// "No answer" holds the respondents who gave none, a Multiple Choice
// record counting once whatever it ticked; the highest of negative
// numbers is the largest of them.
void AnalysisPageTest::theNumbersUnderTheChartNameTheirBases() {
  SettingsStore settings;
  TSurvey survey(settings);
  survey.AddItem("Colour?", kStyleSingleChoice, 0, 0, 0, false, 0, JoinCommaText({"Red", "Green"}));
  survey.AddItem("Which?", kStyleMultipleChoice, 0, 0, 0, false, 0, JoinCommaText({"a", "b"}));
  survey.AddItem("Frost", kStyleNumeric, 10, 0, -20, false, 0, "");
  survey.SetHTMLStatus("HTML file generated");
  survey.SetFileName(home_->File("home/n.qvx"));
  TResponseTable table(prompts_);
  table.Create(survey);
  const char* rows[][4] = {
      {"0", "Y", "Y", "-5"}, {"0", "Y", "N", "-15"}, {"1", "N", "N", "-9999"}, {"", "N", "N", ""}};
  for (const auto& r : rows) {
    table.table().Append({{"QVX1", r[0]}, {"QVX2_0", r[1]}, {"QVX2_1", r[2]}, {"QVX3", r[3]}});
  }
  table.Close();
  SaveAndShow(survey);
  auto* grid = Child<QTableWidget>(form_.get(), "grdResults");
  QStringList headers;
  for (int c = 0; c < grid->columnCount(); ++c) headers << grid->horizontalHeaderItem(c)->text();
  QCOMPARE(headers, QStringList({"Answer", "Count", "% of respondents", "% of answers"}));

  Choose(1);
  QCOMPARE(View().Summary().SelectedText(),
           QString("a\t2\t50.0 %\t66.7 %\nb\t1\t25.0 %\t33.3 %\nNo answer\t2\t50.0 %\t\n"));
  Choose(0);
  QCOMPARE(View().Summary().SelectedText(),
           QString("Red\t2\t50.0 %\t66.7 %\nGreen\t1\t25.0 %\t33.3 %\nNo answer\t1\t25.0 %\t\n"));
  // The chart's percent marks share the base of "% of answers".
  const ChartSeries& bar = View().Chart().chart().Series(SeriesKind::kBar);
  QCOMPARE(chart_detail::FormatPercent(bar.Points()[0].value,
                                       bar.Points()[0].value + bar.Points()[1].value),
           QString("66.7%"));
  Choose(2);
  QVERIFY2(View().Summary().SelectedText().endsWith("No answer\t2\t50.0 %\t\n"),
           qPrintable(View().Summary().SelectedText()));
  QCOMPARE(Child<QLabel>(form_.get(), "lblStatistics")->text(),
           QString("Average -10    Lowest -15    Highest -5    Answers 2"));
}

// Under "Other Responses", "&Text" takes the Other texts the list shows,
// not the answer codes of the question.
void AnalysisPageTest::theTextExportTakesTheOtherTextsShown() {
  Open();
  Choose(0);
  emit View().Chart().PointClicked("Other");
  Child<QPushButton>(form_.get(), "btnExportChart")->click();
  auto* menu = Child<QMenu>(form_.get(), "pmExportChart");
  menu->findChild<QAction*>("miCopyChartText")->trigger();
  menu->hide();
  const QString text = QApplication::clipboard()->text();
  QVERIFY2(text.contains("first other\r\n") && text.contains("second other\r\n"), qPrintable(text));
  QVERIFY2(!text.contains("Oth\r\n"), qPrintable(text));
  QCOMPARE(text.count(QString(50, '-')), 2);
}

// A filter no record meets: the counts take every record, and the typed
// answers listed beside them too.
void AnalysisPageTest::aFilterNoRecordMeetsIsSetAsideForTheTextListsToo() {
  Open();
  form_->Document().Survey().ActiveFilter().AddNumericCondition(form_->Document().Survey().Item(1),
                                                                0, "100");
  testing::AnswerNextModal([](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
  Child<QPushButton>(form_.get(), "btnSetFilter")->click();
  QCOMPARE(prompts_.log, std::vector<std::string>{"warning: The filter you defined eliminates all "
                                                  "records.  Please try again."});
  Choose(0);
  QCOMPARE(Labels(), QStringList({"Yes=2", "No=1", "Other=1"}));
  Choose(3);
  QCOMPARE(View().DetailGrid().RecordCount(), 1);
  QCOMPARE(View().DetailGrid().PanelText(0), QString("line 1\nline 2"));
}

// The Cross Tabulation window: opened from the Analysis page, it counts the
// two questions chosen, shows the percentages switched on, copies text and
// HTML in which option texts stay text, and ends the printed analysis.
void AnalysisPageTest::crossTabulationCountsCopiesEscapedTextAndPrints() {
  SettingsStore settings;
  TSurvey survey(settings);
  survey.AddItem("Smoke?", kStyleSingleChoice, 0, 0, 0, true, 0,
                 JoinCommaText({"<b>Yes</b>", "No & maybe"}));
  survey.AddItem("Age", kStyleNumeric, 10, 30, 0, false, 0, "");
  survey.AddItem("Which?", kStyleMultipleChoice, 0, 0, 0, false, 0, JoinCommaText({"a", "b"}));
  survey.SetHTMLStatus("HTML file generated");
  survey.SetFileName(home_->File("home/x.qvx"));
  TResponseTable table(prompts_);
  table.Create(survey);
  const char* rows[][4] = {{"0", "5", "Y", "N"},   {"0", "15", "Y", "Y"},    {"1", "25", "N", "Y"},
                           {"Oth", "5", "N", "N"}, {"1", "-9999", "Y", "N"}, {"0", "15", "N", "N"}};
  for (const auto& r : rows) {
    table.table().Append({{"QVX1", r[0]}, {"QVX2", r[1]}, {"QVX3_0", r[2]}, {"QVX3_1", r[3]}});
  }
  table.Close();
  SaveAndShow(survey);
  Child<QTabWidget>(form_.get(), "pgcMain")->setCurrentIndex(1);

  Child<QPushButton>(form_.get(), "btnCrossTab")->click();
  TQVXCrossTab& window = form_->CrossTabulation();
  QVERIFY(window.isVisible());
  QCOMPARE(window.windowTitle(), QString("Cross Tabulation"));
  auto* rows_list = Child<QComboBox>(&window, "cmbCrossRows");
  auto* columns_list = Child<QComboBox>(&window, "cmbCrossColumns");
  QCOMPARE(rows_list->count(), 3);
  rows_list->setCurrentIndex(0);
  columns_list->setCurrentIndex(1);
  auto* grid = Child<QTableWidget>(&window, "grdCrossTable");
  auto line = [grid](int row) {
    QStringList texts;
    for (int c = 0; c < grid->columnCount(); ++c) texts << grid->item(row, c)->text();
    return texts.join("|");
  };
  QCOMPARE(line(0), QString("|0 to 10|11 to 21|22 to 30|Total"));
  QCOMPARE(line(1), QString("<b>Yes</b>|1|2|0|3"));
  QCOMPARE(line(2), QString("No & maybe|0|0|1|1"));
  QCOMPARE(line(3), QString("Other|1|0|0|1"));
  QCOMPARE(line(4), QString("Total|2|2|1|5"));
  auto* notes = Child<QLabel>(&window, "lblCrossNotes");
  QVERIFY2(notes->text().contains("Records counted: 6; left out for a blank answer: 1"),
           qPrintable(notes->text()));
  QVERIFY(notes->text().contains("Pearson chi-square: "));
  QCOMPARE(notes->textFormat(), Qt::PlainText);

  Child<QCheckBox>(&window, "chkRowPercent")->setChecked(true);
  QCOMPARE(line(1), QString("<b>Yes</b>|Count|1|2|0|3"));
  QCOMPARE(line(2), QString("|Row %|33.3%|66.7%|0.0%|100.0%"));

  QApplication::clipboard()->clear();
  Child<QPushButton>(&window, "btnCopyCrossTable")->click();
  const QString html = QApplication::clipboard()->mimeData()->html();
  const QString text = QApplication::clipboard()->mimeData()->text();
  QVERIFY2(html.contains("&lt;b&gt;Yes&lt;/b&gt;"), qPrintable(html));
  QVERIFY(html.contains("No &amp; maybe"));
  QVERIFY(!html.contains("<b>"));
  QVERIFY(html.contains("<td align=\"right\">66.7%</td>"));
  QVERIFY2(text.contains("<b>Yes</b>\tCount\t1\t2\t0\t3\n\tRow %\t33.3%\t66.7%"), qPrintable(text));

  // Printed with the whole analysis while the window is open.
  if (!QStandardPaths::findExecutable("pdftotext").isEmpty()) {
    dialogs_.print_selection = false;
    dialogs_.print_pdf = QString::fromStdString(home_->File("cross.pdf"));
    PrintToPrinter(*form_);
    const QString printed = Poppler("pdftotext", dialogs_.print_pdf);
    QVERIFY2(printed.contains("Cross Tabulation"), qPrintable(printed));
    QVERIFY(printed.contains("Rows: 1) Smoke?"));
    QVERIFY(printed.contains(QRegularExpression("<b>Yes</b>\\s+Count\\s+1\\s+2\\s+0\\s+3")));
    QVERIFY(printed.contains("Records counted: 6; left out for a blank answer: 1"));
  }

  // A Multiple Choice column: no test, and the reason.
  columns_list->setCurrentIndex(2);
  QVERIFY(notes->text().contains(kOverlapNoTest));
  QCOMPARE(line(1), QString("<b>Yes</b>|Count|2|1|3"));
}

}  // namespace quorvant::app

QTEST_MAIN(quorvant::app::AnalysisPageTest)
#include "analysis_page_test.moc"
