// What the survey page gives the respondent's browser so that it refuses to
// send a form that misses a required answer: the REQUIRED attribute and the
// text marker of required questions, and the script for what the attribute
// cannot say alone (at least one ticked box of a Multiple Choice question; a
// required question in a skip group that the respondent was told to skip).
//
// The checks live in the browser only: a submission that does not come from
// the page is collected by the usual rules.
//
// Thread-safety: pure functions of the survey they read.
#pragma once

#include <string>

namespace quorvant {

class TSurvey;
struct TQuestion;

// " REQUIRED" for an input of a required question, else "". Multiple Choice
// boxes never take it: there the attribute would demand every box.
std::string RequiredAttribute(const TQuestion& item);

// What follows a required question's text on the page: a span of class
// "qvxrequired" holding an asterisk, which a display template may style;
// "" for other questions.
std::string RequiredMarker(const TQuestion& item);

// The script written after the questions when a required Multiple Choice
// question exists, or a required question that belongs to a skip group; ""
// otherwise, so that other pages stay as they were. It keeps the form's own
// validation (form.checkValidity()) in step with the answers on every change.
std::string AnswerCheckScript(const TSurvey& survey);

}  // namespace quorvant
