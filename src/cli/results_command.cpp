// quorvant-cli results: the counts the Analysis page shows, under the
// conditions given with --where, as plain lines, JSON or CSV.
#include <cstdio>
#include <filesystem>

#include "cli/commands.h"
#include "cli/console_prompts.h"
#include "cli/option_arguments.h"
#include "cli/results_output.h"
#include "core/analysis/filter_condition.h"
#include "core/analysis/result_counting.h"
#include "core/env/table_error.h"
#include "core/responses/response_table.h"
#include "core/shell/settings_store.h"
#include "core/survey/survey.h"

namespace quorvant::cli {
namespace {

constexpr char kUsage[] =
    "usage: quorvant-cli results SURVEY.qvx [--where COND]... [--json | --csv]";

enum class Format { kPlain, kJson, kCsv };

}  // namespace

int LoadAndCount(const std::string& path, const std::vector<std::string>& conditions,
                 TSurvey& survey, uint32_t* records) {
  ConsolePrompts prompts;
  TResponseTable table(prompts);
  return LoadAndCount(path, conditions, survey, table, prompts, records);
}

int LoadAndCount(const std::string& path, const std::vector<std::string>& conditions,
                 TSurvey& survey, TResponseTable& table, Prompts& prompts, uint32_t* records) {
  if (!LoadSurvey(std::filesystem::absolute(path).string(), survey)) return 1;
  for (const std::string& condition : conditions) {
    const std::string error = AddFilterCondition(survey, condition, survey.ActiveFilter());
    if (!error.empty()) return UsageError(error);
  }
  try {
    if (!OpenResponsesOfLoadedSurvey(survey, table)) {
      std::fprintf(stderr, "The survey %s has no response table.\n", path.c_str());
      return 1;
    }
    // A table that cannot be read has had its error printed.
    if (!ComputeResults(survey, table, prompts)) return 1;
    *records = survey.Results().RecordsCounted();
  } catch (const ETableError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}

int RunResults(const Args& args) {
  const auto parsed =
      ParseArguments(args, {.options = {{.name = "--where", .kind = OptionKind::kList},
                                        {.name = "--json", .kind = OptionKind::kFlag},
                                        {.name = "--csv", .kind = OptionKind::kFlag}},
                            .least_positional = 1,
                            .most_positional = 1,
                            .positional_may_be_empty = false,
                            .usage = kUsage});
  if (!parsed) return 2;
  if (parsed->Has("--json") && parsed->Has("--csv")) return UsageError(kUsage);
  const Format format = parsed->Has("--json")  ? Format::kJson
                        : parsed->Has("--csv") ? Format::kCsv
                                               : Format::kPlain;

  SettingsStore settings;
  TSurvey survey(settings);
  uint32_t records = 0;
  if (const int status =
          LoadAndCount(parsed->positional[0], parsed->Values("--where"), survey, &records);
      status != 0) {
    return status;
  }
  const std::string out = format == Format::kJson  ? ResultsJson(survey, records)
                          : format == Format::kCsv ? ResultsCsv(survey, records)
                                                   : ResultsPlain(survey, records);
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

}  // namespace quorvant::cli
