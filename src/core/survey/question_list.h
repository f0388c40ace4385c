// The numbered list of a survey's items, as the main window's question list,
// the analysis question list and the command-line tool show it.
//
// Numbering: questions outside skip groups take 1, 2, 3 ...; the members of a
// skip group take their head's number followed by a letter ("3a", "3b"). A
// header takes the number the next question will take.
#pragma once

#include <string>
#include <vector>

#include "core/survey/question.h"

namespace quorvant {

class TSurvey;

struct QuestionListLine {
  int item_index = 0;
  bool is_header = false;
  bool in_skip_group = false;  // a member of a skip group, drawn indented
  std::string line;    // "3a) text", or a header's text alone
  std::string detail;  // the line below it; empty for headers
};

struct QuestionListing {
  std::vector<QuestionListLine> lines;  // one per item, in survey order
  std::vector<int> analysis_items;      // indexes of the questions (no headers)
};

// Sets every item's DisplayNumber and every skip-group head's GroupSize
// (members + 1, or -1 when the group runs to the end of the survey), and
// returns the lines of both lists.
QuestionListing RebuildQuestionList(TSurvey& survey);

// The lines of a question library's items: each item's text alone, without
// numbers, skip-group indentation or skip marks. Changes nothing.
QuestionListing ListWithoutNumbers(const TSurvey& survey);

// The detail line of a question: its length limit, numeric range or response
// options (the part after "~" of each, the skipping one marked).
std::string DetailLineFor(const TQuestion& item);

}  // namespace quorvant
