// The Filter Builder: its page per style, the enabled states after every
// change, adding by double-click and by button, and, through the main
// window, OK recounting under the new filter while Cancel changes nothing;
// also "&Reset Local Responses".
#include "app/analysis/filter_builder.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QtTest>
#include <memory>

#include "app/shell/main_form.h"
#include "app_test_env.h"
#include "core/responses/response_table.h"
#include "core/shell/atomic_file.h"
#include "core/survey/comma_text.h"
#include "support/scripted_prompts.h"

namespace quorvant::app {

using testing::Child;

class FilterBuilderTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void pagesFollowTheQuestionStyle();
  void enabledStatesFollowEveryChange();
  void okRecountsAndCancelKeepsTheFilter();
  void resetLocalResponsesDeletesTheTable();

 private:
  // A saved survey (single choice, text, numeric, multiple choice) whose
  // table holds four records.
  QString MakeSurvey();
  void Choose(TQVXFilterBuilder& dialog, int row) {
    Child<QComboBox>(&dialog, "cmbQuestion")->setCurrentIndex(row);
  }
  QString Page(TQVXFilterBuilder& dialog) {
    return Child<QStackedWidget>(&dialog, "nbFilterType")->currentWidget()->objectName();
  }
  bool Enabled(TQVXFilterBuilder& dialog, const char* name) {
    return Child<QPushButton>(&dialog, name)->isEnabled();
  }

  std::unique_ptr<testing::AppHome> home_;
  std::unique_ptr<SettingsStore> settings_;
  std::unique_ptr<TSurvey> survey_;
  testing::ScriptedPrompts prompts_;
  testing::ScriptedWindowDialogs dialogs_;
  std::vector<TQVXFilterBuilder::QuestionLine> lines_;
};

void FilterBuilderTest::init() {
  home_ = std::make_unique<testing::AppHome>();
  settings_ = std::make_unique<SettingsStore>();
  survey_ = std::make_unique<TSurvey>(*settings_);
  survey_->AddItem("Smoke <b>now</b>?", kStyleSingleChoice, 0, 0, 0, true, 0,
                   JoinCommaText({"Y~Yes", "N~No"}));
  survey_->AddItem("Why?", kStyleText, 0, 0, 0, false, -1, "");
  survey_->AddItem("Age", kStyleNumeric, 10, 99, 0, false, 0, "");
  survey_->AddItem("Which?", kStyleMultipleChoice, 0, 0, 0, false, 0, JoinCommaText({"a", "b"}));
  lines_.clear();
  for (int i = 0; i < survey_->ItemCount(); ++i) {
    lines_.push_back(
        {QString::number(i + 1) + ") " + QString::fromStdString(survey_->Item(i).Text), i});
  }
  prompts_.log.clear();
}

void FilterBuilderTest::cleanup() {
  survey_.reset();
  settings_.reset();
  home_.reset();
}

void FilterBuilderTest::pagesFollowTheQuestionStyle() {
  TQVXFilterBuilder dialog(*survey_, lines_, TFilterList(), nullptr);
  QCOMPARE(dialog.windowTitle(), QString("Filter Builder"));
  dialog.show();
  QCOMPARE(Child<QComboBox>(&dialog, "cmbQuestion")->currentIndex(), 0);
  QCOMPARE(Page(dialog), QString("tsSelectList"));
  auto* options = Child<QListWidget>(&dialog, "lbOptions");
  QCOMPARE(options->count(), 2);
  QCOMPARE(options->item(0)->text(), QString("Y~Yes"));  // the lines as stored
  Choose(dialog, 1);
  QCOMPARE(Page(dialog), QString("tsText"));
  QVERIFY(!Enabled(dialog, "btnAddToFilter"));
  Choose(dialog, 2);
  QCOMPARE(Page(dialog), QString("tsNumeric"));
  Choose(dialog, 3);
  QCOMPARE(Page(dialog), QString("tsSelectList"));
  QCOMPARE(options->item(1)->text(), QString("b"));
}

