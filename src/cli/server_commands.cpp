// quorvant-cli verify and register, the publish dialog's steps two and
// three, and clear-results, run against the survey's collection server.
#include <cstdio>

#include "app/transfer/http_client.h"
#include "cli/commands.h"
#include "cli/desktop_commands.h"
#include "cli/option_arguments.h"
#include "cli/qt_application.h"
#include "core/publishing/server_steps.h"
#include "core/shell/settings_store.h"
#include "core/survey/survey.h"
#include "core/survey/survey_exception.h"

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
  TSurvey survey(settings);
  if (!LoadSurvey(parsed->positional[0], survey)) return 1;
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
  try {
    if (survey.Modified()) survey.Save();
  } catch (const ESurveyException& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return result.passed ? 0 : 1;
}

}  // namespace

int RunVerify(const Args& args) { return RunServerStep(args, ServerStep::kVerify); }
int RunRegister(const Args& args) { return RunServerStep(args, ServerStep::kRegister); }
int RunClearResults(const Args& args) { return RunServerStep(args, ServerStep::kClearResults); }

}  // namespace quorvant::cli
