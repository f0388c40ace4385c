// The reply to a results request: the text the author's program downloads
// and incorporates into its response table.
//
//   <DATA>
//   RemoteAddr=...,"UserAgent=Mozilla/5.0 (X11...)",DateRec=20261208101500,qvx1=0,...
//   </DATA>
//
// One line per submission (CR LF), each a comma-text list of "name=value"
// items. Items with blanks, commas, double quotes or control characters are
// quoted; a carriage return in a value is written "&CR;" and a line feed
// "&LF;", so a submission is always one line. An error reply is "<ERROR>" and
// one line of message.
#pragma once

#include <string>
#include <vector>

#include "collector/submission_store.h"

namespace quorvant::collector {

std::string ResultText(const std::vector<Submission>& submissions);
std::string ErrorText(const std::string& message);

// Names of the hidden fields that identify the survey in a posted form; they
// are not part of the answers handed out.
inline constexpr char kSurveyFileField[] = "QVXSURVEYFILE";
inline constexpr char kAccountField[] = "QVXACCOUNTID";
inline constexpr char kResultUrlField[] = "QVXRESULTURL";

}  // namespace quorvant::collector
