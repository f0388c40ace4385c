// Finding a survey item by its ID, the number a question keeps for life
// (filter conditions, charts and reports name questions by it).
#pragma once

namespace quorvant {

class TSurvey;

// The index of the first item (question or header) with this ID; -1 when
// no item has it. IDs are unique in a survey the program wrote; in a file
// edited by hand the first one wins everywhere.
int ItemIndexOfId(const TSurvey& survey, int id);

}  // namespace quorvant