void FilterBuilderTest::enabledStatesFollowEveryChange() {
  TQVXFilterBuilder dialog(*survey_, lines_, TFilterList(), nullptr);
  dialog.show();
  auto* options = Child<QListWidget>(&dialog, "lbOptions");
  auto* current = Child<QListWidget>(&dialog, "lbCurrentFilter");
  QVERIFY(!Enabled(dialog, "btnAddToFilter"));
  QVERIFY(!Enabled(dialog, "btnRemove"));
  QVERIFY(!Enabled(dialog, "btnClearAll"));

  // A double-click on an option line adds "selected" for it.
  options->setCurrentRow(1);
  QVERIFY(Enabled(dialog, "btnAddToFilter"));
  emit options->itemDoubleClicked(options->item(1));
  QCOMPARE(current->count(), 1);
  QCOMPARE(current->item(0)->text(), QString("Selected \"No\" in \"Smoke <b>now</b>?\""));
  QVERIFY(!Enabled(dialog, "btnAddToFilter"));  // the line choice is cleared
  QVERIFY(Enabled(dialog, "btnClearAll"));
  QVERIFY(!Enabled(dialog, "btnRemove"));

  // The button adds "did not select" when that is chosen.
  Child<QRadioButton>(&dialog, "rbNotSelected")->setChecked(true);
  options->setCurrentRow(0);
  Child<QPushButton>(&dialog, "btnAddToFilter")->click();
  QCOMPARE(dialog.Filter().FilterExpression(),
           QString("QVX1=\"1\" .AND. QVX1<>\"0\"").toStdString());

  // A numeric value must be a number before it can be added.
  Choose(dialog, 2);
  auto* value = Child<QLineEdit>(&dialog, "eValue");
  auto* op = Child<QComboBox>(&dialog, "cmbOperator");
  QCOMPARE(op->currentIndex(), -1);
  value->setText("30");
  QVERIFY(!Enabled(dialog, "btnAddToFilter"));  // no operator yet
  op->setCurrentIndex(1);
  QVERIFY(Enabled(dialog, "btnAddToFilter"));
  auto* why = Child<QLabel>(&dialog, "lblValueProblem");
  for (const char* bad : {"", "3 .OR. .T.", "thirty", "1e3", "-", " 30", "30,5"}) {
    value->setText(bad);
    QVERIFY2(!Enabled(dialog, "btnAddToFilter"), bad);
    // Beside the box, why the value cannot be added (an empty box needs no telling).
    QCOMPARE(why->text().isEmpty(), *bad == 0);
  }
  value->setText(" 30");
  QCOMPARE(why->text(), QString("Type the number without blanks before or after it."));
  value->setText("1e3");
  QCOMPARE(why->text(),
           QString("Write the number out in digits, without an exponent (1000, not 1e3)."));
  value->setText("30,5");
  QCOMPARE(why->text(), QString("Use a point, not a comma, before the decimals (30.5)."));
  value->setText("-2.5");
  QVERIFY(Enabled(dialog, "btnAddToFilter"));
  QCOMPARE(why->text(), QString());
  Child<QPushButton>(&dialog, "btnAddToFilter")->click();
  QCOMPARE(value->text(), QString());
  QCOMPARE(current->count(), 3);
  QCOMPARE(current->item(2)->text(), QString("Response less than \"-2.5\" in \"Age\""));

  current->setCurrentRow(0);
  QVERIFY(Enabled(dialog, "btnRemove"));
  Child<QPushButton>(&dialog, "btnRemove")->click();
  QCOMPARE(current->count(), 2);
  QCOMPARE(dialog.Filter().FilterExpression(), std::string("QVX1<>\"0\" .AND. QVX3<-2.5"));
  Child<QPushButton>(&dialog, "btnClearAll")->click();
  QCOMPARE(current->count(), 0);
  QVERIFY(!Enabled(dialog, "btnClearAll"));
  QVERIFY(!Enabled(dialog, "btnRemove"));
}

QString FilterBuilderTest::MakeSurvey() {
  survey_->SetHTMLStatus("HTML file generated");
  survey_->SetFileName(home_->File("home/s.qvx"));
  TResponseTable table(prompts_);
  table.Create(*survey_);
  for (const char* answer : {"0", "0", "1", "Oth"}) table.table().Append({{"QVX1", answer}});
  table.Close();
  survey_->Save();
  return QString::fromStdString(survey_->FileName());
}

