// quorvant-cli report: the analysis as web pages, the same pages the
// Analysis page's Print writes to a web page, without opening a browser.
#include <charconv>
#include <cstdio>

#include "app/analysis/chart_settings.h"
#include "app/chart/chart_jpeg.h"
#include "cli/commands.h"
#include "cli/console_prompts.h"
#include "cli/offscreen_gui.h"
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

std::optional<int> Id(const std::string& text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

int RunReport(const Args& args) {
  std::vector<std::string> positional;
  std::vector<std::string> conditions;
  std::optional<int> question_id;
  for (size_t i = 0; i < args.size(); ++i) {
    const bool has_value = i + 1 < args.size();
    if (args[i] == "--where" && has_value) {
      conditions.push_back(args[++i]);
    } else if (args[i] == "--question" && has_value && !question_id) {
      question_id = Id(args[++i]);
      if (!question_id) return UsageError("the question ID must be a number: " + args[i]);
    } else if (args[i].starts_with("-") || positional.size() == 2) {
      return UsageError(kUsage);
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() != 2) return UsageError(kUsage);

  SettingsStore settings;
  TSurvey survey(settings);
  ConsolePrompts prompts;
  TResponseTable table(prompts);
  uint32_t records = 0;
  if (const int status = LoadAndCount(positional[0], conditions, survey, table, prompts, &records);
      status != 0) {
    return status;
  }
  const QuestionListing listing = RebuildQuestionList(survey);
  std::vector<int> items = listing.analysis_items;
  if (question_id) {
    items.clear();
    for (const int item : listing.analysis_items) {
      if (survey.Item(item).ID == *question_id) items.push_back(item);
    }
    if (items.empty()) {
      std::fprintf(stderr, "The survey has no question with the ID %d.\n", *question_id);
      return 1;
    }
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
    result = question_id ? WriteQuestionPage(survey, &table.table(), names, items[0], false, hooks)
                         : WriteWebReport(survey, &table.table(), names, items, hooks);
  } catch (const ETableError& e) {
    result = {false, e.what(), ""};
  }
  if (!result.ok) {
    std::fprintf(stderr, "%s\n", result.error.c_str());
    return 1;
  }
  std::printf("%s\n", result.written.c_str());
  return 0;
}

}  // namespace quorvant::cli
