// screenshot_tour OUTDIR SURVEY: opens the main window on SURVEY and
// saves PNG pictures of the windows a survey author sees most, for a person
// to look at. Run it under xvfb-run (tools/screenshots.sh does).
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QItemSelectionModel>
#include <QListView>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QThread>
#include <QWhatsThis>

#include "app/analysis/chart_toolbox.h"
#include "app/analysis/cross_tab_window.h"
#include "app/analysis/filter_builder.h"
#include "app/libraries/import_style_dialog.h"
#include "app/libraries/question_library_dialog.h"
#include "app/libraries/template_manager_dialog.h"
#include "app/publishing/publish_dialogs.h"
#include "app/publishing/publish_survey_dialog.h"
#include "app/reports/range_select_dialog.h"
#include "app/reports/report_destination_dialog.h"
#include "app/shell/directory_chooser.h"
#include "app/shell/main_form.h"
#include "app/shell/message_prompts.h"
#include "app/shell/preferences_dialog.h"
#include "app/shell/warning_dialog.h"
#include "app/shell/window_dialogs.h"
#include "app/survey/header_editor.h"
#include "app/survey/question_editor.h"
#include "app/survey/skip_group_dialog.h"
#include "app/survey/survey_properties_dialog.h"
#include "core/libraries/library_files.h"
#include "core/libraries/question_library.h"
#include "core/shell/settings_keys.h"
#include "core/shell/settings_store.h"
#include "core/survey/editing_commands.h"

namespace {

QString out_dir;

void Settle() {
  for (int i = 0; i < 10; ++i) {
    QApplication::processEvents();
    QThread::msleep(20);
  }
}

void Shoot(QWidget& widget, const char* name) {
  widget.show();
  widget.raise();
  Settle();
  const QString path = out_dir + "/" + name + ".png";
  widget.grab().save(path);
  std::printf("%s\n", qPrintable(path));
}

// The first item of the survey with this style, or -1.
int FirstOfStyle(quorvant::TSurvey& survey, int style) {
  for (int i = 0; i < survey.ItemCount(); ++i) {
    if (survey.Item(i).Style == style) return i;
  }
  return -1;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: screenshot_tour OUTDIR SURVEY.qvx\n");
    return 2;
  }
  out_dir = argv[1];
  QDir().mkpath(out_dir);
  using namespace quorvant::app;
  MessageBoxPrompts prompts;
  StandardWindowDialogs dialogs;
  TQVXMainForm window(prompts, dialogs, {QString::fromLocal8Bit(argv[2])});
  window.resize(760, 560);
  Shoot(window, "main-questions");
  window.SelectLines({2, 3});
  window.RefreshMainWindow();
  Shoot(window, "main-questions-selected");
  window.findChild<QTabWidget*>("pgcMain")->setCurrentIndex(1);
  Shoot(window, "main-analysis");
  // The other result views: a numeric chart, short and long text answers,
  // and the chart toolbox beside the window.
  auto* analysis_list = window.findChild<QComboBox*>("cmbQuestionList");
  const std::pair<int, const char*> views[] = {{quorvant::kStyleNumeric, "analysis-numeric"},
                                               {quorvant::kStyleText, "analysis-text"}};
  for (const auto& [style, name] : views) {
    const int item = FirstOfStyle(window.Document().Survey(), style);
    for (int row = 0; row < analysis_list->count(); ++row) {
      if (analysis_list->itemData(row).toInt() == item) analysis_list->setCurrentIndex(row);
    }
    Shoot(window, name);
  }
  for (int row = analysis_list->count() - 1; row >= 0; --row) {
    const int item = analysis_list->itemData(row).toInt();
    if (window.Document().Survey().Item(item).Style == quorvant::kStyleText &&
        window.Document().Survey().Item(item).LengthOfResponse == -1) {
      analysis_list->setCurrentIndex(row);
      Shoot(window, "analysis-detail");
      break;
    }
  }
  analysis_list->setCurrentIndex(0);
  Shoot(window.ChartToolbox(), "chart-toolbox");
  window.ChartToolbox().hide();
  Shoot(window.CrossTabulation(), "cross-tabulation");
  window.CrossTabulation().findChild<QCheckBox*>("chkRowPercent")->setChecked(true);
  Shoot(window.CrossTabulation(), "cross-tabulation-percent");
  window.CrossTabulation().hide();
  window.findChild<QTabWidget*>("pgcMain")->setCurrentIndex(0);
  window.resize(600, 450);
  Shoot(window, "main-first-run-size");

