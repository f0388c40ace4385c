// The main window driven as a person would: commands triggered by object
// name, modal dialogs answered by scripted prompts or a queued lambda.
#include "app/shell/main_form.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QEventLoop>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "app/shell/about_box.h"
#include "app/shell/directory_chooser.h"
#include "app/survey/header_editor.h"
#include "app/survey/question_editor.h"
#include "app_test_env.h"
#include "core/shell/atomic_file.h"
#include "core/shell/settings_keys.h"
#include "core/survey/comma_text.h"
#include "support/scripted_prompts.h"

using namespace quorvant;
using app::SaveAnswer;
using app::TQVXMainForm;

class MainFormTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void freshAccountStartUp();
  void addQuestionInsertsAfterASingleSelection();
  void deletingTheLastLinesKeepsFocus();
  void movingABlockKeepsItSelected();
  void copyPasteGivesNewIdentifiersAndPastesTwice();
  void skipGroupCreationSetsGroupSize();
  void ungroupDissolvesTouchingGroups();
  void switchedOffWarningsAskNothing();
  void cancelOnExitKeepsTheProgramRunning();
  void yesOnExitSavesAndWritesSettings();
  void saveAsOwnNameInPlaceAnotherNameAFreshCopy();
  void recentFilesKeepSixAndMoveReAddedOnes();
  void reopenMenuFollowsSavesOpensAndMissingFiles();
  void templatesApplyToChoiceQuestionsOfAMixedSelection();
  void previewKeepsAnUnpublishedSurveyUnpublished();
  void copyPutsPlainTextOnTheSystemClipboard();
  void propertiesOfAPublishedSurveyAskFirst();
  void preferencesSetTheDataDirectoryAndExtension();
  void longLivedDialogsKeepPlacementAndValuesFromTheirFirstUse();
  void aboutBoxClosesByItsButtonAndByEsc();
  void theSplashIsFreedWhenTheWindowFirstShows();

 private:
  void Start(const QStringList& arguments = {});
  void Trigger(const char* name);
  void Select(const std::vector<int>& lines);
  // A saved survey file with `count` single-choice questions "q0" ...
  QString MakeSurveyFile(const QString& name, int count);
  std::string Texts();

  std::unique_ptr<testing::AppHome> home_;
  std::unique_ptr<testing::ScriptedPrompts> prompts_;
  std::unique_ptr<testing::ScriptedWindowDialogs> dialogs_;
  std::unique_ptr<TQVXMainForm> form_;
};

void MainFormTest::init() {
  home_ = std::make_unique<testing::AppHome>();
  prompts_ = std::make_unique<testing::ScriptedPrompts>();
  dialogs_ = std::make_unique<testing::ScriptedWindowDialogs>();
}

void MainFormTest::cleanup() {
  if (form_) form_->Document().Survey().SetModified(false);
  form_.reset();
  QVERIFY2(prompts_->suppressible_answers.empty(), "a scripted warning was never asked");
  QVERIFY2(prompts_->confirm_answers.empty(), "a scripted confirmation was never asked");
  home_.reset();
}

void MainFormTest::Start(const QStringList& arguments) {
  form_ = std::make_unique<TQVXMainForm>(*prompts_, *dialogs_, arguments);
  form_->show();
  QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
}

void MainFormTest::Trigger(const char* name) {
  auto* action = form_->findChild<QAction*>(name);
  QVERIFY2(action != nullptr, name);
  QVERIFY2(action->isEnabled(), name);
  action->trigger();
}

void MainFormTest::Select(const std::vector<int>& lines) {
  form_->SelectLines(lines);
  form_->RefreshMainWindow();
}

QString MainFormTest::MakeSurveyFile(const QString& name, int count) {
  SettingsStore settings;
  TSurvey survey(settings);
  for (int i = 0; i < count; ++i) {
    survey.AddItem("q" + std::to_string(i), kStyleSingleChoice, 1, 10, 1, false, -1, "Yes,No");
  }
  const QString path = home_->Path("home/" + name);
  survey.SaveAs(path.toStdString());
  return path;
}

std::string MainFormTest::Texts() {
  std::string out;
  for (const TQuestion& q : form_->Document().Survey().Items())
    out += (out.empty() ? "" : " ") + q.Text;
  return out;
}

