// "&What's This?": every explanation belongs to a control of some window,
// the controls offer it on their pop-up menus without losing their own
// menus, and choosing it shows the explanation.
#include "app/shell/whats_this.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QToolButton>
#include <QWhatsThis>
#include <QtTest>
#include <memory>

#include "app/emaillists/email_list_whats_this.h"
#include "app/publishing/publish_survey_dialog.h"
#include "app/shell/main_form.h"
#include "app/survey/question_editor.h"
#include "app/survey/survey_properties_dialog.h"
#include "app/shell/warning_dialog.h"
#include "app_test_env.h"
#include "core/shell/settings_store.h"
#include "core/survey/survey.h"
#include "every_window.h"
#include "support/scripted_prompts.h"

using namespace quorvant;
using testing::Child;

class WhatsThisTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void everyExplanationBelongsToAControl();
  void textFieldsKeepTheirEditingMenu();
  void otherControlsGetTheEntryAlone();
  void toolbarButtonsAndTheQuestionList();
  void choosingTheEntryShowsTheExplanation();
  void mergeFieldsAreExplainedWhereTheMessageIsWritten();

 private:
  std::unique_ptr<testing::AppHome> home_;
  std::unique_ptr<SettingsStore> settings_;
  testing::ScriptedPrompts prompts_;
  testing::ScriptedWindowDialogs dialogs_;
};

void WhatsThisTest::init() {
  home_ = std::make_unique<testing::AppHome>();
  settings_ = std::make_unique<SettingsStore>();
}

void WhatsThisTest::cleanup() {
  settings_.reset();
  home_.reset();
}

// A key naming no control is a misspelt or forgotten explanation; a control
// with an explanation must carry it.
void WhatsThisTest::everyExplanationBelongsToAControl() {
  QSet<QString> found;
  testing::EveryWindow every(*settings_, prompts_, dialogs_, home_->File("data/"));
  for (QWidget* window : every.Windows()) {
    QList<QWidget*> controls = window->findChildren<QWidget*>();
    controls.prepend(window);
    for (QWidget* control : controls) {
      if (control->window() != window || control->whatsThis().isEmpty()) continue;
      QString name = control->objectName();
      if (auto* tool = qobject_cast<QToolButton*>(control); tool && tool->defaultAction()) {
        name = tool->defaultAction()->objectName();
      }
      // The e-mail list window brings its explanations with it.
      const QString expected = qobject_cast<app::TQVXEList*>(window)
                                   ? app::EmailListWhatsThis(name)
                                   : app::WhatsThisText(window->objectName(), name);
      QCOMPARE(control->whatsThis(), expected);
      found.insert(name);
      found.insert(window->objectName() + "/" + name);
    }
  }
  for (const QString& key : app::WhatsThisNames()) {
    QVERIFY2(found.contains(key), qPrintable("no control carries the help of " + key));
  }
}

void WhatsThisTest::textFieldsKeepTheirEditingMenu() {
  app::TQVXQuestion editor(*settings_, prompts_, home_->File("data/"), nullptr);
  auto* length = Child<QLineEdit>(&editor, "eLength");
  QCOMPARE(length->contextMenuPolicy(), Qt::CustomContextMenu);
  std::unique_ptr<QMenu> menu(app::WhatsThisMenuFor(length));
  QStringList texts;
  for (QAction* a : menu->actions()) texts << a->text();
  QVERIFY2(texts.filter("Paste").size() == 1, qPrintable(texts.join('|')));
  QCOMPARE(texts.last(), QString("&What's This?"));
  QVERIFY(menu->actions().at(menu->actions().size() - 2)->isSeparator());
}

void WhatsThisTest::otherControlsGetTheEntryAlone() {
  app::TQVXQuestion editor(*settings_, prompts_, home_->File("data/"), nullptr);
  auto* other = Child<QCheckBox>(&editor, "cbIncludeOther");
  std::unique_ptr<QMenu> menu(app::WhatsThisMenuFor(other));
  QCOMPARE(menu->actions().size(), 1);
  QCOMPARE(menu->actions().first()->text(), QString("&What's This?"));
  QVERIFY(other->whatsThis().contains("Other - please specify"));
}

