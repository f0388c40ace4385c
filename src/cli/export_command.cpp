// quorvant-cli export: the survey's responses as a file of the type its
// extension names. A dBase file comes with its field-mapping text, as the
// window command makes it, and holds every record; the research formats
// hold the records that pass the filter, counted as `results` counts them.
#include <cstdio>

#include "cli/commands.h"
#include "cli/console_prompts.h"
#include "cli/option_arguments.h"
#include "core/export/response_file_export.h"
#include "core/responses/response_export.h"
#include "core/responses/response_table.h"
#include "core/shell/atomic_file.h"
#include "core/shell/settings_store.h"
#include "core/survey/survey.h"
#include "core/tableengine/table.h"

namespace quorvant::cli {
namespace {

constexpr char kUsage[] =
    "usage: quorvant-cli export SURVEY.qvx OUT.(dbf|csv|xlsx|sav|dta) [--labels] [--where COND]...";

int ExportTable(const std::string& survey_path, const std::string& out) {
  SettingsStore settings;
  TSurvey survey(settings);
  if (!LoadSurvey(survey_path, survey)) return 1;
  if (!FileExists(survey.SRResponseFile())) {
    std::fprintf(stderr, "The survey %s has no response table.\n", survey_path.c_str());
    return 1;
  }
  const std::string name = ExportTableName(out);
  try {
    Table table;
    table.Open(survey.SRResponseFile());
    WriteResponseExport(survey, table, name);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  std::printf("%s\n", ExportWrittenText(name).c_str());
  return 0;
}

int ExportFile(const ParsedArguments& parsed, ExportFormat format) {
  SettingsStore settings;
  TSurvey survey(settings);
  ConsolePrompts prompts;
  TResponseTable table(prompts);
  uint32_t records = 0;
  if (const int status = LoadAndCount(parsed.positional[0], parsed.Values("--where"), survey,
                                      table, prompts, &records);
      status != 0) {
    return status;
  }
  const std::string& out = parsed.positional[1];
  try {
    const ExportSummary summary =
        WriteResponseFile(survey, table.table(), out, format, {.labels = parsed.Has("--labels")});
    if (!summary.cut_notice.empty()) std::fprintf(stderr, "%s\n", summary.cut_notice.c_str());
    std::printf("%s\n", ResponseFileWrittenText(out, summary).c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}

}  // namespace

int RunExport(const Args& args) {
  const auto parsed =
      ParseArguments(args, {.options = {{.name = "--where", .kind = OptionKind::kList},
                                        {.name = "--labels", .kind = OptionKind::kFlag}},
                            .least_positional = 2,
                            .most_positional = 2,
                            .usage = kUsage});
  if (!parsed) return 2;
  const std::string& out = parsed->positional[1];
  const std::optional<ExportFormat> format = ExportFormatOfName(out);
  if (!format) return UsageError(UnknownExportTypeText(out));
  const bool labels = parsed->Has("--labels");
  if (*format == ExportFormat::kDbf) {
    // The dBase table is a copy of the whole response table.
    if (labels || parsed->Has("--where")) {
      return UsageError("--labels and --where do not apply to a .dbf export");
    }
    return ExportTable(parsed->positional[0], out);
  }
  if (labels && (*format == ExportFormat::kSav || *format == ExportFormat::kDta)) {
    return UsageError("--labels applies to .csv and .xlsx; .sav and .dta files carry the labels");
  }
  return ExportFile(*parsed, *format);
}

}  // namespace quorvant::cli
