// The question library, the template manager and the question import, driven
// through the main window's commands.
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "app/shell/main_form.h"
#include "app_test_env.h"
#include "core/libraries/library_files.h"
#include "core/libraries/response_template.h"
#include "core/shell/settings_keys.h"
#include "core/survey/survey.h"
#include "support/scripted_prompts.h"

using namespace quorvant;
using app::TQVXMainForm;
using testing::Child;

class LibraryWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void libraryInsertsTheSelectedItemsInOrder();
  void libraryCreatesEditsAndRebuildsTheMenu();
  void templateManagerWritesBackOnTheCloseBox();
  void deletedTemplatesLeaveTheApplyMenu();
  void importMakesANewUntitledSurvey();

 private:
  void Start();
  void Trigger(const char* name);
  std::string DataDir() const { return home_->File("data/Quorvant/"); }
  std::string Texts() const;
  static void SelectRows(QListView* list, const std::vector<int>& rows);

  std::unique_ptr<testing::AppHome> home_;
  std::unique_ptr<testing::ScriptedPrompts> prompts_;
  std::unique_ptr<testing::ScriptedWindowDialogs> dialogs_;
  std::unique_ptr<TQVXMainForm> form_;
};

void LibraryWindowsTest::init() {
  home_ = std::make_unique<testing::AppHome>();
  prompts_ = std::make_unique<testing::ScriptedPrompts>();
  dialogs_ = std::make_unique<testing::ScriptedWindowDialogs>();
  QDir().mkpath(QString::fromStdString(DataDir()));
  // A library "Computers" with four items, the one shown last time.
  SettingsStore settings;
  TSurvey library(settings);
  library.SetName("Computers");
  library.AddItem("Which system?", kStyleSingleChoice, 0, 0, 0, false, -1, "Linux,BSD");
  library.AddItem("Hardware", kStyleHeader, 0, 0, 0, false, 0, "");
  library.AddItem("How many?", kStyleNumeric, 1, 9, 1, false, -1, "");
  library.AddItem("Why?", kStyleText, 0, 0, 0, false, 40, "");
  library.SaveAs(DataDir() + "computer.qvl");
}

void LibraryWindowsTest::cleanup() {
  if (form_) form_->Document().Survey().SetModified(false);
  form_.reset();
  QVERIFY2(prompts_->confirm_answers.empty(), "a scripted confirmation was never asked");
  home_.reset();
}

void LibraryWindowsTest::Start() {
  form_ = std::make_unique<TQVXMainForm>(*prompts_, *dialogs_, QStringList{});
  form_->show();
  QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
}

void LibraryWindowsTest::Trigger(const char* name) {
  auto* action = form_->findChild<QAction*>(name);
  QVERIFY2(action != nullptr && action->isEnabled(), name);
  action->trigger();
}

std::string LibraryWindowsTest::Texts() const {
  std::string out;
  for (const TQuestion& q : form_->Document().Survey().Items()) out += q.Text + ";";
  return out;
}

void LibraryWindowsTest::SelectRows(QListView* list, const std::vector<int>& rows) {
  list->clearSelection();
  for (int row : rows) {
    list->selectionModel()->select(list->model()->index(row, 0), QItemSelectionModel::Select);
  }
}

void LibraryWindowsTest::libraryInsertsTheSelectedItemsInOrder() {
  Start();
  form_->Document().Survey().AddItem("Mine", kStyleText, 0, 0, 0, false, -1, "");
  bool checked = false;
  testing::AnswerNextModal([&](QWidget* dialog) {
    QCOMPARE(dialog->windowTitle(), QString("Question Library"));
    QCOMPARE(Child<QComboBox>(dialog, "cmbLibraryName")->currentText(), QString("Computers"));
    auto* list = Child<QListView>(dialog, "lbLibraryQuestions");
    QCOMPARE(list->model()->rowCount(), 4);
    QCOMPARE(list->model()->index(0, 0).data().toString(), QString("Which system?"));
    auto* insert = Child<QPushButton>(dialog, "btnInsert");
    auto* edit = Child<QPushButton>(dialog, "btnEditItem");
    QVERIFY(!insert->isEnabled() && !edit->isEnabled());
    QVERIFY(Child<QPushButton>(dialog, "btnDeleteLibrary")->isEnabled());
    SelectRows(list, {3, 0, 2});
    QVERIFY(insert->isEnabled() && !edit->isEnabled());
    checked = true;
    insert->click();
  });
  Trigger("tbLibrary");
  QVERIFY(checked);
  QCOMPARE(Texts(), std::string("Mine;Which system?;How many?;Why?;"));
  QCOMPARE(form_->Document().Survey().Item(3).LengthOfResponse, 40);
  SettingsStore settings;
  QCOMPARE(settings.Read(settings::kQuestionLibraryLast), DataDir() + "computer.qvl");
  QVERIFY(settings.ReadInteger(settings::kQuestionLibrary, "Top", -200) != -200);
}