void MainFormTest::freshAccountStartUp() {
  Start();
  QCOMPARE(form_->size(), QSize(600, 450));
  const QRect screen = form_->screen()->availableGeometry();
  QVERIFY(qAbs(form_->frameGeometry().center().x() - screen.center().x()) <= 2);
  QVERIFY(qAbs(form_->frameGeometry().center().y() - screen.center().y()) <= 2);
  QCOMPARE(form_->windowTitle(), QString("Quorvant - (Untitled)"));
  QCOMPARE(form_->DataDirectory(), home_->File("data/Quorvant/"));
  QCOMPARE(form_->Document().LastDirectory(), home_->File("home"));
  QVERIFY(form_->Document().Recent().Files().empty());
  QVERIFY(FileExists(home_->File("data/Quorvant/yesno.qvt")));
  QVERIFY(FileExists(home_->File("data/Quorvant/agree.qvt")));
  QVERIFY(FileExists(home_->File("data/applications/org.quorvant.Quorvant.desktop")));
  QCOMPARE(form_->QuestionEditor().TemplateFiles().size(), size_t(2));
  QVERIFY(!form_->findChild<QAction*>("miFileSave")->isEnabled());
  QVERIFY(form_->findChild<QMenu*>("miFileReopen")->isEmpty());
}

void MainFormTest::addQuestionInsertsAfterASingleSelection() {
  Start({MakeSurveyFile("five.qvx", 5)});
  Select({1});
  testing::AnswerNextModal([](QWidget* editor) {
    QVERIFY(editor != nullptr);
    editor->findChild<QPlainTextEdit*>("memQuestion")->setPlainText("inserted");
    editor->findChild<QPlainTextEdit*>("memResponses")->setPlainText("Red\nGreen\n");
    editor->findChild<QCheckBox*>("cbRequired")->click();
    editor->findChild<QPushButton*>("btnOK")->click();
  });
  Trigger("actInsertQuestion");
  QVERIFY(form_->Document().Survey().Item(2).Required);
  QCOMPARE(Texts(), std::string("q0 q1 inserted q2 q3 q4"));
  QCOMPARE(form_->Document().Survey().Item(2).Options, std::string("Red,Green"));
  QCOMPARE(form_->SelectedLines(), std::vector<int>{2});

  Select({0, 3});
  testing::AnswerNextModal([](QWidget* editor) {
    editor->findChild<QPlainTextEdit*>("memQuestion")->setPlainText("appended");
    editor->findChild<QPushButton*>("btnOK")->click();
  });
  form_->findChild<QPushButton*>("btnAddQuestion")->click();
  QCOMPARE(Texts(), std::string("q0 q1 inserted q2 q3 q4 appended"));
  QVERIFY(!form_->Document().Survey().Item(6).Required);  // a new question starts unticked
}

void MainFormTest::deletingTheLastLinesKeepsFocus() {
  Start({MakeSurveyFile("five.qvx", 5)});
  Select({3, 4});
  prompts_->suppressible_answers = {{WarningAnswer::kYes, false}};
  Trigger("actDeleteItems");
  QCOMPARE(Texts(), std::string("q0 q1 q2"));
  QCOMPARE(form_->SelectedLines(), std::vector<int>{2});
  QCOMPARE(form_->findChild<QListView*>("lbQuestions")->currentIndex().row(), 2);
}

void MainFormTest::movingABlockKeepsItSelected() {
  Start({MakeSurveyFile("five.qvx", 5)});
  Select({2, 3});
  form_->findChild<QPushButton*>("btnMoveUp")->click();
  QCOMPARE(Texts(), std::string("q0 q2 q3 q1 q4"));
  QCOMPARE(form_->SelectedLines(), (std::vector<int>{1, 2}));
  Select({0});
  QVERIFY(!form_->findChild<QPushButton*>("btnMoveUp")->isEnabled());
  QVERIFY(form_->findChild<QPushButton*>("btnMoveDown")->isEnabled());
}

void MainFormTest::copyPasteGivesNewIdentifiersAndPastesTwice() {
  Start({MakeSurveyFile("nine.qvx", 9)});
  QVERIFY(!form_->findChild<QAction*>("tbPaste")->isEnabled());
  Select({4, 8});
  Trigger("miEditCopy");
  QCOMPARE(form_->ClipboardSurvey().Item(0).ID, 1);
  QCOMPARE(form_->ClipboardSurvey().Item(1).ID, 2);
  Select({0});
  Trigger("tbPaste");
  Trigger("miEditPaste");
  const TSurvey& s = form_->Document().Survey();
  QCOMPARE(s.ItemCount(), 13);
  QCOMPARE(s.Item(9).ID, 10);
  QCOMPARE(s.Item(10).ID, 11);
  QCOMPARE(s.Item(12).Text, std::string("q8"));
  QCOMPARE(form_->SelectedLines(), (std::vector<int>{11, 12}));
}

