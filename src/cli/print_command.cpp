// quorvant-cli print: the survey as a paper questionnaire, or its printed
// analysis (every question, or one), into a PDF file, drawn by the same
// code as the window's Print.
#include <cstdio>

#include "app/reports/survey_printing.h"
#include "cli/commands.h"
#include "cli/console_prompts.h"
#include "cli/desktop_commands.h"
#include "cli/option_arguments.h"
#include "cli/qt_application.h"
#include "core/responses/response_table.h"
#include "core/shell/settings_store.h"
#include "core/survey/survey.h"

namespace quorvant::cli {
namespace {

constexpr char kUsage[] =
    "usage: quorvant-cli print SURVEY.qvx OUT.pdf [--analysis [--question ID]] [--where COND]...";

std::string CheckId(std::string_view, const std::string& value) {
  const std::optional<int> id = WholeNumber(value);
  return id && *id >= 0 ? "" : "the question ID must be a number: " + value;
}

}  // namespace

int RunPrint(const Args& args) {
  const auto parsed =
      ParseArguments(args, {.options = {{.name = "--analysis", .kind = OptionKind::kFlag},
                                        {.name = "--where", .kind = OptionKind::kList},
                                        {.name = "--question", .check = CheckId}},
                            .least_positional = 2,
                            .most_positional = 2,
                            .usage = kUsage});
  if (!parsed) return 2;
  const bool analysis = parsed->Has("--analysis");
  const std::vector<std::string> conditions = parsed->Values("--where");
  const std::optional<std::string> question = parsed->Value("--question");
  if (!analysis && (question || !conditions.empty())) return UsageError(kUsage);
  const std::string& survey_path = parsed->positional[0];
  const std::string& pdf_path = parsed->positional[1];

  SettingsStore settings;
  TSurvey survey(settings);
  ConsolePrompts prompts;
  TResponseTable table(prompts);
  int item_index = -1;
  if (analysis) {
    uint32_t records = 0;
    const int status = LoadAndCount(survey_path, conditions, survey, table, prompts, &records);
    if (status != 0) return status;
    if (question) {
      item_index = SurveyItemOfId(survey, *WholeNumber(*question), ItemKinds::kQuestions);
      if (item_index < 0) return 1;
    }
  } else if (!LoadSurvey(survey_path, survey)) {
    return 1;
  }

  // Fonts need the GUI layer; a terminal run has no display to show on.
  const auto application = StartOffscreenGui();
  const app::ReportTarget target{nullptr, QString::fromStdString(pdf_path)};
  const bool printed =
      analysis ? app::PrintAnalysis(target, survey, table.IsOpen() ? &table.table() : nullptr,
                                    app::StoredBackground(settings), item_index)
               : app::PrintSurvey(target, survey);
  if (!printed) {
    std::fprintf(stderr, "Could not write the file %s\n", pdf_path.c_str());
    return 1;
  }
  return 0;
}

}  // namespace quorvant::cli
