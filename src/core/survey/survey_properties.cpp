#include "core/survey/survey_properties.h"

#include <algorithm>

#include "core/shell/settings_keys.h"
#include "core/shell/settings_store.h"
#include "core/shell/text_helpers.h"
#include "core/survey/comma_text.h"
#include "core/survey/survey.h"

namespace quorvant {
namespace {

// The survey hands multi-line texts out with a carriage return per break.
std::string WithLineFeeds(const std::string& text) { return ReplaceAll(text, "\r", "\n"); }

}  // namespace

SurveyProperties ReadSurveyProperties(const TSurvey& survey) {
  SurveyProperties p;
  p.name = survey.Name();
  p.author = survey.Author();
  p.password = survey.Password();
  p.instructions = WithLineFeeds(survey.Instructions());
  p.final_comments = WithLineFeeds(survey.FinalComments());
  p.display_template = survey.DisplayTemplate();
  p.server_type = survey.ProcessResponses() == 1 ? 1 : 0;
  p.server_url = survey.ServerURL();
  p.account_id = p.server_type == 1 ? survey.AccountID() : std::string();
  p.result_url = survey.ResultURL();
  p.notification_file = survey.NotificationFile();
  p.notify_lines = SplitCommaText(survey.NotifyMessage());
  p.all_addresses = survey.AllAddresses();
  p.sampling_percent = std::clamp(survey.SamplingPercent(), 1, 100);
  p.attach_survey = survey.AttachSurvey();
  p.only1_email = survey.Only1Email();
  p.only1_ip = survey.Only1IP();
  p.limit_by_ip = survey.LimitByIP();
  p.ip_addresses = SplitCommaText(survey.IPAddresses());
  p.check_answers = survey.CheckAnswers();
  return p;
}

void ApplySurveyProperties(const SurveyProperties& p, TSurvey& survey) {
  survey.SetName(p.name);
  survey.SetAuthor(p.author);
  survey.SetPassword(p.password);
  survey.SetInstructions(p.instructions);
  survey.SetFinalComments(p.final_comments);
  if (!p.display_template.empty()) survey.SetDisplayTemplate(p.display_template);
  survey.SetServerURL(p.server_url);
  survey.SetResultURL(p.result_url);
  survey.SetProcessResponses(p.server_type);
  survey.SetAccountID(p.server_type == 1 ? p.account_id : std::string());
  survey.SetNotificationFile(p.notification_file);
  survey.SetNotifyMessage(JoinCommaText(p.notify_lines));
  survey.SetAllAddresses(p.all_addresses);
  survey.SetSamplingPercent(p.sampling_percent);
  survey.SetAttachSurvey(p.attach_survey);
  survey.SetLimitByIP(p.limit_by_ip);
  survey.SetIPAddresses(JoinCommaText(p.ip_addresses));
  survey.SetOnly1Email(p.only1_email);
  survey.SetOnly1IP(p.only1_ip);
  survey.SetCheckAnswers(p.check_answers);
}

void StoreSurveyDefaults(const TSurvey& survey, SettingsStore& store) {
  using namespace settings;
  store.Write(kDefaultAuthor, survey.Author());
  store.Write(kDefaultInstructions, survey.InstructionsEscaped());
  store.Write(kDefaultFinalComments, survey.FinalCommentsEscaped());
  store.Write(kDefaultDisplayTemplate, survey.DisplayTemplate());
  store.Write(kDefaultServerURL, survey.ServerURL());
  store.Write(kDefaultOnly1Email, survey.Only1Email());
  store.Write(kDefaultOnly1IP, survey.Only1IP());
  store.Write(kDefaultLimitByIP, survey.LimitByIP());
  store.Write(kDefaultIPAddresses, survey.IPAddresses());
  store.Write(kDefaultCheckAnswers, survey.CheckAnswers());
}

std::string SamplingLabel(int percent) { return std::to_string(percent) + "% of list"; }

}  // namespace quorvant