void MainFormTest::skipGroupCreationSetsGroupSize() {
  Start({MakeSurveyFile("five.qvx", 5)});
  Select({2, 3});
  auto* button = form_->findChild<QToolButton*>("btnSkipGroup");
  QVERIFY(button->isEnabled());
  QCOMPARE(button->menu()->objectName(), QString("pmCreateSkipGroup"));
  testing::AnswerNextModal([](QWidget* dialog) {
    auto* ok = dialog->findChild<QPushButton*>("btnOK");
    QVERIFY(!ok->isEnabled());
    dialog->findChild<QComboBox*>("cmbResponse")->setCurrentIndex(1);
    QVERIFY(ok->isEnabled());
    ok->click();
  });
  Trigger("miCreateSkipGroup");
  const TSurvey& s = form_->Document().Survey();
  QCOMPARE(s.Item(1).SkipGroupOfResponse, 1);
  QCOMPARE(s.Item(2).SkipGroupOfQuestion, s.Item(1).ID);
  QCOMPARE(s.Item(3).SkipGroupOfQuestion, s.Item(1).ID);
  QCOMPARE(s.Item(1).GroupSize, 3);
  QCOMPARE(s.Item(3).DisplayNumber, std::string("2b"));
  QCOMPARE(form_->findChild<QListView*>("lbQuestions")->model()->index(2, 0).data().toString(),
           QString("2a) q2"));
  QCOMPARE(button->menu()->objectName(), QString("pmUngroup"));
  QVERIFY(form_->Document().Survey().Modified());
}

void MainFormTest::ungroupDissolvesTouchingGroups() {
  Start({MakeSurveyFile("five.qvx", 5)});
  TSurvey& s = form_->Document().Survey();
  s.Item(0).SkipGroupOfResponse = 0;
  s.Item(1).SkipGroupOfQuestion = s.Item(0).ID;
  s.Item(2).SkipGroupOfQuestion = s.Item(0).ID;
  s.Item(2).SkipGroupOfResponse = 1;  // the last member heads the next group
  s.Item(3).SkipGroupOfQuestion = s.Item(2).ID;
  form_->RebuildQuestionList();
  Select({1});
  prompts_->suppressible_answers = {{WarningAnswer::kYes, false}};
  Trigger("miUngroup");
  for (const TQuestion& q : s.Items()) {
    QCOMPARE(q.SkipGroupOfQuestion, -1);
    QCOMPARE(q.SkipGroupOfResponse, -1);
  }
  QCOMPARE(prompts_->log.back(),
           std::string("suppressible: Are you sure you want to ungroup all the questions in "
                       "this skip group?"));
}

void MainFormTest::switchedOffWarningsAskNothing() {
  Start({MakeSurveyFile("five.qvx", 5)});
  form_->Document().Survey().SetHTMLStatus("HTML file generated");
  form_->Document().Survey().Item(0).SkipGroupOfResponse = 0;
  form_->Document().Survey().Item(1).SkipGroupOfQuestion = form_->Document().Survey().Item(0).ID;
  SettingsStore settings;
  for (auto key : {settings::kWarnDeleteQuestions, settings::kWarnChangesToPublishedSurvey,
                   settings::kWarnMoveSkipGroup}) {
    settings.WriteBool(settings::kDisabledWarnings, key, true);
  }
  Select({3});
  form_->findChild<QPushButton*>("btnMoveDown")->click();
  Select({0});
  Trigger("miDeleteItem");
  QVERIFY(prompts_->log.empty());
  QCOMPARE(Texts(), std::string("q1 q2 q4 q3"));
}

void MainFormTest::cancelOnExitKeepsTheProgramRunning() {
  Start({MakeSurveyFile("five.qvx", 5)});
  Select({0});
  Trigger("miEditCut");
  dialogs_->save_answers = {SaveAnswer::kCancel};
  Trigger("miFileExit");
  QVERIFY(form_->isVisible());
  QCOMPARE(dialogs_->confirm_save_count, 1);
  QCOMPARE(Texts(), std::string("q1 q2 q3 q4"));
  QVERIFY(form_->Document().Survey().Modified());
  SettingsStore settings;
  QCOMPARE(settings.Read(settings::kWindowTop), settings::kNotStored);
}

