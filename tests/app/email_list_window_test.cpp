// The e-mail list manager window: opening from the main window, labels and
// sorting, editing reaching the file, find, insert and delete, Save As,
// printing, placement and damaged lists.
#include "app/emaillists/email_list_window.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <memory>
#include <string>
#include <vector>

#include "app/emaillists/email_list_dialogs.h"
#include "app/shell/main_form.h"
#include "app_test_env.h"
#include "core/emaillists/email_list.h"
#include "core/shell/atomic_file.h"
#include "core/shell/settings_keys.h"
#include "core/shell/settings_store.h"
#include "support/scripted_prompts.h"

using namespace quorvant;
using app::TQVXEList;
using testing::Child;

namespace {

class ScriptedListDialogs : public app::EmailListDialogs {
 public:
  QString ChooseNewList(QWidget*, const QString&) override { return Next(); }
  QString ChooseListToOpen(QWidget*, const QString&) override { return Next(); }
  QString ChooseSaveAsName(QWidget*, const QString& current) override {
    save_as_initial = current;
    return Next();
  }
  QString ChooseImportFile(QWidget*, const QString&) override { return Next(); }
  app::ExportChoice ChooseExportFile(QWidget*, const QString&) override {
    return {Next(), export_text};
  }
  bool ChoosePrinter(QWidget*, QPrinter& printer) override {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    return !pdf.isEmpty();
  }
  void SetUpPrinter(QWidget*, QPrinter&) override {}

  QStringList names;
  bool export_text = false;
  QString pdf;
  QString save_as_initial;

 private:
  QString Next() { return names.isEmpty() ? QString() : names.takeFirst(); }
};

}  // namespace

class EmailListWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void mainWindowOpensDefaultListInItsOwnWindows();
  void sortingByATitleMovesTheMarkAndTheFindLabel();
  void editsReachTheFileAsTheyArePosted();
  void typedRowStaysUnderTheCursorUntilLeft();
  void openEditorIsStoredWhenTheWindowCloses();
  void windowsOnOneFileSeeEachOthersChanges();
  void insertDeleteAndFind();
  void saveAsToItsOwnNameDoesNothing();
  void exportImportAndPrint();
  void placementIsRememberedWithItsSize();
  void damagedListClosesTheWindowUntouched();
  void controlsExplainThemselvesAndCarryTheirCaptions();

 private:
  TQVXEList* Open(const std::string& path, bool create);
  std::string Dump(const std::string& path);

  std::unique_ptr<testing::AppHome> home_;
  std::unique_ptr<SettingsStore> settings_;
  testing::ScriptedPrompts prompts_;
  ScriptedListDialogs dialogs_;
  std::string data_dir_;
};

void EmailListWindowTest::init() {
  home_ = std::make_unique<testing::AppHome>();
  settings_ = std::make_unique<SettingsStore>();
  data_dir_ = home_->File("data/");
  QDir().mkpath(QString::fromStdString(data_dir_));
  prompts_ = {};
  dialogs_ = {};
}

void EmailListWindowTest::cleanup() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* list = qobject_cast<TQVXEList*>(w)) list->close();
  }
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  settings_.reset();
  home_.reset();
}

TQVXEList* EmailListWindowTest::Open(const std::string& path, bool create) {
  auto* window = new TQVXEList(*settings_, prompts_, dialogs_, data_dir_);
  const bool ok = create ? window->CreateList(path) : window->OpenList(path);
  if (!ok) return nullptr;
  window->show();
  return window;
}

std::string EmailListWindowTest::Dump(const std::string& path) {
  testing::ScriptedPrompts quiet;
  TEmailList list(quiet);
  list.Open(path);
  std::string out;
  for (const uint32_t recno : list.RowsInOrder()) {
    const EmailRecord r = list.Read(recno);
    out += r[0] + "|" + r[1] + "|" + r[2] + "\n";
  }
  return out;
}

