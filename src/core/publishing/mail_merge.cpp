#include "core/publishing/mail_merge.h"

#include "core/shell/text_helpers.h"
#include "core/survey/comma_text.h"
#include "core/survey/survey.h"

namespace quorvant {

std::string MergedBody(std::string_view notify_message, const EmailRecord& record,
                       const TSurvey& survey) {
  std::string body;
  for (const std::string& line : SplitCommaText(notify_message)) body += line + "\r\n";
  body = ReplaceAll(body, "<FirstName>", record[0]);
  body = ReplaceAll(body, "<LastName>", record[1]);
  body = ReplaceAll(body, "<EmailAddress>", record[2]);
  body = ReplaceAll(body, "<SurveyTitle>", survey.Name());
  return ReplaceAll(body, "<SurveyAuthor>", survey.Author());
}

}  // namespace quorvant