  TQVXQuestion& editor = window.QuestionEditor();
  const std::pair<int, const char*> pages[] = {{quorvant::kStyleSingleChoice, "question-responses"},
                                               {quorvant::kStyleText, "question-text"},
                                               {quorvant::kStyleNumeric, "question-numeric"}};
  for (const auto& [style, name] : pages) {
    const int i = FirstOfStyle(window.Document().Survey(), style);
    if (i >= 0) editor.Fill(window.Document().Survey().Item(i));
    Shoot(editor, name);
    editor.hide();
  }
  window.HeaderEditor().SetText("About your visits");
  Shoot(window.HeaderEditor(), "header-editor");
  window.HeaderEditor().hide();

  TQVXSkipGroup skip({"1a) How often do you eat in the canteen?", "1b) What do you usually buy?"},
                     "1) Have you visited the canteen this year?", {"Yes", "No"}, &window);
  Shoot(skip, "skip-group");
  // The Filter Builder on each of its pages, with two conditions listed.
  std::vector<TQVXFilterBuilder::QuestionLine> lines;
  // The Filter Builder lists the same lines as the analysis list above.
  for (int row = 0; row < analysis_list->count(); ++row) {
    lines.push_back({analysis_list->itemText(row), analysis_list->itemData(row).toInt()});
  }
  quorvant::TFilterList conditions;
  const int choice = FirstOfStyle(window.Document().Survey(), quorvant::kStyleSingleChoice);
  const int number = FirstOfStyle(window.Document().Survey(), quorvant::kStyleNumeric);
  if (choice >= 0) conditions.AddChoiceCondition(window.Document().Survey().Item(choice), true, 0);
  if (number >= 0) conditions.AddNumericCondition(window.Document().Survey().Item(number), 0, "30");
  TQVXFilterBuilder filter(window.Document().Survey(), lines, conditions, &window);
  auto* in_question = filter.findChild<QComboBox*>("cmbQuestion");
  const std::pair<int, const char*> filter_pages[] = {
      {quorvant::kStyleSingleChoice, "filter-builder-select-list"},
      {quorvant::kStyleText, "filter-builder-text"},
      {quorvant::kStyleNumeric, "filter-builder-numeric"}};
  filter.show();
  for (const auto& [style, name] : filter_pages) {
    const int item = FirstOfStyle(window.Document().Survey(), style);
    for (int row = 0; row < in_question->count(); ++row) {
      if (in_question->itemData(row).toInt() == item) in_question->setCurrentIndex(row);
    }
    Shoot(filter, name);
  }
  filter.hide();

  TQVXWarning warning(
      "This survey has potentially been published.  Making changes to the survey at this point "
      "may corrupt any results that have already been submitted.  Are you sure you want to do "
      "this?",
      &window);
  Shoot(warning, "warning");
  // A control's explanation as "What's This?" shows it: a pop-up of its own,
  // so the screen is grabbed around the dialog.
  auto* dont_show = warning.findChild<QWidget*>("cbDontShow");
  QWhatsThis::showText(dont_show->mapToGlobal(QPoint(10, 10)), dont_show->whatsThis(), dont_show);
  Settle();
  const QRect area = warning.frameGeometry().adjusted(-200, 0, 0, 120);
  QApplication::primaryScreen()
      ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
      .save(out_dir + "/whats-this.png");
  QWhatsThis::hideText();
  warning.hide();

  quorvant::SettingsStore settings;
  TQVXProperties properties(
      window.Document().Survey(), settings, prompts, dialogs, window.DataDirectory(),
      [](const std::string&) {}, &window);
  auto* property_pages = properties.findChild<QTabWidget*>("pgcProperties");
  const char* property_names[] = {"properties-details", "properties-web-server",
                                  "properties-notifications", "properties-history",
                                  "properties-security"};
  properties.show();
  for (int i = 0; i < property_pages->count(); ++i) {
    property_pages->setCurrentIndex(i);
    Shoot(properties, property_names[i]);
  }
  properties.findChild<QComboBox*>("cmbServerType")->setCurrentIndex(1);
  property_pages->setCurrentIndex(1);
  Shoot(properties, "properties-web-server-service");
  properties.hide();