void EmailListWindowTest::mainWindowOpensDefaultListInItsOwnWindows() {
  testing::ScriptedWindowDialogs window_dialogs;
  window_dialogs.list_dialogs = &dialogs_;
  {
    app::TQVXMainForm form(prompts_, window_dialogs, {});
    form.show();
    const std::string default_list = form.DataDirectory() + "default.eml";
    QVERIFY(!FileExists(default_list));
    Child<QAction>(&form, "tbEMailList")->trigger();
    Child<QAction>(&form, "miSurveyEmailList")->trigger();
    const QList<TQVXEList*> windows = form.findChildren<TQVXEList*>();
    QCOMPARE(windows.size(), 2);
    QVERIFY(FileExists(default_list));
    for (TQVXEList* w : windows) {
      QVERIFY(w->isVisible() && !w->isModal() && w->isWindow());
      QCOMPARE(w->windowTitle().toStdString(), "Email List Manager - " + default_list);
    }
    QVERIFY(prompts_.log.empty());
    // A manager asks the dialogs that the main window was handed.
    const std::string other = form.DataDirectory() + "other.eml";
    dialogs_.names = {QString::fromStdString(other)};
    Child<QAction>(windows[1], "miFileNew")->trigger();
    QVERIFY(dialogs_.names.isEmpty());
    QVERIFY(FileExists(other));
    QCOMPARE(windows[1]->windowTitle().toStdString(), "Email List Manager - " + other);
    windows[0]->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(form.findChildren<TQVXEList*>().size(), 1);
  }
}

void EmailListWindowTest::sortingByATitleMovesTheMarkAndTheFindLabel() {
  TQVXEList* w = Open(data_dir_ + "s.eml", true);
  w->List().AppendAll({{"Bea", "Young", "a@x"}, {"Al", "Zorn", "b@x"}});
  w->OpenList(data_dir_ + "s.eml");
  auto* grid = Child<QTableView>(w, "dbgEMail");
  auto* label = Child<QLabel>(w, "lblFind");
  auto title = [grid](int c) { return grid->model()->headerData(c, Qt::Horizontal).toString(); };
  QCOMPARE(label->text(), QString(" F&ind Last Name:"));
  QCOMPARE(title(1), QString("Last Name *"));
  QCOMPARE(grid->model()->index(0, 0).data().toString(), QString("Bea"));
  emit grid->horizontalHeader()->sectionClicked(2);
  QCOMPARE(label->text(), QString(" F&ind Email Address:"));
  QCOMPARE(title(2), QString("Email Address *"));
  QCOMPARE(title(1), QString("Last Name"));
  emit grid->horizontalHeader()->sectionClicked(0);
  QCOMPARE(grid->model()->index(0, 0).data().toString(), QString("Al"));
  // The box sits 4 pixels right of its label.
  auto* find = Child<QLineEdit>(w, "eFind");
  QApplication::processEvents();
  QCOMPARE(find->x(), label->geometry().right() + 1 + 4);
}

void EmailListWindowTest::editsReachTheFileAsTheyArePosted() {
  const std::string path = data_dir_ + "e.eml";
  TQVXEList* w = Open(path, true);
  Child<QAction>(w, "miInsertNewRecord")->trigger();
  auto* grid = Child<QTableView>(w, "dbgEMail");
  QAbstractItemModel* model = grid->model();
  QCOMPARE(model->rowCount(), 1);
  QVERIFY(model->setData(model->index(0, 0), "Émile"));
  QVERIFY(model->setData(model->index(0, 1), "Zola, the elder"));
  // Another reader sees each posted value at once.
  QCOMPARE(Dump(path), std::string("Émile|Zola, the elder|\n"));
  Child<QAction>(w, "miInsertNewRecord")->trigger();
  QCoreApplication::processEvents();
  QCOMPARE(model->rowCount(), 2);
  // The blank record sorts first; named "Young" it stays before "Zola".
  QVERIFY(model->setData(model->index(0, 1), "Young"));
  QCoreApplication::processEvents();
  QCOMPARE(model->index(0, 1).data().toString(), QString("Young"));
  QCOMPARE(model->index(1, 1).data().toString(), QString("Zola, the elder"));
  QCOMPARE(grid->currentIndex().row(), 0);
}

