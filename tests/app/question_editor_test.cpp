// The question editor: the grouping computation as the person types, the
// fields that cannot be left blank, kept values, and the template menu.
#include "app/survey/question_editor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <memory>

#include "app_test_env.h"
#include "core/libraries/response_template.h"
#include "core/shell/atomic_file.h"
#include "core/shell/settings_keys.h"
#include "core/shell/settings_store.h"
#include "core/survey/comma_text.h"
#include "core/survey/question.h"
#include "support/scripted_prompts.h"

using namespace quorvant;
using app::TQVXQuestion;

class QuestionEditorTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void groupingFollowsTheRange_data();
  void groupingFollowsTheRange();
  void editingTheStepKeepsIt();
  void blankRangeFieldsKeepTheFocus();
  void resetKeepsLengthAndRange();
  void fieldsFollowTheStyle();
  void templatesReplaceOptionsAndSaveToFreeNames();
  void tabMovesOnAndLineEndsAreTrimmed();

 private:
  template <typename T>
  T* Child(const char* name) {
    T* child = editor_->findChild<T*>(name);
    if (child == nullptr) qFatal("no child %s", name);
    return child;
  }
  void Type(const char* field, const QString& text);

  std::unique_ptr<testing::AppHome> home_;
  std::unique_ptr<SettingsStore> settings_;
  testing::ScriptedPrompts prompts_;
  std::unique_ptr<TQVXQuestion> editor_;
  std::string data_dir_;
};

void QuestionEditorTest::init() {
  home_ = std::make_unique<testing::AppHome>();
  settings_ = std::make_unique<SettingsStore>();
  data_dir_ = home_->File("data/");
  QDir().mkpath(QString::fromStdString(data_dir_));
  editor_ = std::make_unique<TQVXQuestion>(*settings_, prompts_, data_dir_, nullptr);
  editor_->show();
  QVERIFY(QTest::qWaitForWindowExposed(editor_.get()));
}

void QuestionEditorTest::cleanup() {
  editor_.reset();
  settings_.reset();
  home_.reset();
}

void QuestionEditorTest::Type(const char* field, const QString& text) {
  auto* edit = Child<QLineEdit>(field);
  edit->selectAll();
  edit->del();
  QTest::keyClicks(edit, text);
}

void QuestionEditorTest::groupingFollowsTheRange_data() {
  QTest::addColumn<QString>("min");
  QTest::addColumn<QString>("max");
  QTest::addColumn<QString>("step");
  QTest::addColumn<QString>("label");
  QTest::newRow("1 to 10: one group of ten") << "1"
                                             << "10"
                                             << "10"
                                             << "(Results will be groups of 1)";
  QTest::newRow("1 to 100: step 9, 11 groups") << "1"
                                               << "100"
                                               << "9"
                                               << "(Results will be groups of 11)";
  QTest::newRow("5 to 10: 2.5 rounds to even") << "5"
                                               << "10"
                                               << "2"
                                               << "(Results will be groups of 2)";
  QTest::newRow("0 counts as 1") << "0"
                                 << "50"
                                 << "4"
                                 << "(Results will be groups of 12)";
  QTest::newRow("maximum below minimum") << "20"
                                         << "10"
                                         << "1"
                                         << "(Results will be groups of 1)";
}

void QuestionEditorTest::groupingFollowsTheRange() {
  QFETCH(QString, min);
  QFETCH(QString, max);
  Child<QComboBox>("cmbStyle")->setCurrentIndex(5);
  Type("eMaximum", max);
  Type("eMinimum", min);
  QTEST(Child<QLineEdit>("eStep")->text(), "step");
  QTEST(Child<QLabel>("lblGroups")->text(), "label");
}

void QuestionEditorTest::editingTheStepKeepsIt() {
  Child<QComboBox>("cmbStyle")->setCurrentIndex(5);
  Type("eMinimum", "1");
  Type("eMaximum", "12");
  Type("eStep", "2");
  QCOMPARE(Child<QLineEdit>("eStep")->text(), QString("2"));
  QCOMPARE(Child<QLabel>("lblGroups")->text(), QString("(Results will be groups of 6)"));
  Type("eStep", "0");
  QCOMPARE(Child<QLabel>("lblGroups")->text(), QString("(Results will be groups of 1)"));
  QTest::keyClicks(Child<QLineEdit>("eStep"), "x");  // digits only
  QCOMPARE(Child<QLineEdit>("eStep")->text(), QString("0"));
}

void QuestionEditorTest::blankRangeFieldsKeepTheFocus() {
  Child<QComboBox>("cmbStyle")->setCurrentIndex(5);
  auto* min = Child<QLineEdit>("eMinimum");
  min->setFocus();
  QTRY_VERIFY(min->hasFocus());
  min->clear();
  QTest::keyClick(min, Qt::Key_Tab);
  QTRY_VERIFY(min->hasFocus());
  QTest::keyClicks(min, "3");
  QTest::keyClick(min, Qt::Key_Tab);
  QTRY_VERIFY(!min->hasFocus());
}

