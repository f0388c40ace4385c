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

ServerReplyOutcome ApplyClearResultsReply(TSurvey& survey, bool reached, std::string_view body) {
  ServerReplyOutcome outcome;
  outcome.error_caption = "Error";
  if (!reached) {
    outcome.status = "Connection to server failed...";
    outcome.error = "The connection to " + survey.EffectiveServerURL() +
                    " failed. The responses on the server were not cleared.";
    survey.AddHistory("Clearing results from the server failed: no connection.");
    return outcome;
  }
  outcome.passed = body.find("Results Cleared") != std::string_view::npos;
  if (outcome.passed) {
    outcome.status = "Results cleared from server.";
    survey.AddHistory("Results cleared from server.");
    return outcome;
  }
  std::string words(TrimBlanks(StripTags(body)));
  outcome.status = "The server did not clear the results.";
  outcome.error =
      "The server did not clear the results.  The following error was returned:\r\n\r\n" + words;
  survey.AddHistory("The server did not clear the results.");
  return outcome;
}

std::string UpdatePageURL() {
  return std::string(vendor::kUpdatePage) + std::to_string(kVersionMajor) + "." +
         std::to_string(kVersionMinor) + "." + std::to_string(kBuildNumber);
}

std::string SupportPageURL() { return std::string(vendor::kSupportPage); }

}  // namespace quorvant
