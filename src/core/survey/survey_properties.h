// The survey-level settings as the survey properties dialog edits them: read
// from a survey, written back through its setters, and stored as the defaults
// that new surveys take.
//
// Thread-safety: none; the functions hold no state.
#pragma once

#include <string>
#include <vector>

namespace quorvant {

class SettingsStore;
class TSurvey;

struct SurveyProperties {
  std::string name;
  std::string author;
  std::string password;
  std::string instructions;    // line breaks as "\n"
  std::string final_comments;  // line breaks as "\n"
  // Empty when no display template is chosen (the survey's own is not in
  // the data directory); the survey then keeps its template.
  std::string display_template;
  int server_type = 0;  // ProcessResponses: 0 own server program, 1 the vendor's service
  std::string server_url;
  std::string account_id;  // only kept for server type 1
  std::string result_url;
  std::string notification_file;
  std::vector<std::string> notify_lines;
  bool all_addresses = false;
  int sampling_percent = 10;
  bool attach_survey = false;
  bool only1_email = false;
  bool only1_ip = false;
  bool limit_by_ip = false;
  std::vector<std::string> ip_addresses;
  bool check_answers = false;
};

// The survey's settings as the dialog shows them. The account ID is empty
// unless the server type is 1; the sampling percent is kept within 1..100.
SurveyProperties ReadSurveyProperties(const TSurvey& survey);

// Writes every field through the survey's setters in the order Name,
// Author, Password, Instructions, FinalComments, DisplayTemplate, ServerURL,
// ResultURL, ProcessResponses, AccountID, NotificationFile, NotifyMessage,
// AllAddresses, SamplingPercent, AttachSurvey, LimitByIP, IPAddresses,
// Only1Email, Only1IP, CheckAnswers. The address prefixes are stored even when LimitByIP
// is off.
void ApplySurveyProperties(const SurveyProperties& properties, TSurvey& survey);

// "Ma&ke Default": the survey's Author, Instructions, FinalComments,
// DisplayTemplate, ServerURL, Only1Email, Only1IP, LimitByIP, IPAddresses
// and CheckAnswers go to the "Defaults" section, the texts as the survey
// stores them.
void StoreSurveyDefaults(const TSurvey& survey, SettingsStore& store);

// The label under the sampling bar: n + "% of list".
std::string SamplingLabel(int percent);

}  // namespace quorvant