void MainFormTest::yesOnExitSavesAndWritesSettings() {
  const QString path = MakeSurveyFile("five.qvx", 5);
  Start({path});
  Select({0});
  Trigger("miEditCut");
  dialogs_->save_answers = {SaveAnswer::kYes};
  Trigger("miFileExit");
  QVERIFY(!form_->isVisible());
  SettingsStore settings;
  TSurvey back(settings);
  back.Load(path.toStdString());
  QCOMPARE(back.ItemCount(), 4);
  QCOMPARE(settings.Read(settings::kLastOpenFile), path.toStdString());
  QCOMPARE(settings.ReadString(settings::kMRUList, "File 0", ""), path.toStdString());
  QCOMPARE(settings.Read(settings::kWindowWidth), 600);
  QVERIFY(settings.Read(settings::kWindowTop) != settings::kNotStored);
}

// Save As under the survey's own name saves in place; under another name it
// writes a fresh copy and opens it.
void MainFormTest::saveAsOwnNameInPlaceAnotherNameAFreshCopy() {
  const QString path = MakeSurveyFile("own.qvx", 3);
  Start({path});
  TSurvey& s = form_->Document().Survey();
  s.SetName("Renamed");
  s.SetDataFileName("responses.dbf");
  dialogs_->save_names = {path};
  Trigger("miFileSaveAs");
  QCOMPARE(s.FileName(), path.toStdString());
  QCOMPARE(s.DataFileName(), std::string());
  QVERIFY(!s.Modified());
  QCOMPARE(form_->windowTitle(), QString("Quorvant - Renamed"));
  QCOMPARE(form_->Document().LastDirectory(), home_->File("home"));
  QStringList files = QDir(home_->Path("home")).entryList(QDir::Files);
  QCOMPARE(files, QStringList{"own.qvx"});

  s.Item(0).SkipGroupOfResponse = 1;
  s.Item(1).SkipGroupOfQuestion = s.Item(0).ID;
  s.SetHTMLStatus("HTML file generated");
  s.SetSRResponseCount(7);
  const std::string old_unique = s.UniqueName();
  QDir().mkpath(home_->Path("copies"));
  dialogs_->save_names = {home_->Path("copies/copy")};
  Trigger("miFileSaveAs");
  const std::string copy = home_->File("copies/copy.qvx");
  QCOMPARE(s.FileName(), copy);
  QVERIFY(s.UniqueName() != old_unique);
  QCOMPARE(s.HTMLStatus(), std::string("HTML file not generated"));
  QCOMPARE(s.SRResponseCount(), 0);
  QCOMPARE(s.ItemCount(), 3);
  QCOMPARE(s.Item(0).SkipGroupOfResponse, -1);
  QCOMPARE(s.Item(1).SkipGroupOfQuestion, -1);
  QCOMPARE(form_->windowTitle(), QString("Quorvant - Renamed"));
  QCOMPARE(form_->Document().LastDirectory(), home_->File("copies"));
  QCOMPARE(form_->Document().Recent().Files().front(), copy);
}

void MainFormTest::recentFilesKeepSixAndMoveReAddedOnes() {
  Start();
  std::vector<QString> paths;
  for (int i = 1; i <= 8; ++i) paths.push_back(MakeSurveyFile(QString("s%1.qvx").arg(i), 1));
  // Opening a file puts the one open before it on the list.
  for (int i = 0; i < 8; ++i) {
    dialogs_->open_names = {paths[static_cast<size_t>(i)]};
    Trigger("miFileOpen");
  }
  const std::vector<std::string>& files = form_->Document().Recent().Files();
  QCOMPARE(files.size(), size_t(6));
  QCOMPARE(files.front(), paths[7].toStdString());  // the open one is on it too
  QCOMPARE(files.back(), paths[2].toStdString());
  dialogs_->open_names = {paths[3]};
  Trigger("miFileOpen");  // s4 moves to the head without growing the list
  QCOMPARE(files.size(), size_t(6));
  QCOMPARE(files.front(), paths[3].toStdString());
  QCOMPARE(files[1], paths[7].toStdString());
  QCOMPARE(form_->findChild<QMenu*>("miFileReopen")->actions().size(), 6);
  dialogs_->open_names = {paths[5]};
  Trigger("miFileOpen");  // and so does s6, which had one place left to fall
  QCOMPARE(files.front(), paths[5].toStdString());
  QCOMPARE(files.size(), size_t(6));
}

