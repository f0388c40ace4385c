// quorvant-cli crosstab: the cross table of two questions under the
// conditions given with --where, as plain text, JSON or CSV.
#include <cstdio>

#include "cli/commands.h"
#include "cli/console_prompts.h"
#include "cli/crosstab_output.h"
#include "cli/option_arguments.h"
#include "cli/results_output.h"
#include "core/analysis/chi_square.h"
#include "core/analysis/cross_table_counting.h"
#include "core/analysis/result_counting.h"
#include "core/env/table_error.h"
#include "core/responses/response_table.h"
#include "core/shell/settings_store.h"
#include "core/survey/question_list.h"
#include "core/survey/survey.h"

namespace quorvant::cli {
namespace {

constexpr char kUsage[] =
    "usage: quorvant-cli crosstab SURVEY.qvx ROWID COLID [--where COND]... [--json | --csv]";

}  // namespace

int RunCrosstab(const Args& args) {
  const auto parsed =
      ParseArguments(args, {.options = {{.name = "--where", .kind = OptionKind::kList},
                                        {.name = "--json", .kind = OptionKind::kFlag},
                                        {.name = "--csv", .kind = OptionKind::kFlag}},
                            .least_positional = 3,
                            .most_positional = 3,
                            .positional_may_be_empty = false,
                            .usage = kUsage});
  if (!parsed) return 2;
  if (parsed->Has("--json") && parsed->Has("--csv")) return UsageError(kUsage);
  const std::optional<int> row = WholeNumber(parsed->positional[1]);
  const std::optional<int> column = WholeNumber(parsed->positional[2]);
  if (!row || !column) return UsageError("ROWID and COLID are question IDs (whole numbers)");

  SettingsStore settings;
  TSurvey survey(settings);
  ConsolePrompts prompts;
  TResponseTable responses(prompts);
  uint32_t records = 0;
  if (const int status = LoadAndCount(parsed->positional[0], parsed->Values("--where"), survey,
                                      responses, prompts, &records);
      status != 0) {
    return status;
  }
  RebuildQuestionList(survey);
  try {
    const CrossTable table = ComputeCrossTable(survey, responses, *row, *column);
    const IndependenceTest test = TestIndependence(table);
    std::string filter_line = FilterLine(survey);
    if (survey.Results().FilterSetAside()) filter_line += std::string(" - ") + kFilterSetAside;
    const std::string out = parsed->Has("--json")
                                ? CrossTableJson(table, test, CountedFilterExpression(survey))
                            : parsed->Has("--csv") ? CrossTableCsv(table)
                                                   : CrossTablePlain(table, test, filter_line);
    std::fwrite(out.data(), 1, out.size(), stdout);
  } catch (const ECrossTableError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  } catch (const ETableError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}

}  // namespace quorvant::cli
