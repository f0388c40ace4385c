// Clearing a survey's responses from its collection server, and the two
// vendor pages the Help menu opens.
#pragma once

#include <string>
#include <string_view>

#include "core/publishing/server_requests.h"

namespace quorvant {

class TSurvey;

inline constexpr char kClearResultsQuestion[] =
    "This will clear all responses for this survey from the server.  Any responses that are "
    "already downloaded will not be affected.  Are you sure you want to do this?";

// base URL "/ClearResults?SurveyFile=" unique name "&ID=" password, the
// values percent-encoded.
std::string ClearResultsURL(const TSurvey& survey);

// The HTTP status the collector answers with when an address has sent too
// many wrong passwords.
inline constexpr int kTooManyWrongPasswords = 429;

// Judges the server's reply: http_status is 0 when no reply came, else the
// reply's status, with its body. A pass (a success status and a body that
// contains "Results Cleared") adds "Results cleared from server." to the
// publication history, which marks the survey changed; a failure leaves the
// survey as it was and says why: no connection, too many wrong passwords
// (status 429), another error status, or the reply's plain words.
ServerReplyOutcome ApplyClearResultsReply(TSurvey& survey, int http_status, std::string_view body);

// The vendor's update page with this program's version, and its support page.
std::string UpdatePageURL();
std::string SupportPageURL();

}  // namespace quorvant
