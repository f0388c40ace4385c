// The plain-text form of one survey item, as items go to the clipboard:
// the question text, a hint line, and the options as "( ) " or "[ ] " lines
// or a run of underscores to write on.
//
// Thread-safety: a pure function of the survey it reads.
#pragma once

#include <string>

namespace quorvant {

class TSurvey;

// The item at index as plain text with CR LF line breaks. Option lines are
// taken whole ("~" and all). Style codes other than 2, 4, 6 and 7 render as
// one-answer choice questions.
// Requires: 0 <= index < survey.ItemCount().
std::string RenderQuestionText(const TSurvey& survey, int index);

}  // namespace quorvant
