#include "core/publishing/server_steps.h"

#include "core/publishing/clear_results.h"

namespace quorvant {

std::string ServerStepURL(ServerStep step, const TSurvey& survey) {
  switch (step) {
    case ServerStep::kVerify:
      return VerifyServerURL(survey);
    case ServerStep::kRegister:
      return RegisterSurveyURL(survey);
    case ServerStep::kClearResults:
      return ClearResultsURL(survey);
  }
  return {};
}

ServerReplyOutcome JudgeServerReply(ServerStep step, TSurvey& survey, int http_status,
                                    std::string_view body) {
  if (step == ServerStep::kClearResults) return ApplyClearResultsReply(survey, http_status, body);
  const bool reached = http_status != 0 && http_status < 400;
  if (!reached) return ConnectionFailedOutcome(survey, step == ServerStep::kVerify);
  return step == ServerStep::kVerify ? ApplyVerificationReply(survey, body)
                                     : ApplyRegistrationReply(survey, body);
}

}  // namespace quorvant
