#include "core/publishing/server_requests.h"

#include "core/shell/date_time.h"
#include "core/shell/percent_encoding.h"
#include "core/shell/text_helpers.h"
#include "core/survey/survey.h"

namespace quorvant {

std::string VerifyServerURL(const TSurvey& survey) {
  return survey.EffectiveServerURL() + "/VerifyServer";
}

std::string RegisterSurveyURL(const TSurvey& survey) {
  return survey.EffectiveServerURL() +
         "/RegisterSurvey?SurveyFile=" + PercentEncode(survey.UniqueName()) +
         "&AccountID=" + PercentEncode(survey.AccountID()) +
         "&ID=" + PercentEncode(survey.Password());
}

std::string GetResultsURL(const TSurvey& survey) {
  return survey.EffectiveServerURL() +
         "/GetResults?SurveyFile=" + PercentEncode(survey.UniqueName()) +
         "&ID=" + PercentEncode(survey.Password()) +
         "&LastUpdate=" + PercentEncode(survey.SRLastUpdate());
}

bool VerificationPassed(std::string_view body) {
  return body.find("Quorvant") != std::string_view::npos;
}

bool RegistrationPassed(std::string_view body) {
  return body.find("Registration Complete") != std::string_view::npos;
}

ServerReplyOutcome ApplyVerificationReply(TSurvey& survey, std::string_view body) {
  ServerReplyOutcome outcome;
  outcome.passed = VerificationPassed(body);
  if (outcome.passed) {
    outcome.status = "Server verified at " + DateTimeToText(survey.env().Now()).value_or("");
    survey.AddHistory("Server verified.");
  } else {
    outcome.status = "Server did not pass verification.";
    outcome.error = "The verification of " + survey.EffectiveServerURL() +
                    " failed: An invalid verification code was passed.";
    outcome.error_caption = "Server Verification Failed";
  }
  survey.SetServerStatus(outcome.status);
  return outcome;
}

ServerReplyOutcome ApplyRegistrationReply(TSurvey& survey, std::string_view body) {
  ServerReplyOutcome outcome;
  outcome.passed = RegistrationPassed(body);
  if (outcome.passed) {
    const TDateTime now = survey.env().Now();
    outcome.status = "Survey registered at " + DateTimeToText(now).value_or("");
    survey.SetRegDate(now);
  } else {
    outcome.status = "Survey failed to register.";
    outcome.error = "The survey failed to register.  The following error was returned:\r\n\r\n" +
                    StripTags(body);
    outcome.error_caption = "Error";
    survey.SetRegDate(0);
  }
  return outcome;
}

ServerReplyOutcome ConnectionFailedOutcome(TSurvey& survey, bool verification) {
  ServerReplyOutcome outcome;
  outcome.status = "Connection to server failed...";
  outcome.error = "The connection to " + survey.EffectiveServerURL() + " failed.";
  outcome.error_caption =
      verification ? "Server Verification Failed" : "Survey Registration Failed";
  if (verification) survey.SetServerStatus(outcome.status);
  return outcome;
}

}  // namespace quorvant
