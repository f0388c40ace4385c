#include "core/publishing/clear_results.h"

#include "core/shell/percent_encoding.h"
#include "core/shell/text_helpers.h"
#include "core/shell/vendor.h"
#include "core/shell/version.h"
#include "core/survey/survey.h"

namespace quorvant {

std::string ClearResultsURL(const TSurvey& survey) {
  return survey.EffectiveServerURL() +
         "/ClearResults?SurveyFile=" + PercentEncode(survey.UniqueName()) +
         "&ID=" + PercentEncode(survey.Password());
}

ServerReplyOutcome ApplyClearResultsReply(TSurvey& survey, int http_status, std::string_view body) {
  ServerReplyOutcome outcome;
  outcome.error_caption = "Error";
  const std::string server = survey.EffectiveServerURL();
  if (http_status == 0) {
    outcome.status = "Connection to server failed...";
    outcome.error =
        "The connection to " + server + " failed. The responses on the server were not cleared.";
    return outcome;
  }
  if (http_status == kTooManyWrongPasswords) {
    outcome.status = "The server refused: too many wrong passwords.";
    outcome.error = "The server " + server +
                    " refused to clear the results because too many wrong passwords were sent "
                    "from this address.  Try again in a minute.";
    return outcome;
  }
  if (http_status >= 400) {
    outcome.status = "The server did not clear the results.";
    outcome.error = "The server " + server + " refused the request with the status " +
                    std::to_string(http_status) + ". The responses on the server were not cleared.";
    return outcome;
  }
  outcome.passed = body.find("Results Cleared") != std::string_view::npos;
  if (outcome.passed) {
    outcome.status = "Results cleared from server.";
    survey.AddHistory("Results cleared from server.");
    return outcome;
  }
  const std::string words(TrimBlanks(StripTags(body)));
  outcome.status = "The server did not clear the results.";
  outcome.error =
      "The server did not clear the results.  The following error was returned:\r\n\r\n" + words;
  return outcome;
}

std::string UpdatePageURL() {
  return std::string(vendor::kUpdatePage) + std::to_string(kVersionMajor) + "." +
         std::to_string(kVersionMinor) + "." + std::to_string(kBuildNumber);
}

std::string SupportPageURL() { return std::string(vendor::kSupportPage); }

}  // namespace quorvant
