// "&What's This?": every explanation belongs to a control of some window,
// the controls offer it on their pop-up menus without losing their own
// menus, and choosing it shows the explanation.
#include "app/shell/whats_this.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QSet>
#include <QToolButton>
#include <QWhatsThis>
#include <QtTest>
#include <memory>

#include "app/analysis/analysis_view.h"
#include "app/analysis/chart_toolbox.h"
#include "app/analysis/filter_builder.h"
#include "app/libraries/import_style_dialog.h"
#include "app/libraries/library_name_dialog.h"
#include "app/libraries/question_library_dialog.h"
#include "app/libraries/response_template_editor.h"
#include "app/libraries/template_manager_dialog.h"
#include "app/publishing/publish_survey_dialog.h"
#include "app/responses/update_responses_dialog.h"
#include "app/shell/directory_chooser.h"
#include "app/shell/header_editor.h"
#include "app/shell/main_form.h"
#include "app/shell/preferences_dialog.h"
#include "app/shell/question_editor.h"
#include "app/shell/report_destination_dialog.h"
#include "app/shell/skip_group_dialog.h"
#include "app/shell/survey_properties_dialog.h"
#include "app/shell/warning_dialog.h"
#include "app_test_env.h"
#include "core/responses/response_table.h"
#include "core/shell/settings_store.h"
#include "core/survey/survey.h"
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

 private:
  // Every window that installs help, built once per test.
  QList<QWidget*> Windows();

  std::unique_ptr<testing::AppHome> home_;
  std::unique_ptr<SettingsStore> settings_;
  std::unique_ptr<TSurvey> survey_;
  testing::ScriptedPrompts prompts_;
  testing::ScriptedWindowDialogs dialogs_;
  std::vector<std::unique_ptr<QWidget>> windows_;
  std::unique_ptr<TResponseTable> table_;
  std::unique_ptr<SurveyEditing> editing_;
};

void WhatsThisTest::init() {
  home_ = std::make_unique<testing::AppHome>();
  settings_ = std::make_unique<SettingsStore>();
  survey_ = std::make_unique<TSurvey>(*settings_);
  table_ = std::make_unique<TResponseTable>(prompts_);
}

void WhatsThisTest::cleanup() {
  windows_.clear();
  editing_.reset();
  table_.reset();
  survey_.reset();
  settings_.reset();
  home_.reset();
}

QList<QWidget*> WhatsThisTest::Windows() {
  const std::string data_dir = home_->File("data/");
  QDir().mkpath(QString::fromStdString(data_dir));
  auto keep = [this](QWidget* w) {
    windows_.emplace_back(w);
    return w;
  };
  auto* chooser = new app::TQVXSelDir(dialogs_, nullptr);
  auto* main = new app::TQVXMainForm(prompts_, dialogs_, {});
  main->AnalysisView().DetailGrid();  // the text pages are made on first use
  main->AnalysisView().ShortTextGrid();
  auto* question = new app::TQVXQuestion(*settings_, prompts_, data_dir, nullptr);
  auto* header = new app::TQVXHeader(*settings_, nullptr);
  editing_ = std::make_unique<SurveyEditing>(*survey_, *survey_, prompts_, *settings_);
  return {
      keep(main),
      &main->ChartToolbox(),
      keep(question),
      keep(header),
      keep(new app::TQVXql(
          *settings_, prompts_, data_dir, *survey_, *editing_, *question, *header, [] {}, nullptr)),
      keep(new app::TQVXLibName("New Library",
                                "Please enter a &name for the new library:", nullptr)),
      keep(new app::TQVXTemplateMgr(prompts_, dialogs_, data_dir, nullptr)),
      keep(new app::TQVXImportSurvey(nullptr)),
      keep(new app::TQVXSkipGroup({"2) Why?"}, "1) Do you?", {"Yes", "No"}, nullptr)),
      keep(new app::TQVXrt(*settings_, "a\nb", nullptr)),
      keep(new app::TQVXProperties(
          *survey_, *settings_, prompts_, dialogs_, data_dir, [](const std::string&) {}, nullptr)),
      keep(new app::TQVXPrefs(*settings_, prompts_, *chooser, data_dir, nullptr)),
      keep(new app::TQVXDestination(*chooser, "", nullptr)),
      keep(new app::TQVXRangeSelect(nullptr)),
      keep(chooser),
      keep(new app::TQVXUpdateResponses(*survey_, *table_, *settings_, prompts_,
                                        [](const std::string&) {})),
      keep(new app::TQVXWarning("Really?", nullptr)),
      keep(new app::TQVXPublishSurvey(*survey_, *settings_, prompts_, data_dir, data_dir)),
      keep(new app::TQVXFilterBuilder(*survey_, {}, TFilterList(), nullptr)),
  };
}

// A key naming no control is a misspelt or forgotten explanation; a control
// with an explanation must carry it.
void WhatsThisTest::everyExplanationBelongsToAControl() {
  QSet<QString> found;
  for (QWidget* window : Windows()) {
    QList<QWidget*> controls = window->findChildren<QWidget*>();
    controls.prepend(window);
    for (QWidget* control : controls) {
      if (control->window() != window || control->whatsThis().isEmpty()) continue;
      QString name = control->objectName();
      if (auto* tool = qobject_cast<QToolButton*>(control); tool && tool->defaultAction()) {
        name = tool->defaultAction()->objectName();
      }
      QCOMPARE(control->whatsThis(), app::WhatsThisText(window->objectName(), name));
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

QTEST_MAIN(WhatsThisTest)
#include "whats_this_test.moc"
