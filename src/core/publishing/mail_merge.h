// The body of one invitation: the survey's message lines with the merge
// fields filled from one list record.
#pragma once

#include <string>
#include <string_view>

#include "core/emaillists/email_list.h"

namespace quorvant {

class TSurvey;

// The lines of the comma text notify_message, each followed by CR LF, with
// "<FirstName>", "<LastName>", "<EmailAddress>", "<SurveyTitle>" and
// "<SurveyAuthor>" replaced in that order, each everywhere in the body but
// never inside a value it inserted itself. The record's values are used as
// given (the caller trims them).
std::string MergedBody(std::string_view notify_message, const EmailRecord& record,
                       const TSurvey& survey);

}  // namespace quorvant
