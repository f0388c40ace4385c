// quorvant-cli report: the analysis as web pages, the same pages the
// Analysis page's Print writes to a web page, without opening a browser.
#include <cstdio>

#include "app/analysis/chart_settings.h"
#include "app/chart/chart_jpeg.h"
#include "cli/commands.h"
#include "cli/console_prompts.h"
#include "cli/desktop_commands.h"
#include "cli/option_arguments.h"
#include "cli/qt_application.h"
#include "core/env/table_error.h"
#include "core/reports/web_report.h"
#include "core/responses/response_table.h"
#include "core/shell/preferences.h"
#include "core/shell/settings_keys.h"
#include "core/shell/settings_store.h"
#include "core/survey/question_list.h"
#include "core/survey/survey.h"

namespace quorvant::cli {
namespace {

constexpr char kUsage[] =
    "usage: quorvant-cli report SURVEY.qvx DIR [--question ID] [--where COND]...";
const QSize kImageSize(800, 600);

std::string CheckId(std::string_view, const std::string& value) {
  return WholeNumber(value) ? "" : "the question ID must be a number: " + value;
}

}  // namespace

int RunReport(const Args& args) {
  const auto parsed =
      ParseArguments(args, {.options = {{.name = "--where", .kind = OptionKind::kList},
                                        {.name = "--question", .once = true, .check = CheckId}},
                            .least_positional = 2,
                            .most_positional = 2,
                            .usage = kUsage});
  if (!parsed) return 2;
  const std::vector<std::string>& positional = parsed->positional;
  const std::optional<std::string> question = parsed->Value("--question");

  SettingsStore settings;
  TSurvey survey(settings);
  ConsolePrompts prompts;
  TResponseTable table(prompts);
  uint32_t records = 0;
  if (const int status =
          LoadAndCount(positional[0], parsed->Values("--where"), survey, table, prompts, &records);
      status != 0) {
    return status;
  }
  const QuestionListing listing = RebuildQuestionList(survey);
  std::vector<int> items = listing.analysis_items;
  if (question) {
    const int item = SurveyItemOfId(survey, *WholeNumber(*question), ItemKinds::kQuestions);
    if (item < 0) return 1;
    items = {item};
  }

  // Started for the first chart only: a report of text questions alone, or
  // one that fails at once, needs no drawing.
  std::unique_ptr<QGuiApplication> application;
  const app::ChartBackground background = app::StoredBackground(settings);
  WebReportHooks hooks;
  hooks.write_chart = [&](int item, const std::string& path) {
    if (!application) application = StartOffscreenGui();
    app::TChart chart;
    app::PrepareQuestionChart(chart, survey.Item(item), survey.Results(), background);
    return app::WriteChartJpeg(chart, kImageSize, path);
  };
  const WebReportNames names(positional[1], survey.FileName(),
                             HtmlExtensionFor(settings.Read(settings::kDefaultHTML)));
  WebReportResult result;
  try {
    result = question ? WriteQuestionPage(survey, &table.table(), names, items[0], false, hooks)
                      : WriteWebReport(survey, &table.table(), names, items, hooks);
  } catch (const ETableError& e) {
    result = {false, e.what(), "", ""};
  }
  if (!result.ok) {
    std::fprintf(stderr, "%s\n", result.error.c_str());
    return 1;
  }
  std::printf("%s\n", result.written.c_str());
  return 0;
}

}  // namespace quorvant::cli
