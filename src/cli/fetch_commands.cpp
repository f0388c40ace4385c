// quorvant-cli fetch and incorporate: the "Update Responses" run, from the
// survey's collection server or from a reply saved in a file, printing the
// dialog's status lines.
#include <QFile>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "app/responses/update_run.h"
#include "cli/commands.h"
#include "cli/console_prompts.h"
#include "cli/desktop_commands.h"
#include "cli/option_arguments.h"
#include "cli/qt_application.h"
#include "core/analysis/result_counting.h"
#include "core/env/table_error.h"
#include "core/responses/response_table.h"
#include "core/shell/settings_store.h"
#include "core/survey/survey.h"

namespace quorvant::cli {
namespace {

// reply: the saved reply to incorporate; empty to download it.
int RunUpdate(const std::string& survey_file, const std::string& reply) {
  SettingsStore settings;
  TSurvey survey(settings);
  // An absolute name, so that a table made next to the survey is found
  // again from any folder.
  if (!LoadSurvey(std::filesystem::absolute(survey_file).string(), survey)) return 1;
  const auto application = StartQtCore();
  ConsolePrompts prompts;
  TResponseTable table(prompts);
  try {
    OpenResponsesAndCompute(survey, table, prompts);
  } catch (const ETableError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  ResponseUpdateRun run(survey, table, settings, prompts);
  std::vector<std::string> temp_files;
  run.SetTemporaryFileSink([&](const std::string& file) { temp_files.push_back(file); });
  QObject::connect(&run, &ResponseUpdateRun::StatusLine, [](const QString& line) {
    std::printf("%s\n", line.toLocal8Bit().constData());
    std::fflush(stdout);
  });
  if (reply.empty()) {
    run.Run();
  } else {
    run.ProcessReply(reply);
  }
  for (const std::string& file : temp_files) QFile::remove(QString::fromStdString(file));
  try {
    table.Close();
  } catch (const ETableError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  if (run.Result().AlreadyHeld > 0) {
    std::printf("Already held: %d\n", run.Result().AlreadyHeld);
  }
  return run.Result().Completed ? 0 : 1;
}

}  // namespace

int RunFetch(const Args& args) {
  const auto parsed =
      ParseArguments(args, PositionalOnly(1, "usage: quorvant-cli fetch SURVEY.qvx"));
  return parsed ? RunUpdate(parsed->positional[0], "") : 2;
}

int RunIncorporate(const Args& args) {
  const auto parsed = ParseArguments(
      args, PositionalOnly(2, "usage: quorvant-cli incorporate SURVEY.qvx REPLY.dat"));
  return parsed ? RunUpdate(parsed->positional[0], parsed->positional[1]) : 2;
}

}  // namespace quorvant::cli