void LibraryWindowsTest::libraryCreatesEditsAndRebuildsTheMenu() {
  Start();
  auto* add_menu = Child<QMenu>(form_.get(), "miAddToLibrary");
  QCOMPARE(add_menu->actions().size(), 1);
  int menu_entries = 0;
  testing::AnswerNextModal([&](QWidget* dialog) {
    auto* names = Child<QComboBox>(dialog, "cmbLibraryName");
    testing::AnswerNextModal([](QWidget* name) {
      QCOMPARE(name->windowTitle(), QString("New Library"));
      Child<QLineEdit>(name, "eName")->setText("Games");
      Child<QPushButton>(name, "btnOK")->click();
    });
    Child<QPushButton>(dialog, "btnNewLibrary")->click();
    QCOMPARE(names->count(), 2);
    QCOMPARE(names->currentText(), QString("Games"));
    auto* list = Child<QListView>(dialog, "lbLibraryQuestions");
    QCOMPARE(list->model()->rowCount(), 0);
    menu_entries = static_cast<int>(add_menu->actions().size());

    // Back to "Computers": edit its header in the header editor.
    const int computers = names->findText("Computers");
    names->setCurrentIndex(computers);
    emit names->activated(computers);
    QCOMPARE(list->model()->rowCount(), 4);
    SelectRows(list, {1});
    list->setCurrentIndex(list->model()->index(1, 0));
    testing::AnswerNextModal([](QWidget* header) {
      QCOMPARE(header->objectName(), QString("TQVXHeader"));
      Child<QPlainTextEdit>(header, "memHeader")->setPlainText("Machines");
      Child<QPushButton>(header, "btnOK")->click();
    });
    Child<QPushButton>(dialog, "btnEditItem")->click();
    QCOMPARE(list->model()->index(1, 0).data().toString(), QString("Machines"));
    QVERIFY(list->selectionModel()->isRowSelected(1, {}));
    Child<QPushButton>(dialog, "btnClose")->click();
  });
  Trigger("miSurveyLibrary");
  QCOMPARE(menu_entries, 2);
  QCOMPARE(form_->Document().Survey().ItemCount(), 0);
  SettingsStore settings;
  TSurvey saved(settings);
  saved.Load(DataDir() + "computer.qvl");
  QCOMPARE(saved.Item(1).Text, std::string("Machines"));
  QCOMPARE(saved.Item(1).Style, int(kStyleHeader));
  QCOMPARE(QuestionLibraryName(DataDir() + "ql0.qvl"), std::string("Games"));
}

void LibraryWindowsTest::templateManagerWritesBackOnTheCloseBox() {
  Start();
  testing::AnswerNextModal([](QWidget* manager) {
    QCOMPARE(manager->windowTitle(), QString("Template Manager"));
    auto* list = Child<QListWidget>(manager, "lbTemplates");
    QCOMPARE(list->count(), 2);
    list->setCurrentItem(list->findItems("Yes / No", Qt::MatchExactly).value(0));
    auto* contents = Child<QPlainTextEdit>(manager, "memContents");
    QCOMPARE(contents->toPlainText(), QString("Yes\nNo\nDon't Know"));
    contents->setPlainText("Yes\nNo");
    manager->close();  // the window's own close box
  });
  Trigger("miOptionsTemplateManager");
  QCOMPARE(ReadResponseTemplate(DataDir() + "yesno.qvt").values,
           (std::vector<std::string>{"Yes", "No"}));
}

void LibraryWindowsTest::deletedTemplatesLeaveTheApplyMenu() {
  Start();
  auto* apply = Child<QMenu>(form_.get(), "miApplyTemplate");
  emit Child<QMenu>(form_.get(), "pmQuestions")->aboutToShow();
  QCOMPARE(apply->actions().size(), 2);
  prompts_->confirm_answers = {true};
  testing::AnswerNextModal([](QWidget* manager) {
    auto* list = Child<QListWidget>(manager, "lbTemplates");
    list->setCurrentItem(list->findItems("Agree / Disagree", Qt::MatchExactly).value(0));
    Child<QPushButton>(manager, "btnDeleteTemplate")->click();
    QCOMPARE(list->count(), 1);
    Child<QPushButton>(manager, "btnClose")->click();
  });
  Trigger("miOptionsTemplateManager");
  emit Child<QMenu>(form_.get(), "pmQuestions")->aboutToShow();
  QCOMPARE(apply->actions().size(), 1);
  QCOMPARE(apply->actions().first()->text(), QString("Yes / No"));
}

void LibraryWindowsTest::importMakesANewUntitledSurvey() {
  Start();
  form_->Document().Survey().AddItem("Unsaved", kStyleText, 0, 0, 0, false, -1, "");
  const QString file = home_->Path("home/questions.txt");
  QFile out(file);
  QVERIFY(out.open(QIODevice::WriteOnly));
  out.write("H) Start\r\nLike it?\r\n  -Agree\r\n  Unsure\r\nWhy?\r\n");
  out.close();
  dialogs_->import_names = {file};
  dialogs_->save_answers = {app::SaveAnswer::kNo};
  testing::AnswerNextModal([](QWidget* style) {
    QCOMPARE(style->windowTitle(), QString("Import Survey from Text File"));
    auto* styles = Child<QComboBox>(style, "cmbStyle");
    QCOMPARE(styles->currentIndex(), 0);
    styles->setCurrentIndex(3);
    Child<QPushButton>(style, "btnOK")->click();
  });
  Trigger("miFileImport");
  QCOMPARE(dialogs_->confirm_save_count, 1);
  QCOMPARE(Texts(), std::string(" Start;Like it?;Why?;"));
  const TSurvey& s = form_->Document().Survey();
  QCOMPARE(s.Item(1).Style, int(kStylePulldown));
  QCOMPARE(s.Item(1).OptionLines(),
           (std::vector<std::string>{"Strongly Agree", "Agree", "Neutral", "Disagree",
                                     "Strongly Disagree", "Unsure"}));
  QVERIFY(!s.HasFile());
  QVERIFY(s.Modified());
  QCOMPARE(prompts_->log.back(), std::string("info: Import complete!"));
  QCOMPARE(Child<QListView>(form_.get(), "lbQuestions")->model()->rowCount(), 3);
}

QTEST_MAIN(LibraryWindowsTest)
#include "library_windows_test.moc"