void FilterBuilderTest::okRecountsAndCancelKeepsTheFilter() {
  TQVXMainForm form(prompts_, dialogs_, {MakeSurvey()});
  form.show();
  auto count_of = [&](int index) {
    for (TCountResults* e : form.Document().Survey().Results().CountsOf(1)) {
      if (e->Index == index) return e->Count;
    }
    return -1;
  };
  QCOMPARE(count_of(0), 2);  // counted when the survey was loaded
  QCOMPARE(count_of(2), 1);

  auto add_yes = [](QWidget* modal) {
    auto* options = Child<QListWidget>(modal, "lbOptions");
    options->setCurrentRow(0);
    Child<QPushButton>(modal, "btnAddToFilter")->click();
  };
  testing::AnswerNextModal([&](QWidget* modal) {
    add_yes(modal);
    Child<QPushButton>(modal, "btnCancel")->click();
  });
  Child<QPushButton>(&form, "btnSetFilter")->click();
  QCOMPARE(form.Document().Survey().ActiveFilter().Count(), 0);
  QCOMPARE(Child<QLabel>(&form, "lblFilter")->text(), QString("Filter: None"));
  QCOMPARE(Child<QLabel>(&form, "pnlFilter")->text(), QString());

  testing::AnswerNextModal([&](QWidget* modal) {
    add_yes(modal);
    Child<QPushButton>(modal, "btnOK")->click();
  });
  Child<QPushButton>(&form, "btnSetFilter")->click();
  QCOMPARE(form.Document().Survey().ActiveFilter().FilterExpression(), std::string("QVX1=\"0\""));
  QCOMPARE(Child<QLabel>(&form, "lblFilter")->text(), QString("Filter: QVX1=\"0\""));
  QCOMPARE(Child<QLabel>(&form, "pnlFilter")->text(), QString("Filter: QVX1=\"0\""));
  QCOMPARE(Child<QLabel>(&form, "lblFilter")->textFormat(), Qt::PlainText);
  QCOMPARE(count_of(0), 2);
  QCOMPARE(count_of(1), 0);
  QCOMPARE(count_of(2), 0);

  // The dialog opens on the survey's filter; removing its only condition
  // brings the label back to "Filter: None".
  testing::AnswerNextModal([&](QWidget* modal) {
    QCOMPARE(Child<QListWidget>(modal, "lbCurrentFilter")->count(), 1);
    Child<QListWidget>(modal, "lbCurrentFilter")->setCurrentRow(0);
    Child<QPushButton>(modal, "btnRemove")->click();
    Child<QPushButton>(modal, "btnOK")->click();
  });
  Child<QPushButton>(&form, "btnSetFilter")->click();
  QCOMPARE(Child<QLabel>(&form, "lblFilter")->text(), QString("Filter: None"));
  QCOMPARE(count_of(1), 1);
  QVERIFY(prompts_.log.empty());
  form.Document().Survey().SetModified(false);
}

void FilterBuilderTest::resetLocalResponsesDeletesTheTable() {
  TQVXMainForm form(prompts_, dialogs_, {MakeSurvey()});
  form.show();
  const std::string dbf = form.Document().Survey().SRResponseFile();
  QVERIFY(FileExists(dbf));
  auto* reset = form.findChild<QAction*>("miSurveyResetResponses");
  prompts_.confirm_answers = {false};
  reset->trigger();
  QVERIFY(FileExists(dbf));
  prompts_.confirm_answers = {true};
  reset->trigger();
  QVERIFY(!FileExists(dbf));
  QCOMPARE(form.Document().Survey().SRLastUpdate(), std::string("Never"));
  QVERIFY(form.Document().Survey().PubHistory().find("Response file reset") != std::string::npos);
  QCOMPARE(Child<QLabel>(&form, "pnlModified")->text(), QString(" Modified "));
  QCOMPARE(
      prompts_.log.back(),
      std::string("confirm(default no): Are you sure you want to reset your local responses?"));
  form.Document().Survey().SetModified(false);
}

}  // namespace quorvant::app

QTEST_MAIN(quorvant::app::FilterBuilderTest)
#include "filter_builder_test.moc"
