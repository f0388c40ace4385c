// quorvant-cli verify and register, the publish dialog's steps two and
// three, and clear-results, run against the survey's collection server.
#include <QCoreApplication>
#include <cstdio>

#include "app/transfer/http_client.h"
#include "cli/commands.h"
#include "cli/console_prompts.h"
#include "core/publishing/clear_results.h"
#include "core/publishing/server_requests.h"
#include "core/shell/settings_store.h"
#include "core/survey/survey_document.h"

namespace quorvant::cli {
namespace {

enum class Step { kVerify, kRegister, kClearResults };

const char* StepName(Step step) {
  switch (step) {
    case Step::kVerify:
      return "verify";
    case Step::kRegister:
      return "register";
    case Step::kClearResults:
      return "clear-results";
  }
  return "";
}

std::string StepURL(Step step, const TSurvey& survey) {
  switch (step) {
    case Step::kVerify:
      return VerifyServerURL(survey);
    case Step::kRegister:
      return RegisterSurveyURL(survey);
    case Step::kClearResults:
      return ClearResultsURL(survey);
  }
  return {};
}

// http_status: 0 when no reply came.
ServerReplyOutcome JudgeReply(Step step, TSurvey& survey, int http_status,
                              const std::string& body) {
  if (step == Step::kClearResults) return ApplyClearResultsReply(survey, http_status, body);
  const bool reached = http_status != 0 && http_status < 400;
  if (!reached) return ConnectionFailedOutcome(survey, step == Step::kVerify);
  return step == Step::kVerify ? ApplyVerificationReply(survey, body)
                               : ApplyRegistrationReply(survey, body);
}

int RunServerStep(const Args& args, Step step) {
  const char* name = StepName(step);
  if (args.size() != 1 || args[0].starts_with("-")) {
    return UsageError(std::string("usage: quorvant-cli ") + name + " SURVEY.qvx");
  }
  SettingsStore settings;
  ConsolePrompts prompts;
  SurveyDocument document(settings, prompts);
  TSurvey& survey = document.Survey();
  if (!document.Load(args[0])) return 1;
  int argc = 1;
  char program[] = "quorvant-cli";
  char* argv[] = {program, nullptr};
  QCoreApplication app(argc, argv);
  HttpClient client;
  client.ApplyProxySettings(settings);
  const HttpOutcome outcome = GetAndWait(client, QString::fromStdString(StepURL(step, survey)));
  const int status = outcome == HttpOutcome::kConnectionFailed ? 0 : client.StatusCode();
  const ServerReplyOutcome result =
      JudgeReply(step, survey, status, status != 0 ? client.Body().toStdString() : std::string());
  std::printf("%s\n", result.status.c_str());
  if (!result.error.empty()) std::fprintf(stderr, "%s\n", result.error.c_str());
  if (survey.Modified() && !document.Save()) return 1;
  return result.passed ? 0 : 1;
}

}  // namespace

int RunVerify(const Args& args) { return RunServerStep(args, Step::kVerify); }
int RunRegister(const Args& args) { return RunServerStep(args, Step::kRegister); }
int RunClearResults(const Args& args) { return RunServerStep(args, Step::kClearResults); }

}  // namespace quorvant::cli