// Insert, then First, Tab, Last, Tab, address, typed as keys: the new row
// stays under the cursor while it is typed, even when its last name sorts
// below others, and every field reaches the file. Leaving the row moves it to
// its place, the cursor staying on the record it went to.
void EmailListWindowTest::typedRowStaysUnderTheCursorUntilLeft() {
  const std::string path = data_dir_ + "k.eml";
  TQVXEList* w = Open(path, true);
  w->List().AppendAll({{"Al", "Adams", "aa@x"}, {"Bo", "Baker", "bb@x"}});
  w->OpenList(path);
  QVERIFY(QTest::qWaitForWindowExposed(w));
  auto* grid = Child<QTableView>(w, "dbgEMail");
  QAbstractItemModel* model = grid->model();
  Child<QAction>(w, "miInsertNewRecord")->trigger();
  QCOMPARE(grid->currentIndex().row(), 0);
  QCOMPARE(grid->currentIndex().column(), 0);
  auto type = [grid](const QString& text) {
    for (const QChar c : text) QTest::keyClick(grid->focusWidget(), c.toLatin1());
  };
  auto key = [grid](Qt::Key k) {
    QTest::keyClick(grid->focusWidget(), k);
    QCoreApplication::processEvents();
  };
  type("Zed");
  key(Qt::Key_Tab);
  type("Zorn");
  key(Qt::Key_Tab);
  QCOMPARE(grid->currentIndex(), model->index(0, 2));
  QCOMPARE(model->index(0, 1).data().toString(), QString("Zorn"));
  type("z@x");
  key(Qt::Key_Return);
  QCOMPARE(Dump(path), std::string("Al|Adams|aa@x\nBo|Baker|bb@x\nZed|Zorn|z@x\n"));
  QCOMPARE(model->index(0, 0).data().toString(), QString("Zed"));
  QCOMPARE(grid->currentIndex().row(), 0);

  // Down leaves the row: it goes last, the cursor stays on Adams.
  key(Qt::Key_Down);
  QCOMPARE(model->index(2, 1).data().toString(), QString("Zorn"));
  QCOMPARE(model->index(grid->currentIndex().row(), 1).data().toString(), QString("Adams"));
  QCOMPARE(Child<QLabel>(w, "pnlCount")->text(), QString(" 3 records"));

  // An edited row is held the same way: Baker renamed Aaron stays second
  // while its address is typed, then sorts first.
  grid->setCurrentIndex(model->index(1, 1));
  QCoreApplication::processEvents();
  QCOMPARE(model->index(1, 1).data().toString(), QString("Baker"));
  key(Qt::Key_F2);
  QTest::keyClick(grid->focusWidget(), Qt::Key_A, Qt::ControlModifier);
  type("Aaron");
  key(Qt::Key_Tab);
  QCOMPARE(grid->currentIndex(), model->index(1, 2));
  QTest::keyClick(grid->focusWidget(), Qt::Key_A, Qt::ControlModifier);
  type("new@x");
  key(Qt::Key_Tab);
  QCOMPARE(Dump(path), std::string("Bo|Aaron|new@x\nAl|Adams|aa@x\nZed|Zorn|z@x\n"));
  QCOMPARE(model->index(0, 1).data().toString(), QString("Aaron"));
  QCOMPARE(model->index(grid->currentIndex().row(), 1).data().toString(), QString("Zorn"));
  QVERIFY(prompts_.log.empty());
}

