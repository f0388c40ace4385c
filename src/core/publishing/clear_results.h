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

// Judges the server's reply (reached false: no reply, or an error status)
// and records the outcome in the publication history: a pass when the body
// contains "Results Cleared"; otherwise the reply's plain words.
ServerReplyOutcome ApplyClearResultsReply(TSurvey& survey, bool reached, std::string_view body);

// The vendor's update page with this program's version, and its support page.
std::string UpdatePageURL();
std::string SupportPageURL();

}  // namespace quorvant