// The Reopen menu lists bare names for the last folder, drops a file that
// is gone, and offers a survey just saved or opened at once.
void MainFormTest::reopenMenuFollowsSavesOpensAndMissingFiles() {
  const QString here = MakeSurveyFile("here.qvx", 2);
  QDir().mkpath(home_->Path("elsewhere"));
  SettingsStore settings;
  settings.WriteString(settings::kMRUList, "File 0", here.toStdString());
  settings.WriteString(settings::kMRUList, "File 1", home_->File("elsewhere/gone.qvx"));
  Start();
  QMenu* reopen = form_->findChild<QMenu*>("miFileReopen");
  QCOMPARE(reopen->actions().size(), 2);
  QCOMPARE(reopen->actions()[0]->text(), QString("here.qvx"));
  QCOMPARE(reopen->actions()[1]->text(), home_->Path("elsewhere/gone.qvx"));
  reopen->actions()[1]->trigger();
  QCOMPARE(dialogs_->not_found.size(), size_t(1));
  QCOMPARE(dialogs_->not_found[0], home_->Path("elsewhere/gone.qvx") +
                                       " is no longer there.  It may have been deleted or moved.");
  QCOMPARE(form_->Document().Recent().Files().size(), size_t(1));
  reopen->actions()[0]->trigger();
  QCOMPARE(form_->Document().Survey().FileName(), here.toStdString());
  QCOMPARE(form_->Document().Survey().ItemCount(), 2);
  QCOMPARE(reopen->actions().size(), 1);  // the open file, to go back to its saved state
  QCOMPARE(reopen->actions()[0]->text(), QString("here.qvx"));

  // A new survey saved as "fruit" is written as fruit.qvx and offered at
  // once; so is a file opened after it.
  Trigger("miFileNew");
  form_->Document().Survey().AddItem("Apple?", kStyleSingleChoice, 0, 0, 0, false, 0, "Yes,No");
  dialogs_->save_names = {home_->Path("home/fruit")};
  Trigger("miFileSaveAs");
  QCOMPARE(form_->Document().Survey().FileName(), home_->File("home/fruit.qvx"));
  QVERIFY(FileExists(home_->File("home/fruit.qvx")));
  QVERIFY(!FileExists(home_->File("home/fruit.QVX")));
  QVERIFY(reopen->isEnabled());
  QCOMPARE(reopen->actions().size(), 2);
  QCOMPARE(reopen->actions()[0]->text(), QString("fruit.qvx"));
  dialogs_->open_names = {here};
  Trigger("miFileOpen");
  QCOMPARE(reopen->actions().size(), 2);
  QCOMPARE(reopen->actions()[0]->text(), QString("here.qvx"));
  reopen->actions()[1]->trigger();
  QCOMPARE(form_->Document().Survey().FileName(), home_->File("home/fruit.qvx"));
  QCOMPARE(form_->Document().Survey().Item(0).Text, std::string("Apple?"));
}

void MainFormTest::templatesApplyToChoiceQuestionsOfAMixedSelection() {
  Start();
  TSurvey& s = form_->Document().Survey();
  s.AddItem("single", kStyleSingleChoice, 0, 0, 0, false, -1, "a,b");
  s.AddItem("text", kStyleText, 0, 0, 0, false, 40, "");
  s.AddItem("head", kStyleHeader, 0, 0, 0, false, 0, "");
  s.AddItem("scale", kStyleSlidingScale, 0, 0, 0, false, -1, "1,2");
  form_->RebuildQuestionList();
  Select({0, 1, 2, 3});
  auto* popup = form_->findChild<QMenu*>("pmQuestions");
  QMetaObject::invokeMethod(popup, "aboutToShow");
  QMenu* templates = form_->findChild<QMenu*>("miApplyTemplate");
  QCOMPARE(templates->actions().size(), 2);
  QCOMPARE(templates->actions()[1]->text(), QString("Yes / No"));  // agree.qvt sorts first
  prompts_->confirm_answers = {true};
  templates->actions()[1]->trigger();
  QCOMPARE(s.Item(0).Options, JoinCommaText({"Yes", "No", "Don't Know"}));
  QCOMPARE(s.Item(1).Options, std::string());
  QCOMPARE(s.Item(3).Options, JoinCommaText({"Yes", "No", "Don't Know"}));
  QCOMPARE(form_->SelectedLines(), (std::vector<int>{0, 1, 2, 3}));
}

