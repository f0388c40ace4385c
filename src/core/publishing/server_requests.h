// The requests the program sends to a survey's collection server, and how
// their replies are judged.
//
// Every request URL is the survey's server base URL (the vendor's collection
// program, or the author's own ServerURL exactly as typed) followed directly
// by the request path. Values in a query are percent-encoded, so a password
// holding "&" or "#" arrives whole.
#pragma once

#include <string>
#include <string_view>

namespace quorvant {

class TSurvey;

std::string VerifyServerURL(const TSurvey& survey);
// "/RegisterSurvey?SurveyFile=" unique name "&AccountID=" account "&ID=" password.
std::string RegisterSurveyURL(const TSurvey& survey);
// "/GetResults?SurveyFile=" unique name "&ID=" password "&LastUpdate=" the
// last stamp held, or "Never".
std::string GetResultsURL(const TSurvey& survey);

// A verification passes when the reply body contains "Quorvant" anywhere;
// a registration when it contains "Registration Complete" (both exact case).
bool VerificationPassed(std::string_view body);
bool RegistrationPassed(std::string_view body);

// What a finished request did to the survey and what to show.
struct ServerReplyOutcome {
  bool passed = false;
  std::string status;  // the step's status line
  std::string error;   // message box text when it failed; empty otherwise
  std::string error_caption;
};

// Judges a verification reply; a pass adds "Server verified." to the history.
// The status line becomes the survey's ServerStatus, which is saved with it.
ServerReplyOutcome ApplyVerificationReply(TSurvey& survey, std::string_view body);
// Judges a registration reply; a pass sets RegDate to now (which adds the
// history line), a failure sets it to 0.
ServerReplyOutcome ApplyRegistrationReply(TSurvey& survey, std::string_view body);

// The outcome when the server could not be reached or answered with an error
// status. verification chooses the message box caption; a verification
// that failed so also leaves its status line in ServerStatus.
ServerReplyOutcome ConnectionFailedOutcome(TSurvey& survey, bool verification);

}  // namespace quorvant