void QuestionEditorTest::resetKeepsLengthAndRange() {
  TQuestion item;
  item.Text = "How old are you?";
  item.Style = kStyleNumeric;
  item.MinValue = 18;
  item.MaxValue = 99;
  item.StepValue = 9;
  item.LengthOfResponse = 12;
  item.IncludeOther = true;
  item.Options = "a,b";
  item.Required = true;
  editor_->Fill(item);
  QVERIFY(Child<QCheckBox>("cbRequired")->isChecked());
  QVERIFY(editor_->Fields().required);
  editor_->Reset();
  QVERIFY(!Child<QCheckBox>("cbRequired")->isChecked());
  const ItemFields f = editor_->Fields();
  QCOMPARE(f.text, std::string());
  QCOMPARE(f.style, int(kStyleSingleChoice));
  QCOMPARE(f.options, std::string());
  QCOMPARE(f.include_other, false);
  QCOMPARE(f.required, false);
  QCOMPARE(f.min, 18);
  QCOMPARE(f.max, 99);
  QCOMPARE(f.step, 9);
  QCOMPARE(f.length, -1);  // the length counts only for text questions
}

void QuestionEditorTest::fieldsFollowTheStyle() {
  editor_->Reset();
  Child<QComboBox>("cmbStyle")->setCurrentIndex(3);
  Child<QRadioButton>("rbLimit")->setChecked(true);
  Child<QLineEdit>("eLength")->clear();
  QCOMPARE(editor_->Fields().length, 0);  // a blank length counts as 0
  Child<QLineEdit>("eLength")->setText("120");
  QCOMPARE(editor_->Fields().length, 120);
  Child<QRadioButton>("rbVerbose")->setChecked(true);
  QCOMPARE(editor_->Fields().length, -1);
  QCOMPARE(editor_->Fields().style, int(kStyleText));
}

void QuestionEditorTest::templatesReplaceOptionsAndSaveToFreeNames() {
  WriteResponseTemplate(data_dir_ + "b.qvt", {"Same", {"one", "two"}});
  WriteResponseTemplate(data_dir_ + "a.qvt", {"Same", {"x"}});
  editor_->RebuildTemplates();
  QMenu* insert = Child<QMenu>("miInsertFromTemplate");
  QCOMPARE(insert->actions().size(), 2);
  QCOMPARE(insert->actions()[0]->text(), QString("Same"));
  Child<QPlainTextEdit>("memResponses")->setPlainText("old 1\nold 2\nold 3");
  insert->actions()[1]->trigger();  // b.qvt
  QCOMPARE(Child<QPlainTextEdit>("memResponses")->toPlainText(), QString("one\ntwo"));

  for (const char* description : {"First", "Second"}) {
    testing::AnswerNextModal([description](QWidget* dialog) {
      auto* ok = dialog->findChild<QPushButton*>("btnOK");
      QVERIFY(!ok->isEnabled());
      dialog->findChild<QLineEdit*>("eDescription")->setText(description);
      QVERIFY(ok->isEnabled());
      ok->click();
    });
    Child<QAction>("miSaveToTemplate")->trigger();
  }
  QCOMPARE(ReadResponseTemplate(data_dir_ + "rtemp0.qvt").title, std::string("First"));
  QCOMPARE(ReadResponseTemplate(data_dir_ + "rtemp1.qvt").values,
           (std::vector<std::string>{"one", "two"}));
  QCOMPARE(editor_->TemplateFiles().size(), size_t(4));
  QVERIFY(prompts_.log.empty());
}

// Tab in the Responses box goes to the next control as everywhere else; the
// blanks and tabs that end an option line are not saved with it, here nor in
// a template saved from here.
void QuestionEditorTest::tabMovesOnAndLineEndsAreTrimmed() {
  auto* responses = Child<QPlainTextEdit>("memResponses");
  responses->setFocus();
  QCOMPARE(editor_->focusWidget(), responses);
  QTest::keyClicks(responses, "Cherry");
  QTest::keyClick(responses, Qt::Key_Tab);
  QCOMPARE(responses->toPlainText(), QString("Cherry"));
  QVERIFY(editor_->focusWidget() != responses);
  responses->setPlainText("Apple \t\nCherry\t\n\n  Plum~3  \nPear\n");
  const std::vector<std::string> expected{"Apple", "Cherry", "", "  Plum~3", "Pear"};
  QCOMPARE(SplitCommaText(editor_->Fields().options), expected);
  bool tab_typed = true;
  testing::AnswerNextModal([&tab_typed](QWidget* dialog) {
    auto* box = dialog->findChild<QPlainTextEdit*>("memResponses");
    const QString before = box->toPlainText();
    QTest::keyClick(box, Qt::Key_Tab);
    tab_typed = box->toPlainText() != before;
    dialog->findChild<QLineEdit*>("eDescription")->setText("Fruit");
    dialog->findChild<QPushButton*>("btnOK")->click();
  });
  Child<QAction>("miSaveToTemplate")->trigger();
  QVERIFY(!tab_typed);
  QCOMPARE(ReadResponseTemplate(data_dir_ + "rtemp0.qvt").values, expected);
}

QTEST_MAIN(QuestionEditorTest)
#include "question_editor_test.moc"