void EmailListWindowTest::openEditorIsStoredWhenTheWindowCloses() {
  const std::string path = data_dir_ + "c.eml";
  TQVXEList* w = Open(path, true);
  w->List().Append({"Al", "Adams", "aa@x"});
  w->OpenList(path);
  QVERIFY(QTest::qWaitForWindowExposed(w));
  auto* grid = Child<QTableView>(w, "dbgEMail");
  grid->setFocus();
  grid->setCurrentIndex(grid->model()->index(0, 2));
  QTest::keyClick(grid, Qt::Key_F2);
  QTest::keyClick(grid->focusWidget(), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(grid->focusWidget(), "al@new");
  QCOMPARE(Dump(path), std::string("Al|Adams|aa@x\n"));
  w->close();
  QCOMPARE(Dump(path), std::string("Al|Adams|al@new\n"));
}

// Two windows on one file: each change made in one shows in the other at
// once, and a change made by another program shows when the window is
// activated. Typing in a window the value it shows is stored, also when the
// file holds another value by then.
void EmailListWindowTest::windowsOnOneFileSeeEachOthersChanges() {
  const std::string path = data_dir_ + "two.eml";
  TQVXEList* a = Open(path, true);
  a->List().AppendAll({{"Al", "Adams", "aa@x"}, {"Bo", "Baker", "bb@x"}});
  a->OpenList(path);
  TQVXEList* b = Open(path, false);
  QAbstractItemModel* ma = Child<QTableView>(a, "dbgEMail")->model();
  QAbstractItemModel* mb = Child<QTableView>(b, "dbgEMail")->model();
  QCOMPARE(mb->index(1, 2).data().toString(), QString("bb@x"));

  QVERIFY(ma->setData(ma->index(1, 2), "b2@x"));
  QCOMPARE(mb->index(1, 2).data().toString(), QString("b2@x"));
  // Renamed in a, Adams sorts after Baker in b too.
  QVERIFY(ma->setData(ma->index(0, 1), "Cole"));
  QCoreApplication::processEvents();
  QCOMPARE(mb->index(0, 1).data().toString(), QString("Baker"));
  QCOMPARE(mb->index(1, 1).data().toString(), QString("Cole"));
  Child<QAction>(a, "miInsertNewRecord")->trigger();
  QCOMPARE(mb->rowCount(), 3);
  QCOMPARE(Child<QLabel>(b, "pnlCount")->text(), QString(" 3 records"));

  // Another program changes Baker's address; b still shows it as before.
  {
    testing::ScriptedPrompts quiet;
    TEmailList other(quiet);
    other.Open(path);
    other.Write(2, 2, "elsewhere@x");
  }
  const int baker = 1;
  QCOMPARE(mb->index(baker, 1).data().toString(), QString("Baker"));
  QCOMPARE(mb->index(baker, 2).data().toString(), QString("b2@x"));
  // Typed in b, the value b shows is stored all the same.
  QVERIFY(mb->setData(mb->index(baker, 2), "b2@x"));
  QCOMPARE(Dump(path), std::string("||\nBo|Baker|b2@x\nAl|Cole|aa@x\n"));
  QCOMPARE(ma->index(1, 2).data().toString(), QString("b2@x"));

  QCOMPARE(mb->index(2, 0).data().toString(), QString("Al"));
  {
    testing::ScriptedPrompts quiet;
    TEmailList other(quiet);
    other.Open(path);
    other.Write(1, 0, "Alf");
  }
  QCOMPARE(mb->index(2, 0).data().toString(), QString("Al"));
  QEvent activate(QEvent::WindowActivate);
  QApplication::sendEvent(b, &activate);
  QCOMPARE(mb->index(2, 0).data().toString(), QString("Alf"));
  QVERIFY(prompts_.log.empty());
}

void EmailListWindowTest::insertDeleteAndFind() {
  TQVXEList* w = Open(data_dir_ + "f.eml", true);
  w->List().AppendAll({{"A", "Adams", "1@x"}, {"B", "Baker", "2@x"}, {"C", "Cole", "3@x"}});
  w->OpenList(data_dir_ + "f.eml");
  auto* grid = Child<QTableView>(w, "dbgEMail");
  auto* find = Child<QLineEdit>(w, "eFind");
  auto* status = Child<QLabel>(w, "pnlFind");
  find->setText("Ba");
  QTest::keyClick(find, Qt::Key_Return);
  QCOMPARE(status->text(), QString(" Found \"Ba\""));
  QCOMPARE(grid->currentIndex().row(), 1);
  QCOMPARE(find->selectedText(), QString("Ba"));
  find->setText("Q");
  QTest::keyClick(find, Qt::Key_Return);
  QCOMPARE(status->text(), QString(" Could not find Last Name of \"Q\""));

  grid->selectionModel()->select(grid->model()->index(0, 0),
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  grid->selectionModel()->select(grid->model()->index(2, 0),
                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
  Child<QAction>(w, "miEditDelete")->trigger();
  QCOMPARE(Dump(data_dir_ + "f.eml"), std::string("B|Baker|2@x\n"));
  QCOMPARE(Child<QLabel>(w, "pnlCount")->text(), QString(" 1 records"));
}

void EmailListWindowTest::saveAsToItsOwnNameDoesNothing() {
  const std::string path = data_dir_ + "own.eml";
  TQVXEList* w = Open(path, true);
  w->List().Append({"A", "B", "c@x"});
  dialogs_.names = {QString::fromStdString(data_dir_ + "own"),
                    QString::fromStdString(data_dir_ + "copy")};
  Child<QAction>(w, "miFileSaveAs")->trigger();
  QCOMPARE(dialogs_.save_as_initial.toStdString(), path);
  QCOMPARE(w->List().path(), path);
  QVERIFY(!FileExists(data_dir_ + "copy.eml"));
  Child<QAction>(w, "miFileSaveAs")->trigger();
  QCOMPARE(w->windowTitle().toStdString(), "Email List Manager - " + data_dir_ + "copy.eml");
  QCOMPARE(Dump(data_dir_ + "copy.eml"), std::string("A|B|c@x\n"));
}

void EmailListWindowTest::exportImportAndPrint() {
  TQVXEList* w = Open(data_dir_ + "x.eml", true);
  WriteFileAtomically(data_dir_ + "in.csv", "h\r\n\"Lee, Ann\",Moss,lm@x\r\nBo,Ng,bn@x\r\n");
  dialogs_.names = {QString::fromStdString(data_dir_ + "in.csv"),
                    QString::fromStdString(data_dir_ + "out")};
  Child<QAction>(w, "miFileImport")->trigger();
  QCOMPARE(Child<QTableView>(w, "dbgEMail")->model()->rowCount(), 2);
  dialogs_.export_text = false;
  Child<QAction>(w, "miFileExport")->trigger();
  QCOMPARE(ReadWholeFile(data_dir_ + "out.csv").value_or(""),
           std::string("FNAME,LNAME,EMAIL\r\n\"Lee, Ann\",Moss,lm@x\r\nBo,Ng,bn@x\r\n"));
  dialogs_.pdf = QString::fromStdString(data_dir_ + "list.pdf");
  Child<QAction>(w, "tbPrint")->trigger();
  const std::string pdf = ReadWholeFile(data_dir_ + "list.pdf").value_or("");
  QVERIFY(pdf.starts_with("%PDF"));
  // The import says what it did: a quote never closed costs only its line.
  QCOMPARE(prompts_.log, std::vector<std::string>{"info: Imported 2 records"});
  WriteFileAtomically(data_dir_ + "bad.csv", "h\r\n\"Cy,Day,cd@x\r\nDo,Ek,de@x\r\n");
  dialogs_.names = {QString::fromStdString(data_dir_ + "bad.csv")};
  prompts_.log.clear();
  Child<QAction>(w, "miFileImport")->trigger();
  QCOMPARE(prompts_.log,
           std::vector<std::string>{"info: Line 2 has a quote that is never closed; it was read "
                                    "as plain text\nImported 2 records"});
  QCOMPARE(Dump(data_dir_ + "x.eml"),
           std::string("\"Cy|Day|cd@x\nDo|Ek|de@x\nLee, Ann|Moss|lm@x\nBo|Ng|bn@x\n"));
}

void EmailListWindowTest::placementIsRememberedWithItsSize() {
  TQVXEList* w = Open(data_dir_ + "p.eml", true);
  QVERIFY(QTest::qWaitForWindowExposed(w));
  w->move(40, 30);
  w->resize(500, 380);
  QCoreApplication::processEvents();
  const QPoint at = w->pos();
  w->close();
  const auto section = settings::kEmailListWindow;
  QCOMPARE(settings_->ReadInteger(section, "Top", 0), at.y());
  QCOMPARE(settings_->ReadInteger(section, "Left", 0), at.x());
  QCOMPARE(settings_->ReadInteger(section, "Width", 0), 500);
  QCOMPARE(settings_->ReadInteger(section, "Height", 0), 380);
  TQVXEList* again = Open(data_dir_ + "p.eml", false);
  QCOMPARE(again->size(), QSize(500, 380));
  QCOMPARE(again->pos(), at);
}

void EmailListWindowTest::damagedListClosesTheWindowUntouched() {
  const std::string path = data_dir_ + "bad.eml";
  WriteFileAtomically(path, std::string(40, '\x03'));
  auto* window = new TQVXEList(*settings_, prompts_, dialogs_, data_dir_);
  QPointer<TQVXEList> guard(window);
  QVERIFY(!window->OpenList(path));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QVERIFY(guard.isNull());
  QCOMPARE(prompts_.log.size(), size_t(1));
  QVERIFY(prompts_.log[0].starts_with("error: The following internal error occurred: "));
  QCOMPARE(ReadWholeFile(path).value_or(""), std::string(40, '\x03'));
  QVERIFY(!FileExists(data_dir_ + "bad.cdx"));
  QCOMPARE(settings_->ReadInteger(settings::kEmailListWindow, "Top", -1), -1);
}

void EmailListWindowTest::controlsExplainThemselvesAndCarryTheirCaptions() {
  TQVXEList* w = Open(data_dir_ + "w.eml", true);
  for (const char* name : {"dbgEMail", "eFind", "lblFind", "pnlCount", "pnlFind"}) {
    QVERIFY2(!Child<QWidget>(w, name)->whatsThis().isEmpty(), name);
  }
  QList<QToolButton*> buttons = Child<QToolBar>(w, "tbList")->findChildren<QToolButton*>();
  int explained = 0;
  for (QToolButton* b : buttons) explained += b->defaultAction() && !b->whatsThis().isEmpty();
  QCOMPARE(explained, 3);
  struct Expected {
    const char* name;
    const char* text;
    const char* hint;
    const char* keys;
  };
  const Expected actions[] = {
      {"miFileNew", "&New", "Create a new list", "Ctrl+N"},
      {"tbOpen", "&Open...", "Open an existing list", ""},
      {"miFileOpen", "&Open...", "Open an existing list", "Ctrl+O"},
      {"miFileImport", "&Import...", "Import a list", ""},
      {"miFileExport", "&Export...", "Export a list", ""},
      {"miFileSaveAs", "Save &As...", "Save the current list using a different name / format", ""},
      {"miFilePrint", "&Print...", "Print the current list", "Ctrl+P"},
      {"miFilePrintSetup", "Prin&t Setup...", "Set up the printer", ""},
      {"miFileClose", "&Close", "Close the Email List Manager", ""},
      {"miInsertNewRecord", "Insert New Record", "", "Ins"},
      {"miEditDelete", "&Delete Selected", "", "Del"},
      {"miHelpContents", "&Contents", "", ""},
      {"miHelpSearch", "&Search for Help On...", "", ""},
  };
  for (const Expected& e : actions) {
    auto* action = Child<QAction>(w, e.name);
    QCOMPARE(action->text(), QString(e.text));
    QCOMPARE(action->statusTip(), QString(e.hint));
    QCOMPARE(action->shortcut().toString(), QString(e.keys));
  }
}

QTEST_MAIN(EmailListWindowTest)
#include "email_list_window_test.moc"
