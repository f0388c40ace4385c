// The HTML of one survey item as the survey page shows it.
//
// The input names and values written here are the contract with the
// collection server and the response table: "qvx" + ID for a one-answer
// question (the value is the option's zero-based index, or "Other"),
// "qvx" + ID + "-" + index for each check box of a Multiple Choice question
// (value "1"), "qvx" + ID + "Other" for the typed Other answer.
//
// Author texts (question texts, option lines, labels) are written unescaped:
// markup in them takes effect on the page.
//
// The layout follows the survey's IncludeGotos, BoldQuestions and QStyle2
// switches, which page generation sets from the display template, and the
// DisplayNumber and GroupSize fields of the items.
//
// Thread-safety: pure functions of the survey they read.
#pragma once

#include <string>

namespace quorvant {

class TSurvey;

// The HTML of the item at index; k is its sequential question number (1 for
// the first non-header item, counting skip-group members). Style codes
// outside 1 to 6 render as headers.
// Requires: 0 <= index < survey.ItemCount().
std::string RenderQuestionHtml(const TSurvey& survey, int index, int k);

// The piece written after most questions: the anchor "Question" + (k + 1),
// and with go-to links on, the link to it and forty empty paragraphs.
// Requires: 0 <= index < survey.ItemCount().
std::string QuestionTrailer(const TSurvey& survey, int index, int k);

}  // namespace quorvant
