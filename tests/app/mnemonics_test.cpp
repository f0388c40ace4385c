// Keyboard mnemonics: within each window, the "&" letters of the controls
// that can be seen together (buttons, labels of fields, group boxes, tabs and
// the menu bar) differ, and so do those of the entries of each menu. Two
// controls with one letter make Alt+letter reach neither at the first press.
#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>
#include <memory>

#include "app_test_env.h"
#include "core/shell/settings_store.h"
#include "every_window.h"
#include "support/scripted_prompts.h"

using namespace quorvant;

namespace {

// The letter that Alt chooses in text ("&&" is a plain "&"), upper case;
// a null character when there is none.
QChar Mnemonic(const QString& text) {
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    return text[i + 1].toUpper();
  }
  return QChar();
}

// Letter -> the texts that carry it.
using Letters = QMap<QChar, QStringList>;

void Note(Letters& letters, const QString& text) {
  const QChar letter = Mnemonic(text);
  if (!letter.isNull()) letters[letter] << text;
}

QString Clashes(const QString& where, const Letters& letters) {
  QString out;
  for (auto it = letters.begin(); it != letters.end(); ++it) {
    if (it->size() > 1) out += where + ": " + it.key() + " in " + it->join(" | ") + "\n";
  }
  return out;
}

// The letters of what is visible of `window` in its present state.
Letters VisibleLetters(QWidget* window) {
  Letters letters;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (w->window() != window || !w->isVisibleTo(window)) continue;
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
      Note(letters, button->text());
    } else if (auto* label = qobject_cast<QLabel*>(w); label && label->buddy()) {
      Note(letters, label->text());
    } else if (auto* box = qobject_cast<QGroupBox*>(w)) {
      Note(letters, box->title());
    } else if (auto* tabs = qobject_cast<QTabBar*>(w)) {
      for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->isTabVisible(i)) Note(letters, tabs->tabText(i));
      }
    } else if (auto* bar = qobject_cast<QMenuBar*>(w)) {
      for (QAction* a : bar->actions()) {
        if (a->isVisible()) Note(letters, a->text());
      }
    }
  }
  return letters;
}

// Every page of every tab and stack in turn (the first page of each when
// another is turned), since only one page of a stack shows at a time.
QString WindowClashes(QWidget* window) {
  const QString name = window->objectName();
  QString out = Clashes(name, VisibleLetters(window));
  for (QStackedWidget* stack : window->findChildren<QStackedWidget*>()) {
    if (stack->window() != window) continue;
    auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget());
    const int start = stack->currentIndex();
    for (int i = 0; i < stack->count(); ++i) {
      tabs ? tabs->setCurrentIndex(i) : stack->setCurrentIndex(i);
      out += Clashes(name + " page " + QString::number(i), VisibleLetters(window));
    }
    tabs ? tabs->setCurrentIndex(start) : stack->setCurrentIndex(start);
  }
  return out;
}

QString MenuClashes(QMenu* menu) {
  Letters letters;
  for (QAction* a : menu->actions()) {
    if (a->isVisible() && !a->isSeparator()) Note(letters, a->text());
  }
  return Clashes("menu " + (menu->objectName().isEmpty() ? menu->title() : menu->objectName()),
                 letters);
}

}  // namespace

class MnemonicsTest : public QObject {
  Q_OBJECT

 private slots:
  void theLetterIsTheOneAfterASingleAmpersand();
  void everyWindowHasDistinctLetters();
};

void MnemonicsTest::theLetterIsTheOneAfterASingleAmpersand() {
  QCOMPARE(Mnemonic("Add a &Header..."), QChar('H'));
  QCOMPARE(Mnemonic("Salt && &pepper"), QChar('P'));
  QCOMPARE(Mnemonic("Fish && chips"), QChar());
  QCOMPARE(Mnemonic("Trailing &"), QChar());
  Letters letters;
  Note(letters, "&Help");
  Note(letters, "Add a &Header...");
  Note(letters, "&Edit");
  QCOMPARE(Clashes("w", letters), QString("w: H in &Help | Add a &Header...\n"));
}

void MnemonicsTest::everyWindowHasDistinctLetters() {
  testing::AppHome home;
  SettingsStore settings;
  testing::ScriptedPrompts prompts;
  testing::ScriptedWindowDialogs dialogs;
  testing::EveryWindow every(settings, prompts, dialogs, home.File("data/"));
  QString clashes;
  int menus = 0;
  for (QWidget* window : every.Windows()) {
    // The update dialog starts its download when shown; its controls are
    // judged as they would show.
    const bool show = qobject_cast<app::TQVXUpdateResponses*>(window) == nullptr;
    if (show) window->show();
    clashes += WindowClashes(window);
    for (QMenu* menu : window->findChildren<QMenu*>()) {
      emit menu->aboutToShow();  // menus that fill themselves when opened
      clashes += MenuClashes(menu);
      ++menus;
    }
    window->hide();
  }
  QVERIFY(menus > 10);
  QVERIFY2(clashes.isEmpty(), qPrintable("\n" + clashes));
}

QTEST_MAIN(MnemonicsTest)
#include "mnemonics_test.moc"