void MainFormTest::previewKeepsAnUnpublishedSurveyUnpublished() {
  testing::UrlCatcher catcher;
  QDesktopServices::setUrlHandler("file", &catcher, "Open");
  Start({MakeSurveyFile("five.qvx", 5)});
  form_->Document().Survey().SetModified(false);
  Trigger("tbPreview");
  QDesktopServices::unsetUrlHandler("file");
  QCOMPARE(catcher.urls.size(), 1);
  const QString page = catcher.urls[0].toLocalFile();
  QVERIFY(QFile::exists(page));
  QVERIFY(QString::fromStdString(ReadWholeFile(page.toStdString()).value_or("")).contains("q4"));
  QCOMPARE(form_->Document().TemporaryFiles(), std::vector<std::string>{page.toStdString()});
  QCOMPARE(form_->Document().Survey().HTMLStatus(), std::string("HTML file not generated"));
  QVERIFY(!form_->findChild<QPushButton*>("btnUpdateNow")->isEnabled());
  dialogs_->save_answers = {SaveAnswer::kNo};
  form_->close();
  QVERIFY(!QFile::exists(page));
}

void MainFormTest::copyPutsPlainTextOnTheSystemClipboard() {
  Start({MakeSurveyFile("five.qvx", 5)});
  Select({1, 3});
  Trigger("tbCopy");
  const QString text = QGuiApplication::clipboard()->text();
  QVERIFY(text.contains("q1"));
  QVERIFY(text.contains("q3"));
  QVERIFY(!text.contains("q2"));
  QVERIFY(text.contains("Yes"));
}

void MainFormTest::propertiesOfAPublishedSurveyAskFirst() {
  Start({MakeSurveyFile("five.qvx", 5)});
  form_->Document().Survey().SetHTMLStatus("HTML file generated at 12/03/1998");
  form_->Document().Survey().SetModified(false);
  prompts_->suppressible_answers = {{WarningAnswer::kNo, false}};
  Trigger("tbProperties");  // declined: no dialog, nothing changed
  QVERIFY(!form_->Document().Survey().Modified());

  prompts_->suppressible_answers = {{WarningAnswer::kYes, false}};
  QString opened;
  testing::AnswerNextModal([&opened](QWidget* modal) {
    opened = modal->objectName();
    testing::Child<QLineEdit>(modal, "eName")->setText("Renamed");
    testing::Child<QPushButton>(modal, "btnOK")->click();
  });
  Trigger("miSurveyProperties");
  QCOMPARE(opened, "TQVXProperties");
  QCOMPARE(form_->Document().Survey().Name(), "Renamed");
  QVERIFY(form_->findChild<QAction*>("miFileSave")->isEnabled());  // refreshed
  QCOMPARE(prompts_->log.size(), size_t(2));
}

void MainFormTest::preferencesSetTheDataDirectoryAndExtension() {
  Start();
  const QString chosen = home_->Path("surveys");
  QDir().mkpath(chosen);
  testing::AnswerNextModal([chosen](QWidget* modal) {
    QCOMPARE(modal->objectName(), "TQVXPrefs");
    testing::Child<QLineEdit>(modal, "eDataDirectory")->setText(chosen);
    testing::Child<QComboBox>(modal, "cmbDefaultHTML")->setCurrentIndex(1);
    testing::Child<QPushButton>(modal, "btnOK")->click();
  });
  Trigger("miOptionsPreferences");
  QCOMPARE(form_->DefaultHtmlExtension(), ".html");
  QCOMPARE(form_->DataDirectory(), chosen.toStdString() + "/");
  QCOMPARE(form_->QuestionEditor().DataDirectory(), chosen.toStdString() + "/");

  testing::AnswerNextModal([](QWidget* modal) {
    testing::Child<QComboBox>(modal, "cmbDefaultHTML")->setCurrentIndex(0);
    testing::Child<QPushButton>(modal, "btnCancel")->click();
  });
  Trigger("miOptionsPreferences");
  QCOMPARE(form_->DefaultHtmlExtension(), ".html");

  // Stored at shutdown, and read back at the next start.
  form_->close();
  SettingsStore settings;
  QCOMPARE(ReadDataDirectory(settings), chosen.toStdString() + "/");
}

