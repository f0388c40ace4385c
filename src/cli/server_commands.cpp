// quorvant-cli verify and register, the publish dialog's steps two and
// three, and clear-results, run against the survey's collection server.
#include <cstdio>

#include "app/transfer/http_client.h"
#include "cli/commands.h"
#include "cli/console_prompts.h"
#include "cli/desktop_commands.h"
#include "cli/option_arguments.h"
#include "cli/qt_application.h"
#include "core/publishing/server_steps.h"
#include "core/shell/settings_store.h"
#include "core/survey/survey_document.h"

namespace quorvant::cli {
namespace {

const char* StepName(ServerStep step) {
  switch (step) {
    case ServerStep::kVerify:
      return "verify";
    case ServerStep::kRegister:
      return "register";
    case ServerStep::kClearResults:
      return "clear-results";
  }
  return "";
}

int RunServerStep(const Args& args, ServerStep step) {
  const std::string usage = std::string("usage: quorvant-cli ") + StepName(step) + " SURVEY.qvx";
  const auto parsed = ParseArguments(args, PositionalOnly(1, usage.c_str()));
  if (!parsed) return 2;
  SettingsStore settings;
  ConsolePrompts prompts;
  SurveyDocument document(settings, prompts);
  TSurvey& survey = document.Survey();
  if (!document.Load(parsed->positional[0])) return 1;
  const auto application = StartQtCore();
  HttpClient client;
  client.ApplyProxySettings(settings);
  const HttpOutcome outcome =
      GetAndWait(client, QString::fromStdString(ServerStepURL(step, survey)));
  const int status = outcome == HttpOutcome::kConnectionFailed ? 0 : client.StatusCode();
  const ServerReplyOutcome result = JudgeServerReply(
      step, survey, status, status != 0 ? client.Body().toStdString() : std::string());
  std::printf("%s\n", result.status.c_str());
  if (!result.error.empty()) std::fprintf(stderr, "%s\n", result.error.c_str());
  if (survey.Modified() && !document.Save()) return 1;
  return result.passed ? 0 : 1;
}

}  // namespace

int RunVerify(const Args& args) { return RunServerStep(args, ServerStep::kVerify); }
int RunRegister(const Args& args) { return RunServerStep(args, ServerStep::kRegister); }
int RunClearResults(const Args& args) { return RunServerStep(args, ServerStep::kClearResults); }

}  // namespace quorvant::cli
