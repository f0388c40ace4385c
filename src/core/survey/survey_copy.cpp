#include "core/survey/survey_copy.h"

#include <filesystem>

#include "core/shell/date_time.h"
#include "core/shell/text_helpers.h"
#include "core/survey/survey.h"

namespace quorvant {
namespace {

void CopyProperties(const TSurvey& from, TSurvey& to) {
  to.SetAuthor(from.Author());
  to.SetName(from.Name());
  to.SetInstructions(from.Instructions());
  to.SetFinalComments(from.FinalComments());
  to.SetPublishMethod(from.PublishMethod());
  to.SetDisplayTemplate(from.DisplayTemplate());
  to.SetProcessResponses(from.ProcessResponses());
  to.SetAccountID(from.AccountID());
  to.SetServerURL(from.ServerURL());
  to.SetEMailAddress(from.EMailAddress());
  to.SetNotificationFile(from.NotificationFile());
  to.SetNotifyMessage(from.NotifyMessage());
  to.SetAttachSurvey(from.AttachSurvey());
  to.SetAllAddresses(from.AllAddresses());
  to.SetSamplingPercent(from.SamplingPercent());
  to.SetIncomingDomain(from.IncomingDomain());
  to.SetDomain(from.Domain());
  to.SetOnly1Email(from.Only1Email());
  to.SetOnly1IP(from.Only1IP());
  to.SetLimitByIP(from.LimitByIP());
  to.SetIPAddresses(from.IPAddresses());
  to.SetCheckAnswers(from.CheckAnswers());
}

}  // namespace

int AppendPlainCopy(TSurvey& to, const TQuestion& q) {
  const int added = to.AddItem(q.Text, q.Style, q.StepValue, q.MaxValue, q.MinValue, q.IncludeOther,
                               q.LengthOfResponse, q.Options);
  to.SetItemRequired(added, q.Required);
  return added;
}

std::string WithSurveyExtension(const std::string& chosen) {
  const std::string ext = std::filesystem::path(chosen).extension().string();
  return EqualsIgnoreCase(ext, ".qvx") ? chosen : chosen + ".qvx";
}

bool SaveSurveyAs(TSurvey& survey, const std::string& path, const SettingsStore& settings) {
  if (!survey.HasFile() || path == survey.FileName()) {
    const std::string old_name = survey.FileName();
    const std::string old_data = survey.DataFileName();
    survey.SetDataFileName("");
    try {
      survey.SaveAs(path);
    } catch (...) {
      survey.SetFileName(old_name);
      survey.SetDataFileName(old_data);
      throw;
    }
    return false;
  }
  TSurvey copy(settings);
  copy.SetFileName(path);
  // Unique names are stamped to the second; a copy made within the second
  // the original was created must still not share its name on the server.
  for (int second = 1; copy.UniqueName() == survey.UniqueName(); ++second) {
    copy.SetUniqueName("S" + FormatCompactStamp(survey.env().Now() + second / 86400.0));
  }
  for (const TQuestion& q : survey.Items()) AppendPlainCopy(copy, q);
  CopyProperties(survey, copy);
  copy.Save();
  return true;
}

}  // namespace quorvant