void WhatsThisTest::toolbarButtonsAndTheQuestionList() {
  app::TQVXMainForm form(prompts_, dialogs_, {});
  int explained = 0;
  for (auto* tool : form.findChildren<QToolButton*>()) {
    if (tool->defaultAction() && tool->defaultAction()->objectName().startsWith("tb")) {
      QVERIFY2(!tool->whatsThis().isEmpty(), qPrintable(tool->defaultAction()->objectName()));
      ++explained;
    }
  }
  QCOMPARE(explained, 12);
  // The question list keeps its own pop-up menu, which has the entry itself.
  auto* list = Child<QListView>(&form, "lbQuestions");
  QCOMPARE(list->whatsThis(), app::WhatsThisText("TQVXMainForm", "lbQuestions"));
  form.show();
  emit list->customContextMenuRequested(QPoint(4, 4));
  auto* own = Child<QMenu>(&form, "pmQuestions");
  QTRY_VERIFY(own->isVisible());
  own->hide();
  QVERIFY(list->findChild<QMenu*>("pmWhatsThis") == nullptr);
}

void WhatsThisTest::choosingTheEntryShowsTheExplanation() {
  app::TQVXWarning warning("Really?", nullptr);
  warning.show();
  auto* box = Child<QCheckBox>(&warning, "cbDontShow");
  emit box->customContextMenuRequested(QPoint(2, 2));
  QMenu* menu = box->findChild<QMenu*>("pmWhatsThis");
  QVERIFY(menu != nullptr);
  QTRY_VERIFY(menu->isVisible());
  menu->actions().last()->trigger();
  QWidget* shown = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->isVisible() && QByteArray(w->metaObject()->className()) == "QWhatsThat") shown = w;
  }
  QVERIFY(shown != nullptr);
  QWhatsThis::hideText();
}

// The invitation's merge fields are listed by the message box's explanation
// (shown as plain text, so that they are not taken for markup) and on the
// help pages that the properties and the publish dialog open.
void WhatsThisTest::mergeFieldsAreExplainedWhereTheMessageIsWritten() {
  const QStringList fields{"<FirstName>", "<LastName>", "<EmailAddress>", "<SurveyTitle>",
                           "<SurveyAuthor>"};
  SettingsStore settings;
  TSurvey survey(settings);
  app::TQVXProperties properties(
      survey, settings, prompts_, dialogs_, home_->File("data/"), [](const std::string&) {},
      nullptr);
  const QString text = Child<QPlainTextEdit>(&properties, "memNotifyMessage")->whatsThis();
  QVERIFY(!Qt::mightBeRichText(text));
  testing::UrlCatcher catcher;
  QDesktopServices::setUrlHandler("file", &catcher, "Open");
  Child<QPushButton>(&properties, "btnHelp")->click();
  app::TQVXPublishSurvey publish(survey, settings, prompts_, home_->File("data/"),
                                 home_->File("data/"));
  Child<QPushButton>(&publish, "btnHelp")->click();
  QDesktopServices::unsetUrlHandler("file");
  QCOMPARE(catcher.urls.size(), 2);
  QCOMPARE(catcher.urls[0].fileName(), QString("survey-properties.html"));
  for (const QUrl& page : catcher.urls) {
    QFile file(page.toLocalFile());
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(page.toLocalFile()));
    const QString html = QString::fromUtf8(file.readAll());
    for (QString field : fields) {
      QVERIFY2(text.contains(field), qPrintable(field));
      QVERIFY2(html.contains(field.replace("<", "&lt;").replace(">", "&gt;")),
               qPrintable(page.fileName() + " lacks " + field));
    }
  }
}

QTEST_MAIN(WhatsThisTest)
#include "whats_this_test.moc"
