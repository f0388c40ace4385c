// Every window the program makes, each built once, for the tests that look
// at all of them together (their "What's This?" texts, their keyboard
// mnemonics). The windows live as long as the EveryWindow object.
#pragma once

#include <QDir>
#include <QList>
#include <memory>
#include <string>
#include <vector>

#include "app/analysis/analysis_view.h"
#include "app/analysis/chart_toolbox.h"
#include "app/analysis/cross_tab_window.h"
#include "app/analysis/filter_builder.h"
#include "app/emaillists/email_list_dialogs.h"
#include "app/emaillists/email_list_window.h"
#include "app/libraries/import_style_dialog.h"
#include "app/libraries/library_name_dialog.h"
#include "app/libraries/question_library_dialog.h"
#include "app/libraries/response_template_editor.h"
#include "app/libraries/template_manager_dialog.h"
#include "app/publishing/publish_dialogs.h"
#include "app/publishing/publish_survey_dialog.h"
#include "app/reports/range_select_dialog.h"
#include "app/reports/report_destination_dialog.h"
#include "app/responses/update_responses_dialog.h"
#include "app/shell/about_box.h"
#include "app/shell/directory_chooser.h"
#include "app/shell/main_form.h"
#include "app/shell/preferences_dialog.h"
#include "app/shell/warning_dialog.h"
#include "app/survey/header_editor.h"
#include "app/survey/question_editor.h"
#include "app/survey/skip_group_dialog.h"
#include "app/survey/survey_properties_dialog.h"
#include "core/responses/response_table.h"
#include "core/shell/settings_store.h"
#include "core/survey/editing_commands.h"
#include "core/survey/survey.h"

namespace quorvant::testing {

class EveryWindow {
 public:
  // Requires: an AppHome in place. data_dir is created when missing.
  EveryWindow(SettingsStore& settings, Prompts& prompts, app::WindowDialogs& dialogs,
              const std::string& data_dir)
      : survey_(settings), table_(prompts), editing_(survey_, survey_, prompts, settings) {
    QDir().mkpath(QString::fromStdString(data_dir));
    auto* chooser = new app::TQVXSelDir(dialogs, nullptr);
    auto* main = new app::TQVXMainForm(prompts, dialogs, {});
    main->AnalysisView().DetailGrid();  // the text pages are made on first use
    main->AnalysisView().ShortTextGrid();
    auto* question = new app::TQVXQuestion(settings, prompts, data_dir, nullptr);
    auto* header = new app::TQVXHeader(settings, nullptr);
    Keep(main);
    windows_ << &main->ChartToolbox();  // owned by the main window
    windows_ << &main->CrossTabulation();
    Keep(question);
    Keep(header);
    Keep(new app::TQVXql(
        settings, prompts, data_dir, survey_, editing_, *question, *header, [] {}, nullptr));
    Keep(new app::TQVXLibName("New Library", "Please enter a &name for the new library:", nullptr));
    Keep(new app::TQVXTemplateMgr(prompts, dialogs, data_dir, nullptr));
    Keep(new app::TQVXImportSurvey(nullptr));
    Keep(new app::TQVXSkipGroup({"2) Why?"}, "1) Do you?", {"Yes", "No"}, nullptr));
    Keep(new app::TQVXrt(settings, "a\nb", nullptr));
    Keep(new app::TQVXProperties(
        survey_, settings, prompts, dialogs, data_dir, [](const std::string&) {}, nullptr));
    Keep(new app::TQVXPrefs(settings, prompts, *chooser, data_dir, nullptr));
    Keep(new app::TQVXDestination(*chooser, "", nullptr));
    Keep(new app::TQVXRangeSelect(nullptr));
    Keep(chooser);
    Keep(new app::TQVXUpdateResponses(survey_, table_, settings, prompts,
                                      [](const std::string&) {}));
    Keep(new app::TQVXWarning("Really?", nullptr));
    Keep(new app::TQVXPublishSurvey(survey_, settings, prompts, publish_dialogs_, data_dir,
                                    data_dir));
    Keep(new app::TQVXFilterBuilder(survey_, {}, TFilterList(), nullptr));
    Keep(new app::TQVXEList(settings, prompts, list_dialogs_, data_dir));
    Keep(new app::TQVXAbout(nullptr, false));
  }
  ~EveryWindow() { owned_.clear(); }

  const QList<QWidget*>& Windows() const { return windows_; }

 private:
  void Keep(QWidget* window) {
    owned_.emplace_back(window);
    windows_ << window;
  }

  TSurvey survey_;
  TResponseTable table_;
  SurveyEditing editing_;
  app::StandardEmailListDialogs list_dialogs_;
  app::StandardPublishDialogs publish_dialogs_;
  std::vector<std::unique_ptr<QWidget>> owned_;
  QList<QWidget*> windows_;
};

}  // namespace quorvant::testing
