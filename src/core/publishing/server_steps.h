// The three requests an author sends to a survey's collection server by
// hand (verify it, register the survey, clear its responses), each with its
// URL and the judging of its reply, for the publish dialog, the main window
// and quorvant-cli alike.
#pragma once

#include <string>
#include <string_view>

#include "core/publishing/server_requests.h"

namespace quorvant {

class TSurvey;

enum class ServerStep { kVerify, kRegister, kClearResults };

// The request URL of the step for this survey.
std::string ServerStepURL(ServerStep step, const TSurvey& survey);

// Judges the reply to the step: http_status is 0 when no reply came, else
// the reply's status, with its body. A reply with an error status counts as
// no connection for a verification or registration; clearing names it.
// What the step records in the survey (status lines, history, RegDate) is
// done here.
ServerReplyOutcome JudgeServerReply(ServerStep step, TSurvey& survey, int http_status,
                                    std::string_view body);

}  // namespace quorvant
