// Compute results: rebuilds the survey's results list from its response
// table, restricted by the survey's analysis filter. Run after an
// incorporation that leaves records in the table, when a survey whose table
// exists is loaded, and when the filter dialog is confirmed.
#pragma once

#include <string>

namespace quorvant {

class Prompts;
class TResponseTable;
class TSurvey;

inline constexpr char kFilterEliminatesAll[] =
    "The filter you defined eliminates all records.  Please try again.";
// Said beside the filter's conditions wherever they are listed while the
// results count every record.
inline constexpr char kFilterSetAside[] = "This filter is set aside: every record is counted.";

// Empties the results list, builds the entries of the survey's items and
// counts every record that satisfies the filter, in one pass; the filter
// expression stays set as the table's query for the analysis page.
//  - A filter no record satisfies: the warning kFilterEliminatesAll, the
//    query removed and every record counted; the conditions stay listed
//    and the list says FilterSetAside.
//  - A filter the table cannot evaluate (a condition on a field the table
//    lacks): its error, then the same as above.
//  - A table that cannot be read: its error, shown once, and an empty list,
//    never a list counted halfway.
// Without an open table the list stays empty. Returns false exactly when
// the table could not be read.
bool ComputeResults(TSurvey& survey, TResponseTable& table, Prompts& prompts);

// The filter the last compute counted under, for whatever lists answers
// beside the counts: the analysis filter's expression, or empty when that
// compute set the filter aside (FilterSetAside).
std::string CountedFilterExpression(const TSurvey& survey);

// The load path of a survey: when its SRResponseFile names an existing
// table, opens it, takes its record count into SRResponseCount (as loaded
// data, the survey stays unmodified) and computes the results. False when
// the survey has no table. Throws ETableError when the table cannot be
// opened.
bool OpenResponsesAndCompute(TSurvey& survey, TResponseTable& table, Prompts& prompts);

}  // namespace quorvant
