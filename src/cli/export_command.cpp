// quorvant-cli export: the survey's responses as a dBase file with its
// field-mapping text, as the window command makes them.
#include <cstdio>

#include "cli/commands.h"
#include "cli/option_arguments.h"
#include "core/responses/response_export.h"
#include "core/shell/atomic_file.h"
#include "core/shell/settings_store.h"
#include "core/survey/survey.h"
#include "core/tableengine/table.h"

namespace quorvant::cli {

int RunExport(const Args& args) {
  const auto parsed =
      ParseArguments(args, PositionalOnly(2, "usage: quorvant-cli export SURVEY.qvx OUT.dbf"));
  if (!parsed) return 2;
  SettingsStore settings;
  TSurvey survey(settings);
  if (!LoadSurvey(parsed->positional[0], survey)) return 1;
  if (!FileExists(survey.SRResponseFile())) {
    std::fprintf(stderr, "The survey %s has no response table.\n", parsed->positional[0].c_str());
    return 1;
  }
  const std::string name = ExportTableName(parsed->positional[1]);
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

}  // namespace quorvant::cli
