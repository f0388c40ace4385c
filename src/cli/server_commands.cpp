// quorvant-cli verify and register: the publish dialog's steps two and three,
// run against the survey's collection server.
#include <QCoreApplication>
#include <cstdio>

#include "app/transfer/http_client.h"
#include "cli/commands.h"
#include "core/publishing/server_requests.h"
#include "core/shell/settings_store.h"
#include "core/survey/survey.h"
#include "core/survey/survey_exception.h"

namespace quorvant::cli {
namespace {

enum class Step { kVerify, kRegister };

int RunServerStep(const Args& args, Step step) {
  const char* name = step == Step::kVerify ? "verify" : "register";
  if (args.size() != 1 || args[0].starts_with("-")) {
    return UsageError(std::string("usage: quorvant-cli ") + name + " SURVEY.qvx");
  }
  SettingsStore settings;
  TSurvey survey(settings);
  try {
    survey.Load(args[0]);
  } catch (const ESurveyException& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  int argc = 1;
  char program[] = "quorvant-cli";
  char* argv[] = {program, nullptr};
  QCoreApplication app(argc, argv);
  HttpClient client;
  client.ApplyProxySettings(settings);
  const std::string url =
      step == Step::kVerify ? VerifyServerURL(survey) : RegisterSurveyURL(survey);
  const HttpOutcome outcome = GetAndWait(client, QString::fromStdString(url));

  ServerReplyOutcome result;
  if (outcome == HttpOutcome::kSucceeded) {
    const std::string body = client.Body().toStdString();
    result = step == Step::kVerify ? ApplyVerificationReply(survey, body)
                                   : ApplyRegistrationReply(survey, body);
  } else {
    result = ConnectionFailedOutcome(survey, step == Step::kVerify);
  }
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

int RunVerify(const Args& args) { return RunServerStep(args, Step::kVerify); }
int RunRegister(const Args& args) { return RunServerStep(args, Step::kRegister); }

}  // namespace quorvant::cli