// The long-lived dialogs are made when first needed, not at start-up; from
// then on they keep their place and their values like any long-lived dialog,
// and the first one starts where the settings store remembered it.
void MainFormTest::longLivedDialogsKeepPlacementAndValuesFromTheirFirstUse() {
  {
    SettingsStore settings;
    settings.WriteInteger(settings::kQuestionWindow, "Top", 123);
    settings.WriteInteger(settings::kQuestionWindow, "Left", 77);
  }
  Start({MakeSurveyFile("five.qvx", 5)});
  QVERIFY(form_->findChild<app::TQVXQuestion*>() == nullptr);
  QVERIFY(form_->findChild<app::TQVXHeader*>() == nullptr);
  QVERIFY(form_->findChild<app::TQVXSelDir*>() == nullptr);

  Select({4});
  QPoint first_place;
  testing::AnswerNextModal([&first_place](QWidget* editor) {
    QCOMPARE(editor->pos(), QPoint(77, 123));
    editor->findChild<QPlainTextEdit*>("memQuestion")->setPlainText("How many?");
    editor->findChild<QComboBox*>("cmbStyle")->setCurrentIndex(kStyleNumeric - 1);
    editor->findChild<QLineEdit*>("eMinimum")->setText("5");
    editor->findChild<QLineEdit*>("eMaximum")->setText("50");
    editor->findChild<QLineEdit*>("eStep")->setText("5");
    editor->move(200, 150);
    first_place = editor->pos();
    editor->findChild<QPushButton*>("btnOK")->click();
  });
  Trigger("actInsertQuestion");
  QCOMPARE(form_->Document().Survey().Item(5).MaxValue, 50);

  bool asked = false;
  testing::AnswerNextModal([&](QWidget* editor) {
    asked = true;
    QCOMPARE(editor, static_cast<QWidget*>(&form_->QuestionEditor()));
    QCOMPARE(editor->pos(), first_place);
    QCOMPARE(editor->findChild<QLineEdit*>("eMinimum")->text(), QString("5"));
    QCOMPARE(editor->findChild<QLineEdit*>("eMaximum")->text(), QString("50"));
    editor->findChild<QPushButton*>("btnCancel")->click();
  });
  Trigger("actInsertQuestion");
  QVERIFY(asked);
  QCOMPARE(form_->Document().Survey().ItemCount(), 6);
  SettingsStore settings;
  QCOMPARE(settings.ReadInteger(settings::kQuestionWindow, "Left", 0), first_place.x());
}

void MainFormTest::aboutBoxClosesByItsButtonAndByEsc() {
  Start();
  QString button;
  testing::AnswerNextModal([&button](QWidget* about) {
    auto* ok = about->findChild<QPushButton*>("btnOK");
    if (ok != nullptr && ok->isVisible()) {
      button = ok->text();
      ok->click();
    } else {
      about->close();
    }
  });
  Trigger("miHelpAbout");
  QCOMPARE(button, QString("OK"));
  QString closed;
  testing::AnswerNextModal([&closed](QWidget* about) {
    closed = about->objectName();
    QTest::keyClick(about, Qt::Key_Escape);
  });
  Trigger("miHelpAbout");
  QCOMPARE(closed, QString("TQVXAbout"));
  QVERIFY(QApplication::activeModalWidget() == nullptr);
}

// Shown, as at start-up, before the event loop runs; it must be gone once
// the window shows, not left behind it for the rest of the run. A plain
// event loop stands for the program's: QTest's waits would also run the
// deletions that the program's loop never gets to.
void MainFormTest::theSplashIsFreedWhenTheWindowFirstShows() {
  QPointer<QWidget> splash = new app::TQVXAbout(nullptr, true);
  splash->show();
  form_ = std::make_unique<TQVXMainForm>(*prompts_, *dialogs_, QStringList{}, splash);
  QVERIFY(!splash.isNull());
  form_->show();
  QEventLoop loop;
  QTimer::singleShot(100, &loop, &QEventLoop::quit);
  loop.exec();
  QVERIFY(splash.isNull());
}

QTEST_MAIN(MainFormTest)
#include "main_form_test.moc"