  TQVXPrefs prefs(settings, prompts, window.DirectoryChooser(), window.DataDirectory(), &window);
  auto* pref_pages = prefs.findChild<QTabWidget*>("pgcPrefs");
  const char* pref_names[] = {"preferences-general", "preferences-email", "preferences-advanced"};
  for (int i = 0; i < pref_pages->count(); ++i) {
    pref_pages->setCurrentIndex(i);
    Shoot(prefs, pref_names[i]);
  }
  prefs.findChild<QComboBox*>("cmbEmailSystem")->setCurrentIndex(1);
  pref_pages->setCurrentIndex(1);
  Shoot(prefs, "preferences-email-mapi");
  prefs.hide();

  {
    window.Document().Survey().SetNotificationFile("/home/author/Quorvant/staff.eml");
    StandardPublishDialogs publish_dialogs;
    TQVXPublishSurvey publish(window.Document().Survey(), settings, prompts, publish_dialogs,
                              window.DataDirectory(), window.DataDirectory(), &window);
    Shoot(publish, "publish-survey");
    quorvant::TSurvey& survey = window.Document().Survey();
    const bool asks_address = survey.Only1Email();
    survey.SetOnly1Email(true);
    TQVXPublishSurvey reminders(survey, settings, prompts, publish_dialogs, window.DataDirectory(),
                                window.DataDirectory(), &window);
    reminders.findChild<QRadioButton*>("rbSendNotAnswered")->setChecked(true);
    Shoot(reminders, "publish-survey-reminders");
    survey.SetOnly1Email(asks_address);
    window.Document().Survey().SetNotificationFile("");
    TQVXPublishSurvey short_publish(window.Document().Survey(), settings, prompts, publish_dialogs,
                                    window.DataDirectory(), window.DataDirectory(), &window);
    Shoot(short_publish, "publish-survey-no-list");
    window.Document().Survey().SetModified(false);
  }

  {
    TQVXDestination destination(window.DirectoryChooser(), "/home/author/Quorvant/report", &window);
    Shoot(destination, "report-destination");
    destination.findChild<QRadioButton*>("rbToWebPage")->setChecked(true);
    Shoot(destination, "report-destination-web");
    TQVXRangeSelect range(&window);
    Shoot(range, "select-range");
  }

  window.DirectoryChooser().SetDirectory(QString::fromStdString(window.DataDirectory()));
  Shoot(window.DirectoryChooser(), "directory-chooser");
  window.DirectoryChooser().hide();

  // A library made of the survey's first items, as "Add to Question Library"
  // fills one.
  quorvant::SettingsStore store;
  quorvant::QuestionLibraries libraries(store, prompts, window.DataDirectory());
  libraries.Rebuild();
  const int made = libraries.Create("Customer service");
  if (made >= 0) {
    std::vector<int> items;
    for (int i = 0; i < std::min(6, window.Document().Survey().ItemCount()); ++i)
      items.push_back(i);
    quorvant::AppendToQuestionLibrary(libraries.ShownPath(), window.Document().Survey(), items,
                                      store);
    store.Write(quorvant::settings::kQuestionLibraryLast, libraries.ShownPath());
  }
  quorvant::TSurvey clipboard(store);
  quorvant::SurveyEditing editing(window.Document().Survey(), clipboard, prompts, store);
  {
    TQVXql library(
        store, prompts, window.DataDirectory(), window.Document().Survey(), editing,
        window.QuestionEditor(), window.HeaderEditor(), [] {}, &window);
    auto* list = library.findChild<QListView*>("lbLibraryQuestions");
    list->selectionModel()->select(list->model()->index(1, 0), QItemSelectionModel::Select);
    Shoot(library, "question-library");
  }
  {
    TQVXTemplateMgr manager(prompts, dialogs, window.DataDirectory(), &window);
    Shoot(manager, "template-manager-responses");
    auto* type = manager.findChild<QComboBox*>("cmbType");
    type->setCurrentIndex(1);
    emit type->activated(1);
    Shoot(manager, "template-manager-display");
  }
  TQVXImportSurvey import_style(&window);
  Shoot(import_style, "import-style");
  return 0;
}
